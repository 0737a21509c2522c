#pragma once

#include <QDialog>

#include "store/query.h"
#include "ui_frmKeste.h"

namespace forms {
class GridSource;
}

// The recorded orders with the names of their dishes; searched by waiter (RadioButton2) or by
// dish (RadioButton1). The controls and their places come from frmKeste.ui.
class TForm4 : public QDialog, public Ui::TForm4 {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent);

    void FormShow();      // loads the full list
    void BitBtn2Click();  // search
    void BitBtn1Click();  // the orders report

    store::Query Query1;
    forms::GridSource* DataSource1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
