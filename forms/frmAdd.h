#pragma once

#include <QDialog>
#include <QImage>

#include "store/table.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TForm1;

namespace forms {
class PictureBox;
}

// The dish editor: adds a new dish or changes the main window's current one, picture included.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    static constexpr quint8 InsertMode = 4;
    static constexpr quint8 EditMode = 6;

    explicit TForm2(TForm1& main);

    // Prepares the pending row; false (after a warning) when there is no dish to change.
    bool FormShow();
    void BitBtn1Click();     // choose a picture
    void BitBtn2Click();     // OK
    void reject() override;  // Cancel, Esc and the close box

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);

    quint8 Mode = InsertMode;
    store::Table Table1;
    QLineEdit* DBEdit1;  // Code
    QLineEdit* DBEdit2;  // Nm
    QLineEdit* DBEdit3;  // Tys
    QLineEdit* DBEdit4;  // DS, hidden
    QLineEdit* DBEdit5;  // PS
    QLineEdit* DBEdit6;  // Vozr
    QPlainTextEdit* DBMemo1;
    forms::PictureBox* DBImage1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;

private:
    void showRow();
    void writeRow();

    TForm1& Form1;
    QImage picture_;
};
