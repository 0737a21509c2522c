#include <unistd.h>

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "forms/gridsource.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "tests/support.h"

namespace {

const QString kBadQuantity = QStringLiteral("Енгізген саныңыз дұрыс емес !!!");

QStringList column(const QTableView* grid, int logical) {
    QStringList values;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        values.append(grid->model()->index(row, logical).data().toString());
    }
    return values;
}

}  // namespace

// Taking an order for the current dish, and the orders view with its searches.
class OrdersTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void quantityIsCheckedOnEveryChange();
    void priceThatIsNoWholeNumber();
    void okRecordsExactlyOneLine();
    void eachShowingStartsAfresh();
    void noDishNoOrder();
    void viewJoinsOrdersWithTheirDishes();
    void viewSearchesByWaiterOrDish();
    void draggedColumnsLastForTheRun();
    void viewLoadsOncePerShowing();
    void ctrlEndShowsTheLastRowsAtOnce();
    void oneConnectionForTheWholeRun();
    void ordersAreForTheDishAsItIsNow_data();
    void ordersAreForTheDishAsItIsNow();
    void fullDiskIsSaidAndNothingIsLost();
};

void OrdersTest::quantityIsCheckedOnEveryChange() {
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Күріш тағамдары"), 2200, 75}});
    auto& [folder, answers, w] = session;
    QVERIFY(w.order.FormShow());
    QCOMPARE(control<QLabel>(w.order, "Label6")->text(), QStringLiteral("Күріш тағамдары"));
    QCOMPARE(control<QLineEdit>(w.order, "Edit3")->text(), QStringLiteral("2200"));
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("0"));
    QCOMPARE(control<forms::DatePicker>(w.order, "dtp1")->date(), QDate::currentDate());

    for (const auto& [typed, sum] : {std::pair{"1", "2200"}, {"25", "55000"}, {"999", "2197800"}}) {
        control<QLineEdit>(w.order, "Edit2")->clear();
        QTest::keyClicks(control<QLineEdit>(w.order, "Edit2"), QString::fromLatin1(typed));
        QCOMPARE(control<QLineEdit>(w.order, "Edit2")->text(), QString::fromLatin1(typed));
        QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QString::fromLatin1(sum));
    }
    QVERIFY(answers.messages.isEmpty());

    for (const char* typed : {"0", "05"}) {
        control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("7"));
        answers.messages.clear();
        control<QLineEdit>(w.order, "Edit2")->setText(QString::fromLatin1(typed));
        QCOMPARE(answers.texts(), QStringList({kBadQuantity}));
        QCOMPARE(answers.messages[0].kind, ui::MessageKind::Warning);
        QCOMPARE(control<QLineEdit>(w.order, "Edit2")->text(), QString());
        QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(),
                 QStringLiteral("15400"));  // from the 7
    }

    // Typing past three digits: the fourth is refused, the sum of 100 stays.
    control<QLineEdit>(w.order, "Edit2")->clear();
    answers.messages.clear();
    QTest::keyClicks(control<QLineEdit>(w.order, "Edit2"), QStringLiteral("1000"));
    QCOMPARE(answers.texts(), QStringList({kBadQuantity}));
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("220000"));

    // Deleting down to nothing gives no warning and keeps the last sum.
    QTest::keyClicks(control<QLineEdit>(w.order, "Edit2"), QStringLiteral("25"));
    answers.messages.clear();
    QTest::keyClick(control<QLineEdit>(w.order, "Edit2"), Qt::Key_Backspace);
    QTest::keyClick(control<QLineEdit>(w.order, "Edit2"), Qt::Key_Backspace);
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("4400"));
    w.order.reject();
}

void OrdersTest::priceThatIsNoWholeNumber() {
    Session session({{1, QStringLiteral("Су"), QStringLiteral("Сусын"), QVariant(), 1},
                     {2, QStringLiteral("Қымбат"), QStringLiteral("Арнайы"), 9000000000000LL, 1}});
    auto& [folder, answers, w] = session;
    const auto select = [&](const QString& name) {
        control<QTableView>(w.main, "DBGrid1")
            ->selectRow(static_cast<int>(w.gridColumn(0).indexOf(name)));
    };
    select(QStringLiteral("Су"));  // no price
    QVERIFY(w.order.FormShow());
    QCOMPARE(control<QLineEdit>(w.order, "Edit3")->text(), QString());
    control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("3"));
    QCOMPARE(answers.texts(), QStringList({QStringLiteral("'' is not a valid integer value.")}));
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("0"));
    control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан"));
    control<QPushButton>(w.order, "BitBtn1")->click();  // nothing without a price
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 0);
    w.order.reject();

    // Sums past 32 bits are exact.
    select(QStringLiteral("Қымбат"));
    QVERIFY(w.order.FormShow());
    control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("999"));
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("8991000000000000"));
    w.order.reject();
    // Past 64 bits the order is refused, not wrapped round.
    folder.db().exec(QStringLiteral("update goods set PS = 100000000000000000 where Code = 2"));
    w.main.reopenList();
    select(QStringLiteral("Қымбат"));
    answers.messages.clear();
    QVERIFY(w.order.FormShow());
    control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("999"));
    QCOMPARE(answers.texts(),
             QStringList({QStringLiteral("Сома тым үлкен: 999 x 100000000000000000.")}));
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("0"));
    w.order.reject();
}

void OrdersTest::okRecordsExactlyOneLine() {
    Session session({{7, QStringLiteral("Манты"), QStringLiteral("Қамыр"), 2000, 50}});
    auto& [folder, answers, w] = session;
    const QString waiter = QStringLiteral("Д'Артаньян \"Бек\" \\ 100%");
    whileModal(w.order, [&] {
        control<QPushButton>(w.order, "BitBtn1")->click();
        QCOMPARE(answers.lastText(), QStringLiteral("Алдымен барлық өрістерді толтырыңыз."));
        control<QLineEdit>(w.order, "Edit1")->setText(waiter);
        control<QPushButton>(w.order, "BitBtn1")->click();  // still no quantity
        QCOMPARE(answers.messages.size(), 2);
        QTest::keyClicks(control<QLineEdit>(w.order, "Edit2"), QStringLiteral("3"));
        control<forms::DatePicker>(w.order, "dtp1")->setDate(QDate(2007, 5, 15));
        control<QPushButton>(w.order, "BitBtn1")->click();
        QVERIFY(!w.order.isVisible());
    });
    w.main.action(QStringLiteral("order"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 1);
    store::Statement row(folder.db(),
                         QStringLiteral("select code, fio, kvo, sena, summ, dt from orders"));
    QVERIFY(row.step());
    QCOMPARE(row.column(0).toInt(), 7);
    QCOMPARE(row.column(1).toString(), waiter);
    QCOMPARE(row.column(2).toInt(), 3);
    QCOMPARE(row.column(3).toDouble(), 2000.0);
    QCOMPARE(row.column(4).toDouble(), 6000.0);
    QCOMPARE(row.column(5).toString(), QStringLiteral("2007-05-15"));
    row.run();

    // Cancel records nothing.
    whileModal(w.order, [&] {
        control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан"));
        control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("2"));
        control<QPushButton>(w.order, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("order"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 1);
}

void OrdersTest::eachShowingStartsAfresh() {
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Күріш"), 2200, 75},
                     {2, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5}});
    auto& [folder, answers, w] = session;
    QVERIFY(w.order.FormShow());
    control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан"));
    control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("4"));
    control<forms::DatePicker>(w.order, "dtp1")->setDate(QDate(2020, 1, 1));
    w.order.reject();
    control<QTableView>(w.main, "DBGrid1")->selectRow(1);
    QVERIFY(w.order.FormShow());
    QCOMPARE(control<QLineEdit>(w.order, "Edit1")->text(), QString());
    QCOMPARE(control<QLineEdit>(w.order, "Edit2")->text(), QString());
    QCOMPARE(control<QLineEdit>(w.order, "Edit3")->text(), QStringLiteral("300"));
    QCOMPARE(control<QLineEdit>(w.order, "Edit4")->text(), QStringLiteral("0"));
    QCOMPARE(control<QLabel>(w.order, "Label6")->text(), QStringLiteral("Сусын"));
    QCOMPARE(control<forms::DatePicker>(w.order, "dtp1")->date(), QDate::currentDate());
    w.order.reject();
}

void OrdersTest::noDishNoOrder() {
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    w.main.action(QStringLiteral("order"))->trigger();
    QCOMPARE(answers.texts(), QStringList({QStringLiteral("Алдымен тағамды таңдаңыз.")}));
    QCOMPARE(answers.messages[0].kind, ui::MessageKind::Warning);
    QVERIFY(!w.order.isVisible());
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 0);
}

void OrdersTest::viewJoinsOrdersWithTheirDishes() {
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Күріш"), 2200, 75},
                     {2, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5}});
    auto& [folder, answers, w] = session;
    folder.addOrder(1, QStringLiteral("Асан"), 2, 2200, QStringLiteral("2007-05-15"));
    folder.addOrder(2, QStringLiteral("Айгүл"), 3, 2.5, QStringLiteral("2026-12-01"));
    folder.addOrder(2, QString(), 1, 300, QStringLiteral("2026-12-01"));  // no waiter
    folder.addOrder(9, QStringLiteral("Бауыржан"), 1, 100, QStringLiteral("2026-12-01"));
    w.orders.FormShow();
    QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 0), QStringList({"Асан", "Айгүл"}));
    QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 1), QStringList({"Палау", "Шай"}));
    QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 3), QStringList({"2200", "2,5"}));
    QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 4), QStringList({"4400", "7,5"}));
    QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 5),
             QStringList({"15.05.2007", "01.12.2026"}));
    const QStringList titles = [&] {
        QStringList all;
        for (int c = 0; c < 6; ++c) {
            all.append(control<QTableView>(w.orders, "DBGrid1")
                           ->model()
                           ->headerData(c, Qt::Horizontal)
                           .toString());
        }
        return all;
    }();
    QCOMPARE(titles, QStringList({"Официанттың аты-жөні", "Тапсырысы", "Саны", "Бағасы", "Сомасы",
                                  "Уақыты"}));

    // Deleting a dish hides its orders, which stay in the store.
    folder.db().exec(QStringLiteral("delete from goods where Code = 1"));
    w.orders.FormShow();
    QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 0), QStringList({"Айгүл"}));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 4);
    QVERIFY(answers.messages.isEmpty());
}

void OrdersTest::viewSearchesByWaiterOrDish() {
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Шай тағамдары"), 2200, 75},
                     {2, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5}});
    auto& [folder, answers, w] = session;
    folder.addOrder(1, QStringLiteral("Асан"), 1, 2200, QStringLiteral("2026-12-01"));
    folder.addOrder(2, QStringLiteral("асан"), 1, 300, QStringLiteral("2026-12-01"));
    folder.addOrder(2, QStringLiteral("Жан 100%"), 1, 300, QStringLiteral("2026-12-01"));
    folder.addOrder(2, QStringLiteral("Жан 1000"), 1, 300, QStringLiteral("2026-12-01"));
    auto search = [&](bool byWaiter, const QString& text) {
        (byWaiter ? control<QRadioButton>(w.orders, "RadioButton2")
                  : control<QRadioButton>(w.orders, "RadioButton1"))
            ->setChecked(true);
        control<QLineEdit>(w.orders, "Edit1")->setText(text);
        control<QPushButton>(w.orders, "BitBtn2")->click();
        return column(control<QTableView>(w.orders, "DBGrid1"), byWaiter ? 0 : 1);
    };
    w.orders.FormShow();
    QCOMPARE(search(true, QStringLiteral("Ас")), QStringList({"Асан"}));
    QCOMPARE(search(true, QStringLiteral("100%")), QStringList({"Жан 100%"}));
    QCOMPARE(search(true, QString()).size(), 4);
    QCOMPARE(search(false, QStringLiteral("Шай")), QStringList({"Шай", "Шай", "Шай"}));
    QCOMPARE(search(false, QStringLiteral("тағам")), QStringList());  // the group is not searched
    QCOMPARE(search(false, QStringLiteral("'")), QStringList());
    QVERIFY(answers.messages.isEmpty());

    // Enter searches; Esc does not close the view.
    whileModal(w.orders, [&] {
        QCOMPARE(control<QRadioButton>(w.orders, "RadioButton1")->isChecked(),
                 true);  // kept across showings
        QCOMPARE(control<QLineEdit>(w.orders, "Edit1")->text(), QStringLiteral("'"));
        QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 0).size(),
                 4);  // every showing reloads
        control<QLineEdit>(w.orders, "Edit1")->setText(QStringLiteral("Пал"));
        QTest::keyClick(control<QLineEdit>(w.orders, "Edit1"), Qt::Key_Return);
        QCOMPARE(column(control<QTableView>(w.orders, "DBGrid1"), 1), QStringList({"Палау"}));
        QTest::keyClick(control<QLineEdit>(w.orders, "Edit1"), Qt::Key_Escape);
        QVERIFY(w.orders.isVisible());
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QVERIFY(!w.orders.isVisible());
}

void OrdersTest::draggedColumnsLastForTheRun() {
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Күріш"), 2200, 75}});
    auto& [folder, answers, w] = session;
    folder.addOrder(1, QStringLiteral("Асан"), 1, 2200, QStringLiteral("2026-12-01"));
    whileModal(w.orders, [&] {
        QHeaderView* titles = control<QTableView>(w.orders, "DBGrid1")->horizontalHeader();
        titles->moveSection(5, 0);  // the date first
        titles->resizeSection(1, 250);
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    whileModal(w.orders, [&] {
        QHeaderView* titles = control<QTableView>(w.orders, "DBGrid1")->horizontalHeader();
        QCOMPARE(titles->logicalIndex(0), 5);
        QCOMPARE(titles->sectionSize(1), 250);
        const QList<store::Column> order = w.orders.DataSource1->columnsInGridOrder();
        QCOMPARE(order.first().field, QStringLiteral("dt"));
        QCOMPARE(order[1].field, QStringLiteral("fio"));
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
}

void OrdersTest::viewLoadsOncePerShowing() {
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    folder.db().exec(QStringLiteral("drop table orders"));  // under the running program
    whileModal(w.orders, [&] {
        QCOMPARE(answers.texts(), QStringList({QStringLiteral("no such table: orders.")}));
        QCOMPARE(control<QTableView>(w.orders, "DBGrid1")->model()->rowCount(), 0);
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QCOMPARE(answers.messages.size(), 1);
}

// Ctrl+End on 200 000 orders shows the statement's last rows, read from the end before the
// count is known; Page Up reads on from there; learning the count leaves the grid on them.
// The grid holds only the rows it shows; its own scroll bar stands for the whole result.
void OrdersTest::ctrlEndShowsTheLastRowsAtOnce() {
    Session session;
    auto& [folder, answers, w] = session;
    folder.addManyOrders(200000);
    w.show();
    w.orders.show();
    w.orders.FormShow();
    QTableView* grid = control<QTableView>(w.orders, "DBGrid1");
    const store::Query& query = w.orders.Query1;
    QVERIFY(!query.countKnown());
    const QList<QVariantList> all = folder.statementRows(query.sql(), query.params(), {5});
    const int rows = static_cast<int>(all.size());
    const auto* bar = grid->findChild<QScrollBar*>(QStringLiteral("resultScrollBar"));
    QVERIFY(bar);
    // The grid's rows are the statement's from first on, and the current one is marked.
    auto shownFrom = [&](int first) {
        const QAbstractItemModel* model = grid->model();
        QVERIFY(model->rowCount() > 10);
        QCOMPARE(bar->value(), first + query.recordCount() - rows);
        QCOMPARE(grid->currentIndex().row(), query.currentRow() - bar->value());
        for (int r = 0; r < model->rowCount(); ++r) {
            for (int c = 0; c < 6; ++c) {
                QCOMPARE(model->index(r, c).data().toString(), store::plainText(all[first + r][c]));
            }
        }
    };
    const int window = w.orders.DataSource1->windowRows();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(query.currentRow(), query.recordCount() - 1);
    QCOMPARE(bar->value(), bar->maximum());
    shownFrom(rows - window);
    QTest::keyClick(grid, Qt::Key_PageUp);
    QTest::keyClick(grid, Qt::Key_Up);
    shownFrom(rows - window - 2);
    QTRY_VERIFY_WITH_TIMEOUT(query.countKnown(), 20000);
    QCOMPARE(query.recordCount(), rows);
    shownFrom(rows - window - 2);
    QCOMPARE(bar->maximum(), rows - window);
    QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
    shownFrom(0);
    QCOMPARE(grid->model()->rowCount(), window);  // no more rows than it shows
    // Reported whole: one table row per result row, the last one's cells as the store holds them.
    control<QPushButton>(w.orders, "BitBtn1")->click();
    QFile written(folder.path() + QStringLiteral("/current.xls"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = written.readAll().split('\n');
    QCOMPARE(lines.size() - 1, 3 + 6 + 1 + rows * 8 + 1);
    for (const int column : {1, 2, 5}) {  // the dish, the quantity, the date
        QCOMPARE(lines[lines.size() - 9 + column].trimmed(),
                 "<td>" + store::plainText(all.last()[column]).toUtf8() + "</td>");
    }
    w.orders.hide();
    QVERIFY(answers.messages.isEmpty());
}

void OrdersTest::oneConnectionForTheWholeRun() {
    Session session;
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Палау"), QStringLiteral("Күріш"), 2200, 75);
    folder.addDish(2, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5);
    folder.addOrder(1, QStringLiteral("Асан"), 2, 3500, QStringLiteral("2026-12-01"));
    const int opensBefore = store::connectionsOpened();
    w.show();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("а"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    w.main.DBGrid1TitleClick(2);
    for (int row = 0; row < control<QTableView>(w.main, "DBGrid1")->model()->rowCount(); ++row) {
        control<QTableView>(w.main, "DBGrid1")
            ->selectRow(row);  // each dish's picture and description read
    }
    whileModal(w.orders, [&] {
        control<QPushButton>(w.orders, "BitBtn2")->click();
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QVERIFY(!w.orders.Query1.isOpen());  // the hidden view lets its rows go
    whileModal(w.editor, [&] { w.editor.reject(); });
    w.main.action(QStringLiteral("add"))->trigger();
    whileModal(w.order, [&] {
        control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Бек"));
        control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("1"));
        control<QPushButton>(w.order, "BitBtn1")->click();
    });
    w.main.action(QStringLiteral("order"))->trigger();
    QVERIFY2(answers.messages.size() == 1, qPrintable(answers.texts().join(u'|')));  // the count
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 2);
    QCOMPARE(store::connectionsOpened() - opensBefore, 1);
}

// Another copy of the program changes the menu while the order dialog is open: the order is
// written only for the dish the dialog showed, at the price the menu holds when it is written.
void OrdersTest::ordersAreForTheDishAsItIsNow_data() {
    QTest::addColumn<QString>("before");    // SQL run before the main window opens
    QTest::addColumn<QString>("during");    // SQL run by "another copy" while the dialog is open
    QTest::addColumn<QString>("said");      // the start of the message, empty for none
    QTest::addColumn<QString>("recorded");  // "sena summ" of the order written, if any
    const QString gone = QStringLiteral("Бұл тағам мәзірде енді жоқ");
    QTest::newRow("unchanged") << ""
                               << ""
                               << ""
                               << "2200 4400";
    QTest::newRow("deleted") << ""
                             << "delete from goods where Code = 1" << gone << "";
    QTest::newRow("replaced under the same code")
        << ""
        << "update goods set Nm = 'Лағман' where Code = 1" << gone << "";
    QTest::newRow("price raised") << ""
                                  << "update goods set PS = 2500 where Code = 1"
                                  << "Тағамның бағасы өзгерді: бұрын 2200 еді, енді 2500. Сомасы "
                                     "қайта есептелді: 5000."
                                  << "2500 5000";
    QTest::newRow("name from an 8-bit base")
        << "update goods set Nm = cast(x'cff0eef1f2ee' as text) where Code = 1"
        << ""
        << ""
        << "2200 4400";
}

void OrdersTest::ordersAreForTheDishAsItIsNow() {
    QFETCH(QString, before);
    QFETCH(QString, during);
    QFETCH(QString, said);
    QFETCH(QString, recorded);
    Session session;
    auto& [folder, answers, w] = session;
    folder.addDish(1, QStringLiteral("Палау"), QStringLiteral("Күріш"), 2200, 75);
    if (!before.isEmpty()) {
        folder.db().exec(before);
    }
    w.show();
    whileModal(w.order, [&] {
        if (!during.isEmpty()) {
            folder.db().exec(during);
        }
        control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан"));
        control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("2"));
        control<QPushButton>(w.order, "BitBtn1")->click();
        if (!said.isEmpty()) {
            QVERIFY2(answers.lastText().startsWith(said), qPrintable(answers.lastText()));
            QVERIFY(w.order.isVisible());
            QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), 0);
            control<QPushButton>(w.order, "BitBtn1")->click();  // OK again: at the price now shown
        }
        QCOMPARE(w.order.isVisible(), recorded.isEmpty());
    });
    w.main.action(QStringLiteral("order"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select group_concat(sena || ' ' || summ) from orders"))
                 .toString()
                 .remove(QStringLiteral(".0")),
             recorded);
}

void OrdersTest::fullDiskIsSaidAndNothingIsLost() {
    QTemporaryDir mount;
    if (::geteuid() != 0 ||
        QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                    QStringLiteral("-o"), QStringLiteral("size=2m"),
                                                    QStringLiteral("tmpfs"), mount.path()}) != 0) {
        QSKIP("a small full disk (tmpfs) needs the superuser");
    }
    // Unmounted however the test ends.
    const auto unmount = qScopeGuard([&] {
        store::forgetConnections();
        store::setProgramFolder(QString());
        QProcess::execute(QStringLiteral("umount"), {mount.path()});
    });
    QDir(mount.path()).mkpath(QStringLiteral("base"));
    store::Database::create(mount.path() + QStringLiteral("/base/orvelin.db"))
        ->exec(QStringLiteral("insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) values (1, "
                              "'Шай', 'Сусын', 4, 100, 5, 'Қара шай')"));
    const QString filler = mount.path() + QStringLiteral("/filler");
    {
        store::setProgramFolder(mount.path());
        ScriptedDesktop answers;
        Windows w;
        w.show();  // the program is running when the disk fills up
        {
            QFile fill(filler);  // the rest of the disk taken by another program
            QVERIFY(fill.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (fill.write(block) == block.size() && fill.flush()) {
            }
        }
        int tries = 0;
        bool refused = false;
        while (!refused && tries++ < 200) {  // until the log cannot grow
            whileModal(w.order, [&] {
                control<QLineEdit>(w.order, "Edit1")->setText(QString(300, QChar(0x04D9)));
                control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("1"));
                control<QPushButton>(w.order, "BitBtn1")->click();
                refused = w.order.isVisible();
            });
            w.main.action(QStringLiteral("order"))->trigger();
        }
        QVERIFY2(refused, qPrintable(answers.texts().join(u'|')));
        QVERIFY2(answers.lastText().contains(
                     QStringLiteral("%1/base/orvelin.db базасы тұрған дискіде бос "
                                    "орын қалмады; ештеңе жазылмады")
                         .arg(mount.path())),
                 qPrintable(answers.lastText()));
        const int recorded = tries - 1;
        // Room again: the next order goes in, and every acknowledged one is there.
        QFile::remove(filler);
        whileModal(w.order, [&] {
            control<QLineEdit>(w.order, "Edit1")->setText(QStringLiteral("Асан"));
            control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("1"));
            control<QPushButton>(w.order, "BitBtn1")->click();
            QVERIFY(!w.order.isVisible());
        });
        w.main.action(QStringLiteral("order"))->trigger();
        auto db = store::connectionFor(mount.path() + QStringLiteral("/base"));
        store::Statement count(*db, QStringLiteral("select count(*) from orders"));
        QVERIFY(count.step());
        QCOMPARE(count.column(0).toInt(), recorded + 1);
        count.run();
        store::forgetConnections();
    }
}

QTEST_MAIN(OrdersTest)
#include "tst_orders.moc"
