// makeicons <folder>: writes the program's icon as <folder>/hicolor/NxN/apps/<id>.png for the
// sizes a desktop's menus and docks ask for, drawn at each size (not scaled).
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "resources/artwork.h"

int main(int argc, char** argv) {
    // Drawing needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makeicons <folder> <icon name>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QIcon icon = resources::artwork::applicationIcon();
    for (int size : {16, 22, 24, 32, 48, 64, 128}) {
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        const QPixmap pixmap = icon.pixmap(QSize(size, size), 1.0);
        if (!QDir().mkpath(apps) || pixmap.size() != QSize(size, size) ||
            !pixmap.save(QStringLiteral("%1/%2.png").arg(apps, name))) {
            std::fprintf(stderr, "makeicons: cannot write the %dx%d icon in %s\n", size, size,
                         qPrintable(apps));
            return 1;
        }
    }
    return 0;
}
