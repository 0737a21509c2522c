#include "resources/picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include "store/error.h"

namespace pictures {

namespace {

QByteArray formatForExtension(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    const QString lower = suffix.toLower();
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.'))) {
        return QByteArray();  // any format the system knows
    }
    if (lower == QLatin1String("bmp")) {
        return "bmp";
    }
    if (lower == QLatin1String("jpg") || lower == QLatin1String("jpeg")) {
        return "jpeg";
    }
    if (lower == QLatin1String("ico")) {
        return "ico";
    }
    if (lower == QLatin1String("wmf") || lower == QLatin1String("emf")) {
        throw AppError(QStringLiteral("Metafile pictures (.%1) cannot be shown by this program; "
                                      "save the picture as a bitmap or JPEG first")
                           .arg(suffix));
    }
    throw AppError(QStringLiteral("Unknown picture file extension (.%1)").arg(suffix));
}

// A bitmap shorter than its header says: the reader would fill the missing rows with black.
bool isTruncatedBitmap(QFile& file) {
    const QByteArray header = file.peek(14);
    if (header.size() < 14 || !header.startsWith("BM")) {
        return false;  // the reader says what is wrong
    }
    const auto byte = [&](int i) { return static_cast<quint32>(static_cast<quint8>(header[i])); };
    const quint32 declared = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
    return file.size() < static_cast<qint64>(declared);
}

}  // namespace

QImage loadPicture(const QString& path) {
    const QByteArray format = formatForExtension(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw AppError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    }
    if (format == "bmp" && isTruncatedBitmap(file)) {
        throw AppError(QStringLiteral("Bitmap image is not valid"));
    }
    QImageReader reader(&file, format);
    reader.setDecideFormatFromContent(format.isEmpty());
    QImage image = reader.read();
    if (image.isNull()) {
        if (format == "bmp") {
            throw AppError(QStringLiteral("Bitmap image is not valid"));
        }
        throw AppError(QStringLiteral("The picture in \"%1\" cannot be read: %2")
                           .arg(path, reader.errorString()));
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

}  // namespace pictures
