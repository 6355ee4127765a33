#pragma once

#include <QString>

namespace kz {

// The program's folders, each with a trailing separator. Set once at start-up.
// What the program ships (Picture/, help/, tables/) is beside the executable in a build or a copied
// folder, and in ../share/kelvorzu2 when the program is installed.
QString dataDir();
QString pictureDir();
QString helpDir();
// The table sources the data folder is built from.
QString shippedTablesDir();
// The worked cases the program checks itself against, shipped beside the tables.
QString verificationDir();
// Points the folders at baseDir + "Data/", "Picture/", "help/", "Verification/" (tests use a
// folder of their own).
void setApplicationFolder(const QString& baseDir);
// The data folder alone, when it is not the one beside the shipped files (--data, a per-user folder).
void setDataFolder(const QString& dir);
// The folder holding what the program ships, for an executable in executableDir.
QString shippedFolderOf(const QString& executableDir);

} // namespace kz
