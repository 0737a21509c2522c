#pragma once

#include <QDialog>
#include <memory>

#include "store/query.h"

namespace forms {
class GridSource;
}

namespace Ui {
class TForm4;
}  // namespace Ui

// The recorded orders with the names of their dishes; searched by waiter (RadioButton2) or by
// dish (RadioButton1). The controls and their places come from frmKeste.ui.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent);
    ~TForm4() override;

    void FormShow();      // loads the full list
    void BitBtn2Click();  // search
    void BitBtn1Click();  // the orders report

    store::Query Query1;
    forms::GridSource* DataSource1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::unique_ptr<Ui::TForm4> ui;
};
