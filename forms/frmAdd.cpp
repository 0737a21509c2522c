#include "forms/frmAdd.h"

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

// Only what can become a number as the user types: a whole number's digits and a leading
// minus; the hidden DS edit also a decimal point and an exponent.
void acceptNumberCharacters(QLineEdit* edit, bool whole) {
    static const QRegularExpression wholeNumber(QStringLiteral("-?[0-9]*"));
    static const QRegularExpression anyNumber(QStringLiteral("[0-9+\\-.,eE]*"));
    edit->setValidator(new QRegularExpressionValidator(whole ? wholeNumber : anyNumber, edit));
}

QVariant fieldValue(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

}  // namespace

TForm2::TForm2(TForm1& main) : QDialog(&main), Form1(main) {
    forms::useDesktopFaces();
    setupUi(this);
    forms::makeFixedDialog(*this);
    // Code, price and time are whole numbers in the store; DS is not.
    for (QLineEdit* number : {DBEdit1, DBEdit5, DBEdit6}) {
        acceptNumberCharacters(number, true);
    }
    acceptNumberCharacters(DBEdit4, false);
    // OK is the default button; a focused button takes Enter itself, as every button of a
    // dialog is auto-default.
    connect(BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm2::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm2::BitBtn2Click));
    connect(BitBtn3, &QPushButton::clicked, this, &TForm2::reject);
}

bool TForm2::FormShow() {
    Table1.close();
    Table1.setDataFolder(store::dataFolder());
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
    const QByteArray stored = Table1.fieldByName(QStringLiteral("Img")).toByteArray();
    setPicture(pictures::pictureFromBytes(stored));
    // Saved again byte for byte unless another picture is chosen: a stored picture is never
    // converted (an 8-bit bitmap would triple), and a large old one costs no encoding.
    storedPicture_ = stored;
}

void TForm2::setPicture(const QImage& picture) {
    picture_ = picture;
    storedPicture_.clear();
    DBImage1->showPicture(picture);
}

void TForm2::BitBtn1Click() {
    const QString name = ui::desktop().openPictureName(this, pictures::chooserFilter());
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
    const QByteArray bitmap =
        storedPicture_.isEmpty() ? pictures::bitmapBytes(picture_) : storedPicture_;
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
