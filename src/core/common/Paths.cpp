#include "core/common/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace kz {

namespace {
QString& base() {
    static QString folder;
    return folder;
}
QString folder(const char* name) {
    if (base().isEmpty())
        setApplicationFolder(QCoreApplication::applicationDirPath());
    return base() + QLatin1String(name) + QLatin1Char('/');
}
} // namespace

void setApplicationFolder(const QString& baseDir) {
    base() = QDir::cleanPath(baseDir) + QLatin1Char('/');
}

QString dataDir() {
    return folder("Data");
}
QString pictureDir() {
    return folder("Picture");
}
QString helpDir() {
    return folder("help");
}

} // namespace kz
