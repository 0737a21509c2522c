#include "reports/htmlreport.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
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

// The picture of the current dish, or an empty file when it has none; answers its bytes.
QByteArray writePicture(const store::Query& list, const QString& path) {
    const QVariant code = list.fieldByName(QStringLiteral("Code")).value();
    const QByteArray picture = store::readDishDetails(list.dataFolder(), code).picture;
    OutputFile file(path, [](const QString& target, int error) {
        return QStringLiteral("Cannot create file \"%1\". %2")
            .arg(target, QString::fromLocal8Bit(std::strerror(error)));
    });
    file.write(picture);
    file.commit();
    return picture;
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

// The size of a picture written for the report, from its header alone; empty when it has
// none. A bitmap's header is read here, as a reader per row would cost more than the row
// itself; anything else goes to the toolkit's reader.
QSize pictureSize(const QByteArray& picture) {
    const QByteArray header = picture.left(26);
    if (header.size() < 26 || !header.startsWith("BM")) {
        if (header.isEmpty()) {
            return QSize();
        }
        QByteArray bytes = picture;
        QBuffer buffer(&bytes);
        return QImageReader(&buffer).size();
    }
    const auto word = [&](int at, int bytes) {
        quint32 value = 0;
        for (int i = bytes - 1; i >= 0; --i) {
            value = value << 8 | static_cast<quint8>(header[at + i]);
        }
        return value;
    };
    if (word(14, 4) == 12) {  // the oldest header: 16-bit sides
        return QSize(static_cast<int>(word(18, 2)), static_cast<int>(word(20, 2)));
    }
    // A negative height is a bitmap stored top row first.
    return QSize(static_cast<qint32>(word(18, 4)), std::abs(static_cast<qint32>(word(22, 4))));
}

// The picture cell: 200 wide and as high as keeps the picture's shape, so that a word
// processor lays the table out at that size rather than at the picture's own. A dish without
// a picture (an empty file) takes no height, so that its row stays as low as its text.
QString pictureCell(const QString& picturePath, const QByteArray& picture) {
    constexpr int kWidth = 200;
    const QSize size = pictureSize(picture);
    const int height = size.isEmpty()
                           ? 0
                           : static_cast<int>(std::clamp<qint64>(
                                 std::llround(double(kWidth) * size.height() / size.width()), 1,
                                 std::numeric_limits<int>::max()));
    return QStringLiteral("<td><img width=%1 height=%2 src=\"%3\"\\></td>")
        .arg(kWidth)
        .arg(height)
        .arg(QString::fromLatin1(pathForSrc(picturePath)));
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

QString summaryReportPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/summary.xls");
}

void writeTable(const QString& filePath, const QString& title, const QString& heading,
                const QStringList& titles, const QList<QStringList>& rows, qsizetype numberedRows) {
    ReportFile file(filePath);
    file.line(
        QStringLiteral("<html><head><title>%1</title></head><body>").arg(htmlCellText(title)));
    file.line(QStringLiteral("<h3>%1</h3>").arg(htmlCellText(heading)));
    file.line(QStringLiteral("<table border=1><tr><td><b>№</b></td>"));
    for (const QString& text : titles) {
        file.line(QStringLiteral("<td><b>%1</b></td>").arg(htmlCellText(text)));
    }
    file.line(QStringLiteral("</tr>"));
    for (qsizetype n = 0; n < rows.size(); ++n) {
        file.line("<tr><td>", n < numberedRows ? QString::number(n + 1) : QString(), "</td>");
        for (const QString& cell : rows[n]) {
            file.line("<td>", htmlCellText(cell), "</td>");
        }
        file.line("", QString(), "</tr>");
    }
    file.line(QStringLiteral("</table></body></html>"));
    file.finish();
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
                file.line(pictureCell(picture, writePicture(list, picture)));
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
