#pragma once

#include <QDialog>

#include "store/query.h"

class DatePicker;
class QLabel;
class QLineEdit;
class QPushButton;
class TForm1;

// Takes one order line for the main window's current dish.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(TForm1& main);

    // Resets every field; false (after a warning) when no dish is selected.
    bool FormShow();
    void Edit2Change();   // the quantity check, on every change
    void BitBtn1Click();  // OK

    store::Query Query1;
    QLabel* Label6;
    QLineEdit* Edit1;  // waiter
    QLineEdit* Edit2;  // quantity
    QLineEdit* Edit3;  // price
    QLineEdit* Edit4;  // sum
    DatePicker* dtp1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private:
    TForm1& Form1;
};
