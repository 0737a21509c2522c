#include "forms/gridsource.h"

#include <QColor>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>

#include "forms/look.h"

namespace forms {

GridSource::GridSource(store::Query& query, QList<store::Column> columns, QObject* parent)
    : store::DataSource(query, std::move(columns), parent) {
    titleFont_.setBold(true);
    connect(this, &store::DataSource::currentRowMoved, this, &GridSource::followCurrentRow);
    // Rows the count adds or takes away above the shown ones leave the shown rows in place.
    connect(&query, &store::Query::rowsChanged, this, [this](int first, int delta) {
        if (grid_ && first <= grid_->verticalScrollBar()->value()) {
            grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->value() + delta);
        }
    });
}

void GridSource::attach(QTableView* grid) {
    grid_ = grid;
    grid->setModel(this);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    setCurrentRow(current.row());
                }
            });
}

void GridSource::setTitleFont(const QFont& font) {
    titleFont_ = font;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void GridSource::followCurrentRow(int row) {
    if (grid_ && grid_->currentIndex().row() != row) {
        const int column = std::max(0, grid_->currentIndex().column());
        grid_->setCurrentIndex(index(row, column));
    }
}

QList<store::Column> GridSource::columnsInGridOrder() const {
    if (!grid_) {
        return columns();
    }
    QList<store::Column> ordered;
    const QHeaderView* titles = grid_->horizontalHeader();
    for (int visual = 0; visual < columns().size(); ++visual) {
        ordered.append(columns().value(titles->logicalIndex(visual)));
    }
    return ordered;
}

QVariant GridSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (role == Qt::ForegroundRole) {
            return QColor(128, 0, 0);
        }
        if (role == Qt::FontRole) {
            return titleFont_;
        }
    }
    return store::DataSource::headerData(section, orientation, role);
}

GridSource* showInGrid(QTableView* grid, store::Query& query,
                       std::initializer_list<GridColumn> columns, QObject* parent) {
    QList<store::Column> shown;
    QStringList titles;
    QList<int> widths;
    for (const GridColumn& column : columns) {
        shown.append({QString::fromLatin1(column.field), QString::fromUtf8(column.title)});
        titles.append(shown.last().title);
        widths.append(column.width);
    }
    auto* source = new GridSource(query, shown, parent);
    source->attach(grid);
    source->setTitleFont(titleFontFitting(grid->font(), titles, widths));
    for (int c = 0; c < widths.size(); ++c) {
        grid->setColumnWidth(c, widths[c]);
    }
    return source;
}

void styleGrid(QTableView* grid) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setCornerButtonEnabled(false);
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setMinimumSectionSize(18);
    grid->verticalHeader()->setFixedWidth(12);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->horizontalHeader()->setFixedHeight(20);
}

}  // namespace forms
