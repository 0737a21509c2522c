#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QList>

#include "store/query.h"

class QTableView;

namespace ui {

struct Column {
    QString field;
    QString title;
};

// Shows a query in a grid: one row per result row, the listed columns, titles in maroon bold,
// and a marker on the current row. The grid follows the query's cursor and moves it when the
// user picks another row.
class DataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSource(store::Query& query, QList<Column> columns, QObject* parent = nullptr);

    void attach(QTableView* grid);
    // The titles' font; bold by default.
    void setTitleFont(const QFont& font);
    const QList<Column>& columns() const { return columns_; }
    // The columns as the grid shows them now, after any the user dragged elsewhere.
    QList<Column> columnsInGridOrder() const;
    store::Query& query() const { return query_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void queryReset();
    void currentMoved(int row);

    store::Query& query_;
    QList<Column> columns_;
    QList<int> fieldOf_;  // result column of each grid column, -1 when absent
    QTableView* grid_ = nullptr;
    int marked_ = -1;
    QFont titleFont_;
};

// The look every data grid of the program shares: whole rows selected, and Tab leaves the
// grid for the next control instead of walking its cells.
void styleGrid(QTableView* grid);

}  // namespace ui
