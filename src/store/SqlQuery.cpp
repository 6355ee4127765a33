#include "store/SqlQuery.h"

#include "store/FileCheck.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

QSqlDatabase queryConnection() {
    const QString name = QStringLiteral("kz_query_%1").arg(quintptr(QThread::currentThreadId()));
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.open();
    return db;
}

} // namespace

SqlQuery::SqlQuery(const QString& dataDir) : dataDir_(dataDir) {}

void SqlQuery::bindValue(const QString& name, const QVariant& value) {
    const QString key = name.startsWith(QLatin1Char(':')) ? name : QLatin1Char(':') + name;
    for (auto& b : binds_)
        if (b.first == key) {
            b.second = value;
            return;
        }
    binds_.append({key, value});
}

QStringList SqlQuery::referencedTables(const QString& sql) {
    static const QRegularExpression word(QStringLiteral(R"(\b[A-Za-z_][A-Za-z0-9_]*\b)"));
    QStringList files;
    auto it = word.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        // Parameter names and column qualifiers are not tables.
        const qsizetype start = m.capturedStart();
        if (start > 0 && (sql[start - 1] == QLatin1Char(':') || sql[start - 1] == QLatin1Char('.')))
            continue;
        if (const TableDef* def = findTableBySqlName(m.captured()); def && !files.contains(def->fileName))
            files << def->fileName;
    }
    return files;
}

bool SqlQuery::open() {
    close();
    QSqlDatabase db = queryConnection();
    if (!db.isOpen()) {
        error_ = u"Ошибка. Запрос к таблицам не выполнен ("_s + db.lastError().text() + u")."_s;
        return false;
    }
    QStringList attached;
    const auto detachAll = [&] {
        for (const auto& a : std::as_const(attached)) {
            QSqlQuery d(db);
            d.exec(QStringLiteral("DETACH DATABASE \"%1\"").arg(a));
        }
    };
    for (const QString& file : referencedTables(sql_)) {
        const QString path = QDir(dataDir_).filePath(file);
        // A word that names a table may be a column or alias too: attach only what exists,
        // the engine names a table that is really missing.
        if (!QFileInfo(path).isFile())
            continue;
        const QString alias = QStringLiteral("f_") + findTableDef(file)->sqlName();
        // A file found locked costs one wait only: later runs try it without waiting and, while it
        // is still held, fail at once with the message of the first failure.
        const QString lockedBefore = knownLocked(path);
        QSqlQuery(db).exec(u"PRAGMA busy_timeout = "_s + (lockedBefore.isEmpty() ? u"5000"_s : u"0"_s));
        const auto failWith = [&](const FileCheck& check) {
            if (check.problem == FileProblem::Locked) {
                error_ = lockedBefore.isEmpty() ? check.message : lockedBefore;
                rememberLocked(path, error_);
            } else {
                error_ = check.message;
            }
            detachAll();
            return false;
        };
        QSqlQuery a(db);
        a.prepare(QStringLiteral("ATTACH DATABASE ? AS \"%1\"").arg(alias));
        a.addBindValue(path);
        if (!a.exec())
            return failWith(engineFailure(path, a.lastError()));
        attached << alias;
        // A file lacking a field would otherwise read the field's name as a text constant.
        if (const FileCheck check = checkTableFile(db, path, *findTableDef(file), alias, false))
            return failWith(check);
        if (!lockedBefore.isEmpty())
            forgetLocked(path);
    }
    bool ok = true;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.prepare(sql_)) {
            ok = false;
        } else {
            for (const auto& b : std::as_const(binds_))
                q.bindValue(b.first, b.second);
            ok = q.exec();
        }
        if (ok) {
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i)
                columns_ << rec.fieldName(i);
            while (q.next()) {
                QVector<QVariant> row(rec.count());
                for (int i = 0; i < rec.count(); ++i)
                    row[i] = q.value(i);
                rows_.append(std::move(row));
            }
        } else {
            const QString engine = q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                                           : q.lastError().databaseText();
            static const QRegularExpression noTable(QStringLiteral("no such table: (?:\\w+\\.)?(\\w+)"));
            const QStringList files = referencedTables(sql_);
            if (const auto m = noTable.match(engine); m.hasMatch() && findTableBySqlName(m.captured(1)))
                error_ = fileProblemMessage(FileProblem::Missing,
                                            QDir(dataDir_).filePath(findTableBySqlName(m.captured(1))->fileName));
            else if (files.size() == 1)
                error_ = engineFailure(QDir(dataDir_).filePath(files.first()), q.lastError()).message;
            else
                error_ = u"Ошибка. Запрос к таблицам "_s + files.join(", "_L1) + u" не выполнен ("_s + engine + u")."_s;
        }
    }
    detachAll();
    open_ = ok;
    current_ = 0;
    return ok;
}

void SqlQuery::close() {
    rows_.clear();
    columns_.clear();
    current_ = 0;
    open_ = false;
    error_.clear();
}

QVariant SqlQuery::value(int column) const {
    if (current_ < 0 || current_ >= rows_.size() || column < 0 || column >= columns_.size())
        return {};
    return rows_[current_][column];
}

QVariant SqlQuery::value(const QString& column) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return value(i);
    return {};
}

} // namespace kz
