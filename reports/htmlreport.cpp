#include "reports/htmlreport.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "reports/cp1251kz.h"
#include "reports/listwalk.h"
#include "store/dishdetails.h"
#include "store/error.h"

namespace reports {

namespace {

// The report file: created or truncated on opening, closed however the report ends.
class ReportFile {
public:
    explicit ReportFile(const QString& path) {
        fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                     0644);
        if (fd_ < 0) {
            throw AppError(openErrorText(errno));
        }
    }
    ~ReportFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    void line(const QString& text) {
        QByteArray bytes = encodeKazakh1251(text);
        bytes.append("\r\n");
        const char* data = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t written = ::write(fd_, data, static_cast<size_t>(left));
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throw AppError(QStringLiteral("I/O error %1").arg(errno));
            }
            data += written;
            left -= written;
        }
    }

    void finish() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            throw AppError(QStringLiteral("I/O error %1").arg(errno));
        }
    }

private:
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

    int fd_ = -1;
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
    if (file.write(picture) != picture.size()) {
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

QString menuReportPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/current.doc");
}

QString ordersReportPath(const QString& programFolder) {
    return programFolder + QStringLiteral("/current.xls");
}

void writeReport(ReportKind kind, const QString& filePath, store::Query& list,
                 const QList<ui::Column>& columns, const QString& programFolder) {
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
    for (const ui::Column& column : columns) {
        file.line(QStringLiteral("<td><b>%1</b></td>").arg(column.title));
    }
    file.line(QStringLiteral("</tr>"));

    walkRows(list, columns, [&](int n, const QStringList& cells) {
        file.line(QStringLiteral("<tr><td>%1</td>").arg(n));
        if (pictures) {
            const QString picture = bitmapPath(programFolder, n);
            writePicture(list, picture);
            file.line(kind == ReportKind::Menu
                          ? QStringLiteral("<td><img width=200 src=\"%1\"\\></td>").arg(picture)
                          : QStringLiteral("<td><img src=\"%1\"\\></td>").arg(picture));
        }
        for (const QString& cell : cells) {
            file.line(QStringLiteral("<td>%1</td>").arg(escapeHtml(cell)));
        }
        file.line(QStringLiteral("</tr>"));
    });
    file.line(QStringLiteral("</table></body></html>"));
    file.finish();
}

}  // namespace reports
