#pragma once

#include <QAbstractTableModel>
#include <QList>

#include "store/column.h"
#include "store/query.h"

namespace store {

// A query as a table: one row per result row, the listed columns as plain text, and a
// marker on the current row in the row titles. The grid that shows it follows the query's
// cursor through currentRowMoved and moves it with setCurrentRow.
class DataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSource(Query& query, QList<Column> columns, QObject* parent = nullptr);

    const QList<Column>& columns() const { return columns_; }
    void setCurrentRow(int row) { query_.setCurrentRow(row); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

signals:
    // The query's current row moved to a row of the table.
    void currentRowMoved(int row);

private:
    void queryReset();
    void currentMoved(int row);
    void rowsAboutToChange(int first, int delta);
    void rowsChanged(int first, int delta);

    Query& query_;
    QList<Column> columns_;
    QList<int> fieldOf_;  // result column of each table column, -1 when absent
    int marked_ = -1;
};

}  // namespace store
