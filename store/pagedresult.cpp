#include "store/pagedresult.h"

#include <sqlite3.h>

#include <QDate>
#include <QElapsedTimer>
#include <algorithm>
#include <climits>
#include <cmath>

#include "store/database.h"
#include "store/query.h"

namespace store {

namespace {

constexpr qint64 kStepNanoseconds = 15'000'000;  // one count step: about a frame
constexpr int kWalkRows = 2048;                  // rows a report reads per statement

// "YYYY-MM-DD" as a date, or no date.
QDate isoDate(const QString& text) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') {
        return {};
    }
    for (qsizetype i = 0; i < 10; ++i) {
        if (i != 4 && i != 7 && (text[i] < u'0' || text[i] > u'9')) {
            return {};
        }
    }
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
}

// The last mark whose row count is at most rows (there is always one: the mark of no rows).
template <typename Mark>
const Mark& markAtMost(const std::vector<Mark>& marks, int rows) {
    auto after = std::upper_bound(marks.begin(), marks.end(), rows,
                                  [](int r, const Mark& m) { return r < m.rows; });
    return *(after - 1);
}

}  // namespace

PagedResult::PagedResult(QString dataFolder, const Keyset& keyset, QList<Line> filter,
                         QSet<QString> dateFields)
    : dataFolder_(std::move(dataFolder)),
      keyset_(keyset),
      filter_(std::move(filter)),
      dateFields_(std::move(dateFields)) {
    QStringList filterTexts;
    for (const Line& line : filter_) {
        filterTexts.append(line.text);
        filterParams_.append(line.params);
    }
    const QString where = filterTexts.join(QLatin1Char('\n'));
    pageSql_[0] = QStringList{keyset_.keyedSelect, where, keyset_.range, keyset_.ascending}.join(
        QLatin1Char('\n'));
    pageSql_[1] = QStringList{keyset_.keyedSelect, where, keyset_.range, keyset_.descending}.join(
        QLatin1Char('\n'));
    countSql_ = QStringList{keyset_.count, where, keyset_.range}.join(QLatin1Char('\n'));
    pages_.reserve(kCachedPages);  // rows handed out stay where they are
}

void PagedResult::open() {
    auto db = connectionFor(dataFolder_);
    {
        Statement bounds(*db, keyset_.bounds);
        if (bounds.step() && bounds.columnType(1) != SQLITE_NULL) {
            minKey_ = bounds.columnInteger(0);
            maxKey_ = bounds.columnInteger(1);
        } else {
            minKey_ = 1;
            maxKey_ = 0;
        }
        bounds.run();
    }
    {
        Statement shape(*db, pageSql_[0]);
        for (int c = 1; c < shape.columnCount(); ++c) {
            names_.append(shape.columnName(c));
            isDate_.push_back(dateFields_.contains(names_.last().toLower()));
        }
    }
    headKey_ = minKey_ - 1;
    tailKey_ = maxKey_ + 1;
    headMarks_ = {{headKey_, 0}};
    tailMarks_ = {{tailKey_, 0}};
    headPage(0);
    total_ = settledTotal();
}

int PagedResult::settledTotal() const {
    const qint64 known = static_cast<qint64>(headRows_) + tailRows_;
    if (exact()) {
        return static_cast<int>(std::min<qint64>(known, INT_MAX - 1));
    }
    // The uncounted keys hold rows as densely as the counted ones.
    const qint64 keysKnown = (headKey_ - (minKey_ - 1)) + (maxKey_ - tailKey_ + 1);
    const qint64 gap = tailKey_ - 1 - headKey_;
    const double density =
        keysKnown > 0 ? static_cast<double>(known) / static_cast<double>(keysKnown) : 1.0;
    // At least two pages more, so that reading on from the start never reaches the rows
    // numbered from the end before the next settling; the count corrects it.
    const double estimate =
        static_cast<double>(known) +
        std::max(2.0 * kPageRows, std::round(density * static_cast<double>(gap)));
    return static_cast<int>(std::min(estimate, static_cast<double>(INT_MAX - 1)));
}

int PagedResult::middleStart() const {
    return std::clamp(headRows_, 0, std::max(0, total_ - tailRows_));
}

void PagedResult::setTotal(int total) {
    total_ = total;
}

const PagedResult::Page* PagedResult::page(bool fromEnd, int number) const {
    for (auto p = pages_.begin(); p != pages_.end(); ++p) {
        if (p->fromEnd == fromEnd && p->number == number) {
            if (p->cut && exact()) {
                pages_.erase(p);  // its other rows were the other side's; now they are its own
                return nullptr;
            }
            p->used = ++clock_;
            return &*p;
        }
    }
    return nullptr;
}

const PagedResult::Page& PagedResult::keep(Page fresh) const {
    fresh.used = ++clock_;
    if (static_cast<int>(pages_.size()) < kCachedPages) {
        pages_.push_back(std::move(fresh));
        return pages_.back();
    }
    auto oldest = std::min_element(pages_.begin(), pages_.end(),
                                   [](const Page& a, const Page& b) { return a.used < b.used; });
    *oldest = std::move(fresh);
    return *oldest;
}

void PagedResult::addMark(std::vector<Mark>& marks, Mark mark) const {
    auto at = std::lower_bound(marks.begin(), marks.end(), mark.rows,
                               [](const Mark& m, int r) { return m.rows < r; });
    if (at == marks.end() || at->rows != mark.rows) {
        marks.insert(at, mark);
    }
}

int PagedResult::fetch(qint64 after, qint64 upTo, bool descending, int limit, int offset,
                       std::vector<qint64>& keys, std::vector<QVariant>& cells) const {
    auto db = connectionFor(dataFolder_);
    Statement statement(*db, pageSql_[descending ? 1 : 0]);
    QVariantList params = filterParams_;
    params << after << upTo << limit << offset;
    statement.bindAll(params);
    const int columns = static_cast<int>(names_.size());
    int rows = 0;
    while (statement.step()) {
        keys.push_back(statement.columnInteger(0));
        for (int c = 0; c < columns; ++c) {
            cells.push_back(cell(statement.columnType(c + 1), statement.column(c + 1), c));
        }
        ++rows;
    }
    return rows;
}

QVariant PagedResult::cell(int type, const QVariant& value, int column) const {
    if (type == SQLITE_TEXT && isDate_[static_cast<std::size_t>(column)]) {
        const QDate date = isoDate(value.toString());
        if (date.isValid()) {
            return date;
        }
    }
    return value;
}

const PagedResult::Page* PagedResult::headPage(int number, int cap) const {
    if (const Page* kept = page(false, number)) {
        return kept;
    }
    const int start = number * kPageRows;
    const bool wasExact = exact();
    const Mark& from = markAtMost(headMarks_, start);
    const qint64 upTo = wasExact ? maxKey_ : tailKey_ - 1;
    std::vector<qint64> keys;
    Page fresh{false, number, 0, false, {}, 0};
    fresh.rows = fetch(from.key, upTo, false, kPageRows, start - from.rows, keys, fresh.cells);
    if (fresh.rows > 0) {
        addMark(headMarks_, {keys.back(), start + fresh.rows});
    }
    fresh.cut = !wasExact && fresh.rows < kPageRows;
    if (!wasExact && start <= headRows_ && start + fresh.rows >= headRows_) {
        if (fresh.rows < kPageRows) {
            headRows_ = start + fresh.rows;  // nothing more before what the end counted
            headKey_ = tailKey_ - 1;
        } else if (const int reach = std::min(start + fresh.rows, cap); reach > headRows_) {
            headRows_ = reach;
            headKey_ = keys[static_cast<std::size_t>(reach - start - 1)];
        }
    }
    return &keep(std::move(fresh));
}

const PagedResult::Page* PagedResult::tailPage(int number, int cap) const {
    if (const Page* kept = page(true, number)) {
        return kept;
    }
    const int start = number * kPageRows;
    const bool wasExact = exact();
    const Mark& from = markAtMost(tailMarks_, start);
    const qint64 after = wasExact ? minKey_ - 1 : headKey_;
    std::vector<qint64> keys;
    Page fresh{true, number, 0, false, {}, 0};
    fresh.rows = fetch(after, from.key - 1, true, kPageRows, start - from.rows, keys, fresh.cells);
    if (fresh.rows > 0) {
        addMark(tailMarks_, {keys.back(), start + fresh.rows});
    }
    fresh.cut = !wasExact && fresh.rows < kPageRows;
    if (!wasExact && start <= tailRows_ && start + fresh.rows >= tailRows_) {
        if (fresh.rows < kPageRows) {
            tailRows_ = start + fresh.rows;  // the end met what the start counted
            tailKey_ = headKey_ + 1;
        } else if (const int reach = std::min(start + fresh.rows, cap); reach > tailRows_) {
            tailRows_ = reach;
            tailKey_ = keys[static_cast<std::size_t>(reach - start - 1)];
        }
    }
    return &keep(std::move(fresh));
}

void PagedResult::countStep() const {
    if (exact()) {
        return;
    }
    const qint64 end = std::min(tailKey_ - 1, headKey_ + stepKeys_);
    QElapsedTimer clock;
    clock.start();
    auto db = connectionFor(dataFolder_);
    Statement count(*db, countSql_);
    QVariantList params = filterParams_;
    params << headKey_ << end;
    count.bindAll(params);
    const qint64 rows = count.step() ? count.columnInteger(0) : 0;
    count.run();
    headRows_ = static_cast<int>(std::min<qint64>(headRows_ + rows, INT_MAX / 2));
    headKey_ = end;
    addMark(headMarks_, {headKey_, headRows_});
    // The next step covers as many keys as fit in the time slice at this step's pace.
    const qint64 spent = std::max<qint64>(clock.nsecsElapsed(), 100'000);
    const double scale =
        std::clamp(static_cast<double>(kStepNanoseconds) / static_cast<double>(spent), 0.25, 4.0);
    stepKeys_ = std::clamp<qint64>(static_cast<qint64>(static_cast<double>(stepKeys_) * scale),
                                   1000, 100'000'000);
}

void PagedResult::countUpTo(int rows) const {
    while (!exact() && headRows_ < rows) {
        countStep();
    }
}

const QVariant* PagedResult::row(int r) const {
    if (r < 0 || r >= total_) {
        return nullptr;
    }
    const int columns = static_cast<int>(names_.size());
    // Rows from the start are numbered up to where those from the end begin, under the
    // total as the owner shows it; neither side's count passes into the other's rows.
    const int boundary = std::max(0, total_ - tailRows_);
    auto fromHead = [&](int at) -> const QVariant* {
        const Page* p = headPage(at / kPageRows, boundary);
        const int i = at % kPageRows;
        return i < p->rows ? &p->cells[static_cast<std::size_t>(i * columns)] : nullptr;
    };
    auto fromTail = [&](int j) -> const QVariant* {
        const Page* p =
            tailPage(j / kPageRows, std::max(tailRows_, total_ - std::min(headRows_, boundary)));
        const int i = j % kPageRows;
        return i < p->rows ? &p->cells[static_cast<std::size_t>(i * columns)] : nullptr;
    };
    const int j = total_ - 1 - r;  // rows after this one
    if (exact() && total_ == settledTotal()) {
        // The end's pages stand for the same rows once the total is the counted one.
        if (page(true, j / kPageRows)) {
            return fromTail(j);
        }
        return fromHead(r);
    }
    if (r >= boundary) {
        return fromTail(j);
    }
    if (r / kPageRows * kPageRows <= headRows_) {
        return fromHead(r);
    }
    if (!exact() && j / kPageRows * kPageRows <= tailRows_) {
        return fromTail(j);
    }
    countUpTo(r / kPageRows * kPageRows);
    return fromHead(r);
}

void PagedResult::walk(const std::function<void(int, const QVariant*)>& sink) const {
    const auto columns = static_cast<std::size_t>(names_.size());
    std::vector<qint64> keys;
    std::vector<QVariant> cells;
    qint64 after = minKey_ - 1;
    int n = 0;
    for (;;) {
        keys.clear();
        cells.clear();
        const int got = fetch(after, maxKey_, false, kWalkRows, 0, keys, cells);
        for (int i = 0; i < got; ++i) {
            sink(n++, &cells[static_cast<std::size_t>(i) * columns]);
        }
        if (got > 0) {
            after = keys.back();
            addMark(headMarks_, {after, n});
        }
        if (got < kWalkRows) {
            break;
        }
    }
    // Now every row is counted from the start.
    headKey_ = maxKey_;
    headRows_ = n;
    tailKey_ = maxKey_ + 1;
    tailRows_ = 0;
    tailMarks_ = {{tailKey_, 0}};
    pages_.erase(
        std::remove_if(pages_.begin(), pages_.end(), [](const Page& p) { return p.fromEnd; }),
        pages_.end());
}

}  // namespace store
