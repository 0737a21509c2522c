#pragma once

#include <QList>
#include <QString>

#include "reports/listwalk.h"
#include "store/column.h"
#include "store/query.h"

namespace reports {

enum class ReportKind {
    Menu,    // the dish list with pictures, under "Меню"
    Saved,   // the dish list with pictures, under the search-result heading
    Orders,  // the orders list, no pictures
};

// Writes one HTML table report of a list as a window shows it: one row per result row, one
// cell per grid column in the grid's current order. The file is UTF-8 with a byte order mark,
// one item per line, each ended by CR LF. The dish reports also write each dish's picture to
// img/<n>.bmp in the program folder, which must already exist. The walk leaves the list on
// its last row.
void writeReport(ReportKind kind, const QString& filePath, store::Query& list,
                 const QList<store::Column>& columns, const QString& programFolder,
                 const Progress& progress = {});

// A table a window holds in memory, in the orders report's format under its own title and
// heading: the first numberedRows rows numbered from 1, any after them (a totals row) with an
// empty number.
void writeTable(const QString& filePath, const QString& title, const QString& heading,
                const QStringList& titles, const QList<QStringList>& rows, qsizetype numberedRows);

// Where the menu, orders and sales summary reports go.
QString menuReportPath(const QString& programFolder);
QString ordersReportPath(const QString& programFolder);
QString summaryReportPath(const QString& programFolder);

// A cell's text as HTML: the characters HTML gives a meaning to are escaped, and a line
// break is a character reference, so that every item of the file stays on its own line.
QString htmlCellText(const QString& text);

// An absolute path as the src of an img element: every byte of its UTF-8 form outside
// printable ASCII, and each of " % # ? & < > and space, percent-encoded.
QByteArray pathForSrc(const QString& path);

}  // namespace reports
