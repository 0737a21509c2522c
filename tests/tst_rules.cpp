#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "rules/currentdish.h"
#include "rules/dish.h"
#include "rules/order.h"
#include "rules/search.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "store/error.h"
#include "store/statements.h"

namespace {

// The current dish a dialog would see, without a window.
class FakeDish : public rules::CurrentDish {
public:
    FakeDish(bool hasDish, QVariant code, QVariant name)
        : hasDish_(hasDish), code_(std::move(code)), name_(std::move(name)) {}
    bool hasDish() const override { return hasDish_; }
    store::Field field(const QString& name) const override {
        return store::Field(name == QStringLiteral("Code") ? code_ : name_);
    }
    QString dataFolder() const override { return {}; }
    void reopenList() override {}

private:
    bool hasDish_;
    QVariant code_;
    QVariant name_;
};

// The error text a call throws, or "" when it throws none.
template <typename F>
QString errorOf(F&& call) {
    try {
        call();
    } catch (const AppError& error) {
        return error.message();
    }
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(rules::SearchField)
Q_DECLARE_METATYPE(rules::Quantity)

// The program's rules, asked as the windows ask them, with no window.
class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void searchTexts_data();
    void searchTexts();
    void orderQuantitiesAndSums_data();
    void orderQuantitiesAndSums();
    void saveRules_data();
    void saveRules();
    void changeAndDeleteDecisions_data();
    void changeAndDeleteDecisions();
};

void RulesTest::searchTexts_data() {
    QTest::addColumn<rules::SearchField>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");  // by name; "?" asks for a text, "!" is refused
    using F = rules::SearchField;
    const QStringList all = {"Манты", "Палау", "Шай"};
    QTest::newRow("name, no text: all") << F::Name << "" << all;
    QTest::newRow("name, part") << F::Name << "ла" << QStringList{"Палау"};
    QTest::newRow("name, other case") << F::Name << "АЙ" << QStringList{"Шай"};
    QTest::newRow("name, a comparison is a name") << F::Name << "<50" << QStringList{};
    QTest::newRow("price, no text") << F::Price << "" << QStringList{"?"};
    QTest::newRow("time, no text") << F::Time << "" << QStringList{"?"};
    QTest::newRow("price, a number") << F::Price << "300" << QStringList{"Шай"};
    QTest::newRow("price, at least") << F::Price << ">=1800" << QStringList{"Манты", "Палау"};
    QTest::newRow("price, not equal") << F::Price << "<>300" << QStringList{"Манты", "Палау"};
    QTest::newRow("time, at most") << F::Time << "<=40" << QStringList{"Манты", "Шай"};
    QTest::newRow("price is not time") << F::Price << "75" << QStringList{};
    QTest::newRow("time, below") << F::Time << "< 50" << QStringList{"Манты", "Шай"};
    QTest::newRow("time, a number") << F::Time << "75" << QStringList{"Палау"};
    QTest::newRow("time is not price") << F::Time << "300" << QStringList{};
    QTest::newRow("price, words") << F::Price << "арзан" << QStringList{"!"};
    QTest::newRow("time, a space is a text") << F::Time << " " << QStringList{"!"};
}

// Each search as the dish list runs it, on a base of three dishes.
void RulesTest::searchTexts() {
    QFETCH(rules::SearchField, field);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("base")));
    const QString dataFolder = dir.path() + QStringLiteral("/base");
    {
        auto db = store::Database::create(store::databasePath(dataFolder));
        db->exec(
            QStringLiteral("insert into goods (Code, Nm, Tys, DS, PS, Vozr) values "
                           "(1, 'Палау', 'Күріш', 4, 2200, 75), (2, 'Шай', 'Сусын', 4, 300, "
                           "5), (3, 'Манты', 'Ет', 4, 1800, 40)"));
    }
    const auto cleanup = qScopeGuard([] { store::forgetConnections(); });

    const std::optional<store::Line> filter = rules::searchFilter(field, text);
    if (found == QStringList{"?"}) {
        QVERIFY(!filter);
        return;
    }
    QVERIFY(filter);
    store::Query list;
    list.setDataFolder(dataFolder);
    list.addLines(store::statements::dishList());
    list.replaceLine(store::statements::FilterLine, *filter);
    const QString refusal = errorOf([&] { list.open(); });
    if (found == QStringList{"!"}) {
        QVERIFY(refusal.contains(text));
        QVERIFY(!list.isOpen());
        return;
    }
    QCOMPARE(refusal, QString());
    QStringList names;
    list.walk([&](int, const QVariantList&) {
        names.append(list.fieldByName(QStringLiteral("Nm")).asString());
    });
    QCOMPARE(names, found);
}

void RulesTest::orderQuantitiesAndSums_data() {
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<rules::Quantity>("check");
    QTest::addColumn<qint64>("sum");
    QTest::addColumn<QString>("error");  // of the sum
    using Q = rules::Quantity;
    const auto row = [](const char* name, const char* quantity, const char* price, Q check,
                        qint64 sum, const QString& error) {
        QTest::newRow(name) << QString::fromUtf8(quantity) << QString::fromUtf8(price) << check
                            << sum << error;
    };
    const auto tooLarge = [](const char* quantity, const char* price) {
        return QStringLiteral("Сома тым үлкен: %1 x %2")
            .arg(QString::fromUtf8(quantity), QString::fromUtf8(price));
    };
    const auto notWhole = [](const char* text) {
        return QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(text));
    };
    row("one", "1", "2200", Q::Valid, 2200, {});
    row("most", "999", "2200", Q::Valid, 2197800, {});
    row("past 32 bits", "999", "9000000000000", Q::Valid, 8991000000000000, {});
    row("largest sum", "1", "9223372036854775807", Q::Valid, 9223372036854775807, {});
    row("just below 2^63", "2", "4611686018427387903", Q::Valid, 9223372036854775806, {});
    row("2^63", "2", "4611686018427387904", Q::Valid, 0, tooLarge("2", "4611686018427387904"));
    row("past 64 bits", "999", "100000000000000000", Q::Valid, 0,
        tooLarge("999", "100000000000000000"));
    row("below -2^63", "3", "-4611686018427387904", Q::Valid, 0,
        tooLarge("3", "-4611686018427387904"));
    row("no price", "3", "", Q::Valid, 0, notWhole(""));
    row("a price with cents", "3", "2,5", Q::Valid, 0, notWhole("2,5"));
    row("the price is read first", "", "x", Q::Empty, 0, notWhole("x"));
    row("empty", "", "10", Q::Empty, 0, notWhole(""));
    row("zero", "0", "10", Q::Refused, 0, {});
    row("leading zero", "05", "10", Q::Refused, 50, {});
    row("four digits", "1000", "10", Q::Refused, 10000, {});
    row("letters", "2a", "10", Q::Refused, 0, notWhole("2a"));
    row("minus", "-3", "10", Q::Refused, -30, {});
    row("plus", "+3", "10", Q::Refused, 30, {});
    row("spaces", " 3", "10", Q::Refused, 30, {});
    row("other digits", "٣", "10", Q::Refused, 0, notWhole("٣"));
}

// The quantity's check on every change, and the sum the order is written with.
void RulesTest::orderQuantitiesAndSums() {
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(rules::Quantity, check);
    QFETCH(qint64, sum);
    QFETCH(QString, error);
    QCOMPARE(rules::checkQuantity(quantity), check);
    qint64 figured = 0;
    QCOMPARE(errorOf([&] { figured = rules::orderFigures(quantity, price).sum; }), error);
    QCOMPARE(figured, sum);
}

void RulesTest::saveRules_data() {
    QTest::addColumn<int>("empty");  // the field left empty, -1 for none
    QTest::addColumn<bool>("saved");
    const char* const fields[] = {"code", "name", "group", "DS", "price", "time", "description"};
    QTest::newRow("every field") << -1 << true;
    for (int field = 0; field < 7; ++field) {
        QTest::addRow("no %s", fields[field]) << field << (field == 4);
    }
}

// When the editor saves a dish and the order dialog takes an order, and what an empty field
// is stored as.
void RulesTest::saveRules() {
    QFETCH(int, empty);
    QFETCH(bool, saved);
    QStringList texts = {"41", "Сорпа", "Сорпалар", "4", "900", "90", " "};
    if (empty >= 0) {
        texts[empty].clear();
    }
    const rules::DishFields dish{texts[0], texts[1], texts[2], texts[3],
                                 texts[4], texts[5], texts[6]};
    QCOMPARE(rules::dishIsComplete(dish), saved);
    // An emptied field is stored as no value; a space is kept as typed.
    if (empty >= 0) {
        QVERIFY(rules::storedValue(texts[empty]).isNull());
    }
    QCOMPARE(rules::storedValue(QStringLiteral(" ")), QVariant(QStringLiteral(" ")));
    // The order's two fields the user must fill, with the same texts.
    QCOMPARE(rules::orderIsComplete(texts[1], texts[4]), empty != 1 && empty != 4);
}

void RulesTest::changeAndDeleteDecisions_data() {
    QTest::addColumn<bool>("hasDish");
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QVariant>("name");
    QTest::addColumn<qint64>("changed");    // the code the editor changes, -1 for none
    QTest::addColumn<QVariant>("deleted");  // the name Delete asks about, null for none
    const QVariant none;
    QTest::newRow("no dish") << false << QVariant(7) << QVariant("Палау") << -1LL << none;
    QTest::newRow("a dish") << true << QVariant(7) << QVariant("Палау") << 7LL << QVariant("Палау");
    QTest::newRow("code as text") << true << QVariant("12") << QVariant("Шай") << 12LL
                                  << QVariant("Шай");
    QTest::newRow("no code") << true << none << QVariant("Шай") << -1LL << QVariant("Шай");
    QTest::newRow("no name") << true << QVariant(8) << none << 8LL << none;
    QTest::newRow("empty name") << true << QVariant(8) << QVariant("") << 8LL << none;
}

// Which dish the editor changes and Delete offers to delete, from the main window's
// current row.
void RulesTest::changeAndDeleteDecisions() {
    QFETCH(bool, hasDish);
    QFETCH(QVariant, code);
    QFETCH(QVariant, name);
    QFETCH(qint64, changed);
    QFETCH(QVariant, deleted);
    const FakeDish dish(hasDish, code, name);
    QCOMPARE(rules::dishToChange(dish).value_or(-1), changed);
    const std::optional<QString> remove = rules::dishToDelete(dish);
    QCOMPARE(remove ? QVariant(*remove) : QVariant(), deleted);
}

QTEST_GUILESS_MAIN(RulesTest)
#include "tst_rules.moc"
