#pragma once

#include <QString>
#include <QStringList>

namespace kz {

// Which folder holds the tables, and what bringing it up to date had to say.
struct DataFolderChoice {
    QString path;
    QString error;     // the folder asked for cannot be used: the program does not start
    QStringList notes; // tables kept as the user edited them, files that could not be written
    bool perUser = false;
};

// The folder named on the command line when given; otherwise Data/ beside the executable while it can
// be written (a build, a copied folder); otherwise the user's own folder, built from the shipped table
// sources at the first start and brought up to date by later versions under the data build's rules
// (history and selection settings never replaced, edited reference tables kept).
DataFolderChoice chooseDataFolder(const QString& executableDir, const QString& requested);

// Points the program at what it ships beside the executable and at the tables chosen as above; the
// notes and the reason it cannot go to the error stream. False when the folder asked for is not
// there. The application object must exist.
bool useDataFolder(const QString& requested);

// The user's own data folder (QStandardPaths::AppDataLocation of kelvorzu2).
QString perUserDataFolder();

} // namespace kz
