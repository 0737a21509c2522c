#pragma once

#include "forms/frmAbout.h"
#include "forms/frmAdd.h"
#include "forms/frmKeste.h"
#include "forms/frmMain.h"
#include "forms/frmSummary.h"
#include "forms/frmTaps.h"

namespace forms {

// The program's windows, made once in this order and kept for the whole run; the main
// window reaches its dialogs through them.
struct Windows {
    Windows() {
        main.setDialogs(&editor, &order, &orders, &about);
        main.setSummary(&summary);
    }
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    TForm1 main;
    TForm2 editor{&main, main};
    TForm3 order{&main, main};
    TForm4 orders{&main};
    TForm7 about{&main};
    TFormSummary summary{&main};
};

}  // namespace forms
