// A picture file of any bytes, chosen under each of the names the picture dialog offers: it
// loads or is refused with an error, and what loads is stored and read back whole.
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "resources/picture.h"
#include "store/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    static const char* const extensions[] = {"bmp", "jpg", "png", "gif"};
    static const QString folder = [] {
        char name[] = "/tmp/orvelin-fuzz-XXXXXX";
        return QString::fromLocal8Bit(mkdtemp(name));
    }();
    const QString path =
        QStringLiteral("%1/picture.%2").arg(folder, QLatin1String(extensions[data[0] % 4]));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    file.close();
    try {
        const QImage image = resources::pictures::loadPicture(path);
        const QByteArray stored = resources::pictures::bitmapBytes(image);
        if (!image.isNull() &&
            resources::pictures::pictureFromBytes(stored).size() != image.size()) {
            std::abort();
        }
    } catch (const AppError&) {
        // refused with a message: as it should be
    }
    return 0;
}
