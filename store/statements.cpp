#include "store/statements.h"

#include <QRegularExpression>

#include "store/error.h"
#include "store/sqlfunctions.h"

namespace store::statements {

namespace {

const QString kOrdersSelect = QStringLiteral(
    "select o.fio fio, g.nm nm, o.kvo kvo, o.sena sena, o.summ summ, o.dt dt from orders o,goods "
    "g");

// "<=300" -> ("<=", 300); "250" -> ("=", 250). Anything else is a refused line, which the
// store never sees.
store::Line comparison(const QString& column, const QString& searchText) {
    static const QRegularExpression form(
        QStringLiteral(R"(^\s*(<=|>=|<>|<|>|=)?\s*([+-]?\d{1,18}(?:[.,]\d+)?)\s*$)"));
    const QRegularExpressionMatch match = form.match(searchText);
    if (!match.hasMatch()) {
        return {QStringLiteral("(%1=?)").arg(column),
                {},
                QStringLiteral("'%1' бойынша іздеуге болмайды: сан жазыңыз, оның алдына <, >, "
                               "=, <=, >= не <> белгісін қоюға болады")
                    .arg(searchText)};
    }
    const QString op = match.captured(1).isEmpty() ? QStringLiteral("=") : match.captured(1);
    QString number = match.captured(2);
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    QVariant value;
    if (number.contains(QLatin1Char('.'))) {
        value = number.toDouble();
    } else {
        value = number.toLongLong();
    }
    return {QStringLiteral("(%1%2?)").arg(column, op), {value}};
}

}  // namespace

QString likeContains(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() + 2);
    escaped.append(QLatin1Char('%'));
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
            escaped.append(QLatin1Char('\\'));
        }
        escaped.append(c);
    }
    escaped.append(QLatin1Char('%'));
    return escaped;
}

QList<store::Line> dishList() {
    return {{QStringLiteral("select code, nm, tys, ps, vozr"), {}},
            {QStringLiteral("from goods left join sortkeys using (code)"), {}},
            {QStringLiteral("where"), {}},
            {QStringLiteral("(vozr>0)"), {}},
            sortOrder(0, false)};
}

store::Line nameFilter(const QString& searchText) {
    // Upper-cased by the same function as the names it is compared with.
    const QByteArray utf8 = searchText.toUtf8();
    const QString upper =
        QString::fromUtf8(store::upperUtf8({utf8.constData(), static_cast<size_t>(utf8.size())}));
    return {QStringLiteral(R"((upper(nm) like ? escape '\'))"), {likeContains(upper)}};
}

store::Line priceFilter(const QString& searchText) {
    return comparison(QStringLiteral("ps"), searchText);
}

store::Line timeFilter(const QString& searchText) {
    return comparison(QStringLiteral("vozr"), searchText);
}

store::Line sortOrder(int column, bool descending) {
    static const char* const orders[] = {"coalesce(NmKey, kazakh_key(nm))",
                                         "coalesce(TysKey, kazakh_key(tys))", "ps", "vozr"};
    if (column < 0 || column > 3) {
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(column));
    }
    return {QStringLiteral("order by %1 %2")
                .arg(QLatin1String(orders[column]),
                     descending ? QStringLiteral("desc") : QStringLiteral("asc")),
            {}};
}

store::Line deleteDish(const QString& name) {
    return {QStringLiteral("delete from goods where (nm=?)"), {name}};
}

store::Line insertOrder(const ShownDish& dish, const QString& waiter, qint64 quantity, qint64 sum,
                        const QDate& date) {
    // Only for the dish as the dialog showed it, and at its price in the menu as the order is
    // written: another copy of the program may have changed, deleted or replaced it since.
    return {
        QStringLiteral("insert into orders (code,fio,kvo,sena,summ,dt) select g.Code,?,?,g.PS,?,? "
                       "from goods g where g.Code = ? and cast(g.Nm as blob) is ? and g.PS is ?"),
        {waiter, quantity, sum, date, dish.code, dish.name, dish.price}};
}

store::Line dishNow(qint64 code) {
    // The name as its stored bytes: a name from an old 8-bit base is no UTF-8 text.
    return {QStringLiteral("select cast(Nm as blob) Nm, PS from goods where Code = ?"), {code}};
}

QString dishRecord() {
    return QStringLiteral(
        "select g.Code, g.Nm, g.Tys, g.DS, g.PS, g.Vozr, g.Comm, p.Img from goods g left join "
        "pictures p on p.Code = g.Code where g.Code = ?");
}

QString menuProbe() {
    return QStringLiteral("select 1 from goods limit 1");
}

QString insertDish() {
    return QStringLiteral(
        "insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) values (?, ?, ?, ?, ?, ?, ?) "
        "returning Code");
}

QString updateDish() {
    return QStringLiteral(
        "update goods set Code = ?, Nm = ?, Tys = ?, DS = ?, PS = ?, Vozr = ?, Comm = ? where "
        "Code = ? returning Code");
}

QString deletePicture() {
    return QStringLiteral("delete from pictures where Code = ?");
}

QString dishDetails() {
    return QStringLiteral(
        "select g.Comm, p.Img from goods g left join pictures p on p.Code = g.Code where g.Code "
        "= ?");
}

QString foreignKeysOn() {
    return QStringLiteral("PRAGMA foreign_keys = ON");
}

QString journalToWal() {
    return QStringLiteral("PRAGMA journal_mode = WAL");
}

QString fullSync() {
    return QStringLiteral("PRAGMA synchronous = FULL");
}

QString beginWrite() {
    return QStringLiteral("BEGIN IMMEDIATE");
}

QString commit() {
    return QStringLiteral("COMMIT");
}

QString rollback() {
    return QStringLiteral("ROLLBACK");
}

QString schemaObjects() {
    return QStringLiteral("select type, name, tbl_name from sqlite_schema");
}

QString tableColumns() {
    return QStringLiteral("select name from pragma_table_info(?)");
}

QString standAloneJournal() {
    return QStringLiteral("PRAGMA journal_mode = DELETE");
}

QString quickCheck() {
    return QStringLiteral("PRAGMA quick_check");
}

QString dishRowInsert() {
    return QStringLiteral(
        "insert into goods (Code, Nm, Tys, DS, PS, Vozr, Comm) "
        "values (?, ?, ?, 4, ?, ?, ?)");
}

QString pictureRowInsert() {
    return QStringLiteral("insert into pictures (Code, Img) values (?, ?)");
}

QString orderRowInsert() {
    return QStringLiteral(
        "insert into orders (code, fio, kvo, sena, summ, dt) "
        "values (?, ?, ?, ?, ?, ?)");
}

QString sortKeysVersion() {
    return QStringLiteral("select Version from sortkeys_version where Collation = ?");
}

QString sortKeyTablesPresent() {
    return QStringLiteral(
        "select count(*) from sqlite_schema where type = 'table' and name in ('sortkeys', "
        "'sortkeys_version')");
}

QStringList remakeAllSortKeys() {
    return {QStringLiteral("delete from sortkeys"),
            QStringLiteral("insert or ignore into sortkeys_due (Code) select Code from goods")};
}

QString storeSortKeysVersion() {
    return QStringLiteral(
        "insert or replace into sortkeys_version (Collation, Version) values (?, ?)");
}

QString sortKeysDue() {
    return QStringLiteral("select exists (select 1 from sortkeys_due)");
}

QString makeDueSortKeys() {
    return QStringLiteral(
        "insert or replace into main.sortkeys (Code, NmKey, TysKey) select g.Code, "
        "kazakh_key(g.Nm), kazakh_key(g.Tys) from sortkeys_due d join goods g on g.Code = d.Code");
}

QString clearDueSortKeys() {
    return QStringLiteral("delete from sortkeys_due");
}

QString sortKeysOfThisRunOnly() {
    return QStringLiteral(
        "create temp table sortkeys (Code INTEGER PRIMARY KEY, NmKey BLOB, TysKey BLOB)");
}

store::Line ordersSelect() {
    return {kOrdersSelect, {}};
}

const store::Keyset& ordersKeyset() {
    static const store::Keyset keyset{
        kOrdersSelect,
        QStringLiteral("select o.rowid, o.fio fio, g.nm nm, o.kvo kvo, o.sena sena, o.summ summ, "
                       "o.dt dt from orders o,goods g"),
        QStringLiteral("and (o.rowid>? and o.rowid<=?)"),
        QStringLiteral("order by o.rowid limit ? offset ?"),
        QStringLiteral("order by o.rowid desc limit ? offset ?"),
        QStringLiteral("select count(*) from orders o,goods g"),
        // Two subqueries: each is one step down the table's tree, where min and max together
        // would scan it.
        QStringLiteral("select (select min(rowid) from orders), (select max(rowid) from orders)")};
    return keyset;
}

QList<store::Line> orders() {
    return {ordersSelect(), ordersByWaiter(QString())};
}

store::Line ordersByWaiter(const QString& searchText) {
    return {QStringLiteral(R"(where (o.fio like ? escape '\') and (o.code=g.code))"),
            {likeContains(searchText)}};
}

store::Line ordersByDish(const QString& searchText) {
    return {QStringLiteral(R"(where (g.nm like ? escape '\') and (o.code=g.code))"),
            {likeContains(searchText)}};
}

QString summary(store::Grouping grouping, bool ranged) {
    // The order-date index holds every column read here, in the order (dt, fio, code): days,
    // and waiters within a day, come out of it already grouped, and months and waiters are
    // summed from those day groups, so that only dishes and groups need a sort of the lines.
    // Days and months come in date order; the others in the order of their keys.
    const QString range = ranged ? QStringLiteral("where dt between ?1 and ?2\n") : QString();
    const QString perDay =
        QStringLiteral("(select dt, fio, count(*) n, sum(kvo) q, sum(summ) s from orders\n");
    // An order whose dish is gone keeps its code. "+code": the lines are read from the date
    // index and sorted, which over every line is ten times faster than walking the code index
    // with a look-up in the table for each line.
    const QString perCode =
        QStringLiteral("(select code, count(*) n, sum(kvo) q, sum(summ) s from orders\n") + range +
        QStringLiteral("group by +code) s left join goods g on g.Code = s.code\n");
    switch (grouping) {
        case store::Grouping::Day:
            return QStringLiteral("select dt, null, count(*), sum(kvo), sum(summ) from orders\n") +
                   range + QStringLiteral("group by dt\norder by dt");
        case store::Grouping::Month:
            return QStringLiteral(
                       "select substr(dt, 1, 7) m, null, sum(n), sum(q), sum(s) from\n") +
                   perDay + range + QStringLiteral("group by dt)\ngroup by m\norder by m");
        case store::Grouping::Waiter:
            return QStringLiteral("select fio, null, sum(n), sum(q), sum(s) from\n") + perDay +
                   range + QStringLiteral("group by dt, fio)\ngroup by fio");
        case store::Grouping::Dish:
            return QStringLiteral(
                       "select g.Nm, iif(g.Code is null, s.code, null), s.n, s.q, s.s from\n") +
                   perCode;
        case store::Grouping::Group:
            return QStringLiteral(
                       "select iif(g.Code is null, null, g.Tys) t, iif(g.Code is null, s.code, "
                       "null) c, sum(s.n), sum(s.q), sum(s.s) from\n") +
                   perCode + QStringLiteral("group by t, c");
    }
    return QString();
}

QString summaryLines(bool ranged) {
    return QStringLiteral("select code, kvo, summ from orders") +
           (ranged ? QStringLiteral("\nwhere dt between ?1 and ?2") : QString());
}

QString lastDishCode() {
    return QStringLiteral("select max(Code) from goods");
}

QString dishNameAndGroup() {
    return QStringLiteral("select Code, Nm, Tys from goods where Code = ?1");
}

QString dishesNamesAndGroups() {
    return QStringLiteral(
        "select Code, Nm, Tys from goods where Code between ?1 and ?2 order by Code");
}

QString orderDates() {
    return QStringLiteral("select min(dt), max(dt) from orders");
}

QString orderDateIndex() {
    return QStringLiteral(
        "create index if not exists orders_dt on orders (dt, fio, code, kvo, summ)");
}

}  // namespace store::statements
