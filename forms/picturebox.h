#pragma once

#include <QImage>
#include <QLabel>

namespace forms {

// A picture in a white box with a flat border, centred: at its own size when it fits, and
// scaled down smoothly to fit, its shape kept, when it is larger than the box.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    void showPicture(const QImage& picture);  // a null picture empties the box

protected:
    void paintEvent(QPaintEvent* event) override;  // with a focus frame while focused
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitPicture();

    QImage picture_;
};

}  // namespace forms
