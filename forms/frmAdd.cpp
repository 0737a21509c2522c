#include "forms/frmAdd.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "forms/frmMain.h"
#include "forms/look.h"
#include "forms/picturebox.h"
#include "resources/picture.h"
#include "store/datafolder.h"
#include "ui/desktop.h"
#include "ui/guard.h"
#include "ui/messages.h"

namespace {

QLineEdit* boundEdit(QWidget* parent, int left, int top, int width, bool number) {
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(forms::kWholeText);
    edit->setGeometry(left, top, width, 21);
    if (number) {
        // Only characters that can be part of a number.
        static const QRegularExpression chars(QStringLiteral("[0-9+\\-.,eE]*"));
        edit->setValidator(new QRegularExpressionValidator(chars, edit));
    }
    return edit;
}

void label(QWidget* parent, const QString& text, int left, int top) {
    auto* caption = new QLabel(text, parent);
    caption->move(left, top + 3);
    caption->adjustSize();
}

QVariant fieldValue(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

}  // namespace

TForm2::TForm2(TForm1& main) : QDialog(&main), Form1(main) {
    setWindowTitle(QStringLiteral("Жаңа тағам қосу"));
    setFont(main.font());
    forms::makeFixedDialog(*this, 465, 379, 303, 220);

    label(this, QStringLiteral("Коды:"), 16, 16);
    label(this, QStringLiteral("Тағамның атауы:"), 16, 40);
    label(this, QStringLiteral("Тобы:"), 16, 64);
    label(this, QStringLiteral("Сатылым бағасы:"), 16, 88);
    label(this, QStringLiteral("Дайындалу уақыты:"), 16, 112);
    label(this, QStringLiteral("Құрамы:"), 16, 136);
    label(this, QStringLiteral("Суреті:"), 16, 232);

    DBEdit1 = boundEdit(this, 128, 16, 121, true);
    DBEdit2 = boundEdit(this, 128, 40, 329, false);
    DBEdit3 = boundEdit(this, 128, 64, 329, false);
    DBEdit4 = boundEdit(this, 8, 272, 73, true);
    DBEdit4->hide();
    DBEdit5 = boundEdit(this, 128, 88, 121, true);
    DBEdit6 = boundEdit(this, 128, 112, 121, true);
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setGeometry(128, 136, 329, 89);
    DBMemo1->setTabChangesFocus(true);

    DBImage1 = new forms::PictureBox(this, QRect(128, 232, 185, 89));
    DBImage1->setFocusPolicy(Qt::StrongFocus);

    BitBtn1 = new QPushButton(QStringLiteral("Суретті таңдаңыз"), this);
    BitBtn1->setGeometry(320, 296, 137, 25);
    BitBtn2 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn2->setGeometry(256, 336, 97, 25);
    // OK is the default; a focused button takes Enter itself (every button is auto-default).
    BitBtn2->setDefault(true);
    BitBtn3 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn3->setGeometry(360, 336, 97, 25);

    forms::chainTabOrder({DBEdit1, DBEdit2, DBEdit3, DBEdit4, DBEdit5, DBEdit6, DBMemo1, BitBtn1,
                          BitBtn2, BitBtn3, DBImage1});

    connect(BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm2::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm2::BitBtn2Click));
    connect(BitBtn3, &QPushButton::clicked, this, &TForm2::reject);
}

bool TForm2::FormShow() {
    Table1.close();
    Table1.bindFolder(store::dataFolder());
    Table1.open();
    if (Mode == InsertMode) {
        Table1.insert();
    } else {
        // The dish to change is the main window's current one, found by its code.
        store::Query& list = *Form1.Query1;
        const bool found = list.isOpen() && list.currentRow() >= 0 &&
                           !list.fieldByName(QStringLiteral("Code")).isNull() &&
                           Table1.locate(list.fieldByName(QStringLiteral("Code")).asInteger());
        if (!found) {
            Table1.close();
            ui::warning(QStringLiteral("Өзгертетін тағам табылмады."));
            return false;
        }
        Table1.edit();
    }
    showRow();
    const bool adding = Mode == InsertMode;
    setWindowTitle(adding ? QStringLiteral("Жаңадан қосу") : QStringLiteral("Мәліметті өзгерту"));
    BitBtn2->setText(adding ? QStringLiteral("Қосу") : QStringLiteral("Өзгерту"));
    // Every saved row carries DS = 4.
    DBEdit4->setText(QStringLiteral("4"));
    DBEdit1->setFocus();
    return true;
}

void TForm2::showRow() {
    auto text = [this](const char* field) {
        return store::plainText(Table1.fieldByName(QString::fromLatin1(field)));
    };
    DBEdit1->setText(text("Code"));
    DBEdit2->setText(text("Nm"));
    DBEdit3->setText(text("Tys"));
    DBEdit4->setText(text("DS"));
    DBEdit5->setText(text("PS"));
    DBEdit6->setText(text("Vozr"));
    DBMemo1->setPlainText(text("Comm"));
    setPicture(pictures::pictureFromBytes(Table1.fieldByName(QStringLiteral("Img")).toByteArray()));
}

void TForm2::setPicture(const QImage& picture) {
    picture_ = picture;
    DBImage1->showPicture(picture);
}

void TForm2::BitBtn1Click() {
    const QString name =
        ui::desktop().openPictureName(this, QStringLiteral("Суретті таңдаңыз (*.bmp)"));
    if (name.isEmpty()) {
        return;
    }
    setPicture(pictures::loadPicture(name));
}

void TForm2::writeRow() {
    Table1.setField(QStringLiteral("Code"), fieldValue(DBEdit1->text()));
    Table1.setField(QStringLiteral("Nm"), fieldValue(DBEdit2->text()));
    Table1.setField(QStringLiteral("Tys"), fieldValue(DBEdit3->text()));
    Table1.setField(QStringLiteral("DS"), fieldValue(DBEdit4->text()));
    Table1.setField(QStringLiteral("PS"), fieldValue(DBEdit5->text()));
    Table1.setField(QStringLiteral("Vozr"), fieldValue(DBEdit6->text()));
    Table1.setField(QStringLiteral("Comm"), fieldValue(DBMemo1->toPlainText()));
    const QByteArray bitmap = pictures::bitmapBytes(picture_);
    Table1.setField(QStringLiteral("Img"), bitmap.isEmpty() ? QVariant() : QVariant(bitmap));
}

void TForm2::BitBtn2Click() {
    const bool complete = !DBEdit1->text().isEmpty() && !DBEdit2->text().isEmpty() &&
                          !DBEdit3->text().isEmpty() && !DBEdit4->text().isEmpty() &&
                          !DBEdit6->text().isEmpty() && !DBMemo1->toPlainText().isEmpty();
    if (!complete) {
        ui::information(QStringLiteral("Алдымен барлық өрістерді толтырыңыз."));
        return;
    }
    writeRow();
    Table1.post();
    Table1.close();
    // The dish is saved: the dialog closes even if the list cannot be read again (after a
    // refused search, say), so that a second OK cannot try to save it twice.
    accept();
    Form1.reopenList();
}

void TForm2::reject() {
    // Esc and the close box reach here outside any command: the guard shows a store error,
    // and the dialog closes all the same.
    ui::guarded([this] {
        Table1.cancel();
        Table1.close();
    });
    QDialog::reject();
}
