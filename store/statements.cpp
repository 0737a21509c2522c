#include "store/statements.h"

#include <QRegularExpression>

#include "store/error.h"
#include "store/sqlfunctions.h"

namespace statements {

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
                QStringLiteral("'%1' is not a valid search: type a number, optionally preceded "
                               "by <, >, =, <=, >= or <>")
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
            {QStringLiteral("from goods"), {}},
            {QStringLiteral("where"), {}},
            {QStringLiteral("(vozr>0)"), {}},
            {QStringLiteral("order by nm asc"), {}}};
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
    static const char* const names[] = {"nm", "tys", "ps", "vozr"};
    if (column < 0 || column > 3) {
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(column));
    }
    return {QStringLiteral("order by %1 %2")
                .arg(QLatin1String(names[column]),
                     descending ? QStringLiteral("desc") : QStringLiteral("asc")),
            {}};
}

store::Line deleteDish(const QString& name) {
    return {QStringLiteral("delete from goods where (nm=?)"), {name}};
}

store::Line insertOrder(qint64 code, const QString& waiter, qint64 quantity, const QVariant& price,
                        qint64 sum, const QDate& date) {
    // Only for a dish that still exists: another copy of the program may have deleted it.
    return {QStringLiteral("insert into orders (code,fio,kvo,sena,summ,dt) select ?,?,?,?,?,? "
                           "where exists (select 1 from goods where Code = ?)"),
            {code, waiter, quantity, price, sum, date, code}};
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

store::Line ordersSelect() {
    return {kOrdersSelect, {}};
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
    // Days and months come in date order; the others in the order of their keys, which the
    // program turns into the order of their sums (a sort of the few groups, not of the lines).
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

QString orderDates() {
    return QStringLiteral("select min(dt), max(dt) from orders");
}

QString orderDateIndex() {
    return QStringLiteral(
        "create index if not exists orders_dt on orders (dt, fio, code, kvo, summ)");
}

}  // namespace statements
