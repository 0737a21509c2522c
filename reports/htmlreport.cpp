#include "reports/htmlreport.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "reports/listwalk.h"
#include "reports/outputfile.h"
#include "store/dishdetails.h"
#include "store/error.h"

namespace reports {

namespace {

// The report file, one item per line, written whole in the target's place when it is
// finished; a report that stops on an error leaves the target as it was.
class ReportFile {
public:
    explicit ReportFile(const QString& path) : file_(path) {
        file_.write("\xEF\xBB\xBF");  // UTF-8, as every reader of the file can tell
    }

    void line(const QString& text) { line({}, text, {}); }

    // One line of fixed bytes around a text.
    void line(QByteArrayView before, const QString& text, QByteArrayView after) {
        file_.write(before);
        file_.write(text.toUtf8());
        file_.write(after);
        file_.write("\r\n");
    }

    void finish() { file_.commit(); }

private:
    OutputFile file_;
};

QString bitmapPath(const QString& programFolder, int n) {
    return QStringLiteral("%1/img/%2.bmp").arg(programFolder).arg(n);
}

// The picture of the current dish, or an empty file when it has none.
void writePicture(const store::Query& list, const QString& path) {
    const QVariant code = list.fieldByName(QStringLiteral("Code")).value();
    const QByteArray picture = store::readDishDetails(list.dataFolder(), code).picture;
    OutputFile file(path, [](const QString& target, int error) {
        return QStringLiteral("Cannot create file \"%1\". %2")
            .arg(target, QString::fromLocal8Bit(std::strerror(error)));
    });
    file.write(picture);
    file.commit();
}

QString heading(ReportKind kind) {
    switch (kind) {
        case ReportKind::Menu:
            return QStringLiteral("<h3>Меню</h3>");
        case ReportKind::Saved:
            return QStringLiteral("<h3>Сұрау бойынша табылған нәтижелер</h3>");
        case ReportKind::Orders:
            return QStringLiteral("<h3>Тапсырыстар кестесі</h3>");
    }
    return QString();
}

}  // namespace

QString htmlCellText(const QString& text) {
    const bool plain = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\r' || c == u'\n';
    });
    if (plain) {
        return text;
    }
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('\r'), QStringLiteral("&#13;"));
    html.replace(QLatin1Char('\n'), QStringLiteral("&#10;"));
    return html;
}

QByteArray pathForSrc(const QString& path) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray encoded;
    for (const char c : path.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || QByteArrayView("\"%#?&<>").contains(c)) {
            encoded.append('%');
            encoded.append(hex[byte >> 4]);
            encoded.append(hex[byte & 0x0F]);
        } else {
            encoded.append(c);
        }
    }
    return encoded;
}

QString menuReportPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/current.doc");
}

QString ordersReportPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/current.xls");
}

void writeReport(ReportKind kind, const QString& filePath, store::Query& list,
                 const QList<store::Column>& columns, const QString& programFolder,
                 const Progress& progress) {
    const bool pictures = kind != ReportKind::Orders;
    ReportFile file(filePath);
    file.line(kind == ReportKind::Orders
                  ? QStringLiteral("<html><head><title>Тапсырыстар кестесі</title></head><body>")
                  : QStringLiteral("<html><body>"));
    file.line(heading(kind));
    file.line(QStringLiteral("<table border=1><tr><td><b>№</b></td>"));
    if (pictures) {
        file.line(QStringLiteral("<td><b>Суреті</b></td>"));
    }
    for (const store::Column& column : columns) {
        file.line(QStringLiteral("<td><b>%1</b></td>").arg(htmlCellText(column.title)));
    }
    file.line(QStringLiteral("</tr>"));

    walkRows(
        list, columns,
        [&](int n, const QStringList& cells) {
            file.line("<tr><td>", QString::number(n), "</td>");
            if (pictures) {
                const QString picture = bitmapPath(programFolder, n);
                writePicture(list, picture);
                const QString src = QString::fromLatin1(pathForSrc(picture));
                file.line(kind == ReportKind::Menu
                              ? QStringLiteral("<td><img width=200 src=\"%1\"\\></td>").arg(src)
                              : QStringLiteral("<td><img src=\"%1\"\\></td>").arg(src));
            }
            for (const QString& cell : cells) {
                file.line("<td>", htmlCellText(cell), "</td>");
            }
            file.line("", QString(), "</tr>");
        },
        progress);
    file.line(QStringLiteral("</table></body></html>"));
    file.finish();
}

}  // namespace reports
