#pragma once

#include <QFont>

#include "store/datasource.h"

class QTableView;

namespace forms {

// A query's table as a grid shows it: titles in maroon bold, and the grid's current row kept
// on the query's current row both ways.
class GridSource : public store::DataSource {
    Q_OBJECT
public:
    GridSource(store::Query& query, QList<store::Column> columns, QObject* parent = nullptr);

    void attach(QTableView* grid);
    // The titles' font; bold by default.
    void setTitleFont(const QFont& font);
    // The columns as the grid shows them now, after any the user dragged elsewhere.
    QList<store::Column> columnsInGridOrder() const;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void followCurrentRow(int row);

    QTableView* grid_ = nullptr;
    QFont titleFont_;
};

// The look every data grid of the program shares: whole rows selected, and Tab leaves the
// grid for the next control instead of walking its cells.
void styleGrid(QTableView* grid);

}  // namespace forms
