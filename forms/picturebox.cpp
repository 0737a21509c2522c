#include "forms/picturebox.h"

#include <QPainter>
#include <QPixmap>

namespace forms {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void PictureBox::showPicture(const QImage& picture) {
    picture_ = picture;
    fitPicture();
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    fitPicture();
}

void PictureBox::fitPicture() {
    if (picture_.isNull()) {
        clear();
        return;
    }
    const QSize room = contentsRect().size();
    if (room.isEmpty() ||
        (picture_.width() <= room.width() && picture_.height() <= room.height())) {
        setPixmap(QPixmap::fromImage(picture_));
        return;
    }
    // Scaled for the screen's pixels, so that a high-density screen shows it sharp.
    const qreal ratio = devicePixelRatioF();
    const QSize shown = picture_.size().scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QPixmap fitted = QPixmap::fromImage(
        picture_.scaled(shown * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    fitted.setDevicePixelRatio(ratio);
    setPixmap(fitted);
}

}  // namespace forms

namespace forms {

void PictureBox::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // A picture can hide a thin dotted frame; the selection colour cannot be missed.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
}

}  // namespace forms
