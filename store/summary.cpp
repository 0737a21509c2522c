#include "store/summary.h"

#include <algorithm>

#include "store/database.h"
#include "store/statements.h"

namespace store {

QList<SummaryRow> readSummary(const QString& dataFolder, Grouping grouping, const QDate& first,
                              const QDate& last) {
    const auto db = connectionFor(dataFolder);
    const bool ranged = !first.isNull() || !last.isNull();
    Statement select(*db, statements::summary(grouping, ranged));
    if (ranged) {
        select.bindAll(
            {first.isNull() ? QDate(1, 1, 1) : first, last.isNull() ? QDate(9999, 12, 31) : last});
    }
    QList<SummaryRow> rows;
    while (select.step()) {
        SummaryRow row;
        row.key = select.column(0);
        row.deleted = select.columnInteger(1);
        row.lines = select.columnInteger(2);
        row.quantity = select.columnInteger(3);
        row.sum = select.columnReal(4);
        rows.append(std::move(row));
    }
    // Largest sum first; groups of equal sums keep the order of their keys.
    if (grouping != Grouping::Day && grouping != Grouping::Month) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const SummaryRow& a, const SummaryRow& b) { return a.sum > b.sum; });
    }
    return rows;
}

std::pair<QDate, QDate> orderDates(const QString& dataFolder) {
    const auto db = connectionFor(dataFolder);
    Statement select(*db, statements::orderDates());
    std::pair<QDate, QDate> dates;
    if (select.step()) {
        dates = {QDate::fromString(select.column(0).toString(), Qt::ISODate),
                 QDate::fromString(select.column(1).toString(), Qt::ISODate)};
        select.run();
    }
    return dates;
}

}  // namespace store
