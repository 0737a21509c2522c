#include "store/datasource.h"

#include "store/error.h"

namespace store {

DataSource::DataSource(Query& query, QList<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), query_(query), columns_(std::move(columns)) {
    connect(&query_, &Query::reset, this, &DataSource::queryReset);
    connect(&query_, &Query::currentChanged, this, &DataSource::currentMoved);
    connect(&query_, &Query::rowsAboutToChange, this, &DataSource::rowsAboutToChange);
    connect(&query_, &Query::rowsChanged, this, &DataSource::rowsChanged);
    queryReset();
}

void DataSource::rowsAboutToChange(int first, int delta) {
    if (delta > 0) {
        beginInsertRows({}, first, first + delta - 1);
    } else {
        beginRemoveRows({}, first, first - delta - 1);
    }
}

void DataSource::rowsChanged(int, int delta) {
    if (delta > 0) {
        endInsertRows();
    } else {
        endRemoveRows();
    }
    marked_ = query_.currentRow();
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
    // Also called from the constructor: the row count is the query's, never a subclass's.
    const int rows = DataSource::rowCount();
    if (previous >= 0 && previous < rows) {
        emit headerDataChanged(Qt::Vertical, previous, previous);
    }
    if (row >= 0 && row < rows) {
        emit headerDataChanged(Qt::Vertical, row, row);
        emit currentRowMoved(row);
    }
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
    if (field < 0) {
        return {};
    }
    try {
        return plainText(query_.value(index.row(), field));
    } catch (const AppError&) {
        // A page the store could not give while the grid paints: the cell stays empty, and
        // the next command that reads the list meets the error and says it.
        return {};
    }
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
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

}  // namespace store
