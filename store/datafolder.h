#pragma once

#include <QString>

namespace store {

// The folder of the executable. Tests point it at a temporary folder of their own.
QString programFolder();
void setProgramFolder(const QString& folder);

// The data folder, computed again each time a window opens its data.
QString dataFolder();

// The one database file inside a data folder.
QString databasePath(const QString& dataFolder);

}  // namespace store
