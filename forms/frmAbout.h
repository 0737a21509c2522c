#pragma once

#include <QDialog>

#include "ui_frmAbout.h"

// Names the program on a decorative picture; the controls and their places come from
// frmAbout.ui.
class TForm7 : public QDialog, public Ui::TForm7 {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showPicture();
};
