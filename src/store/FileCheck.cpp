#include "store/FileCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

std::atomic<int> checkConnections{0};

// The engine's primary result codes the program tells apart.
enum EngineCode {
    Perm = 3,
    Busy = 5,
    LockedCode = 6,
    ReadOnlyCode = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADb = 26,
};

QString engineText(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), "\"\""_L1) + QLatin1Char('"');
}

} // namespace

FileProblem engineProblem(const QString& text, int code) {
    const QString lower = text.toLower();
    switch (code & 0xff) {
    case Busy:
    case LockedCode:
        return FileProblem::Locked;
    case ReadOnlyCode:
        return FileProblem::ReadOnly;
    case Full:
        return FileProblem::DiskFull;
    case Corrupt:
        return FileProblem::Damaged;
    case NotADb:
        return FileProblem::NotATable;
    case CantOpen:
    case Perm:
        return FileProblem::CannotOpen;
    default:
        break;
    }
    if (lower.contains("locked"_L1) || lower.contains("busy"_L1))
        return FileProblem::Locked;
    if (lower.contains("readonly"_L1) || lower.contains("read-only"_L1))
        return FileProblem::ReadOnly;
    if (lower.contains("disk is full"_L1))
        return FileProblem::DiskFull;
    if (lower.contains("malformed"_L1) || lower.contains("corrupt"_L1))
        return FileProblem::Damaged;
    if (lower.contains("not a database"_L1))
        return FileProblem::NotATable;
    if (lower.contains("no such table"_L1))
        return FileProblem::NoTable;
    if (lower.contains("no such column"_L1))
        return FileProblem::MissingFields;
    if (lower.contains("unable to open"_L1))
        return FileProblem::CannotOpen;
    return FileProblem::Other;
}

FileProblem engineProblem(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return engineProblem(engineText(error), ok ? code : -1);
}

QString fileProblemMessage(FileProblem problem, const QString& path, const QString& engineText,
                           const QString& tableName, const QStringList& fields) {
    QString text;
    switch (problem) {
    case FileProblem::None:
        return {};
    case FileProblem::Missing:
        text = u"Ошибка. Файл "_s + path + u" не найден."_s;
        break;
    case FileProblem::Locked:
        text = u"Ошибка. Файл "_s + path + u" занят другой программой."_s;
        break;
    case FileProblem::Damaged:
        text = u"Ошибка. Файл "_s + path + u" поврежден."_s;
        break;
    case FileProblem::NotATable:
        text = u"Ошибка. Файл "_s + path + u" не является файлом таблицы."_s;
        break;
    case FileProblem::NoTable:
        text = tableName.isEmpty() ? u"Ошибка. В файле "_s + path + u" нет нужной таблицы."_s
                                   : u"Ошибка. В файле "_s + path + u" нет таблицы "_s + tableName + u"."_s;
        break;
    case FileProblem::MissingFields:
        if (fields.size() == 1)
            text = u"Ошибка. В файле "_s + path + u" нет поля "_s + fields.first() + u"."_s;
        else if (fields.isEmpty())
            text = u"Ошибка. В файле "_s + path + u" нет нужного поля."_s;
        else
            text = u"Ошибка. В файле "_s + path + u" нет полей "_s + fields.join(", "_L1) + u"."_s;
        break;
    case FileProblem::ReadOnly:
        text = u"Ошибка. Запись в файл "_s + path +
               u" невозможна: файл или папка доступны только для чтения."_s;
        break;
    case FileProblem::DiskFull:
        text = u"Ошибка. Запись в файл "_s + path + u" невозможна: на диске нет свободного места."_s;
        break;
    case FileProblem::Empty:
        text = u"Ошибка. Файл "_s + path + u" пуст (0 байт): таблицы в нем нет."_s;
        break;
    case FileProblem::CannotOpen:
        text = u"Ошибка. Файл "_s + path + u" не удается открыть."_s;
        break;
    case FileProblem::Other:
        text = u"Ошибка при работе с файлом "_s + path + u"."_s;
        break;
    }
    const QString detail = engineText.trimmed();
    if (!detail.isEmpty()) {
        text.chop(1);
        text += " ("_L1 + detail + ")."_L1;
    }
    return text;
}

FileCheck engineFailure(const QString& path, const QSqlError& error) {
    FileCheck check;
    check.problem = engineProblem(error);
    QString table;
    if (check.problem == FileProblem::NoTable) {
        static const QRegularExpression noTable(u"no such table: (?:\\w+\\.)?(\\w+)"_s);
        table = noTable.match(engineText(error)).captured(1);
    } else if (check.problem == FileProblem::MissingFields) {
        static const QRegularExpression noColumn(u"no such column: (?:\\w+\\.)?(\\w+)"_s);
        if (const QString f = noColumn.match(engineText(error)).captured(1); !f.isEmpty())
            check.missingFields << f;
    }
    check.message = fileProblemMessage(check.problem, path, engineText(error), table, check.missingFields);
    return check;
}

FileCheck checkTableFile(QSqlDatabase& db, const QString& path, const TableDef& def, const QString& schema,
                         bool deep) {
    const QString prefix = schema.isEmpty() ? QString() : quotedName(schema) + QLatin1Char('.');
    // The engine takes a file of 0 bytes for an empty table file; what it held is gone.
    if (const QFileInfo file(path); file.isFile() && file.size() == 0)
        return {FileProblem::Empty, fileProblemMessage(FileProblem::Empty, path), {}};
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // An unknown double-quoted name would read as a text constant, so the fields are looked up
    // by name before anything is read.
    if (!q.exec(u"PRAGMA "_s + prefix + u"table_info("_s + quotedName(def.sqlName()) + u")"_s))
        return engineFailure(path, q.lastError());
    QSet<QString> present;
    while (q.next())
        present.insert(q.value(1).toString().toLower());
    q.finish();
    if (present.isEmpty()) {
        // Reading the schema of a file that is not a table file fails only here.
        if (!q.exec(u"SELECT count(*) FROM "_s + prefix + u"sqlite_master"_s))
            return engineFailure(path, q.lastError());
        q.finish();
        FileCheck check{FileProblem::NoTable, {}, {}};
        check.message = fileProblemMessage(FileProblem::NoTable, path, {}, def.sqlName());
        return check;
    }
    FileCheck check;
    for (const FieldDef& f : def.fields)
        if (!present.contains(f.name.toLower()))
            check.missingFields << f.name;
    if (!check.missingFields.isEmpty()) {
        check.problem = FileProblem::MissingFields;
        check.message = fileProblemMessage(FileProblem::MissingFields, path, {}, {}, check.missingFields);
        return check;
    }
    if (deep) {
        if (!q.exec(u"PRAGMA "_s + prefix + u"quick_check"_s))
            return engineFailure(path, q.lastError());
        const QString verdict = q.next() ? q.value(0).toString() : QString();
        q.finish();
        if (verdict != "ok"_L1) {
            check.problem = FileProblem::Damaged;
            check.message = fileProblemMessage(FileProblem::Damaged, path, verdict);
            return check;
        }
    }
    QStringList cols;
    for (const FieldDef& f : def.fields)
        cols << quotedName(f.name);
    if (!q.exec(u"SELECT "_s + cols.join(", "_L1) + u" FROM "_s + prefix + quotedName(def.sqlName())))
        return engineFailure(path, q.lastError());
    while (q.next()) {
    }
    return {};
}

namespace {

FileCheck checkReadOnly(const QString& path, const TableDef& def) {
    const QString name = u"kz_check_%1"_s.arg(++checkConnections);
    FileCheck check;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0;QSQLITE_OPEN_READONLY"_s);
        if (!db.open())
            check = engineFailure(path, db.lastError());
        else
            check = checkTableFile(db, path, def);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return check;
}

// A connection that may write rolls back what a crashed write left in the journal as soon as it
// reads the file.
void rollBackInterruptedWrite(const QString& path) {
    const QString name = u"kz_rollback_%1"_s.arg(++checkConnections);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=0"_s);
        if (db.open())
            QSqlQuery(db).exec(u"SELECT count(*) FROM sqlite_master"_s);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QMutex lockedMutex;
QHash<QString, QString>& lockedFiles() {
    static QHash<QString, QString> files;
    return files;
}

QString lockKey(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

FileCheck checkTableFileAt(const QString& path, const TableDef& def) {
    FileCheck check = checkReadOnly(path, def);
    // A read-only connection cannot roll back a hot journal and says the file is read-only.
    if (check.problem == FileProblem::ReadOnly && QFileInfo(path + u"-journal"_s).size() > 0) {
        rollBackInterruptedWrite(path);
        check = checkReadOnly(path, def);
    }
    return check;
}

void rememberLocked(const QString& path, const QString& message) {
    QMutexLocker hold(&lockedMutex);
    lockedFiles().insert(lockKey(path), message);
}

void forgetLocked(const QString& path) {
    QMutexLocker hold(&lockedMutex);
    lockedFiles().remove(lockKey(path));
}

QString knownLocked(const QString& path) {
    QMutexLocker hold(&lockedMutex);
    return lockedFiles().value(lockKey(path));
}

} // namespace kz
