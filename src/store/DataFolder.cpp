#include "store/DataFolder.h"

#include "core/common/Paths.h"
#include "store/DataFiles.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

const QString stampName = QStringLiteral(".shipped-tables");

// The shipped sources by name, size and time: while they and every table file stay as the last update
// left them, checking each table again at every start would find nothing to do.
QByteArray shippedStamp(const QString& sources) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QDir dir(sources);
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name))
        hash.addData(u"%1 %2 %3\n"_s.arg(fi.fileName())
                         .arg(fi.size())
                         .arg(fi.lastModified().toMSecsSinceEpoch())
                         .toUtf8());
    return hash.result().toHex();
}

bool updatedFrom(const QString& folder, const QByteArray& stamp) {
    QFile f(QDir(folder).filePath(stampName));
    if (!f.open(QIODevice::ReadOnly) || f.readAll() != stamp)
        return false;
    QList<TableDef> all = dataModuleTables();
    all << windowTables();
    for (const TableDef& def : std::as_const(all))
        if (!QFileInfo::exists(QDir(folder).filePath(def.fileName)))
            return false;
    return true;
}

} // namespace

QString perUserDataFolder() {
    // The application name doubles as the window title; the folder is named after the program file.
    const QString title = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("kelvorzu2"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(title);
    return folder;
}

DataFolderChoice chooseDataFolder(const QString& executableDir, const QString& requested) {
    DataFolderChoice choice;
    if (!requested.isEmpty()) {
        choice.path = QDir(requested).absolutePath();
        if (!QFileInfo(choice.path).isDir())
            choice.error =
                u"Ошибка. Папка данных %1 не найдена."_s.arg(QDir::toNativeSeparators(choice.path));
        return choice;
    }
    const QFileInfo beside(QDir(executableDir).filePath(QStringLiteral("Data")));
    if (beside.isDir() && beside.isWritable()) {
        choice.path = beside.absoluteFilePath();
        return choice;
    }
    choice.perUser = true;
    choice.path = perUserDataFolder();
    const QString sources = shippedTablesDir();
    const QByteArray stamp = shippedStamp(sources);
    if (updatedFrom(choice.path, stamp))
        return choice;
    const DataBuildReport report = buildDataFolder(sources, choice.path);
    if (!report.failed()) {
        QFile f(QDir(choice.path).filePath(stampName));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(stamp);
    }
    for (const QString& table : report.keptEdited)
        choice.notes << u"Таблица %1 изменена в программе и сохранена без строк новой версии; "
                        u"поставляемые строки возвращает kelvorzu2-data --restore %2 %3"_s.arg(
                            table, QDir::toNativeSeparators(sources), QDir::toNativeSeparators(choice.path));
    choice.notes << report.errors;
    return choice;
}

bool useDataFolder(const QString& requested) {
    const QString executableDir = QCoreApplication::applicationDirPath();
    setApplicationFolder(shippedFolderOf(executableDir));
    const DataFolderChoice choice = chooseDataFolder(executableDir, requested);
    QTextStream err(stderr);
    for (const QString& note : choice.notes)
        err << note << '\n';
    if (!choice.error.isEmpty()) {
        err << choice.error << '\n';
        return false;
    }
    setDataFolder(choice.path);
    return true;
}

} // namespace kz
