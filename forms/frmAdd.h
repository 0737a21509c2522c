#pragma once

#include <QDialog>
#include <QImage>
#include <memory>

#include "rules/dish.h"
#include "store/disheditor.h"

namespace rules {
class CurrentDish;
}  // namespace rules

namespace Ui {
class TForm2;
}  // namespace Ui

// The dish editor: adds a new dish or changes the main window's current one, read through
// currentDish, picture included. The controls and their places come from frmAdd.ui: DBEdit1
// Code, DBEdit2 Nm, DBEdit3 Tys, DBEdit4 DS (hidden), DBEdit5 PS, DBEdit6 Vozr, DBMemo1 Comm,
// DBImage1 Img.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    static constexpr quint8 InsertMode = 4;
    static constexpr quint8 EditMode = 6;

    TForm2(QWidget* parent, rules::CurrentDish& currentDish);
    ~TForm2() override;

    // Prepares the pending row; false (after a warning) when there is no dish to change.
    bool FormShow();
    void BitBtn1Click();     // choose a picture
    void BitBtn2Click();     // OK
    void reject() override;  // Cancel, Esc and the close box

    void setPicture(const QImage& picture);

    quint8 Mode = InsertMode;
    store::DishEditor Table1;

private:
    void showRow();
    rules::DishFields typedDish() const;
    void writeRow();

    rules::CurrentDish& currentDish_;
    QImage picture_;
    QByteArray storedPicture_;  // the row's picture as stored, while it is the one shown
    std::unique_ptr<Ui::TForm2> ui;
};
