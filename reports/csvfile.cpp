#include "reports/csvfile.h"

#include <QSaveFile>

#include "store/error.h"

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
    QSaveFile file(filePath);
    const QByteArray text = csvText(titles, rows);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        throw AppError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(filePath, file.errorString()));
    }
}

}  // namespace reports
