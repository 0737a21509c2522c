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
    if (picture.isNull()) {
        clear();
    } else {
        setPixmap(QPixmap::fromImage(picture));
    }
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
