#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace reports {

// A table as comma-separated values for spreadsheets: UTF-8 with a byte order mark (so that
// Calc and Excel read the letters whole), CR LF after every record, and a field quoted when
// it holds a comma, a double quote, a line break or leading or trailing spaces, its double
// quotes doubled.
QByteArray csvText(const QStringList& titles, const QList<QStringList>& rows);

// Writes the text to a new file beside the target and renames it over the target.
void writeCsv(const QString& filePath, const QStringList& titles, const QList<QStringList>& rows);

}  // namespace reports
