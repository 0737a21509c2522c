#pragma once

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <memory>

#include "store/field.h"
#include "store/pagedresult.h"
#include "store/resultrows.h"

namespace store {

// One line of a statement with the values bound to the '?' marks it holds. A line made from
// a search text that is no valid search carries the refusal instead: a statement holding it
// never runs, and every open says why, until the line is replaced.
struct Line {
    QString text;
    QVariantList params;
    QString refusal = {};
};

// A statement kept as numbered lines, and the read-only result it yields. Changing any line
// closes an open result, so the next open runs the new statement. A statement whose first
// line is a keyset's select (the orders) is read on demand, page by page (PagedResult says
// how); any other result (the dish list, where one compact read is faster) is read whole at
// once and the statement finished. Either way no read transaction stays open behind it.
class Query : public QObject {
    Q_OBJECT
public:
    explicit Query(QObject* parent = nullptr);

    void setDataFolder(const QString& dataFolder);
    const QString& dataFolder() const { return dataFolder_; }

    void clearLines();
    void addLine(const Line& line);
    void addLines(const QList<Line>& lines);
    void replaceLine(int n, const Line& line);
    const QList<Line>& lines() const { return lines_; }
    QString sql() const;
    QVariantList params() const;

    // Results whose fields hold ISO dates; their values are read as dates.
    void setDateFields(const QStringList& names);
    // Statements whose first line is this keyset's select are read on demand.
    void setKeyset(const Keyset& keyset);
    bool readsOnDemand() const { return paged_ != nullptr; }
    // False while the record count is still an estimate (it is being counted in steps).
    bool countKnown() const {
        return !paged_ || (paged_->exact() && paged_->total() == paged_->settledTotal());
    }
    // Counts what is left of a result read on demand now, instead of in steps.
    void finishCount();

    void open();  // does nothing when already open
    void close();
    int execSQL();  // for statements that yield no rows; answers the rows changed

    bool isOpen() const { return open_; }
    int recordCount() const { return paged_ ? paged_->total() : rows_.rowCount(); }
    const QStringList& fieldNames() const { return names_; }
    int fieldIndex(const QString& name) const;  // -1 when absent; case does not matter

    void first();
    void next();
    bool eof() const { return eof_; }
    int currentRow() const { return current_; }
    void setCurrentRow(int row);

    // While one of these lives, moving the cursor sends no currentChanged; when it ends, whoever
    // shows the current row hears once where the cursor stands (a long walk stays fast).
    class QuietCursor {
    public:
        explicit QuietCursor(Query& query) : query_(query) { ++query_.quiet_; }
        ~QuietCursor() {
            if (--query_.quiet_ == 0) {
                emit query_.currentChanged(query_.current_);
            }
        }
        QuietCursor(const QuietCursor&) = delete;
        QuietCursor& operator=(const QuietCursor&) = delete;

    private:
        Query& query_;
    };

    Field fieldByName(const QString& name) const;  // of the current row
    // A cell for whoever shows the result: reading a row of a result read on demand may read
    // a page that tells the count more, and the next step of the count is then set going.
    QVariant value(int row, int column);
    void rowValues(int row, QVariantList& out) const;

    // Hands every row to the sink, from the first to the last (row from 0, its values), the
    // cursor on each as it goes; afterwards the cursor is on the last row. A result read on
    // demand streams in large pieces and learns its exact count on the way.
    void walk(const std::function<void(int, const QVariantList&)>& sink);

signals:
    void reset();                  // opened, closed or re-read
    void currentChanged(int row);  // the cursor moved
    // A result read on demand learnt its count better: delta rows come (or go, when
    // negative) at row first. Sent around the change, never while a grid paints.
    void rowsAboutToChange(int first, int delta);
    void rowsChanged(int first, int delta);

private:
    void load();
    void moveTo(int row);
    void countStep();
    void settle();
    QVariant cell(int row, int column) const;

    QString dataFolder_;
    QList<Line> lines_;
    QSet<QString> dateFields_;
    std::unique_ptr<Keyset> keyset_;
    bool open_ = false;
    QStringList names_;
    ResultRows rows_;
    std::unique_ptr<PagedResult> paged_;
    QTimer counting_;
    const QVariantList* walkRow_ = nullptr;  // while a walk is on: the row it is at
    int current_ = -1;
    bool eof_ = true;
    int quiet_ = 0;
};

}  // namespace store
