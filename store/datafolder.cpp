#include "store/datafolder.h"

#include <QCoreApplication>
#include <QDir>

namespace store {

namespace {
QString& programFolderOverride() {
    static QString folder;
    return folder;
}
}  // namespace

QString programFolder() {
    const QString& overridden = programFolderOverride();
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

void setProgramFolder(const QString& folder) {
    programFolderOverride() = folder;
}

QString dataFolder() {
    return programFolder() + QStringLiteral("/base");
}

QString databasePath(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("orvelin.db"));
}

}  // namespace store
