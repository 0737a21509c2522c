#include "reports/outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "store/error.h"

// Plain POSIX calls rather than QFile or QSaveFile: QSaveFile writes through a symbolic link
// to its target, and QFile reports a failed write as a translated text without the error
// number, while the messages must tell a full disk from a folder the user may not write to.
namespace reports {

namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// What stands at the target now, if it must not be replaced: the reason, or nothing.
QString refusedTarget(const QString& path, const QByteArray& name) {
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0) {
        return {};  // nothing there yet, or the folder's own error comes with the new file
    }
    if (S_ISDIR(status.st_mode)) {
        return QStringLiteral("«%1» — қалта, файл емес: оның орнына файл жазылмайды").arg(path);
    }
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) {
        return QStringLiteral(
                   "«%1» — кәдімгі файл емес (құрылғы, арна не сокет): оның орнына файл "
                   "жазылмайды")
            .arg(path);
    }
    if (S_ISREG(status.st_mode) && ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0) {
        return OutputFile::reportCreateError(path, errno);
    }
    return {};
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

QString OutputFile::reportCreateError(const QString& path, int error) {
    QString kind;
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            kind = QStringLiteral("File access denied");
            break;
        case ENOENT:
        case ENOTDIR:
        case ENAMETOOLONG:
            kind = QStringLiteral("Invalid filename");
            break;
        default:
            kind = QStringLiteral("I/O error %1").arg(error);
    }
    return QStringLiteral("%1: \"%2\" (%3)").arg(kind, path, reason(error));
}

OutputFile::OutputFile(const QString& path, CreateErrorText createError) : path_(path) {
    const QByteArray name = QFile::encodeName(path);
    if (const QString refusal = refusedTarget(path, name); !refusal.isEmpty()) {
        throw AppError(refusal);
    }
    const QFileInfo target(path);
    temporary_ = QFile::encodeName(target.path() + QStringLiteral("/.") + target.fileName() +
                                   QStringLiteral(".XXXXXX"));
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        throw AppError(createError(path, errno));
    }
    ::fchmod(fd_, newFileMode());
    buffer_.reserve(kChunk + 4096);
}

OutputFile::~OutputFile() {
    discard();
}

void OutputFile::write(QByteArrayView bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kChunk) {
        writeOut();
    }
}

void OutputFile::commit() {
    writeOut();
    if (::close(std::exchange(fd_, -1)) != 0) {
        fail(errno);
    }
    if (::rename(temporary_.constData(), QFile::encodeName(path_).constData()) != 0) {
        fail(errno);
    }
    temporary_.clear();
}

void OutputFile::writeOut() {
    const char* data = buffer_.constData();
    qsizetype left = buffer_.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, static_cast<size_t>(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno);
        }
        data += written;
        left -= written;
    }
    buffer_.clear();
}

void OutputFile::fail(int error) {
    discard();
    if (error == ENOSPC || error == EDQUOT) {
        throw AppError(QStringLiteral("«%1» жазылмады: дискіде бос орын қалмады (%2). Жартылай "
                                      "жазылған файл өшірілді, бұрынғысы өзгермеді")
                           .arg(path_, reason(error)));
    }
    throw AppError(QStringLiteral("«%1» жазылмады: %2. Жартылай жазылған файл өшірілді, "
                                  "бұрынғысы өзгермеді")
                       .arg(path_, reason(error)));
}

void OutputFile::discard() {
    if (fd_ >= 0) {
        ::close(std::exchange(fd_, -1));
    }
    if (!temporary_.isEmpty()) {
        ::unlink(temporary_.constData());
        temporary_.clear();
    }
    buffer_.clear();
}

}  // namespace reports
