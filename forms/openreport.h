#pragma once

#include <QString>

namespace forms {

// Opens a report just written with the desktop's application for its kind. When nothing
// opens it (no program set for the kind, or xdg-open fails), a warning says where the report
// is and which package would open it.
void openReport(const QString& path, const QString& folder, const QString& package);

// That warning's text.
QString cannotOpenReportText(const QString& path, const QString& package, const QString& reason);

}  // namespace forms
