#pragma once

#include <QAbstractTableModel>
#include <QList>

#include "store/column.h"
#include "store/query.h"

namespace store {

// A query as a table: one row per result row, the listed columns as plain text, and a
// marker on the current row in the row titles. The grid that shows it follows the query's
// cursor through currentRowMoved and moves it with setCurrentRow. With a window, the table
// holds only that many rows from offset() on, and moves along the result: a grid keeps a
// title section per row, which for ten million orders would be more than the whole program
// may take; the grid then scrolls by moving the window (forms::GridSource does).
class DataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSource(Query& query, QList<Column> columns, QObject* parent = nullptr);

    const QList<Column>& columns() const { return columns_; }
    void setCurrentRow(int row) { query_.setCurrentRow(offset_ + row); }

    void setWindow(int rows);
    bool windowed() const { return window_ > 0; }
    int windowRows() const { return window_; }
    int offset() const { return offset_; }
    void setOffset(int offset);
    int resultRows() const { return query_.isOpen() ? query_.recordCount() : 0; }
    int currentResultRow() const { return query_.currentRow(); }
    void setCurrentResultRow(int row) { query_.setCurrentRow(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The query's current row moved to a row of the table.
    void currentRowMoved(int row);
    // The window moved or the result's row count changed.
    void windowMoved();

private:
    void queryReset();
    void currentMoved(int row);
    void rowsAboutToChange(int first, int delta);
    void rowsChanged(int first, int delta);

    Query& query_;
    QList<Column> columns_;
    QList<int> fieldOf_;  // result column of each table column, -1 when absent
    int marked_ = -1;
    int window_ = 0;
    int offset_ = 0;
};

}  // namespace store
