#pragma once

#include <QFont>
#include <initializer_list>

#include "store/datasource.h"

class QScrollBar;
class QTableView;

namespace forms {

// A query's table as a grid shows it: titles in maroon bold, and the grid's current row kept
// on the query's current row both ways.
class GridSource : public store::DataSource {
    Q_OBJECT
public:
    GridSource(store::Query& query, QList<store::Column> columns, QObject* parent = nullptr);

    void attach(QTableView* grid);
    // For a result read on demand: the grid holds a window of the rows it can show, and a
    // scroll bar of its own stands for the whole result; keys, the wheel and the bar move
    // the window and the cursor over the result.
    void attachWindowed(QTableView* grid);
    // The titles' font; bold by default.
    void setTitleFont(const QFont& font);
    // The columns as the grid shows them now, after any the user dragged elsewhere.
    QList<store::Column> columnsInGridOrder() const;
    // Scrolls the grid to its current row, after a change of its size.
    void showCurrentRow();

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followCurrentRow(int row);
    void windowMoved();
    void fitWindow();

    QTableView* grid_ = nullptr;
    QScrollBar* bar_ = nullptr;
    QFont titleFont_;
};

// A grid column as designed: the field, its title and its width.
struct GridColumn {
    const char* field;
    const char* title;  // UTF-8
    int width;
};

// Shows the query in the grid with these columns at their designed widths, the titles bold
// and narrowed where needed to fit them.
GridSource* showInGrid(QTableView* grid, store::Query& query,
                       std::initializer_list<GridColumn> columns, QObject* parent);

// The look every data grid of the program shares: whole rows selected, and Tab leaves the
// grid for the next control instead of walking its cells.
void styleGrid(QTableView* grid);

}  // namespace forms
