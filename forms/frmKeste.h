#pragma once

#include <QDialog>

#include "store/query.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class TForm1;

namespace forms {
class GridSource;
}

// The recorded orders with the names of their dishes; searched by waiter or by dish.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(TForm1& main);

    void FormShow();      // loads the full list
    void BitBtn2Click();  // search
    void BitBtn1Click();  // the orders report

    store::Query Query1;
    forms::GridSource* DataSource1;
    QTableView* DBGrid1;
    QPushButton* BitBtn1;
    QLineEdit* Edit1;
    QRadioButton* RadioButton1;  // by dish
    QRadioButton* RadioButton2;  // by waiter
    QPushButton* BitBtn2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
};
