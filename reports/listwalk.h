#pragma once

#include <QList>
#include <QStringList>
#include <algorithm>
#include <functional>

#include "store/column.h"
#include "store/error.h"
#include "store/query.h"

namespace reports {

// Told, row by row, how far a walk over a list has come: (row, rows).
using Progress = std::function<void(int, int)>;

// Walks a window's list from its first row to its last, handing the sink each row's number
// (from 1) and its cells as plain text, in the order of the given columns. A list read on
// demand is walked in pieces, never held whole; its progress counts against the estimate
// until the walk has counted it. The walk leaves
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
    store::Query::QuietCursor quiet(list);
    QStringList cells;
    list.walk([&](int row, const QVariantList& values) {
        cells.clear();
        for (int field : fields) {
            cells.append(field < 0 ? QString() : store::plainText(values.value(field)));
        }
        sink(row + 1, cells);
        if (progress) {
            progress(row + 1, std::max(row + 1, list.recordCount()));
        }
    });
}

}  // namespace reports
