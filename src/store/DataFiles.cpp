#include "store/DataFiles.h"

#include "store/FileCheck.h"
#include "core/common/NumberText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

std::atomic<int> builderConnections{0};

// Runs work on a private connection to one file and removes the connection afterwards.
template <typename Work> bool withFile(const QString& path, Work work) {
    const QString name = QStringLiteral("kz_build_%1").arg(++builderConnections);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open())
            ok = work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

QByteArray contentHash(QSqlDatabase& db, const TableDef& def) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(def.sqlName())))
        return {};
    const int n = q.record().count();
    while (q.next()) {
        for (int i = 0; i < n; ++i) {
            const QVariant v = q.value(i);
            hash.addData(v.isNull() ? QByteArray("\x01") : v.toString().toUtf8());
            hash.addData(QByteArray("\x1f"));
        }
        hash.addData(QByteArray("\x1e"));
    }
    return hash.result().toHex();
}

QString meta(QSqlDatabase& db, const QString& key) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT value FROM _kelvor_meta WHERE key = ?"));
    q.addBindValue(key);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return {};
}

QByteArray sourceHash(const TableDef& def, const QString& sourcePath) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const auto& s : createStatements(def))
        hash.addData(s.toUtf8());
    QFile f(sourcePath);
    if (f.open(QIODevice::ReadOnly))
        hash.addData(f.readAll());
    return hash.result().toHex();
}

bool fillRows(QSqlDatabase& db, const TableDef& def, const SourceTable& src, QString* error) {
    QList<int> map;
    for (const auto& h : src.header) {
        const int i = def.fieldIndex(h);
        if (i < 0) {
            *error = u"%1: неизвестное поле %2"_s.arg(def.fileName, h);
            return false;
        }
        map << i;
    }
    QStringList cols, marks;
    for (int i : map) {
        cols << QLatin1Char('"') + def.fields[i].name + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                  .arg(def.sqlName(), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    int line = 0;
    for (const auto& row : src.rows) {
        ++line;
        if (row.size() != map.size()) {
            *error = u"%1: в строке %2 ячеек %3, а нужно %4"_s
                         .arg(def.fileName)
                         .arg(line)
                         .arg(row.size())
                         .arg(map.size());
            return false;
        }
        for (int c = 0; c < map.size(); ++c) {
            const FieldDef& f = def.fields[map[c]];
            const QString& cell = row[c];
            if (cell.isEmpty()) {
                q.addBindValue(QVariant());
            } else if (f.type == FieldType::String) {
                q.addBindValue(cell);
            } else {
                const auto v = parseNumber(cell);
                if (!v) {
                    *error = u"%1: строка %2: \"%3\" - не число"_s
                                 .arg(def.fileName)
                                 .arg(line)
                                 .arg(cell);
                    return false;
                }
                if (f.type == FieldType::Float)
                    q.addBindValue(double(*v));
                else
                    q.addBindValue(static_cast<qlonglong>(*v));
            }
        }
        if (!q.exec()) {
            *error = u"%1: строка %2 не записана (%3)"_s.arg(def.fileName).arg(line).arg(q.lastError().text());
            return false;
        }
    }
    return true;
}

// Whether a file is as an older build wrote it: its layout's source differs from today's and its
// rows are the ones written then.
bool unchangedOlderBuild(const QString& path, const TableDef& def, const QByteArray& wantHash) {
    QString storedSource, storedContent;
    QByteArray nowContent;
    withFile(path, [&](QSqlDatabase& db) {
        storedSource = meta(db, QStringLiteral("source_hash"));
        storedContent = meta(db, QStringLiteral("content_hash"));
        nowContent = contentHash(db, def);
        return true;
    });
    return !storedSource.isEmpty() && storedSource != QString::fromLatin1(wantHash) &&
           !storedContent.isEmpty() && storedContent == QString::fromLatin1(nowContent);
}

} // namespace

bool readSourceTable(const QString& path, SourceTable& table, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = u"не удается прочитать %1"_s.arg(path);
        return false;
    }
    table = {};
    const QString text = QString::fromUtf8(f.readAll());
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList cells = line.split(QLatin1Char('\t'));
        if (table.header.isEmpty())
            table.header = cells;
        else
            table.rows << cells;
    }
    if (table.header.isEmpty()) {
        if (error)
            *error = u"в %1 нет строки заголовка"_s.arg(path);
        return false;
    }
    return true;
}

bool writeTableFile(const TableDef& def, const SourceTable* rows, const QString& path, QString* error) {
    QFile::remove(path);
    QString problem;
    const bool ok = withFile(path, [&](QSqlDatabase& db) {
        db.transaction();
        QSqlQuery q(db);
        for (const auto& s : createStatements(def))
            if (!q.exec(s)) {
                problem = q.lastError().text();
                return false;
            }
        if (!q.exec(QStringLiteral("CREATE TABLE _kelvor_meta (key TEXT PRIMARY KEY, value TEXT)"))) {
            problem = q.lastError().text();
            return false;
        }
        if (rows && !fillRows(db, def, *rows, &problem))
            return false;
        return db.commit();
    });
    if (!ok) {
        QFile::remove(path);
        if (error)
            *error = problem.isEmpty() ? u"не удается записать %1"_s.arg(path)
                                     : u"не удается записать %1 (%2)"_s.arg(path, problem);
    }
    return ok;
}

QList<ReferenceTableState> referenceTableStates(const QString& dataDir) {
    QList<ReferenceTableState> states;
    for (const TableDef& def : dataModuleTables()) {
        if (def.role != TableRole::Reference)
            continue;
        ReferenceTableState table{def.fileName};
        const QString path = QDir(dataDir).filePath(def.fileName);
        if (QFileInfo::exists(path)) {
            table.state = TableState::Unreadable;
            if (!checkTableFileAt(path, def))
                withFile(path, [&](QSqlDatabase& db) {
                    // The build notes the rows it wrote; any edit since changes them.
                    const QString written = meta(db, QStringLiteral("content_hash"));
                    const QByteArray now = contentHash(db, def);
                    if (!now.isEmpty())
                        table.state = !written.isEmpty() && written == QString::fromLatin1(now)
                                          ? TableState::AsShipped
                                          : TableState::Edited;
                    return true;
                });
        }
        states << table;
    }
    return states;
}

QString tableStateText(TableState state) {
    switch (state) {
    case TableState::AsShipped:
        return u"как поставлена"_s;
    case TableState::Edited:
        return u"изменена после поставки"_s;
    case TableState::Missing:
        return u"нет файла"_s;
    case TableState::Unreadable:
        return u"не читается"_s;
    }
    return {};
}

DataBuildReport buildDataFolder(const QString& sourceDir, const QString& dataDir, bool restoreReference) {
    DataBuildReport report;
    QDir().mkpath(dataDir);
    QList<TableDef> all = dataModuleTables();
    all << windowTables();
    for (const TableDef& def : std::as_const(all)) {
        const QString target = QDir(dataDir).filePath(def.fileName);
        const QString sourcePath = QDir(sourceDir).filePath(def.fileName + QStringLiteral(".tsv"));
        const bool exists = QFileInfo::exists(target);
        const QByteArray wantHash = sourceHash(def, sourcePath);
        if (exists) {
            // A damaged or locked file is neither read as edited nor replaced: what it still holds
            // may be recovered. A reference table this build wrote for an older layout and nobody
            // edited since is rebuilt as usual, and so is any reference table on restore.
            const FileCheck check = checkTableFileAt(target, def);
            const bool lacksItsTable =
                check.problem == FileProblem::MissingFields || check.problem == FileProblem::NoTable;
            const bool olderLayout = def.role == TableRole::Reference && lacksItsTable &&
                                     (restoreReference || unchangedOlderBuild(target, def, wantHash));
            if (check && !olderLayout) {
                switch (check.problem) {
                case FileProblem::Locked:
                    report.locked << check.message;
                    break;
                case FileProblem::Damaged:
                case FileProblem::NotATable:
                case FileProblem::NoTable:
                case FileProblem::MissingFields:
                case FileProblem::Empty:
                    report.damaged << check.message;
                    break;
                default:
                    report.refused << check.message;
                    break;
                }
                continue;
            }
        }
        if (exists && def.role == TableRole::UserData) {
            // Saved sets are never replaced; a table still empty gets the shipped rows it lacks
            // (selection settings that came with a later version).
            SourceTable rows;
            QString error;
            if (!QFileInfo::exists(sourcePath) || !readSourceTable(sourcePath, rows, &error) ||
                rows.rows.isEmpty())
                continue;
            bool filled = false;
            withFile(target, [&](QSqlDatabase& db) {
                QSqlQuery count(db);
                if (!count.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(def.sqlName())) ||
                    !count.next() || count.value(0).toInt() != 0)
                    return false;
                count.finish();
                db.transaction();
                if (!fillRows(db, def, rows, &error)) {
                    db.rollback();
                    return false;
                }
                filled = db.commit();
                return filled;
            });
            if (filled)
                report.rebuilt << def.fileName;
            else if (!error.isEmpty())
                report.errors << error;
            continue;
        }
        if (exists && !restoreReference) {
            QString storedSource, storedContent;
            QByteArray nowContent;
            withFile(target, [&](QSqlDatabase& db) {
                storedSource = meta(db, QStringLiteral("source_hash"));
                storedContent = meta(db, QStringLiteral("content_hash"));
                nowContent = contentHash(db, def);
                return true;
            });
            if (storedSource == QString::fromLatin1(wantHash))
                continue;
            if (storedContent.isEmpty() || storedContent != QString::fromLatin1(nowContent)) {
                report.keptEdited << def.fileName;
                continue;
            }
        }
        SourceTable rows;
        QString error;
        const bool haveRows = QFileInfo::exists(sourcePath) && readSourceTable(sourcePath, rows, &error);
        if (!error.isEmpty()) {
            report.errors << error;
            continue;
        }
        // Write beside the target and swap, so a failed build never leaves a half-written table.
        const QString fresh = target + QStringLiteral(".new");
        if (!writeTableFile(def, haveRows ? &rows : nullptr, fresh, &error)) {
            report.errors << error;
            continue;
        }
        withFile(fresh, [&](QSqlDatabase& db) {
            QSqlQuery q(db);
            q.prepare(QStringLiteral("INSERT INTO _kelvor_meta (key, value) VALUES (?, ?), (?, ?)"));
            q.addBindValue(QStringLiteral("source_hash"));
            q.addBindValue(QString::fromLatin1(wantHash));
            q.addBindValue(QStringLiteral("content_hash"));
            q.addBindValue(QString::fromLatin1(contentHash(db, def)));
            return q.exec();
        });
        if (exists && !QFile::remove(target)) {
            QFile::remove(fresh);
            report.errors << u"не удается заменить %1"_s.arg(target);
            continue;
        }
        if (!QFile::rename(fresh, target)) {
            report.errors << u"не удается записать %1"_s.arg(target);
            continue;
        }
        (exists ? report.rebuilt : report.created) << def.fileName;
    }
    return report;
}

} // namespace kz
