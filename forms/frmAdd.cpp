#include "forms/frmAdd.h"

#include "ui_frmAdd.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "forms/look.h"
#include "forms/picturebox.h"
#include "resources/picture.h"
#include "rules/currentdish.h"
#include "rules/dish.h"
#include "rules/texts.h"
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

}  // namespace

TForm2::TForm2(QWidget* parent, rules::CurrentDish& currentDish)
    : QDialog(parent), currentDish_(currentDish), ui(std::make_unique<Ui::TForm2>()) {
    forms::useDesktopFaces();
    ui->setupUi(this);
    forms::makeFixedDialog(*this);
    // Code, price and time are whole numbers in the store; DS is not.
    for (QLineEdit* number : {ui->DBEdit1, ui->DBEdit5, ui->DBEdit6}) {
        acceptNumberCharacters(number, true);
    }
    acceptNumberCharacters(ui->DBEdit4, false);
    // OK is the default button; a focused button takes Enter itself, as every button of a
    // dialog is auto-default.
    connect(ui->BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm2::BitBtn1Click));
    connect(ui->BitBtn2, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm2::BitBtn2Click));
    connect(ui->BitBtn3, &QPushButton::clicked, this, &TForm2::reject);
}

TForm2::~TForm2() = default;

bool TForm2::FormShow() {
    Table1.close();
    Table1.setDataFolder(store::dataFolder());
    Table1.open();
    if (Mode == InsertMode) {
        Table1.insert();
    } else {
        // The dish to change is the main window's current one, found by its code.
        const std::optional<qint64> code = rules::dishToChange(currentDish_);
        if (!code || !Table1.locate(*code)) {
            Table1.close();
            ui::warning(QString::fromUtf8(rules::texts::NoDishToChange));
            return false;
        }
        Table1.edit();
    }
    showRow();
    const bool adding = Mode == InsertMode;
    setWindowTitle(QString::fromUtf8(adding ? rules::texts::AddDish : rules::texts::ChangeDish));
    ui->BitBtn2->setText(adding ? QStringLiteral("Қосу") : QStringLiteral("Өзгерту"));
    ui->DBEdit4->setText(QString::number(rules::SavedDs));
    ui->DBEdit1->setFocus();
    return true;
}

void TForm2::showRow() {
    auto text = [this](const char* field) {
        return store::plainText(Table1.fieldByName(QString::fromLatin1(field)));
    };
    ui->DBEdit1->setText(text("Code"));
    ui->DBEdit2->setText(text("Nm"));
    ui->DBEdit3->setText(text("Tys"));
    ui->DBEdit4->setText(text("DS"));
    ui->DBEdit5->setText(text("PS"));
    ui->DBEdit6->setText(text("Vozr"));
    ui->DBMemo1->setPlainText(text("Comm"));
    const QByteArray stored = Table1.fieldByName(QStringLiteral("Img")).toByteArray();
    setPicture(resources::pictures::pictureFromBytes(stored));
    // Saved again byte for byte unless another picture is chosen: a stored picture is never
    // converted (an 8-bit bitmap would triple), and a large old one costs no encoding.
    storedPicture_ = stored;
}

void TForm2::setPicture(const QImage& picture) {
    picture_ = picture;
    storedPicture_.clear();
    ui->DBImage1->showPicture(picture);
}

void TForm2::BitBtn1Click() {
    const QString name = ui::desktop().openPictureName(this, resources::pictures::chooserFilter());
    if (name.isEmpty()) {
        return;
    }
    setPicture(resources::pictures::loadPicture(name));
}

rules::DishFields TForm2::typedDish() const {
    return {ui->DBEdit1->text(),       ui->DBEdit2->text(), ui->DBEdit3->text(),
            ui->DBEdit4->text(),       ui->DBEdit5->text(), ui->DBEdit6->text(),
            ui->DBMemo1->toPlainText()};
}

void TForm2::writeRow() {
    const rules::DishFields dish = typedDish();
    Table1.setField(QStringLiteral("Code"), rules::storedValue(dish.code));
    Table1.setField(QStringLiteral("Nm"), rules::storedValue(dish.name));
    Table1.setField(QStringLiteral("Tys"), rules::storedValue(dish.group));
    Table1.setField(QStringLiteral("DS"), rules::storedValue(dish.ds));
    Table1.setField(QStringLiteral("PS"), rules::storedValue(dish.price));
    Table1.setField(QStringLiteral("Vozr"), rules::storedValue(dish.minutes));
    Table1.setField(QStringLiteral("Comm"), rules::storedValue(dish.description));
    const QByteArray bitmap =
        storedPicture_.isEmpty() ? resources::pictures::bitmapBytes(picture_) : storedPicture_;
    Table1.setField(QStringLiteral("Img"), bitmap.isEmpty() ? QVariant() : QVariant(bitmap));
}

void TForm2::BitBtn2Click() {
    if (!rules::dishIsComplete(typedDish())) {
        ui::information(QString::fromUtf8(rules::texts::FillEveryField));
        return;
    }
    writeRow();
    Table1.post();
    Table1.close();
    // The dish is saved: the dialog closes even if the list cannot be read again (after a
    // refused search, say), so that a second OK cannot try to save it twice.
    accept();
    currentDish_.reopenList();
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
