#include "forms/frmTaps.h"

#include "ui_frmTaps.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "forms/datepicker.h"
#include "forms/look.h"
#include "rules/currentdish.h"
#include "rules/order.h"
#include "rules/texts.h"
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

}  // namespace

TForm3::TForm3(QWidget* parent, rules::CurrentDish& currentDish)
    : QDialog(parent), currentDish_(currentDish), ui(std::make_unique<Ui::TForm3>()) {
    forms::useDesktopFaces();
    ui->setupUi(this);
    forms::makeFixedDialog(*this);
    QPalette green = ui->Label6->palette();
    green.setColor(QPalette::WindowText, QColor(0, 128, 0));
    ui->Label6->setPalette(green);
    // The price and the sum are the program's to fill in.
    makeGrey(ui->Label3);
    makeGrey(ui->Label4);
    makeGrey(ui->Edit3);
    makeGrey(ui->Edit4);

    connect(ui->Edit2, &QLineEdit::textChanged, this, ui::guardedSlot(this, &TForm3::Edit2Change));
    connect(ui->BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm3::BitBtn1Click));
    connect(ui->BitBtn2, &QPushButton::clicked, this, &TForm3::reject);
}

TForm3::~TForm3() = default;

bool TForm3::FormShow() {
    if (!currentDish_.hasDish()) {
        ui::warning(QStringLiteral("Алдымен тағамды таңдаңыз."));
        return false;
    }
    ui->Edit1->clear();
    ui->Edit2->clear();
    ui->Edit3->setText(currentDish_.field(QStringLiteral("PS")).asString());
    ui->Edit4->setText(QStringLiteral("0"));
    ui->Label6->setText(currentDish_.field(QStringLiteral("Tys")).asString());
    ui->dtp1->setDate(QDate::currentDate());
    Query1.setDataFolder(currentDish_.dataFolder());
    // The order is taken for this dish at this price, or not at all.
    shown_.code = currentDish_.field(QStringLiteral("Code")).asInteger();
    shown_.price = currentDish_.field(QStringLiteral("PS")).value();
    shown_.name = storedName();
    ui->Edit1->setFocus();
    return true;
}

void TForm3::Edit2Change() {
    const QString quantity = ui->Edit2->text();
    switch (rules::checkQuantity(quantity)) {
        case rules::Quantity::Empty:
            return;
        case rules::Quantity::Refused:
            ui::warning(QStringLiteral("Енгізген саныңыз дұрыс емес !!!"));
            ui->Edit2->clear();
            return;
        case rules::Quantity::Valid:
            ui->Edit4->setText(
                QString::number(rules::orderFigures(quantity, ui->Edit3->text()).sum));
            return;
    }
}

void TForm3::BitBtn1Click() {
    if (!rules::orderIsComplete(ui->Edit1->text(), ui->Edit2->text())) {
        ui::information(QString::fromUtf8(rules::texts::FillEveryField));
        return;
    }
    const rules::OrderFigures figures = rules::orderFigures(ui->Edit2->text(), ui->Edit3->text());
    Query1.clearLines();
    Query1.addLine(store::statements::insertOrder(shown_, ui->Edit1->text(), figures.quantity,
                                                  figures.sum, ui->dtp1->date()));
    if (Query1.execSQL() == 0) {
        explainRefusedOrder();
        return;
    }
    accept();
}

QVariant TForm3::storedName() {
    Query1.clearLines();
    Query1.addLine(store::statements::dishNow(shown_.code));
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
    const QString before = ui->Edit3->text();
    shown_.price = price.value();
    ui->Edit3->setText(price.asString());
    Edit2Change();
    ui::information(QStringLiteral("Тағамның бағасы өзгерді: бұрын %1 еді, енді %2. Сомасы қайта "
                                   "есептелді: %3. Тапсырыс әлі жазылған жоқ; жазу үшін OK "
                                   "батырмасын қайта басыңыз.")
                        .arg(before, price.asString(), ui->Edit4->text()));
}
