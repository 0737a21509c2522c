#include "ui/datasource.h"

#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

namespace ui {

DataSource::DataSource(store::Query& query, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), query_(query), columns_(std::move(columns)) {
    titleFont_.setBold(true);
    connect(&query_, &store::Query::reset, this, &DataSource::queryReset);
    connect(&query_, &store::Query::currentChanged, this, &DataSource::currentMoved);
    queryReset();
}

void DataSource::attach(QTableView* grid) {
    grid_ = grid;
    grid->setModel(this);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    query_.setCurrentRow(current.row());
                }
            });
}

void DataSource::setTitleFont(const QFont& font) {
    titleFont_ = font;
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(columns_.size()) - 1);
}

void DataSource::queryReset() {
    beginResetModel();
    fieldOf_.clear();
    for (const Column& column : columns_) {
        fieldOf_.append(query_.isOpen() ? query_.fieldIndex(column.field) : -1);
    }
    marked_ = query_.currentRow();
    endResetModel();
    currentMoved(query_.currentRow());
}

void DataSource::currentMoved(int row) {
    const int previous = marked_;
    marked_ = row;
    if (previous >= 0 && previous < rowCount()) {
        emit headerDataChanged(Qt::Vertical, previous, previous);
    }
    if (row >= 0 && row < rowCount()) {
        emit headerDataChanged(Qt::Vertical, row, row);
        if (grid_ && grid_->currentIndex().row() != row) {
            const int column = std::max(0, grid_->currentIndex().column());
            grid_->setCurrentIndex(index(row, column));
        }
    }
}

QList<Column> DataSource::columnsInGridOrder() const {
    if (!grid_) {
        return columns_;
    }
    QList<Column> ordered;
    const QHeaderView* titles = grid_->horizontalHeader();
    for (int visual = 0; visual < columns_.size(); ++visual) {
        ordered.append(columns_.value(titles->logicalIndex(visual)));
    }
    return ordered;
}

int DataSource::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !query_.isOpen() ? 0 : query_.recordCount();
}

int DataSource::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataSource::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || !query_.isOpen()) {
        return {};
    }
    const int field = fieldOf_.value(index.column(), -1);
    return field < 0 ? QVariant() : store::plainText(query_.value(index.row(), field));
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole) {
            return section == marked_ ? QStringLiteral("\u25B8") : QString();
        }
        return {};
    }
    switch (role) {
        case Qt::DisplayRole:
            return columns_.value(section).title;
        case Qt::ForegroundRole:
            return QColor(128, 0, 0);
        case Qt::FontRole:
            return titleFont_;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
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

}  // namespace ui
