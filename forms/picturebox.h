#pragma once

#include <QImage>
#include <QLabel>

namespace forms {

// A picture at its own size, centred and clipped by a white box with a flat border.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void showPicture(const QImage& picture);  // a null picture empties the box

protected:
    void paintEvent(QPaintEvent* event) override;  // with a focus frame while focused
};

}  // namespace forms
