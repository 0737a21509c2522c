#include "forms/frmAbout.h"

#include "ui_frmAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "forms/look.h"
#include "resources/artwork.h"

namespace {

void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
}

}  // namespace

TForm7::TForm7(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm7>()) {
    forms::useDesktopFaces();
    ui->setupUi(this);
    forms::makeFixedDialog(*this);
    showPicture();
    setTextColour(ui->Label1, QColor(128, 0, 0));
    setTextColour(ui->Label2, QColor(0, 128, 0));
    ui->BitBtn1->setFocus();
    connect(ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

TForm7::~TForm7() = default;

void TForm7::showPicture() {
    // Drawn for the screen the box is on, so that it is sharp on a high-density screen too.
    const qreal ratio = devicePixelRatioF();
    if (!ui->Image2->pixmap().isNull() && ui->Image2->pixmap().devicePixelRatio() == ratio) {
        return;
    }
    ui->Image2->setPixmap(QPixmap::fromImage(resources::artwork::aboutPicture(ratio)));
}

void TForm7::showEvent(QShowEvent* event) {
    showPicture();
    QDialog::showEvent(event);
}

void TForm7::keyPressEvent(QKeyEvent* event) {
    // The box has no Cancel button, so Esc does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
