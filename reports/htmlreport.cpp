#include "reports/htmlreport.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "reports/listwalk.h"
#include "store/dishdetails.h"
#include "store/error.h"

namespace reports {

namespace {

// The report file: created or truncated on opening, closed however the report ends. Plain
// POSIX calls rather than QFile: QFile reports a failed write as a translated text without
// the error number, and the messages must tell a full disk (ENOSPC) from a folder the user
// may not write to (EACCES). Lines are gathered and written in large pieces.
class ReportFile {
public:
    explicit ReportFile(const QString& path) : path_(path) {
        fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                     0644);
        if (fd_ < 0) {
            throw AppError(openErrorText(errno));
        }
        buffer_.reserve(kChunk + 4096);
        buffer_.append("\xEF\xBB\xBF");  // UTF-8, as every reader of the file can tell
    }
    ~ReportFile() {
        if (fd_ >= 0) {
            writeOut();  // what was written before an error stays written
            ::close(fd_);
        }
    }
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void line(const QString& text) { line({}, text, {}); }

    // One line of fixed bytes around a text.
    void line(QByteArrayView before, const QString& text, QByteArrayView after) {
        buffer_.append(before);
        buffer_.append(text.toUtf8());
        buffer_.append(after);
        buffer_.append("\r\n");
        if (buffer_.size() >= kChunk) {
            flush();
        }
    }

    void finish() {
        flush();
        const int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0) {
            throw AppError(writeErrorText(errno));
        }
    }

private:
    static constexpr qsizetype kChunk = 1 << 16;

    void flush() {
        if (!writeOut()) {
            throw AppError(writeErrorText(errno));
        }
    }

    // False, with errno set, when the system refused the bytes.
    bool writeOut() {
        const char* data = buffer_.constData();
        qsizetype left = buffer_.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, data, static_cast<size_t>(left));
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                const int error = errno;
                buffer_.clear();
                errno = error;
                return false;
            }
            data += written;
            left -= written;
        }
        buffer_.clear();
        return true;
    }

    QString writeErrorText(int error) const {
        if (error == ENOSPC || error == EDQUOT) {
            return QStringLiteral("The disk is full: \"%1\" could not be written to its end")
                .arg(path_);
        }
        return QStringLiteral("I/O error %1").arg(error);
    }

    static QString openErrorText(int error) {
        switch (error) {
            case EACCES:
            case EPERM:
            case EROFS:
            case EISDIR:
                return QStringLiteral("File access denied");
            case ENOENT:
            case ENOTDIR:
            case ENAMETOOLONG:
                return QStringLiteral("Invalid filename");
            default:
                return QStringLiteral("I/O error %1").arg(error);
        }
    }

    QString path_;
    int fd_ = -1;
    QByteArray buffer_;
};

QString bitmapPath(const QString& programFolder, int n) {
    return QStringLiteral("%1/img/%2.bmp").arg(programFolder).arg(n);
}

// The picture of the current dish, or an empty file when it has none.
void writePicture(const store::Query& list, const QString& path) {
    const QVariant code = list.fieldByName(QStringLiteral("Code")).value();
    const QByteArray picture = store::readDishDetails(list.dataFolder(), code).picture;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw AppError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    }
    if (file.write(picture) != picture.size() || !file.flush()) {
        throw AppError(
            QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    }
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
