#include "store/summary.h"

#include <sqlite3.h>

#include <QHash>
#include <algorithm>
#include <map>
#include <vector>

#include "store/database.h"
#include "store/error.h"
#include "store/statements.h"

namespace store {

namespace {

// Past this many dishes in the range, one walk of the menu in code order finds their names
// sooner than a look-up for each.
constexpr std::size_t kDishesLookedUpOneByOne = 4096;

struct Totals {
    qint64 lines = 0;
    qint64 quantity = 0;
    double sum = 0;
};

// One dish's totals, in the order of the codes.
struct DishTotals {
    qint64 code = 0;
    Totals totals;
};

// What the menu says of the dishes in the range: whether each is on it, and its name (by dish)
// or its group as stored (by group: the bytes group the dishes; null sorts first, and the
// group's name is made once per group).
struct Menu {
    std::vector<bool> known;
    QVariantList names;
    std::vector<QByteArray> groups;
};

void bindRange(Statement& select, bool ranged, const QDate& first, const QDate& last) {
    if (ranged) {
        select.bindAll(
            {first.isNull() ? QDate(1, 1, 1) : first, last.isNull() ? QDate(9999, 12, 31) : last});
    }
}

// Days, months and waiters: the order-date index gives the lines already in day order, so
// the store's own group by needs no sort of the lines.
QList<SummaryRow> summedByTheStore(Database& db, Grouping grouping, bool ranged, const QDate& first,
                                   const QDate& last) {
    Statement select(db, statements::summary(grouping, ranged));
    bindRange(select, ranged, first, last);
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
    return rows;
}

// Adds a quantity as the store's sum() does: a total past 64 bits is an error, not a wrap.
void addQuantity(qint64& total, qint64 quantity) {
    if (__builtin_add_overflow(total, quantity, &total)) {
        throw StoreError(SQLITE_ERROR, QStringLiteral("integer overflow"));
    }
}

void add(Totals& to, const Totals& from) {
    to.lines += from.lines;
    addQuantity(to.quantity, from.quantity);
    to.sum += from.sum;
}

// Dishes and groups: the range's lines summed per dish code as the date index gives them; a
// group by would sort a year's million lines by code first, which costs more than the sums
// themselves. Codes up to the menu's last one (dish codes are dense) are summed in an array
// indexed by the code, one memory access a line; other codes, of dishes deleted after the
// last one or from a base not made by the program, in a hash table. The lines of one dish are
// added in the index's order, as the store's sum() adds them. The lines with no code at all
// are kept apart, as the store's group by keeps them.
std::vector<DishTotals> totalsPerDish(Database& db, bool ranged, const QDate& first,
                                      const QDate& last, Totals& uncoded) {
    // An array of at most 1 Mi codes (24 MiB); past that, every code goes to the hash table.
    constexpr qint64 kLongestArray = qint64(1) << 20;
    qint64 lastCode = 0;
    {
        Statement select(db, statements::lastDishCode());
        if (select.step()) {
            lastCode = select.columnInteger(0);
        }
        select.run();
    }
    std::vector<Totals> dense(
        static_cast<std::size_t>(lastCode >= 0 && lastCode < kLongestArray ? lastCode + 1 : 0));
    QHash<qint64, Totals> sparse;
    Statement select(db, statements::summaryLines(ranged));
    bindRange(select, ranged, first, last);
    while (select.step()) {
        Totals* dish = &uncoded;
        if (select.columnType(0) != SQLITE_NULL) {
            const qint64 code = select.columnInteger(0);
            dish = code >= 0 && static_cast<quint64>(code) < dense.size()
                       ? &dense[static_cast<std::size_t>(code)]
                       : &sparse[code];
        }
        ++dish->lines;
        addQuantity(dish->quantity, select.columnInteger(1));
        dish->sum += select.columnReal(2);
    }
    std::vector<DishTotals> dishes;
    for (auto dish = sparse.cbegin(); dish != sparse.cend(); ++dish) {
        dishes.push_back({dish.key(), dish.value()});
    }
    for (std::size_t code = 0; code < dense.size(); ++code) {
        if (dense[code].lines > 0) {
            dishes.push_back({static_cast<qint64>(code), dense[code]});
        }
    }
    std::sort(dishes.begin(), dishes.end(),
              [](const DishTotals& a, const DishTotals& b) { return a.code < b.code; });
    return dishes;
}

// The name (by dish) or group (by group) of each dish, read only for the dishes in the range.
Menu readMenu(Database& db, const std::vector<DishTotals>& dishes, Grouping grouping) {
    Menu menu;
    menu.known.assign(dishes.size(), false);
    const bool byGroup = grouping == Grouping::Group;
    if (byGroup) {
        menu.groups.resize(dishes.size());
    } else {
        menu.names.resize(static_cast<qsizetype>(dishes.size()));
    }
    auto take = [&](std::size_t i, const Statement& select) {
        menu.known[i] = true;
        if (!byGroup) {
            menu.names[static_cast<qsizetype>(i)] = select.column(1);
        } else if (select.columnType(2) != SQLITE_NULL) {
            const QByteArrayView group = select.columnBytes(2);
            // Dishes of one group come one after another more often than not.
            menu.groups[i] = i > 0 && menu.groups[i - 1].size() == group.size() + 1 &&
                                     QByteArrayView(menu.groups[i - 1]).sliced(1) == group
                                 ? menu.groups[i - 1]
                                 : QByteArray(1, '\1') + group.toByteArray();
        }
    };
    if (dishes.empty()) {
        return menu;
    }
    if (dishes.size() <= kDishesLookedUpOneByOne) {
        Statement select(db, statements::dishNameAndGroup());
        for (std::size_t i = 0; i < dishes.size(); ++i) {
            select.bind(1, dishes[i].code);
            if (select.step()) {
                take(i, select);
            }
            select.run();
        }
        return menu;
    }
    // The menu's dishes between the first and the last code, in code order: a merge with the
    // dishes of the range.
    Statement select(db, statements::dishesNamesAndGroups());
    select.bindAll({dishes.front().code, dishes.back().code});
    std::size_t i = 0;
    while (i < dishes.size() && select.step()) {
        const qint64 code = select.columnInteger(0);
        while (i < dishes.size() && dishes[i].code < code) {
            ++i;
        }
        if (i < dishes.size() && dishes[i].code == code) {
            take(i++, select);
        }
    }
    return menu;
}

SummaryRow rowOf(QVariant key, qint64 deleted, const Totals& totals) {
    SummaryRow row;
    row.key = std::move(key);
    row.deleted = deleted;
    row.lines = totals.lines;
    row.quantity = totals.quantity;
    row.sum = totals.sum;
    return row;
}

// In the order of the codes, the lines with no code first; a deleted dish's orders under its
// code.
QList<SummaryRow> perDish(const std::vector<DishTotals>& dishes, const Menu& menu,
                          const Totals& uncoded) {
    QList<SummaryRow> rows;
    rows.reserve(static_cast<qsizetype>(dishes.size()) + 1);
    if (uncoded.lines > 0) {
        rows.append(rowOf(QVariant(), 0, uncoded));
    }
    for (std::size_t i = 0; i < dishes.size(); ++i) {
        const bool known = menu.known[i];
        rows.append(rowOf(menu.names[static_cast<qsizetype>(i)], known ? 0 : dishes[i].code,
                          dishes[i].totals));
    }
    return rows;
}

// No group first (with the lines that have no code), then each deleted dish under its code,
// then the groups in the byte order of their names: the order a group by gives, which equal
// sums keep. Each group adds its dishes in the order of their codes, as the store would.
QList<SummaryRow> perGroup(const std::vector<DishTotals>& dishes, const Menu& menu,
                           const Totals& uncoded) {
    std::map<QByteArray, Totals> groups;
    QList<SummaryRow> deleted;
    if (uncoded.lines > 0) {
        add(groups[QByteArray()], uncoded);
    }
    for (std::size_t i = 0; i < dishes.size(); ++i) {
        if (!menu.known[i]) {
            deleted.append(rowOf(QVariant(), dishes[i].code, dishes[i].totals));
            continue;
        }
        add(groups[menu.groups[i]], dishes[i].totals);
    }
    QList<SummaryRow> rows;
    rows.reserve(static_cast<qsizetype>(groups.size()) + deleted.size());
    // The group's name as the store gives text: its bytes read as UTF-8.
    auto nameOf = [](const QByteArray& group) {
        return group.isEmpty() ? QVariant() : QVariant(QString::fromUtf8(group.sliced(1)));
    };
    auto group = groups.cbegin();
    if (group != groups.cend() && group->first.isEmpty()) {
        rows.append(rowOf(QVariant(), 0, group->second));
        ++group;
    }
    rows.append(deleted);
    for (; group != groups.cend(); ++group) {
        rows.append(rowOf(nameOf(group->first), 0, group->second));
    }
    return rows;
}

}  // namespace

QList<SummaryRow> readSummary(const QString& dataFolder, Grouping grouping, const QDate& first,
                              const QDate& last) {
    const auto db = connectionFor(dataFolder);
    const bool ranged = !first.isNull() || !last.isNull();
    if (grouping == Grouping::Day || grouping == Grouping::Month) {
        return summedByTheStore(*db, grouping, ranged, first, last);
    }
    QList<SummaryRow> rows;
    if (grouping == Grouping::Waiter) {
        rows = summedByTheStore(*db, grouping, ranged, first, last);
    } else {
        Totals uncoded;
        const auto dishes = totalsPerDish(*db, ranged, first, last, uncoded);
        const Menu menu = readMenu(*db, dishes, grouping);
        rows = grouping == Grouping::Dish ? perDish(dishes, menu, uncoded)
                                          : perGroup(dishes, menu, uncoded);
    }
    // Largest sum first; groups of equal sums keep the order of their keys.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const SummaryRow& a, const SummaryRow& b) { return a.sum > b.sum; });
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
