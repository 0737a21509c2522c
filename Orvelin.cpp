#include "forms/application.h"
#include "forms/frmAbout.h"
#include "forms/frmAdd.h"
#include "forms/frmKeste.h"
#include "forms/frmMain.h"
#include "forms/frmTaps.h"

int main(int argc, char** argv) {
    OrvelinApplication app(argc, argv);
    // The windows are made once, in this order, and live until the program ends.
    TForm1 Form1;
    TForm2 Form2(Form1);
    TForm3 Form3(Form1);
    TForm4 Form4(Form1);
    TForm7 Form7(&Form1);
    Form1.setDialogs(&Form2, &Form3, &Form4, &Form7);
    Form1.show();
    return app.exec();
}
