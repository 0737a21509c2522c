#include "ui/picturebox.h"

#include <QPixmap>

namespace ui {

PictureBox::PictureBox(QWidget* parent, const QRect& geometry) : QLabel(parent) {
    setGeometry(geometry);
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

}  // namespace ui
