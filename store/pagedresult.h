#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <climits>
#include <cstdint>
#include <functional>
#include <vector>

namespace store {

struct Line;

// How a statement is read in pages: the key its rows come in (the scan's own order, so the
// rows keep the order the statement gives them), as statement lines that follow its filter.
struct Keyset {
    QString select;       // the statement's first line, the one this keyset pages
    QString keyedSelect;  // the same with the key as its first column
    QString range;        // keys after the first value, up to and with the second
    QString ascending;    // in key order: limit, offset
    QString descending;   // against key order: limit, offset
    QString count;        // counts what the select yields, in front of the same filter
    QString bounds;       // the table's smallest and largest key
};

// A long result read on demand. The grid asks for the rows it shows; they come in pages of
// kPageRows by keyset (each page its own short statement: "after the last key I have, in key
// order, limit n"), and the last kCachedPages pages used are kept. Memory and the time to
// the first screen therefore do not grow with the history, and no read transaction stays
// open between pages, so a checkpoint or another copy's insert never waits for the view.
//
// The result is fixed at opening to the keys up to the largest one then: a row another copy
// writes later never shows, and none shows twice. Row numbers are counted from both ends:
// from the start as pages are read and as the count advances in short steps on the event
// loop (a range of keys per step), and from the end for Ctrl+End and the scroll thumb at the
// bottom, which read pages against key order from the largest key. Until the two meet, the
// middle is an estimate from the density of the rows counted so far; the owner learns of
// the corrected total through settle() and never during a paint. A row in the uncounted
// middle (the thumb dragged there before the count is done) is counted up to first.
// Checkpoints (a key and how many rows lie up to it) let any counted row's page be read
// with a short offset from the nearest one.
class PagedResult {
public:
    static constexpr int kPageRows = 128;
    static constexpr int kCachedPages = 32;

    PagedResult(QString dataFolder, const Keyset& keyset, QList<Line> filter,
                QSet<QString> dateFields);

    // Reads the bounds and the first page; errors are the store's.
    void open();
    const QStringList& names() const { return names_; }

    // The row count as the owner shows it, and the count the rows known so far point to.
    int total() const { return total_; }
    int settledTotal() const;
    // Where rows come or go when the total changes: the start of the uncounted middle.
    int middleStart() const;
    void setTotal(int total);
    bool exact() const { return headKey_ >= tailKey_ - 1; }

    // A row's cells, read from the store when no kept page holds it; null when the row is
    // not there (the base changed under the view, or the estimate was too large).
    const QVariant* row(int r) const;

    // Counts the next range of keys, about a time slice's worth.
    void countStep() const;

    // Every row from the first to the last in large pieces, none of them kept; learns the
    // exact count on the way. The sink takes the row number (from 0) and its cells.
    void walk(const std::function<void(int, const QVariant*)>& sink) const;

private:
    struct Page {
        bool fromEnd = false;
        int number = 0;
        int rows = 0;
        bool cut = false;  // ended where the other side's rows began
        std::vector<QVariant> cells;
        std::uint64_t used = 0;
    };
    struct Mark {
        qint64 key;
        int rows;
    };

    const Page* page(bool fromEnd, int number) const;
    // A page counted from the start or from the end; what it teaches about the count
    // reaches at most cap rows from its side.
    const Page* headPage(int number, int cap = INT_MAX) const;
    const Page* tailPage(int number, int cap = INT_MAX) const;
    const Page& keep(Page page) const;
    // Rows in (after, upTo], in key order or against it; keys and cells appended.
    int fetch(qint64 after, qint64 upTo, bool descending, int limit, int offset,
              std::vector<qint64>& keys, std::vector<QVariant>& cells) const;
    void addMark(std::vector<Mark>& marks, Mark mark) const;
    void countUpTo(int rows) const;
    QVariant cell(int type, const QVariant& value, int column) const;

    QString dataFolder_;
    Keyset keyset_;
    QList<Line> filter_;
    QSet<QString> dateFields_;
    QStringList names_;
    std::vector<bool> isDate_;
    QString pageSql_[2];
    QString countSql_;
    QVariantList filterParams_;

    qint64 minKey_ = 0;
    qint64 maxKey_ = 0;
    int total_ = 0;
    // A cache of the fixed result, filled by the const reads: the pages kept and what is
    // counted of it (the result never changes after open(), so what is read or counted of it
    // stays true; only total_, what the owner shows, changes through setTotal()). What is
    // counted: every row with a key up to headKey_ (headRows_ of them) and every row with a
    // key from tailKey_ on (tailRows_).
    mutable qint64 headKey_ = 0;
    mutable int headRows_ = 0;
    mutable qint64 tailKey_ = 1;
    mutable int tailRows_ = 0;
    mutable std::vector<Mark> headMarks_;  // rows up to key, ascending
    mutable std::vector<Mark> tailMarks_;  // rows from key on, descending keys
    mutable qint64 stepKeys_ = 20000;
    mutable std::vector<Page> pages_;
    mutable std::uint64_t clock_ = 0;
};

}  // namespace store
