#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "store/column.h"
#include "store/error.h"
#include "store/query.h"

namespace reports {

// Told, row by row, how far a walk over a list has come: (row, rows).
using Progress = std::function<void(int, int)>;

// Walks a window's list from its first row to its last, handing the sink each row's number
// (from 1) and its cells as plain text, in the order of the given columns. The walk leaves
// the list on its last row, or where the sink stopped it with an error; whoever shows the
// current row hears of it once, at the end. A closed list is an error.
template <typename RowSink>
void walkRows(store::Query& list, const QList<store::Column>& columns, RowSink&& sink,
              const Progress& progress = {}) {
    if (!list.isOpen()) {
        throw AppError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
    QList<int> fields;
    for (const store::Column& column : columns) {
        fields.append(list.fieldIndex(column.field));
    }
    store::Query::ControlsDisabled quiet(list);
    const int count = list.recordCount();
    list.first();
    QStringList cells;
    QVariantList row;
    for (int n = 1; n <= count; ++n) {
        cells.clear();
        list.rowValues(list.currentRow(), row);
        for (int field : fields) {
            cells.append(field < 0 ? QString() : store::plainText(row.value(field)));
        }
        sink(n, cells);
        if (progress) {
            progress(n, count);
        }
        list.next();
    }
}

}  // namespace reports
