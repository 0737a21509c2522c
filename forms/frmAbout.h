#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Names the program on a decorative picture.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent);

    QLabel* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* BitBtn1;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
