#include "forms/frmAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "forms/look.h"
#include "resources/artwork.h"

namespace {

QLabel* overlay(QWidget* parent, const QString& text, int left, int top, const QColor& colour,
                bool underline) {
    auto* label = new QLabel(text, parent);
    QFont font = forms::arialFont(15, true);
    font.setItalic(true);
    font.setUnderline(underline);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->move(left, top);
    label->adjustSize();
    return label;
}

}  // namespace

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Программа туралы ..."));
    setFont(forms::formFont());
    forms::makeFixedDialog(*this, 394, 167, 341, 209);

    // The picture is larger than the box and is clipped at its right and bottom edges.
    Image2 = new QLabel(this);
    Image2->setPixmap(QPixmap::fromImage(artwork::aboutPicture()));
    Image2->setGeometry(0, 0, 400, 192);
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Label1 = overlay(this, QStringLiteral("\"Орвелин\" мәліметтер қоры"), 24, 16, QColor(128, 0, 0),
                     false);
    Label2 = overlay(this, QString(38, QLatin1Char('-')), 8, 64, QColor(0, 128, 0), true);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(304, 136, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

void TForm7::keyPressEvent(QKeyEvent* event) {
    // The box has no Cancel button, so Esc does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
