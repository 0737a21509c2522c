#pragma once

#include <QList>
#include <QString>

#include "store/query.h"
#include "ui/datasource.h"

namespace reports {

enum class ReportKind {
    Menu,    // the dish list with pictures, under "Меню"
    Saved,   // the dish list with pictures, under the search-result heading
    Orders,  // the orders list, no pictures
};

// Writes one HTML table report of a list as a window shows it: one row per result row, one
// cell per grid column in the grid's current order. The dish reports also write each dish's
// picture to img/<n>.bmp in the program folder, which must already exist. The walk leaves
// the list on its last row.
void writeReport(ReportKind kind, const QString& filePath, store::Query& list,
                 const QList<ui::Column>& columns, const QString& programFolder);

// Where the menu and orders reports go.
QString menuReportPath(const QString& programFolder);
QString ordersReportPath(const QString& programFolder);

}  // namespace reports
