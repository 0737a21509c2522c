#include <sqlite3.h>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>
#include <numeric>
#include <random>
#include <type_traits>

#include "store/collation.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "store/dishdetails.h"
#include "store/disheditor.h"
#include "store/error.h"
#include "store/field.h"
#include "store/query.h"
#include "store/sqlfunctions.h"
#include "store/statements.h"
#include "tests/fixture.h"

namespace {

// The message of the error work throws, or "(nothing thrown)" for a test to fail on; an error
// of another kind stops the test.
template <typename Error = StoreError, typename Work>
QString errorOf(Work work) {
    try {
        work();
    } catch (const Error& error) {
        return error.message();
    }
    return QStringLiteral("(nothing thrown)");
}

}  // namespace

// The store: the text functions SQLite is given, the statements, the query with its lines,
// the table cursor, and a base that is missing or damaged.
class StoreTest : public QObject {
    Q_OBJECT

private slots:
    void likeMatchesWithRegardToCase_data();
    void likeMatchesWithRegardToCase();
    void likeAgreesWithARegularExpression();
    void textRoutinesTakeAnyBytes_data();
    void textRoutinesTakeAnyBytes();
    void sqlLikeAndUpperAreReplaced();
    void doubleQuotesAreNeverStrings();
    void transactionsHaveOneOwner();
    void cellsAreReadOnlyFromARow();
    void searchTextsAreBoundNotSpliced();
    void comparisonSearches_data();
    void comparisonSearches();
    void badComparisonsAreRefused_data();
    void badComparisonsAreRefused();
    void queryLinesCloseAndReopen();
    void missingOrDamagedBase();
    void untrustedSchemasAreRefusedUntouched_data();
    void untrustedSchemasAreRefusedUntouched();
    void dishEditorPostsAndCancels();
    void dishEditorRefusesBadValues();
    void plainTextOfValues();
    void compactResultsKeepEveryValue();
    void largeResultsReadLikeTheStore();
    void noReadTransactionStaysBehindAResult();
    void pagesGiveTheStatementsRows();
    void backupWhileOrdersAreSavedIsWhole();
    void kazakhAlphabetOrder_data();
    void kazakhAlphabetOrder();
    void sortKeysFollowOtherWritersAndTheCollationVersion();
};

void StoreTest::likeMatchesWithRegardToCase_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("cyrillic prefix") << "%Ас%"
                                     << "Асан" << true;
    QTest::newRow("cyrillic case differs") << "%Ас%"
                                           << "асан" << false;
    QTest::newRow("latin case differs") << "abc"
                                        << "ABC" << false;
    QTest::newRow("latin exact") << "a%c"
                                 << "abbbc" << true;
    QTest::newRow("kazakh letter") << "%қ%"
                                   << "Қуырдақ" << true;
    QTest::newRow("kazakh capital only") << "%Қ%"
                                         << "қуырдақ" << false;
    QTest::newRow("underscore is one letter") << "Ә_"
                                              << "Әж" << true;
    QTest::newRow("underscore not two") << "Ә_"
                                        << "Әжж" << false;
    QTest::newRow("empty pattern") << ""
                                   << "" << true;
    QTest::newRow("percent only") << "%%"
                                  << "" << true;
    QTest::newRow("escaped percent literal") << "%50\\%%"
                                             << "баға 50% арзан" << true;
    QTest::newRow("escaped percent needs it") << "%50\\%%"
                                              << "баға 500 арзан" << false;
    QTest::newRow("backtracking") << "%ab%abc"
                                  << "ababcabc" << true;
}

void StoreTest::likeMatchesWithRegardToCase() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(store::likeMatches(pattern.toStdString(), text.toStdString(), U'\\'), matches);
}

// Random patterns over a small alphabet, against the same pattern as a regular expression.
void StoreTest::likeAgreesWithARegularExpression() {
    const QString letters = QStringLiteral("aAәӘ%_\\");
    QRandomGenerator random(20261209);
    auto draw = [&](int length, int alphabet) {
        QString text;
        for (int i = 0; i < length; ++i) {
            text.append(letters[random.bounded(alphabet)]);
        }
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const QString pattern = draw(random.bounded(7), 7);
        const QString text = draw(random.bounded(9), 4);
        QString expression = QStringLiteral("^");
        bool valid = true;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const QChar c = pattern[i];
            if (c == QLatin1Char('\\')) {
                if (++i >= pattern.size()) {
                    valid = false;  // a lone escape at the end: left to the store
                    break;
                }
                expression += QRegularExpression::escape(pattern[i]);
            } else if (c == QLatin1Char('%')) {
                expression += QStringLiteral(".*");
            } else if (c == QLatin1Char('_')) {
                expression += QLatin1Char('.');
            } else {
                expression += QRegularExpression::escape(c);
            }
        }
        if (!valid) {
            continue;
        }
        const bool wanted = QRegularExpression(expression + QLatin1Char('$'),
                                               QRegularExpression::DotMatchesEverythingOption)
                                .match(text)
                                .hasMatch();
        QVERIFY2(store::likeMatches(pattern.toStdString(), text.toStdString(), U'\\') == wanted,
                 qPrintable(pattern + QStringLiteral(" ~ ") + text));
    }
}

// Names from an old 8-bit code page, cut or malformed UTF-8: a byte that is no UTF-8 stays
// as it is and matches only itself; nothing may grow past its buffer (ASan watches).
void StoreTest::textRoutinesTakeAnyBytes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("upper");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<bool>("matches");
    QTest::newRow("8-bit я") << QByteArray("\xFF\xFF\xFF") << QByteArray("\xFF\xFF\xFF")
                             << QByteArray("%\xFF%") << true;
    QTest::newRow("8-bit among letters")
        << QByteArray("a\xFF\xD0\xB1") << QByteArray("A\xFF\xD0\x91") << QByteArray("_\xFF_")
        << true;
    QTest::newRow("lead byte at the end")
        << QByteArray("\xD0\xB1\xD0") << QByteArray("\xD0\x91\xD0") << QByteArray("%\xD0") << true;
    QTest::newRow("cut three-byte")
        << QByteArray("\xE2\x82") << QByteArray("\xE2\x82") << QByteArray("__") << true;
    QTest::newRow("overlong a is no a")
        << QByteArray("\xC1\xA1") << QByteArray("\xC1\xA1") << QByteArray("%a%") << false;
    QTest::newRow("encoded surrogate")
        << QByteArray("\xED\xA0\x80") << QByteArray("\xED\xA0\x80") << QByteArray("___") << true;
    QTest::newRow("past U+10FFFF")
        << QByteArray("\xF4\x90\x80\x80") << QByteArray("\xF4\x90\x80\x80") << QByteArray("%\x90%")
        << true;
    QTest::newRow("stray byte is not inside a letter")
        << QByteArray("\xD0\x80") << QByteArray("\xD0\x80") << QByteArray("%\x80%") << false;
    QTest::newRow("capitals longer than letters")
        << QByteArray("\xC9\x90").repeated(3000) << QByteArray("\xE2\xB1\xAF").repeated(3000)
        << QByteArray("%\xC9\x90") << true;
}

void StoreTest::textRoutinesTakeAnyBytes() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, upper);
    QFETCH(QByteArray, pattern);
    QFETCH(bool, matches);
    const auto view = [](const QByteArray& bytes) {
        return std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()));
    };
    QCOMPARE(store::upperUtf8(view(text)), upper);
    QCOMPARE(store::likeMatches(view(pattern), view(text)), matches);

    // The same through SQL, as a dish name a converted base holds.
    TestFolder folder;
    auto db = store::connectionFor(folder.dataFolder());
    store::Statement statement(
        *db,
        QStringLiteral("select upper(cast(?1 as text)), cast(?1 as text) like cast(?2 as text)"));
    statement.bindAll({text, pattern});
    QVERIFY(statement.step());
    QCOMPARE(statement.columnBytes(0).toByteArray(), upper);
    QCOMPARE(statement.columnInteger(1), qint64(matches));
}

void StoreTest::sqlLikeAndUpperAreReplaced() {
    TestFolder folder;
    auto db = store::connectionFor(folder.dataFolder());
    auto ask = [&](const QString& sql, const QVariantList& params = {}) {
        store::Statement statement(*db, sql);
        statement.bindAll(params);
        statement.step();
        const QVariant value = statement.column(0);
        statement.run();
        return value;
    };
    QCOMPARE(ask(QStringLiteral("select 'Асан' like '%Ас%'")).toInt(), 1);
    QCOMPARE(ask(QStringLiteral("select 'асан' like '%Ас%'")).toInt(), 0);
    QCOMPARE(ask(QStringLiteral("select 'abc' like 'ABC'")).toInt(), 0);
    QCOMPARE(ask(QStringLiteral("select 'abc' like 'ABC' escape '\\'")).toInt(), 0);
    QCOMPARE(ask(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    QCOMPARE(ask(QStringLiteral("select 'a%b' like '%\\%%' escape '\\'")).toInt(), 1);
    QCOMPARE(ask(QStringLiteral("select 'ab' like '%\\%%' escape '\\'")).toInt(), 0);
    QCOMPARE(
        ask(QStringLiteral("select upper(?)"), {QStringLiteral("әғқңөұүһі ёжә abc")}).toString(),
        QStringLiteral("ӘҒҚҢӨҰҮҺІ ЁЖӘ ABC"));
    QVERIFY(ask(QStringLiteral("select upper(null)")).isNull());
    QVERIFY(ask(QStringLiteral("select null like 'a'")).isNull());
    QVERIFY_THROWS_EXCEPTION(StoreError, ask(QStringLiteral("select 'a' like 'a' escape 'ab'")));
}

void StoreTest::doubleQuotesAreNeverStrings() {
    TestFolder folder;
    auto db = store::connectionFor(folder.dataFolder());
    QCOMPARE(errorOf([&] { store::Statement(*db, QStringLiteral("select \"abc\"")); }),
             QStringLiteral("no such column: abc"));
}

// Copying a transaction would commit or roll back twice: it does not compile. Handed on, the
// one it came from neither commits nor rolls back.
void StoreTest::transactionsHaveOneOwner() {
    static_assert(!std::is_copy_constructible_v<store::Transaction>);
    static_assert(!std::is_copy_assignable_v<store::Transaction>);
    static_assert(std::is_nothrow_move_constructible_v<store::Transaction>);
    static_assert(std::is_nothrow_move_assignable_v<store::Transaction>);
    TestFolder folder;
    auto orders = [&] {
        return folder.scalar(QStringLiteral("select count(*) from orders")).toInt();
    };
    auto addOrder = [&] {
        folder.addOrder(1, QStringLiteral("Асан"), 1, 10, QStringLiteral("2024-01-02"));
    };
    {
        store::Transaction first(folder.db());
        addOrder();
        store::Transaction second(std::move(first));
        QVERIFY(!first.isActive());
        QVERIFY_THROWS_EXCEPTION(AppError, first.commit());
        second.commit();
        QVERIFY(!second.isActive());
        QVERIFY_THROWS_EXCEPTION(AppError, second.commit());
    }
    QCOMPARE(orders(), 1);
    {
        store::Transaction first(folder.db());
        addOrder();
        store::Transaction second = std::move(first);
    }  // neither committed: rolled back once, by the one that held it
    QCOMPARE(orders(), 1);
    {
        store::Transaction first(folder.db());
        addOrder();
        first.commit();
        store::Transaction second(folder.db());
        addOrder();
        second = std::move(first);  // what second held is rolled back; first was done
        QVERIFY(!second.isActive());
    }
    QCOMPARE(orders(), 2);
}

// SQLite answers a read without a row, or past the row's last column, with a null that would
// pass for a value; the statement refuses it instead.
void StoreTest::cellsAreReadOnlyFromARow() {
    TestFolder folder;
    folder.addDish(1, QStringLiteral("Шай"), QStringLiteral("Сусындар"), 100, 5);
    const std::function<void(store::Statement&, int)> readers[] = {
        [](store::Statement& s, int c) { s.column(c); },
        [](store::Statement& s, int c) { s.columnType(c); },
        [](store::Statement& s, int c) { s.columnInteger(c); },
        [](store::Statement& s, int c) { s.columnReal(c); },
        [](store::Statement& s, int c) { s.columnBytes(c); },
        [](store::Statement& s, int c) { s.columnBlob(c); },
    };
    for (const auto& read : readers) {
        store::Statement statement(folder.db(), store::statements::dishNow(1).text);
        statement.bind(1, 1);
        QVERIFY_THROWS_EXCEPTION(StoreError, read(statement, 0));  // before the first step
        QVERIFY(statement.step());
        read(statement, 1);
        QVERIFY_THROWS_EXCEPTION(StoreError, read(statement, 2));
        QVERIFY_THROWS_EXCEPTION(StoreError, read(statement, -1));
        QVERIFY(!statement.step());
        QVERIFY_THROWS_EXCEPTION(StoreError, read(statement, 0));  // after the last row
    }
    store::Statement statement(folder.db(), store::statements::dishNow(1).text);
    statement.bind(1, 1);
    QVERIFY(statement.step());
    QCOMPARE(statement.column(1).toInt(), 100);
    QCOMPARE(statement.columnCount(), 2);  // the shape is there without a row
}

void StoreTest::searchTextsAreBoundNotSpliced() {
    TestFolder folder;
    folder.addDish(1, QStringLiteral("O'Brien \"пирогы\""), QStringLiteral("Тәттілер"), 100, 10);
    folder.addDish(2, QStringLiteral("Скидка 50%"), QStringLiteral("Тәттілер"), 200, 10);
    folder.addDish(3, QStringLiteral("Скидка 500"), QStringLiteral("Тәттілер"), 300, 10);
    folder.addDish(4, QStringLiteral("x') or 1=1 --"), QStringLiteral("Тәттілер"), 300, 10);

    store::Query query;
    query.setDataFolder(folder.dataFolder());
    query.addLines(store::statements::dishList());
    auto namesFound = [&](const QString& text) {
        query.replaceLine(store::statements::FilterLine, store::statements::nameFilter(text));
        query.open();
        QStringList names;
        for (int row = 0; row < query.recordCount(); ++row) {
            names.append(query.value(row, query.fieldIndex(QStringLiteral("nm"))).toString());
        }
        return names;
    };
    QCOMPARE(namesFound(QStringLiteral("'")),
             QStringList({QStringLiteral("O'Brien \"пирогы\""), QStringLiteral("x') or 1=1 --")}));
    QCOMPARE(namesFound(QStringLiteral("50%")), QStringList({QStringLiteral("Скидка 50%")}));
    QCOMPARE(namesFound(QStringLiteral("\"пирогы\"")).size(), 1);
    QCOMPARE(namesFound(QStringLiteral("скидка")).size(), 2);  // upper-cased on both sides
    // What was typed is a bound value: the statement is the same whatever the text.
    for (const QString& text : {QStringLiteral("'"), QStringLiteral("x') or 1=1 --")}) {
        QCOMPARE(store::statements::nameFilter(text).text,
                 store::statements::nameFilter(QStringLiteral("скидка")).text);
    }

    // A delete by a name with quotes takes exactly that dish.
    store::Query remove;
    remove.setDataFolder(folder.dataFolder());
    remove.addLine(store::statements::deleteDish(QStringLiteral("x') or 1=1 --")));
    remove.execSQL();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 3);
    remove.clearLines();
    remove.addLine(store::statements::deleteDish(QStringLiteral("O'Brien \"пирогы\"")));
    remove.execSQL();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 2);
}

// A price or time search on a base: the dishes it finds. The dishes (code: price, minutes):
// 1: 100, 5; 2: 250, 7; 3: 300, 20; 4: -5, 0; 5: 2, 2; 6: the largest price a search takes, 1.
void StoreTest::comparisonSearches_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<qint64>>("byPrice");
    QTest::addColumn<QList<qint64>>("byTime");
    using Codes = QList<qint64>;
    QTest::newRow("less") << "<100" << Codes{4, 5} << Codes{1, 2, 3, 4, 5, 6};
    QTest::newRow("bare number") << "250" << Codes{2} << Codes{};
    QTest::newRow("not equal") << "<>5" << Codes{1, 2, 3, 4, 5, 6} << Codes{2, 3, 4, 5, 6};
    QTest::newRow("at most, spaced") << "<= 250 " << Codes{1, 2, 4, 5} << Codes{1, 2, 3, 4, 5, 6};
    QTest::newRow("at least") << ">=20" << Codes{1, 2, 3, 6} << Codes{3};
    QTest::newRow("equals") << "=7" << Codes{} << Codes{2};
    QTest::newRow("decimal comma") << "<2,5" << Codes{4, 5} << Codes{4, 5, 6};
    QTest::newRow("negative") << "<-1" << Codes{4} << Codes{};
    // Compared as a whole number: as a double it would be 123456789012345680.
    QTest::newRow("eighteen digits") << "=123456789012345678" << Codes{6} << Codes{};
}

void StoreTest::comparisonSearches() {
    QFETCH(QString, text);
    QFETCH(QList<qint64>, byPrice);
    QFETCH(QList<qint64>, byTime);
    TestFolder folder;
    const QList<std::pair<qint64, qint64>> dishes = {{100, 5}, {250, 7}, {300, 20},
                                                     {-5, 0},  {2, 2},   {123456789012345678, 1}};
    for (int i = 0; i < dishes.size(); ++i) {
        folder.addDish(i + 1, QStringLiteral("Тағам %1").arg(i + 1), QStringLiteral("Топ"),
                       dishes[i].first, dishes[i].second);
    }
    store::Query query;
    query.setDataFolder(folder.dataFolder());
    query.addLines(store::statements::dishList());
    auto found = [&](const store::Line& filter) {
        query.replaceLine(store::statements::FilterLine, filter);
        query.open();
        QList<qint64> codes;
        for (int row = 0; row < query.recordCount(); ++row) {
            codes.append(query.value(row, query.fieldIndex(QStringLiteral("code"))).toLongLong());
        }
        std::sort(codes.begin(), codes.end());
        return codes;
    };
    QCOMPARE(found(store::statements::priceFilter(text)), byPrice);
    QCOMPARE(found(store::statements::timeFilter(text)), byTime);
}

void StoreTest::badComparisonsAreRefused_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("word") << "abc";
    QTest::newRow("injection") << "<5 or 1=1";
    QTest::newRow("statement") << "1); drop table goods; --";
    QTest::newRow("operator only") << "<";
    QTest::newRow("two operators") << "<<5";
    QTest::newRow("too long a number") << "1234567890123456789012";
}

void StoreTest::badComparisonsAreRefused() {
    QFETCH(QString, text);
    const QString refusal = store::statements::priceFilter(text).refusal;
    QVERIFY2(refusal.startsWith(QLatin1Char('\'') + text + QLatin1Char('\'')), qPrintable(refusal));
    QVERIFY(refusal.contains(QStringLiteral("<=")));
}

void StoreTest::queryLinesCloseAndReopen() {
    TestFolder folder;
    folder.addDish(1, QStringLiteral("Бесбармақ"), QStringLiteral("Ет"), 3500, 180);
    folder.addDish(2, QStringLiteral("Таба нан"), QStringLiteral("Нан"), 350, 0);
    store::Query query;
    query.setDataFolder(folder.dataFolder());
    query.addLines(store::statements::dishList());
    query.open();
    QCOMPARE(query.recordCount(), 1);  // the dish with time 0 is not listed
    // What the grid shows plus what the dialogs read of the current dish, and no more.
    QCOMPARE(query.fieldNames().join(QLatin1Char(' ')).toLower(),
             QStringLiteral("code nm tys ps vozr"));

    folder.addDish(3, QStringLiteral("Қуырдақ"), QStringLiteral("Ет"), 2800, 60);
    query.open();  // already open: nothing is read again
    QCOMPARE(query.recordCount(), 1);
    query.close();  // as the main window reads its list again
    query.open();
    QCOMPARE(query.recordCount(), 2);
    QCOMPARE(query.fieldByName(QStringLiteral("nm")).asString(), QStringLiteral("Бесбармақ"));

    query.replaceLine(store::statements::OrderLine, store::statements::sortOrder(0, true));
    QVERIFY(!query.isOpen());
    QVERIFY_THROWS_EXCEPTION(AppError, query.replaceLine(5, {QStringLiteral("x"), {}}));
    query.open();
    QCOMPARE(query.fieldByName(QStringLiteral("NM")).asString(), QStringLiteral("Қуырдақ"));
    QCOMPARE(query.fieldByName(QStringLiteral("Code")).asInteger(), 3);
    query.next();
    QCOMPARE(query.fieldByName(QStringLiteral("nm")).asString(), QStringLiteral("Бесбармақ"));
    query.next();
    QVERIFY(query.eof());
    QVERIFY_THROWS_EXCEPTION(AppError, query.fieldByName(QStringLiteral("Img")));

    // A search replaces the filter, so it can find the dish with time 0.
    query.replaceLine(store::statements::FilterLine,
                      store::statements::timeFilter(QStringLiteral("0")));
    query.open();
    QCOMPARE(query.recordCount(), 1);
}

void StoreTest::missingOrDamagedBase() {
    TestFolder folder(false);
    const auto open = [&] { store::connectionFor(folder.dataFolder()); };
    QVERIFY(errorOf(open).startsWith(QStringLiteral("unable to open database file")));
    QVERIFY(!QFile::exists(store::databasePath(folder.dataFolder())));  // never created

    QDir(folder.path()).mkpath(QStringLiteral("base"));
    QFile damaged(store::databasePath(folder.dataFolder()));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(8192, 'x'));
    damaged.close();
    QCOMPARE(errorOf(open),
             QStringLiteral("file is not a database: ") + store::databasePath(folder.dataFolder()));

    // A base without the dish table: the list reports the store's words.
    QVERIFY(QFile::remove(store::databasePath(folder.dataFolder())));
    {
        auto empty = store::Database::create(store::databasePath(folder.dataFolder()));
        empty->exec(QStringLiteral("drop table pictures; drop table goods"));
    }
    store::forgetConnections();
    store::Query query;
    query.setDataFolder(folder.dataFolder());
    query.addLines(store::statements::dishList());
    const QString said = errorOf([&] { query.open(); });
    QVERIFY2(said.contains(QStringLiteral("онда goods кестесі жоқ")), qPrintable(said));
    QVERIFY(!query.isOpen());
}

// A base that carries what the program did not make is refused before anything is written
// to it (its journal mode included), with the file and the object named.
void StoreTest::untrustedSchemasAreRefusedUntouched_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("said");  // empty: the base opens
    QTest::newRow("trigger that eats orders")
        << "create trigger eat after insert on orders begin delete from orders where rowid = "
           "new.rowid; end"
        << "онда бағдарлама жасамаған «eat» триггері (orders кестесінде) бар";
    QTest::newRow("trigger that grows the base")
        << "create trigger grow after insert on orders begin insert into goods (Comm) values "
           "(zeroblob(200000000)); end"
        << "«grow» триггері (orders кестесінде)";
    QTest::newRow("recursive view in the place of goods")
        << "drop table pictures; drop table goods; create view goods as with recursive r(x) as "
           "(select 1 union all select x + 1 from r) select x as Code from r"
        << "«goods» көрінісі (view) (goods кестесінде)";
    QTest::newRow("another program's base")
        << "drop table pictures; drop table goods; drop table orders; create table notes (x)"
        << "онда бағдарлама жасамаған «notes» кестесі бар";
    QTest::newRow("a column gone") << "alter table orders drop column sena"
                                   << "онда orders кестесінде sena бағаны жоқ";
    QTest::newRow("statistics of ANALYZE") << "analyze" << QString();
}

void StoreTest::untrustedSchemasAreRefusedUntouched() {
    QFETCH(QString, sql);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("orvelin.db"));
    {
        auto made = store::Database::create(path);
        made->exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
        made->exec(sql);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    const QString message = errorOf([&] { store::Database::open(path); });
    if (said.isEmpty()) {
        QCOMPARE(message, QStringLiteral("(nothing thrown)"));
        return;
    }
    QVERIFY2(
        message.startsWith(path + QStringLiteral(" базасы ашылмады: ")) && message.contains(said),
        qPrintable(message));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == before);  // byte for byte, journal mode included
    QVERIFY(!QFileInfo::exists(path + QStringLiteral("-wal")));
}

void StoreTest::dishEditorPostsAndCancels() {
    TestFolder folder;
    folder.addDish(5, QStringLiteral("Манты"), QStringLiteral("Қамыр"), 2000, 50,
                   QStringLiteral("Буға пісірілген"), sampleBitmap(4, 3, Qt::red));
    store::DishEditor table;
    table.setDataFolder(folder.dataFolder());
    table.open();
    QVERIFY(!table.locate(99));
    QVERIFY(table.locate(5));
    QCOMPARE(table.fieldByName(QStringLiteral("nm")).toString(), QStringLiteral("Манты"));
    QVERIFY(!table.fieldByName(QStringLiteral("Img")).toByteArray().isEmpty());

    // Changing the code carries the picture along.
    table.edit();
    table.setField(QStringLiteral("Code"), QStringLiteral("6"));
    table.post();
    QCOMPARE(folder.scalar(QStringLiteral("select Code from pictures")).toInt(), 6);
    QCOMPARE(folder.scalar(QStringLiteral("select typeof(Code) from goods")).toString(),
             QStringLiteral("integer"));

    table.insert();
    table.setField(QStringLiteral("Code"), QStringLiteral("7"));
    table.setField(QStringLiteral("Nm"), QStringLiteral("Жаңа"));
    table.cancel();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 1);
    // A dish and its picture are written together or not at all.
    folder.db().exec(
        QStringLiteral("create trigger refuse before insert on pictures begin "
                       "select raise(abort, 'no pictures today'); end"));
    table.insert();
    table.setField(QStringLiteral("Code"), 9);
    table.setField(QStringLiteral("Img"), sampleBitmap(2, 2, Qt::red));
    QVERIFY_THROWS_EXCEPTION(StoreError, table.post());
    table.cancel();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 1);

    table.insert();
    table.setField(QStringLiteral("Code"), QStringLiteral("7"));
    table.setField(QStringLiteral("DS"), QStringLiteral("4"));
    table.setField(QStringLiteral("PS"), QVariant());
    table.post();
    QCOMPARE(folder.scalar(QStringLiteral("select DS from goods where Code = 7")).toDouble(), 4.0);
    QVERIFY(folder.scalar(QStringLiteral("select PS from goods where Code = 7")).isNull());
    table.close();
}

void StoreTest::dishEditorRefusesBadValues() {
    TestFolder folder;
    folder.addDish(5, QStringLiteral("Манты"), QStringLiteral("Қамыр"), 2000, 50);
    store::DishEditor table;
    table.setDataFolder(folder.dataFolder());
    table.open();
    auto postRejected = [&](const QString& field, const QString& value, const QString& message) {
        table.insert();
        table.setField(QStringLiteral("Code"), QStringLiteral("8"));
        table.setField(field, value);
        QCOMPARE(errorOf([&] { table.post(); }), message);
        table.cancel();
    };
    postRejected(QStringLiteral("Code"), QStringLiteral("5"),
                 QStringLiteral("UNIQUE constraint failed: goods.Code"));
    postRejected(QStringLiteral("PS"), QStringLiteral("12.5"),
                 QStringLiteral("cannot store REAL value in INTEGER column goods.PS"));
    postRejected(QStringLiteral("Vozr"), QStringLiteral("1e"),
                 QStringLiteral("cannot store TEXT value in INTEGER column goods.Vozr"));
    postRejected(
        QStringLiteral("Code"), QStringLiteral("12.5"),  // the key names its field
        QStringLiteral("'12.5' тағам коды бола алмайды: код (Code) бүтін сан болуы керек"));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 1);
}

void StoreTest::plainTextOfValues() {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(store::plainText(QVariant(1500.0)), QStringLiteral("1500"));
    QCOMPARE(store::plainText(QVariant(2.5)), QStringLiteral("2,5"));
    QCOMPARE(store::plainText(QVariant(1234567.0)), QStringLiteral("1234567"));
    QCOMPARE(store::plainText(QVariant(123456789012LL)), QStringLiteral("123456789012"));
    QCOMPARE(store::plainText(QVariant(QDate(2007, 5, 15))), QStringLiteral("15.05.2007"));
    QCOMPARE(store::plainText(QVariant()), QString());
    QCOMPARE(store::toInteger(QStringLiteral("42")), 42);
    QCOMPARE(errorOf<AppError>([] { store::toInteger(QString()); }),
             QStringLiteral("'' is not a valid integer value"));
    QLocale::setDefault(saved);
}

namespace {

// Every cell of a query's result against the same statement read straight from SQLite.
void compareWithTheStore(store::Query& query, store::Database& db, const QSet<int>& dateColumns) {
    store::Statement direct(db, query.sql());
    direct.bindAll(query.params());
    int row = 0;
    while (direct.step()) {
        for (int c = 0; c < direct.columnCount(); ++c) {
            QVariant expected = direct.column(c);
            if (dateColumns.contains(c)) {
                const QDate date = QDate::fromString(expected.toString(), Qt::ISODate);
                expected = date.isValid() ? QVariant(date) : expected;
            }
            const QVariant held = query.value(row, c);
            if (held.typeId() != expected.typeId() || held != expected) {
                QFAIL(qPrintable(QStringLiteral("row %1 column %2: %3 held, %4 stored")
                                     .arg(row)
                                     .arg(c)
                                     .arg(held.toString().left(40), expected.toString().left(40))));
            }
        }
        ++row;
    }
    QCOMPARE(query.recordCount(), row);
}

// The orders view's query, read by pages as the view reads it.
void prepareOrdersView(store::Query& query, const QString& dataFolder) {
    query.setDateFields({QStringLiteral("dt")});
    query.setKeyset(store::statements::ordersKeyset());
    query.setDataFolder(dataFolder);
    query.addLines(store::statements::orders());
}

}  // namespace

void StoreTest::compactResultsKeepEveryValue() {
    TestFolder folder;
    const QVariantList values = {QVariant(),
                                 0LL,
                                 -1LL,
                                 1LL << 62,
                                 std::numeric_limits<qint64>::min(),
                                 0.1,
                                 -0.0,
                                 1e300,
                                 2.5,
                                 1e15,
                                 1e16,
                                 -7.0,
                                 QString(""),
                                 QStringLiteral("Қазақ тілі ☕ 🍲"),
                                 QString(100000, QChar(0x04D9)),
                                 QByteArray("\x00\x01\xFF", 3),
                                 QStringLiteral("2026-12-09"),
                                 QStringLiteral("2026-13-45"),
                                 QStringLiteral("99-1-1"),
                                 QStringLiteral("1900-01-01")};
    QStringList rows;
    QVariantList params;
    for (const QVariant& value : values) {
        rows.append(QStringLiteral("(?, ?)"));
        params << value << value;
    }
    store::Query query;
    query.setDateFields({QStringLiteral("dt")});
    query.setDataFolder(folder.dataFolder());
    query.addLine({QStringLiteral("select column1 plain, column2 dt from (values %1)")
                       .arg(rows.join(QLatin1Char(','))),
                   params});
    query.open();
    compareWithTheStore(query, folder.db(), {1});
    QCOMPARE(query.value(16, 1), QVariant(QDate(2026, 12, 9)));            // a date field's date
    QCOMPARE(query.value(17, 1), QVariant(QStringLiteral("2026-13-45")));  // no date: as stored
}

void StoreTest::largeResultsReadLikeTheStore() {
    TestFolder folder;
    folder.addManyOrders(200000);
    store::Query query;
    prepareOrdersView(query, folder.dataFolder());
    query.open();
    QVERIFY(query.readsOnDemand());
    query.finishCount();  // then any row is read by its place, from the nearest counted key
    QVERIFY(query.recordCount() > 190000);
    compareWithTheStore(query, folder.db(), {5});
    query.clearLines();
    query.addLine(store::statements::ordersSelect());
    query.addLine(store::statements::ordersByWaiter(QStringLiteral("Даяшы 7")));
    query.open();
    query.finishCount();
    const int expected = folder
                             .scalar(QStringLiteral("select count(*) from orders o, goods g "
                                                    "where instr(o.fio, 'Даяшы 7') > 0 and "
                                                    "o.code = g.code"))
                             .toInt();
    QCOMPARE(query.recordCount(), expected);
    compareWithTheStore(query, folder.db(), {5});
}

void StoreTest::noReadTransactionStaysBehindAResult() {
    TestFolder folder;
    for (int code = 1; code <= 500; ++code) {
        folder.addDish(code, QStringLiteral("Тағам %1").arg(code), QStringLiteral("Топ"), code, 5);
    }
    const int opensBefore = store::connectionsOpened();
    store::Query query;
    query.setDataFolder(folder.dataFolder());
    query.addLines(store::statements::dishList());
    query.open();
    query.setCurrentRow(250);
    // Another connection can take the whole log back into the file while the list is open.
    store::Statement checkpoint(folder.db(), QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QVERIFY(checkpoint.step());
    QCOMPARE(checkpoint.column(0).toInt(), 0);  // not busy
    checkpoint.run();
    QCOMPARE(QFileInfo(store::databasePath(folder.dataFolder()) + QStringLiteral("-wal")).size(),
             0);
    // One connection for the folder, however often the list is read.
    for (int i = 0; i < 5; ++i) {
        query.close();  // as the main window reads its list again
        query.open();
        store::readDishDetails(folder.dataFolder(), i + 1);
    }
    QCOMPARE(store::connectionsOpened() - opensBefore, 1);
}

// The orders read page by page from both ends, as the view reads them, against one statement
// run at opening: no row lost or twice, also while another copy takes orders between pages,
// and no read transaction left open between pages (a TRUNCATE checkpoint goes through).
void StoreTest::pagesGiveTheStatementsRows() {
    TestFolder folder;
    folder.addManyOrders(200000);
    store::Query query;
    prepareOrdersView(query, folder.dataFolder());
    const QList<QVariantList> all = folder.statementRows(query.sql(), query.params(), {5});
    const int rows = static_cast<int>(all.size());
    query.open();
    QVERIFY(!query.countKnown());
    auto checkpointed = [&] {
        store::Statement checkpoint(folder.db(), QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return checkpoint.step() && checkpoint.column(0).toInt() == 0;
    };
    // The last rows first, read from the end before anything is counted (Ctrl+End).
    QVariantList row;
    const int shown = query.recordCount();
    for (int back = 0; back < 3 * store::PagedResult::kPageRows; ++back) {
        query.rowValues(shown - 1 - back, row);
        QCOMPARE(row, all[all.size() - 1 - back]);
    }
    folder.addOrder(1, QStringLiteral("Жаңа"), 1, 100, QStringLiteral("2026-12-09"));
    QVERIFY(checkpointed());
    // Then from the start, as a walk with next() reads them, past the rows of the end.
    int n = 0;
    for (query.first(); !query.eof(); query.next(), ++n) {
        query.rowValues(query.currentRow(), row);
        if (row != all.value(n)) {
            QFAIL(qPrintable(
                QStringLiteral("row %1 of %2 (%3 shown): %4 read, %5 stated")
                    .arg(n)
                    .arg(rows)
                    .arg(query.recordCount())
                    .arg(row.value(0).toString() + row.value(5).toString(),
                         all.value(n).value(0).toString() + all.value(n).value(5).toString())));
        }
        if (n % 10000 == 0) {
            folder.addOrder(1, QStringLiteral("Жаңа"), 1, 100, QStringLiteral("2026-12-09"));
            QVERIFY(checkpointed());
        }
    }
    QCOMPARE(n, rows);
    QVERIFY(query.countKnown());
    QCOMPARE(query.recordCount(), rows);
    // A row deep in the middle is read from the nearest counted key.
    query.rowValues(rows / 2 + 7, row);
    QCOMPARE(row, all[rows / 2 + 7]);
    QVERIFY(checkpointed());
}

void StoreTest::backupWhileOrdersAreSavedIsWhole() {
    TestFolder folder;
    folder.db().exec(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
        "insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) select i, 'Тағам ' || i, 'Топ', "
        "4, i, 5, hex(randomblob(200)) from n"));
    const int before = folder.scalar(QStringLiteral("select count(*) from orders")).toInt();
    const QString copy = folder.path() + QStringLiteral("/copy.db");
    QProcess backup;
    backup.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../backup"),
                 {store::databasePath(folder.dataFolder()), copy});
    QVERIFY(backup.waitForStarted());
    int saved = 0;
    while (backup.state() != QProcess::NotRunning) {  // orders keep coming, each committed
        folder.addOrder(1, QStringLiteral("Асан"), 1, 100, QStringLiteral("2026-12-09"));
        ++saved;
        QCoreApplication::processEvents();
    }
    QCOMPARE(backup.exitCode(), 0);
    QVERIFY(!QFile::exists(copy + QStringLiteral("-wal")) ||
            QFileInfo(copy + QStringLiteral("-wal")).size() == 0);
    auto taken = store::Database::open(copy);
    store::Statement check(*taken, QStringLiteral("PRAGMA integrity_check"));
    QVERIFY(check.step());
    QCOMPARE(check.column(0).toString(), QStringLiteral("ok"));
    check.run();
    store::Statement counts(*taken, QStringLiteral("select (select count(*) from goods), "
                                                   "(select count(*) from orders)"));
    QVERIFY(counts.step());
    QCOMPARE(counts.column(0).toInt(), 20000);
    const int copied = counts.column(1).toInt();
    QVERIFY(copied >= before && copied <= before + saved);
    counts.run();
    // Restored through SQLite while the base's -wal holds newer orders: the base is the copy,
    // whole, where a copy put in its place by hand would take the old log's pages.
    folder.addOrder(1, QStringLiteral("Асан"), 1, 100, QStringLiteral("2026-12-10"));
    QVERIFY(QFileInfo(store::databasePath(folder.dataFolder()) + QStringLiteral("-wal")).size() >
            0);
    QCOMPARE(QProcess::execute(
                 QCoreApplication::applicationDirPath() + QStringLiteral("/../backup"),
                 {QStringLiteral("--restore"), copy, store::databasePath(folder.dataFolder())}),
             0);
    QCOMPARE(folder.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
             QStringLiteral("ok"));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from orders")).toInt(), copied);
}

namespace {

// The names (column 0) or groups (column 1) of the dish list, sorted by that column.
QStringList sortedList(const QString& dataFolder, int column, bool descending) {
    store::Query query;
    query.setDataFolder(dataFolder);
    query.addLines(store::statements::dishList());
    query.replaceLine(store::statements::OrderLine,
                      store::statements::sortOrder(column, descending));
    query.open();
    QStringList values;
    for (int row = 0; row < query.recordCount(); ++row) {
        values.append(query.value(row, column + 1).toString());
    }
    return values;
}

}  // namespace

void StoreTest::kazakhAlphabetOrder_data() {
    QTest::addColumn<QStringList>("expected");
    const QString alphabet = QStringLiteral("аәбвгғдеёжзийкқлмнңоөпрстуұүфхһцчшщъыіьэюя");
    QCOMPARE(alphabet.size(), 42);
    QStringList letters;
    for (const QChar letter : alphabet) {
        letters << QString(letter) + QStringLiteral("ра")
                << QString(letter.toUpper()) + QStringLiteral("ра");
    }
    QTest::newRow("each letter, small then capital") << letters;
    QTest::newRow("Ё a letter after Е") << QStringList({"Ерік", "ея", "ёа", "Ёлка", "жа"});
    QTest::newRow("И, then Ы, then І")
        << QStringList({"ия", "Ия", "йа", "ыя", "Ыя", "іа", "Ірімшік", "ьа"});
    QTest::newRow("Ұ before Ү") << QStringList({"уя", "ұя", "Ұя", "үа", "Үа", "фа"});
    QTest::newRow("the sample menu's Қ and Ш")
        << QStringList({"Бауырсақ", "Қазы-қарта", "Қуырдақ", "Қымыз", "Шай", "Шұжық"});
}

// Names and groups in alphabet order both ways, through the dish list's own statements:
// half of the keys made when the base is opened, half computed while the list sorts.
void StoreTest::kazakhAlphabetOrder() {
    QFETCH(QStringList, expected);
    TestFolder folder;
    QList<int> order(expected.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(20261210));
    for (int i = 0; i < order.size(); ++i) {
        if (i == order.size() / 2) {
            store::connectionFor(folder.dataFolder());  // the keys so far are made here
        }
        const QString& name = expected[order[i]];
        folder.addDish(i + 1, name, name, 100, 10);
    }
    QStringList descending = expected;
    std::reverse(descending.begin(), descending.end());
    for (const int column : {0, 1}) {
        QCOMPARE(sortedList(folder.dataFolder(), column, false), expected);
        QCOMPARE(sortedList(folder.dataFolder(), column, true), descending);
    }
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from sortkeys")).toInt(),
             order.size() / 2);
}

// Keys made by another ICU, and dishes written by a program that knows nothing of the keys
// (the sqlite3 shell), still list in alphabet order; the keys are made again on opening.
void StoreTest::sortKeysFollowOtherWritersAndTheCollationVersion() {
    TestFolder folder;
    const QStringList alphabetical = {"Алма", "Қазы", "Һа", "Шұжық", "Ірімшік"};
    for (int i = 0; i < alphabetical.size(); ++i) {
        folder.addDish(alphabetical.size() - i, alphabetical[i], QStringLiteral("Топ"), 100, 10);
    }
    QCOMPARE(sortedList(folder.dataFolder(), 0, false), alphabetical);
    store::forgetConnections();
    folder.db().exec(
        QStringLiteral("update sortkeys set NmKey = x'01'; "
                       "update sortkeys_version set Version = '1.0'"));

    sqlite3* shell = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(store::databasePath(folder.dataFolder())).constData(),
                          &shell),
             SQLITE_OK);
    const char* writes =
        "insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) values (9, 'Әже', 'Топ', 4, 1, "
        "1, ''); update goods set Nm = 'Ыстық' where Nm = 'Ірімшік'; delete from goods where Nm "
        "= 'Қазы'; update goods set Code = 7 where Nm = 'Шұжық'";
    char* error = nullptr;
    const int rc = sqlite3_exec(shell, writes, nullptr, nullptr, &error);
    const QString message = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(shell);
    QCOMPARE(message, QString());
    QCOMPARE(rc, SQLITE_OK);

    const QStringList now = {"Алма", "Әже", "Һа", "Шұжық", "Ыстық"};
    QCOMPARE(sortedList(folder.dataFolder(), 0, false), now);
    QCOMPARE(folder.scalar(QStringLiteral("select Version from sortkeys_version")).toString(),
             store::collationVersion());
    QCOMPARE(folder
                 .scalar(QStringLiteral("select count(*) from sortkeys where NmKey <> x'01' "
                                        "and Code in (select Code from goods)"))
                 .toInt(),
             now.size());
}

QTEST_GUILESS_MAIN(StoreTest)
#include "tst_store.moc"
