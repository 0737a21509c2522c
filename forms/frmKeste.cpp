#include "forms/frmKeste.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <functional>

#include "forms/frmMain.h"
#include "forms/gridsource.h"
#include "forms/look.h"
#include "forms/progress.h"
#include "reports/htmlreport.h"
#include "resources/artwork.h"
#include "store/datafolder.h"
#include "store/statements.h"
#include "ui/desktop.h"
#include "ui/guard.h"

TForm4::TForm4(TForm1& main) : QDialog(&main) {
    setWindowTitle(QStringLiteral("Тапсырыстар кестесі"));
    setFont(main.font());
    forms::makeFixedDialog(*this, 693, 387, 262, 154);
    Query1.setDateFields({QStringLiteral("dt")});

    DBGrid1 = new QTableView(this);
    DBGrid1->setGeometry(8, 8, 673, 321);
    forms::styleGrid(DBGrid1);
    QPalette money = DBGrid1->palette();
    money.setColor(QPalette::Base, QColor(192, 220, 192));
    DBGrid1->setPalette(money);
    DataSource1 =
        new forms::GridSource(Query1,
                              {{QStringLiteral("fio"), QStringLiteral("Официанттың аты-жөні")},
                               {QStringLiteral("nm"), QStringLiteral("Тапсырысы")},
                               {QStringLiteral("kvo"), QStringLiteral("Саны")},
                               {QStringLiteral("sena"), QStringLiteral("Бағасы")},
                               {QStringLiteral("summ"), QStringLiteral("Сомасы")},
                               {QStringLiteral("dt"), QStringLiteral("Уақыты")}},
                              this);
    DataSource1->attach(DBGrid1);
    DataSource1->setTitleFont(forms::titleFontFitting(
        font(),
        {QStringLiteral("Официанттың аты-жөні"), QStringLiteral("Тапсырысы"),
         QStringLiteral("Саны"), QStringLiteral("Бағасы"), QStringLiteral("Сомасы"),
         QStringLiteral("Уақыты")},
        {193, 172, 64, 64, 64, 68}));
    QHeaderView* titles = DBGrid1->horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsMovable(true);
    titles->setSectionsClickable(false);
    const int widths[] = {193, 172, 64, 64, 64, 68};
    for (int c = 0; c < 6; ++c) {
        DBGrid1->setColumnWidth(c, widths[c]);
    }

    BitBtn1 = new QPushButton(QStringLiteral("Есеп"), this);
    BitBtn1->setGeometry(608, 336, 75, 25);
    Edit1 = new QLineEdit(this);
    Edit1->setMaxLength(forms::kWholeText);
    Edit1->setGeometry(8, 336, 249, 21);
    RadioButton1 = new QRadioButton(QStringLiteral("Тапсырысы"), this);
    RadioButton1->setGeometry(152, 360, 105, 17);
    RadioButton2 = new QRadioButton(QStringLiteral("Официанттың аты-жөні"), this);
    RadioButton2->setGeometry(8, 360, 145, 17);
    RadioButton2->setChecked(true);
    BitBtn2 = new QPushButton(QIcon(artwork::searchGlyph()), QStringLiteral("Іздеу"), this);
    BitBtn2->setGeometry(264, 336, 75, 25);
    BitBtn2->setIconSize(QSize(18, 18));
    BitBtn2->setDefault(true);

    forms::chainTabOrder({DBGrid1, BitBtn1, Edit1, RadioButton1, RadioButton2, BitBtn2});
    forms::tabStopOnCheckedButton({RadioButton1, RadioButton2});

    connect(BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm4::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm4::BitBtn2Click));
}

void TForm4::keyPressEvent(QKeyEvent* event) {
    // The view has no Cancel: Esc does nothing; the close box and Alt+F4 close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm4::hideEvent(QHideEvent* event) {
    // Every showing reads the list anew; a hidden view holds none of its rows meanwhile.
    Query1.close();
    QDialog::hideEvent(event);
}

void TForm4::FormShow() {
    Query1.bindFolder(store::dataFolder());
    Query1.clearLines();
    Query1.addLines(statements::orders());
    Query1.open();
    DBGrid1->setFocus();
}

void TForm4::BitBtn2Click() {
    const QString text = Edit1->text();
    Query1.clearLines();
    Query1.addLine(statements::ordersSelect());
    Query1.addLine(RadioButton2->isChecked() ? statements::ordersByWaiter(text)
                                             : statements::ordersByDish(text));
    Query1.open();
}

void TForm4::BitBtn1Click() {
    const QString folder = store::programFolder();
    const QString path = reports::ordersReportPath(folder);
    {
        forms::ProgressBox progress(this, QStringLiteral("Есеп жазылып жатыр..."));
        reports::writeReport(reports::ReportKind::Orders, path, Query1,
                             DataSource1->columnsInGridOrder(), folder, std::ref(progress));
    }
    ui::desktop().openDocument(path, folder);
}
