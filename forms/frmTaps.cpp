#include "forms/frmTaps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include "forms/datepicker.h"
#include "forms/frmMain.h"
#include "forms/look.h"
#include "store/error.h"
#include "store/statements.h"
#include "ui/guard.h"
#include "ui/messages.h"

namespace {

void makeGrey(QLabel* label) {
    QPalette grey = label->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    label->setPalette(grey);
}

void makeGrey(QLineEdit* box) {
    QPalette grey = box->palette();
    grey.setColor(QPalette::Base, QColor(212, 208, 200));
    grey.setColor(QPalette::Text, QColor(80, 80, 80));
    box->setPalette(grey);
}

// A whole number from 1 to 999, written without leading zeros.
bool isValidQuantity(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^[1-9][0-9]{0,2}$"));
    return form.match(text).hasMatch();
}

// 64-bit: 999 times any price a dish can carry is exact; beyond that the order is refused.
qint64 orderSum(qint64 quantity, qint64 price) {
    qint64 sum = 0;
    if (__builtin_mul_overflow(quantity, price, &sum)) {
        throw AppError(QStringLiteral("Сома тым үлкен: %1 x %2").arg(quantity).arg(price));
    }
    return sum;
}

}  // namespace

TForm3::TForm3(TForm1& main) : QDialog(&main), Form1(main) {
    forms::useDesktopFaces();
    setupUi(this);
    forms::makeFixedDialog(*this);
    QPalette green = Label6->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    Label6->setPalette(green);
    // The price and the sum are the program's to fill in.
    makeGrey(Label3);
    makeGrey(Label4);
    makeGrey(Edit3);
    makeGrey(Edit4);

    connect(Edit2, &QLineEdit::textChanged, this, ui::guardedSlot(this, &TForm3::Edit2Change));
    connect(BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm3::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, &TForm3::reject);
}

bool TForm3::FormShow() {
    store::Query& list = *Form1.Query1;
    if (!list.isOpen() || list.currentRow() < 0) {
        ui::warning(QStringLiteral("Алдымен тағамды таңдаңыз."));
        return false;
    }
    Edit1->clear();
    Edit2->clear();
    Edit3->setText(list.fieldByName(QStringLiteral("PS")).asString());
    Edit4->setText(QStringLiteral("0"));
    Label6->setText(list.fieldByName(QStringLiteral("Tys")).asString());
    dtp1->setDate(QDate::currentDate());
    Query1.setDataFolder(list.dataFolder());
    // The order is taken for this dish at this price, or not at all.
    shown_.code = list.fieldByName(QStringLiteral("Code")).asInteger();
    shown_.price = list.fieldByName(QStringLiteral("PS")).value();
    shown_.name = storedName();
    Edit1->setFocus();
    return true;
}

void TForm3::Edit2Change() {
    const QString quantity = Edit2->text();
    if (quantity.isEmpty()) {
        return;
    }
    if (!isValidQuantity(quantity)) {
        ui::warning(QStringLiteral("Енгізген саныңыз дұрыс емес !!!"));
        Edit2->clear();
        return;
    }
    const qint64 sum = orderSum(quantity.toLongLong(), store::toInteger(Edit3->text()));
    Edit4->setText(QString::number(sum));
}

void TForm3::BitBtn1Click() {
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
        ui::information(QStringLiteral("Алдымен барлық өрістерді толтырыңыз."));
        return;
    }
    const qint64 price = store::toInteger(Edit3->text());
    const qint64 quantity = store::toInteger(Edit2->text());
    Query1.clearLines();
    Query1.addLine(statements::insertOrder(shown_, Edit1->text(), quantity,
                                           orderSum(quantity, price), dtp1->date()));
    if (Query1.execSQL() == 0) {
        explainRefusedOrder();
        return;
    }
    accept();
}

QVariant TForm3::storedName() {
    Query1.clearLines();
    Query1.addLine(statements::dishNow(shown_.code));
    Query1.open();
    const QVariant name =
        Query1.recordCount() > 0 ? Query1.fieldByName(QStringLiteral("Nm")).value() : QVariant();
    Query1.close();
    return name;
}

void TForm3::explainRefusedOrder() {
    const QVariant name = storedName();
    if (name.isNull() || name != shown_.name) {
        throw AppError(
            QStringLiteral("Бұл тағам мәзірде енді жоқ: оны бағдарламаның басқа "
                           "көшірмесі өшірді не өзгертті. Тапсырыс жазылмады"));
    }
    Query1.open();
    const store::Field price = Query1.fieldByName(QStringLiteral("PS"));
    Query1.close();
    const QString before = Edit3->text();
    shown_.price = price.value();
    Edit3->setText(price.asString());
    Edit2Change();
    ui::information(QStringLiteral("Тағамның бағасы өзгерді: бұрын %1 еді, енді %2. Сомасы қайта "
                                   "есептелді: %3. Тапсырыс әлі жазылған жоқ; жазу үшін OK "
                                   "батырмасын қайта басыңыз.")
                        .arg(before, price.asString(), Edit4->text()));
}
