#include "core/common/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kz {

namespace {
QString& base() {
    static QString folder;
    return folder;
}
QString& dataFolder() {
    static QString folder;
    return folder;
}
QString withSeparator(const QString& dir) {
    return QDir::cleanPath(dir) + QLatin1Char('/');
}
QString folder(const char* name) {
    if (base().isEmpty())
        base() = withSeparator(shippedFolderOf(QCoreApplication::applicationDirPath()));
    return base() + QLatin1String(name) + QLatin1Char('/');
}
} // namespace

QString shippedFolderOf(const QString& executableDir) {
    const QDir beside(executableDir);
    if (beside.exists(QStringLiteral("Data")) || beside.exists(QStringLiteral("Picture")))
        return QDir::cleanPath(executableDir);
    const QString installed = beside.filePath(QStringLiteral("../share/kelvorzu2"));
    return QFileInfo(installed).isDir() ? QDir::cleanPath(installed) : QDir::cleanPath(executableDir);
}

void setApplicationFolder(const QString& baseDir) {
    base() = withSeparator(baseDir);
    dataFolder().clear();
}

void setDataFolder(const QString& dir) {
    dataFolder() = withSeparator(dir);
}

QString dataDir() {
    return dataFolder().isEmpty() ? folder("Data") : dataFolder();
}
QString pictureDir() {
    return folder("Picture");
}
QString helpDir() {
    return folder("help");
}
QString shippedTablesDir() {
    return folder("tables");
}
QString verificationDir() {
    return folder("Verification");
}

} // namespace kz
