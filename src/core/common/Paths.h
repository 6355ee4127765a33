#pragma once

#include <QString>

namespace kz {

// The folders beside the executable, each with a trailing separator. Set once at start-up.
QString dataDir();
QString pictureDir();
QString helpDir();
// Points the folders at baseDir + "Data/", "Picture/", "help/" (tests use a folder of their own).
void setApplicationFolder(const QString& baseDir);

} // namespace kz
