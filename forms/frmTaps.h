#pragma once

#include <QDialog>
#include <memory>

#include "store/query.h"
#include "store/statements.h"

namespace rules {
class CurrentDish;
}  // namespace rules

namespace Ui {
class TForm3;
}  // namespace Ui

// Takes one order line for the main window's current dish, read through currentDish. The
// controls and their places come from frmTaps.ui: Edit1 the waiter, Edit2 the quantity, Edit3
// the price, Edit4 the sum, dtp1 the date, Label6 the dish's group.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(QWidget* parent, rules::CurrentDish& currentDish);
    ~TForm3() override;

    // Resets every field; false (after a warning) when no dish is selected.
    bool FormShow();
    void Edit2Change();   // the quantity check, on every change
    void BitBtn1Click();  // OK

    store::Query Query1;

private:
    // Why the store took no order, told to the user; the dialog then shows the price as it is.
    void explainRefusedOrder();
    // The current dish's name as the menu holds it now (null when it is gone).
    QVariant storedName();

    rules::CurrentDish& currentDish_;
    store::statements::ShownDish shown_;
    std::unique_ptr<Ui::TForm3> ui;
};
