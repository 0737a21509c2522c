#include <QAction>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTableView>
#include <QtTest>
#include <map>
#include <tuple>

#include "tests/support.h"

namespace {

using Totals = std::tuple<qint64, qint64, double>;  // lines, quantity, sum

const QString kDeleted = QStringLiteral("'(өшірілген тағам ' || o.code || ')'");

// The same grouping as a plain group by over the orders, keyed as the window keys its rows.
const char* const kPlainKeys[] = {"o.dt", "substr(o.dt, 1, 7)", "o.fio",
                                  "iif(g.Code is null, %1, g.Nm)",
                                  "iif(g.Code is null, %1, g.Tys)"};

std::map<QString, Totals> plainGroupBy(TestFolder& folder, int grouping, const QString& where) {
    const QString key =
        QString::fromLatin1(kPlainKeys[grouping]).replace(QStringLiteral("%1"), kDeleted);
    store::Statement select(folder.db(),
                            QStringLiteral("select %1 k, count(*), sum(o.kvo), sum(o.summ) from "
                                           "orders o left join goods g on g.Code = o.code %2 "
                                           "group by k")
                                .arg(key, where));
    std::map<QString, Totals> groups;
    while (select.step()) {
        groups[select.column(0).toString()] = {select.columnInteger(1), select.columnInteger(2),
                                               select.columnReal(3)};
    }
    return groups;
}

std::map<QString, Totals> windowGroups(const SummaryTable& table) {
    std::map<QString, Totals> groups;
    for (int i = 0; i < table.groupCount(); ++i) {
        const store::SummaryRow& row = table.group(i);
        const QString key = row.deleted != 0 ? table.keyText(row) : row.key.toString();
        groups[key] = {row.lines, row.quantity, row.sum};
    }
    return groups;
}

void compareTotals(const Totals& got, const Totals& want, const QString& key) {
    QVERIFY2(std::get<0>(got) == std::get<0>(want) && std::get<1>(got) == std::get<1>(want) &&
                 qAbs(std::get<2>(got) - std::get<2>(want)) < 1e-6,
             qPrintable(key));
}

// Types a date into a picker as a user does: Tab into it, then the digits and separators.
void typeDate(forms::DatePicker* picker, const QDate& date) {
    QApplication::setActiveWindow(picker->window());
    picker->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(picker, date.toString(picker->displayFormat()));
    QCOMPARE(picker->date(), date);
}

QRadioButton* groupingButton(TFormSummary& form, int grouping) {
    QRadioButton* buttons[] = {
        control<QRadioButton>(form, "RadioButton1"), control<QRadioButton>(form, "RadioButton2"),
        control<QRadioButton>(form, "RadioButton3"), control<QRadioButton>(form, "RadioButton4"),
        control<QRadioButton>(form, "RadioButton5")};
    return buttons[grouping];
}

}  // namespace

// The sales summary: its sums against the store's own group by, its range, its files.
class SummaryTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void everyGroupingSumsAsAPlainGroupBy_data();
    void everyGroupingSumsAsAPlainGroupBy();
    void rangeEdgesAreIncluded_data();
    void rangeEdgesAreIncluded();
    void filesQuoteAWaiterWithCommaAndQuotes();
};

void SummaryTest::everyGroupingSumsAsAPlainGroupBy_data() {
    QTest::addColumn<int>("grouping");
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("longMenu");  // more dishes sold than are looked up one by one
    const char* const names[] = {"day", "month", "waiter", "dish", "group"};
    for (int grouping = 0; grouping < 5; ++grouping) {
        QTest::addRow("%s, typed range", names[grouping]) << grouping << false << false;
        QTest::addRow("%s, all", names[grouping]) << grouping << true << false;
    }
    QTest::addRow("dish, long menu") << 3 << true << true;
    QTest::addRow("group, long menu") << 4 << true << true;
}

void SummaryTest::everyGroupingSumsAsAPlainGroupBy() {
    QFETCH(int, grouping);
    QFETCH(bool, all);
    QFETCH(bool, longMenu);
    Session session;
    auto& [folder, answers, w] = session;
    // Dishes 1-12 in three groups; orders also for codes 13-15, whose dishes are gone, by
    // waiters one of whom has no name, some without a date.
    const QString groups[] = {QStringLiteral("Сорпалар"), QStringLiteral("Ұлттық тағамдар"),
                              QStringLiteral("Сусындар")};
    for (int code = 1; code <= 12; ++code) {
        folder.addDish(code, QStringLiteral("Тағам %1").arg(code), groups[code % 3], 100 * code,
                       10);
    }
    const QString waiters[] = {QStringLiteral("Асан"), QStringLiteral("Әсел"),
                               QStringLiteral("Ұлжан"), QString()};
    QRandomGenerator random(21);
    for (int i = 0; i < 600; ++i) {
        const QDate day = QDate(2025, 1, 1).addDays(random.bounded(365));
        folder.addOrder(1 + random.bounded(15), waiters[random.bounded(4)], 1 + random.bounded(5),
                        50.25 * (1 + random.bounded(40)), day.toString(Qt::ISODate));
    }
    if (longMenu) {
        // Dishes 101-6100 in seven groups, and orders over codes up to 6600: the last 500 gone.
        folder.db().exec(QStringLiteral(
            "with recursive n(i) as (select 101 union all select i + 1 from n where i < 6100) "
            "insert into goods (Code, Nm, Tys, DS, PS, Vozr) "
            "select i, 'Тағам ' || i, 'Топ ' || (i % 7), 4, 100 + i % 50, 10 from n"));
        folder.db().exec(QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
            "insert into orders (code, fio, kvo, sena, summ, dt) "
            "select 1 + i * 7919 % 6600, 'Асан', 1 + i % 5, 10.5, 10.5 * (1 + i % 5), "
            "date('2025-01-01', '+' || (i % 365) || ' days') from n"));
    }
    folder.db().exec(QStringLiteral("update orders set dt = null where rowid % 50 = 0"));
    const QDate first(2025, 3, 10);
    const QDate last(2025, 4, 20);
    const QString where =
        all ? QString() : QStringLiteral("where o.dt between '2025-03-10' and '2025-04-20'");

    w.show();
    w.summary.FormShow();
    groupingButton(w.summary, grouping)->click();
    if (all) {
        control<QPushButton>(w.summary, "Button6")->click();
        QCOMPARE(control<forms::DatePicker>(w.summary, "DateTimePicker1")->date(),
                 QDate::fromString(
                     folder.scalar(QStringLiteral("select min(dt) from orders")).toString(),
                     Qt::ISODate));
    } else {
        control<forms::DatePicker>(w.summary, "DateTimePicker1")->setDate(first);
        control<forms::DatePicker>(w.summary, "DateTimePicker2")->setDate(last);
    }
    QCOMPARE(w.summary.grouping(), static_cast<store::Grouping>(grouping));
    QVERIFY(answers.messages.isEmpty());

    const auto want = plainGroupBy(folder, grouping, where);
    const auto got = windowGroups(w.summary.Table1);
    QCOMPARE(got.size(), want.size());
    for (const auto& [key, totals] : want) {
        QVERIFY2(got.count(key) == 1, qPrintable(key));
        compareTotals(got.at(key), totals, key);
    }
    // Days and months in date order, the others by sum, largest first.
    const SummaryTable& table1 = w.summary.Table1;
    for (int i = 1; i < table1.groupCount(); ++i) {
        const store::SummaryRow& a = table1.group(i - 1);
        const store::SummaryRow& b = table1.group(i);
        QVERIFY(grouping <= 1 ? a.key.toString() < b.key.toString() : a.sum >= b.sum);
    }
    // The totals row is the orders table's, not the orders view's join.
    store::Statement table(
        folder.db(),
        QStringLiteral("select count(*), sum(o.kvo), sum(o.summ) from orders o ") + where);
    QVERIFY(table.step());
    const store::SummaryRow& totals = w.summary.Table1.totals();
    compareTotals({totals.lines, totals.quantity, totals.sum},
                  {table.columnInteger(0), table.columnInteger(1), table.columnReal(2)},
                  QStringLiteral("totals"));
    table.run();

    // The shares, as the grid shows them, add up to 100 within their rounding; the chart
    // shows every sum, in at most 31 bars.
    const QAbstractItemModel* grid = control<QTableView>(w.summary, "DBGrid1")->model();
    double shares = 0;
    for (int row = 0; row < grid->rowCount() - 1; ++row) {
        shares += QLocale().toDouble(grid->index(row, SummaryTable::Share).data().toString());
    }
    QVERIFY2(qAbs(shares - 100) <= 0.005 * (grid->rowCount() - 1) + 1e-9,
             qPrintable(QString::number(shares)));
    const auto bars = w.summary.bars();
    QVERIFY(bars.size() <= TFormSummary::MaxBars);
    QCOMPARE(bars.size() == TFormSummary::MaxBars, grid->rowCount() - 1 > TFormSummary::MaxBars);
    double charted = 0;
    for (const auto& bar : bars) {
        charted += bar.second;
    }
    QVERIFY(qAbs(charted - totals.sum) < 1e-6);
}

void SummaryTest::rangeEdgesAreIncluded_data() {
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<qint64>("quantity");  // the orders' quantities are 1, 2, 4, 8 by day
    QTest::newRow("both edges") << QDate(2025, 3, 10) << QDate(2025, 4, 20) << qint64(6);
    QTest::newRow("one day, the first") << QDate(2025, 3, 10) << QDate(2025, 3, 10) << qint64(2);
    QTest::newRow("one day, the last") << QDate(2025, 4, 20) << QDate(2025, 4, 20) << qint64(4);
    QTest::newRow("a day wider") << QDate(2025, 3, 9) << QDate(2025, 4, 21) << qint64(15);
    QTest::newRow("after them") << QDate(2025, 4, 22) << QDate(2025, 5, 1) << qint64(0);
    QTest::newRow("turned round") << QDate(2025, 4, 20) << QDate(2025, 3, 10) << qint64(0);
}

void SummaryTest::rangeEdgesAreIncluded() {
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(qint64, quantity);
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Күріш тағамдары"), 2200, 75}});
    auto& [folder, answers, w] = session;
    const char* const days[] = {"2025-03-09", "2025-03-10", "2025-04-20", "2025-04-21"};
    for (int i = 0; i < 4; ++i) {
        folder.addOrder(1, QStringLiteral("Асан"), qint64(1) << i, 2200,
                        QString::fromLatin1(days[i]));
    }
    w.summary.show();
    w.summary.FormShow();
    typeDate(control<forms::DatePicker>(w.summary, "DateTimePicker1"), first);
    typeDate(control<forms::DatePicker>(w.summary, "DateTimePicker2"), last);
    QCOMPARE(w.summary.Table1.totals().quantity, quantity);
}

void SummaryTest::filesQuoteAWaiterWithCommaAndQuotes() {
    Session session({{1, QStringLiteral("Палау"), QStringLiteral("Күріш тағамдары"), 1250, 75}});
    auto& [folder, answers, w] = session;
    const QString waiter = QStringLiteral("\"Бек\", O'Neil");
    folder.addOrder(1, waiter, 3, 1250.5, QDate::currentDate().toString(Qt::ISODate));
    whileModal(w.summary, [&] {
        QCOMPARE(w.summary.windowTitle(), QStringLiteral("Сатылым қорытындысы"));
        QCOMPARE(w.summary.grouping(), store::Grouping::Waiter);
        // The grid shows the user's decimal comma; CSV writes a plain dot.
        QCOMPARE(control<QTableView>(w.summary, "DBGrid1")
                     ->model()
                     ->index(0, SummaryTable::Sum)
                     .data()
                     .toString(),
                 QStringLiteral("3751,5"));
        answers.saveName = folder.path() + QStringLiteral("/out");
        control<QPushButton>(w.summary, "BitBtn2")->click();
        QApplication::setActiveWindow(&w.summary);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    });
    w.main.action(QStringLiteral("summary"))->trigger();
    QVERIFY(answers.messages.isEmpty());

    QFile csv(folder.path() + QStringLiteral("/out.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll(), QStringLiteral("\uFEFFДаяшы,Жолдар,Саны,Сомасы,\"Үлесі, %\"\r\n"
                                           "\"\"\"Бек\"\", O'Neil\",1,3,3751.5,100.00\r\n"
                                           "Жиыны,1,3,3751.5,100.00\r\n")
                                .toUtf8());
    const QString xls = folder.path() + QStringLiteral("/summary.xls");
    QCOMPARE(answers.opened, QStringList{xls});
    QFile report(xls);
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray bytes = report.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF<html>"));
    const QString html = QString::fromUtf8(bytes);
    QVERIFY(
        html.startsWith(QStringLiteral("<html><head><title>Сатылым қорытындысы</title></head>"
                                       "<body>\r\n<h3>Сатылым қорытындысы: ")));
    QVERIFY(html.contains(QStringLiteral(", даяшы бойынша</h3>")));
    QVERIFY(html.contains(
        QStringLiteral("\r\n<td>&quot;Бек&quot;, "
                       "O'Neil</td>\r\n<td>1</td>\r\n<td>3</td>\r\n<td>3751,5</td>\r\n")));
}

QTEST_MAIN(SummaryTest)
#include "tst_summary.moc"
