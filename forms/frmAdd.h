#pragma once

#include <QDialog>
#include <QImage>

#include "store/disheditor.h"
#include "ui_frmAdd.h"

class TForm1;

// The dish editor: adds a new dish or changes the main window's current one, picture included.
// The controls and their places come from frmAdd.ui: DBEdit1 Code, DBEdit2 Nm, DBEdit3 Tys,
// DBEdit4 DS (hidden), DBEdit5 PS, DBEdit6 Vozr, DBMemo1 Comm, DBImage1 Img.
class TForm2 : public QDialog, public Ui::TForm2 {
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
    store::DishEditor Table1;

private:
    void showRow();
    void writeRow();

    TForm1& Form1;
    QImage picture_;
    QByteArray storedPicture_;  // the row's picture as stored, while it is the one shown
};
