#include "reports/csvfile.h"

#include "reports/outputfile.h"

namespace reports {

namespace {

void appendField(QByteArray& out, const QString& field) {
    const bool quoted = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
                        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')) ||
                        field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' '));
    if (!quoted) {
        out.append(field.toUtf8());
        return;
    }
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    out.append('"');
    out.append(doubled.toUtf8());
    out.append('"');
}

void appendRecord(QByteArray& out, const QStringList& fields) {
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out.append(',');
        }
        appendField(out, fields[i]);
    }
    out.append("\r\n");
}

}  // namespace

QByteArray csvText(const QStringList& titles, const QList<QStringList>& rows) {
    QByteArray out("\xEF\xBB\xBF");
    appendRecord(out, titles);
    for (const QStringList& row : rows) {
        appendRecord(out, row);
    }
    return out;
}

void writeCsv(const QString& filePath, const QStringList& titles, const QList<QStringList>& rows) {
    // Not QSaveFile: it writes through a link at the target instead of replacing it.
    OutputFile file(filePath);
    file.write(csvText(titles, rows));
    file.commit();
}

}  // namespace reports
