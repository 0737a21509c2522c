#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TForm7;
}  // namespace Ui

// Names the program on a decorative picture; the controls and their places come from
// frmAbout.ui.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent);
    ~TForm7() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showPicture();
    std::unique_ptr<Ui::TForm7> ui;
};
