#include "forms/gridsource.h"

#include <QApplication>
#include <QColor>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QWheelEvent>

#include "forms/look.h"

namespace forms {

GridSource::GridSource(store::Query& query, QList<store::Column> columns, QObject* parent)
    : store::DataSource(query, std::move(columns), parent) {
    titleFont_.setBold(true);
    connect(this, &store::DataSource::currentRowMoved, this, &GridSource::followCurrentRow);
    // Rows the count adds or takes away above the shown ones leave the shown rows in place.
    connect(&query, &store::Query::rowsChanged, this, [this](int first, int delta) {
        if (grid_ && !windowed() && first <= grid_->verticalScrollBar()->value()) {
            grid_->verticalScrollBar()->setValue(grid_->verticalScrollBar()->value() + delta);
        }
    });
    connect(this, &store::DataSource::windowMoved, this, &GridSource::windowMoved);
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

void GridSource::attachWindowed(QTableView* grid) {
    if (grid_ != grid) {
        attach(grid);
    }
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bar_ = new QScrollBar(Qt::Vertical, grid);
    bar_->setObjectName(QStringLiteral("resultScrollBar"));
    bar_->setFocusPolicy(Qt::NoFocus);
    connect(bar_, &QScrollBar::valueChanged, this, [this](int value) { setOffset(value); });
    grid->installEventFilter(this);
    grid->viewport()->installEventFilter(this);
    fitWindow();
}

void GridSource::fitWindow() {
    const int extent = grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    const int frame = grid_->frameWidth();
    const int top = frame + grid_->horizontalHeader()->height();
    bar_->setGeometry(grid_->width() - frame - extent, top, extent, grid_->height() - top - frame);
    // Only whole rows: the grid then never scrolls by itself.
    const int rowHeight = grid_->verticalHeader()->defaultSectionSize();
    setWindow(std::max(1, grid_->viewport()->height() / rowHeight));
}

void GridSource::windowMoved() {
    if (!bar_) {
        return;
    }
    {
        const QSignalBlocker quiet(bar_);
        bar_->setRange(0, std::max(0, resultRows() - windowRows()));
        bar_->setPageStep(windowRows());
        bar_->setValue(offset());
    }
    // As a grid's own bar: shown only while the result is longer than the grid.
    bar_->setVisible(resultRows() > windowRows());
    const int shown = currentResultRow() - offset();
    if (shown >= 0 && shown < rowCount()) {
        followCurrentRow(shown);
    } else if (grid_->currentIndex().isValid()) {
        // The current row is out of the window: no row of it is marked current.
        const QSignalBlocker quiet(grid_->selectionModel());
        grid_->selectionModel()->clear();
        grid_->viewport()->update();
    }
}

bool GridSource::eventFilter(QObject* watched, QEvent* event) {
    // Types first, and the objects compared by address only: the grid sends events while it
    // is being destroyed, when it is no longer a table view to call.
    if (!bar_ || (event->type() != QEvent::Resize && event->type() != QEvent::Wheel &&
                  event->type() != QEvent::KeyPress)) {
        return false;
    }
    if (watched == grid_ && event->type() == QEvent::Resize) {
        fitWindow();
        return false;
    }
    if (watched != grid_ && event->type() == QEvent::Wheel) {  // the grid's viewport
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int steps = wheel->angleDelta().y() / 120;
        setOffset(offset() - steps * QApplication::wheelScrollLines());
        return true;
    }
    if (watched != grid_ || event->type() != QEvent::KeyPress || resultRows() == 0) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool control = key->modifiers().testFlag(Qt::ControlModifier);
    const int current = std::max(0, currentResultRow());
    const int last = resultRows() - 1;
    int target = -1;
    switch (key->key()) {
        case Qt::Key_Up:
            target = current - 1;
            break;
        case Qt::Key_Down:
            target = current + 1;
            break;
        case Qt::Key_PageUp:
            target = current - windowRows();
            break;
        case Qt::Key_PageDown:
            target = current + windowRows();
            break;
        case Qt::Key_Home:
            target = control ? 0 : -1;
            break;
        case Qt::Key_End:
            target = control ? last : -1;
            break;
        default:
            break;
    }
    if (target < 0 && key->key() != Qt::Key_Up && key->key() != Qt::Key_PageUp) {
        return false;  // across the columns, as any grid
    }
    setCurrentResultRow(std::clamp(target, 0, last));
    return true;
}

void GridSource::setTitleFont(const QFont& font) {
    titleFont_ = font;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void GridSource::followCurrentRow(int row) {
    if (!grid_) {
        return;
    }
    const int column = std::max(0, grid_->currentIndex().column());
    if (grid_->currentIndex().row() != row) {
        grid_->setCurrentIndex(index(row, column));
    }
    // Also when the row stays current over a reload or a sort: the grid shows the dish that
    // the picture, the description and every command are about.
    grid_->scrollTo(index(row, column));
}

void GridSource::showCurrentRow() {
    if (grid_ && grid_->currentIndex().isValid()) {
        grid_->scrollTo(grid_->currentIndex());
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
