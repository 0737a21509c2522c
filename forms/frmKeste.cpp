#include "forms/frmKeste.h"

#include "ui_frmKeste.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <functional>

#include "forms/gridsource.h"
#include "forms/look.h"
#include "forms/openreport.h"
#include "forms/progress.h"
#include "reports/htmlreport.h"
#include "resources/artwork.h"
#include "store/datafolder.h"
#include "store/statements.h"
#include "ui/guard.h"

TForm4::TForm4(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TForm4>()) {
    forms::useDesktopFaces();
    ui->setupUi(this);
    forms::makeFixedDialog(*this);
    Query1.setDateFields({QStringLiteral("dt")});
    Query1.setKeyset(store::statements::ordersKeyset());  // years of orders: read as they are shown

    forms::styleGrid(ui->DBGrid1);
    QPalette money = ui->DBGrid1->palette();
    money.setColor(QPalette::Base, QColor(192, 220, 192));
    ui->DBGrid1->setPalette(money);
    DataSource1 = forms::showInGrid(ui->DBGrid1, Query1,
                                    {{"fio", "Официанттың аты-жөні", 193},
                                     {"nm", "Тапсырысы", 172},
                                     {"kvo", "Саны", 64},
                                     {"sena", "Бағасы", 64},
                                     {"summ", "Сомасы", 64},
                                     {"dt", "Уақыты", 68}},
                                    this);
    DataSource1->attachWindowed(ui->DBGrid1);
    // The user may widen and reorder the columns here; the report follows their order.
    QHeaderView* titles = ui->DBGrid1->horizontalHeader();
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setSectionsMovable(true);
    titles->setSectionsClickable(false);
    ui->BitBtn2->setIcon(resources::artwork::searchIcon());

    forms::tabStopOnCheckedButton({ui->RadioButton1, ui->RadioButton2});

    connect(ui->BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm4::BitBtn1Click));
    connect(ui->BitBtn2, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm4::BitBtn2Click));
}

TForm4::~TForm4() = default;

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
    Query1.setDataFolder(store::dataFolder());
    Query1.clearLines();
    Query1.addLines(store::statements::orders());
    Query1.open();
    ui->DBGrid1->setFocus();
}

void TForm4::BitBtn2Click() {
    const QString text = ui->Edit1->text();
    Query1.clearLines();
    Query1.addLine(store::statements::ordersSelect());
    Query1.addLine(ui->RadioButton2->isChecked() ? store::statements::ordersByWaiter(text)
                                                 : store::statements::ordersByDish(text));
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
    forms::openReport(path, folder, QStringLiteral("libreoffice-calc"));
}
