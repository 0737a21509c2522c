#include "resources/picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageIOHandler>
#include <QImageReader>
#include <QPainter>
#include <QStringList>
#include <cerrno>

#include "store/error.h"

namespace resources::pictures {

namespace {

// The extensions of every format the toolkit reads, the common camera and web ones first.
QStringList readableExtensions() {
    QStringList extensions = {QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                              QStringLiteral("png"), QStringLiteral("gif")};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString extension = QString::fromLatin1(format).toLower();
        if (!extensions.contains(extension)) {
            extensions.append(extension);
        }
    }
    return extensions;
}

QString quoted(const QString& path) {
    return QStringLiteral("«%1»").arg(path);
}

QString systemReason(int error) {
    return qt_error_string(error);
}

// What a path that is not a regular file is, in the user's words.
QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("бума");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("атаулы арна (FIFO)");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QStringLiteral("құрылғы");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("сокет");
    }
    return QStringLiteral("арнайы файл");
}

[[noreturn]] void cannotOpen(const QString& path, int error) {
    throw AppError(QStringLiteral("%1 файлы ашылмады: %2").arg(quoted(path), systemReason(error)));
}

[[noreturn]] void notARegularFile(const QString& path, mode_t mode) {
    throw AppError(QStringLiteral("%1 сурет ретінде ашылмайды: бұл — %2, кәдімгі файл емес")
                       .arg(quoted(path), kindOf(mode)));
}

// Opens a regular file for reading, and nothing else: a named pipe, a device or a folder is
// refused before it is opened, and the opening itself cannot wait (the file could be swapped
// for a pipe in between).
void openRegularFile(const QString& path, QFile& file) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        cannotOpen(path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        notARegularFile(path, info.st_mode);
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        cannotOpen(path, errno);
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = errno;
        ::close(fd);
        if (S_ISREG(info.st_mode)) {
            cannotOpen(path, error);
        }
        notARegularFile(path, info.st_mode);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw AppError(
            QStringLiteral("%1 файлы ашылмады: %2").arg(quoted(path), file.errorString()));
    }
}

// A bitmap shorter than its header says: the reader would fill the missing rows with black.
void refuseTruncatedBitmap(QFile& file, const QString& path) {
    const QByteArray header = file.peek(14);
    if (header.size() < 14 || !header.startsWith("BM")) {
        return;  // the reader says what is wrong
    }
    const auto byte = [&](int i) { return static_cast<quint32>(static_cast<quint8>(header[i])); };
    const quint32 declared = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
    if (file.size() < static_cast<qint64>(declared)) {
        throw AppError(QStringLiteral("%1 файлындағы BMP суреті толық емес: тақырыбы бойынша %2 "
                                      "байт болуы керек, файлда %3 байт қана бар")
                           .arg(quoted(path))
                           .arg(declared)
                           .arg(file.size()));
    }
}

// The toolkit refuses to allocate a picture beyond its limit; a picture that big is named as
// such, with its pixels and the limit, rather than called broken.
bool beyondAllocationLimit(const QSize& size) {
    const qint64 limit = qint64(QImageReader::allocationLimit()) * 1024 * 1024;
    return limit > 0 && size.isValid() && qint64(size.width()) * size.height() * 4 > limit;
}

[[noreturn]] void tooLarge(const QString& path, const QSize& size) {
    const int limitMegabytes = QImageReader::allocationLimit();
    throw AppError(QStringLiteral("%1 суреті тым үлкен: %2 × %3 пиксель. Программа %4 МБ-қа "
                                  "(шамамен %5 миллион пиксельге) дейінгі суретті ғана аша алады; "
                                  "суретті кішірейтіп сақтаңыз")
                       .arg(quoted(path))
                       .arg(size.width())
                       .arg(size.height())
                       .arg(limitMegabytes)
                       .arg(limitMegabytes / 4));
}

QString readFailure(const QImageReader& reader) {
    switch (reader.error()) {
        case QImageReader::UnsupportedFormatError:
            return QStringLiteral("пішімі танылмады; программа мына пішімдерді ашады: %1")
                .arg(readableExtensions().join(QStringLiteral(", ")));
        case QImageReader::InvalidDataError:
            return QStringLiteral("сурет деректері бүлінген (%1)").arg(reader.errorString());
        default:
            return reader.errorString();
    }
}

}  // namespace

QString chooserFilter() {
    QStringList patterns;
    for (const QString& extension : readableExtensions()) {
        patterns.append(QStringLiteral("*.") + extension);
    }
    return QStringLiteral("Суреттер (%1);;Суретті таңдаңыз (*.bmp);;Барлық файлдар (*)")
        .arg(patterns.join(QLatin1Char(' ')));
}

QImage loadPicture(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    const QString extension = suffix.toLower();
    if (extension == QLatin1String("wmf") || extension == QLatin1String("emf")) {
        throw AppError(QStringLiteral("%1 — метафайл (.%2): программа метафайлдарды көрсете "
                                      "алмайды; суретті алдымен BMP, JPEG немесе PNG етіп сақтаңыз")
                           .arg(quoted(path), suffix));
    }
    QFile file;
    openRegularFile(path, file);
    refuseTruncatedBitmap(file, path);

    // The content decides (a photo saved under another extension is common); the extension
    // only names the reader for content that no reader recognises.
    const QByteArray hint =
        readableExtensions().contains(extension) ? extension.toLatin1() : QByteArray();
    QImageReader reader(&file, hint);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    // The bound applies to the picture as it stands: a camera's quarter turn swaps its sides.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize bound = turned ? kLargest.transposed() : kLargest;
    const bool larger =
        stored.isValid() && (stored.width() > bound.width() || stored.height() > bound.height());
    // A reader that can (JPEG) decodes a larger picture at a fraction of its size, which is
    // most of the time saved and lets a photo beyond the toolkit's memory limit load at all;
    // it finishes with a smooth scaling to the exact size. Other formats are read whole and
    // scaled smoothly below.
    const bool decodedSmall = larger && reader.supportsOption(QImageIOHandler::ScaledSize);
    if (decodedSmall) {
        reader.setScaledSize(stored.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        if (!decodedSmall && beyondAllocationLimit(stored)) {
            tooLarge(path, stored);
        }
        throw AppError(QStringLiteral("%1 файлындағы сурет оқылмады: %2")
                           .arg(quoted(path), readFailure(reader)));
    }
    if (image.width() > kLargest.width() || image.height() > kLargest.height()) {
        image = image.scaled(kLargest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

QByteArray bitmapBytes(const QImage& image) {
    QByteArray bytes;
    if (image.isNull()) {
        return bytes;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.hasAlphaChannel()) {
        image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
        return bytes;
    }
    // Bitmaps keep no alpha: flatten transparent pictures onto white first.
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.drawImage(0, 0, image);
    }
    flat.save(&buffer, "BMP");
    return bytes;
}

QImage pictureFromBytes(const QByteArray& bytes) {
    return bytes.isEmpty() ? QImage() : QImage::fromData(bytes);
}

}  // namespace resources::pictures
