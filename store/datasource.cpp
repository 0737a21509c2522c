#include "store/datasource.h"

#include "store/error.h"

#include <algorithm>

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
    if (windowed()) {
        beginResetModel();
    } else if (delta > 0) {
        beginInsertRows({}, first, first + delta - 1);
    } else {
        beginRemoveRows({}, first, first - delta - 1);
    }
}

void DataSource::rowsChanged(int first, int delta) {
    marked_ = query_.currentRow();
    if (windowed()) {
        // The rows shown stay the rows shown.
        if (offset_ >= first) {
            offset_ = std::max(first, offset_ + delta);
        }
        offset_ = std::clamp(offset_, 0, std::max(0, resultRows() - window_));
        endResetModel();
        emit windowMoved();
        currentMoved(query_.currentRow());
    } else if (delta > 0) {
        endInsertRows();
    } else {
        endRemoveRows();
    }
}

void DataSource::setWindow(int rows) {
    beginResetModel();
    window_ = std::max(1, rows);
    offset_ = std::clamp(offset_, 0, std::max(0, resultRows() - window_));
    endResetModel();
    emit windowMoved();
    currentMoved(query_.currentRow());
}

void DataSource::setOffset(int offset) {
    offset = std::clamp(offset, 0, std::max(0, resultRows() - window_));
    if (!windowed() || offset == offset_) {
        return;
    }
    const int before = rowCount();
    offset_ = offset;
    const int after = rowCount();
    if (after > before) {
        beginInsertRows({}, before, after - 1);
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows({}, after, before - 1);
        endRemoveRows();
    }
    if (after > 0) {
        emit dataChanged(index(0, 0), index(after - 1, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, 0, after - 1);
    }
    emit windowMoved();
}

void DataSource::queryReset() {
    beginResetModel();
    fieldOf_.clear();
    for (const Column& column : columns_) {
        fieldOf_.append(query_.isOpen() ? query_.fieldIndex(column.field) : -1);
    }
    marked_ = query_.currentRow();
    offset_ = 0;
    endResetModel();
    emit windowMoved();
    currentMoved(query_.currentRow());
}

void DataSource::currentMoved(int row) {
    const int previous = marked_ - offset_;
    marked_ = row;
    if (windowed() && row >= 0 && (row < offset_ || row >= offset_ + window_)) {
        // The window follows the cursor: it shows the current row at its edge.
        setOffset(row < offset_ ? row : row - window_ + 1);
    }
    // Also called from the constructor: the row count is the query's, never a subclass's.
    const int rows = DataSource::rowCount();
    const int shown = row - offset_;
    if (previous >= 0 && previous < rows) {
        emit headerDataChanged(Qt::Vertical, previous, previous);
    }
    if (row >= 0 && shown >= 0 && shown < rows) {
        emit headerDataChanged(Qt::Vertical, shown, shown);
        emit currentRowMoved(shown);
    }
}

int DataSource::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !query_.isOpen()) {
        return 0;
    }
    if (windowed()) {
        return std::clamp(query_.recordCount() - offset_, 0, window_);
    }
    return query_.recordCount();
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
        return plainText(query_.value(offset_ + index.row(), field));
    } catch (const AppError&) {
        // A page the store could not give while the grid paints: the cell stays empty, and
        // the next command that reads the list meets the error and says it.
        return {};
    }
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole) {
            return section + offset_ == marked_ ? QStringLiteral("\u25B8") : QString();
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
