#include "store/SelectionSets.h"

#include "store/DataFiles.h"
#include "store/FileCheck.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

const QString masterFile = u"podbor0.DB"_s;
const QString detailFile = u"podbor1.DB"_s;

int connections = 0;

// One connection on the master file with the detail file attached as "d", so that a single
// transaction covers both files.
class SetsConnection {
public:
    SetsConnection(const QString& master, const QString& detail)
        : name_(u"kz_podbor_%1"_s.arg(++connections)), master_(master), detail_(detail) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name_);
        db.setDatabaseName(master);
        // Another connection of the program may be reading the files (the loader's grids).
        db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=2000"_s);
        if (!db.open()) {
            fail(master, db.lastError().text(), db.lastError());
            return;
        }
        QSqlQuery attach(db);
        attach.prepare(u"ATTACH DATABASE :path AS d"_s);
        attach.bindValue(u":path"_s, detail);
        if (!attach.exec()) {
            fail(detail, attach.lastError().text(), attach.lastError());
            return;
        }
        ok_ = true;
    }
    ~SetsConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen()) {
                QSqlQuery(db).exec(u"DETACH DATABASE d"_s);
                db.close();
            }
        }
        QSqlDatabase::removeDatabase(name_);
    }
    SetsConnection(const SetsConnection&) = delete;
    SetsConnection& operator=(const SetsConnection&) = delete;

    bool ok() const { return ok_; }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }
    const QString& error() const { return error_; }

    // Runs a statement with bound values; on failure records the message naming the file.
    bool exec(QSqlQuery& q, const QString& sql, const QVariantList& binds, bool onDetail) {
        q.prepare(sql);
        for (const QVariant& v : binds)
            q.addBindValue(v);
        if (q.exec())
            return true;
        fail(onDetail ? detail_ : master_, q.lastError().text(), q.lastError());
        return false;
    }

    void fail(const QString& path, const QString& text, const QSqlError& error) {
        ok_ = false;
        if (error_.isEmpty())
            error_ = fileProblemMessage(engineProblem(error), path, text);
    }

private:
    QString name_;
    QString master_;
    QString detail_;
    bool ok_ = false;
    QString error_;
};

void setError(QString* error, const QString& message) {
    if (error)
        *error = message;
}

} // namespace

SelectionSets::SelectionSets(const QString& dataDir) : dataDir_(dataDir) {}

QString SelectionSets::masterPath() const {
    return QDir(dataDir_).filePath(masterFile);
}

QString SelectionSets::detailPath() const {
    return QDir(dataDir_).filePath(detailFile);
}

bool SelectionSets::ensureFiles(QString* error) const {
    for (const QString& file : {masterFile, detailFile}) {
        const QString path = QDir(dataDir_).filePath(file);
        if (QFileInfo::exists(path))
            continue;
        const TableDef* def = findTableDef(file);
        QDir().mkpath(dataDir_);
        if (!def || !writeTableFile(*def, nullptr, path, error))
            return false;
    }
    return true;
}

std::optional<int> SelectionSets::save(const QString& name, double r, const QList<SelectionSetRow>& rows,
                                       QString* error) const {
    if (!ensureFiles(error))
        return std::nullopt;
    SetsConnection c(masterPath(), detailPath());
    if (!c.ok()) {
        setError(error, c.error());
        return std::nullopt;
    }
    QSqlDatabase db = c.db();
    if (!db.transaction()) {
        setError(error,
                 fileProblemMessage(engineProblem(db.lastError()), masterPath(), db.lastError().text()));
        return std::nullopt;
    }
    std::optional<int> kod;
    {
        QSqlQuery q(db);
        // The engine compares only Latin letters without case: Cyrillic names are matched here.
        if (c.exec(q, u"SELECT Kod, Name FROM main.podbor0 ORDER BY Kod"_s, {}, false))
            while (q.next())
                if (q.value(1).toString().compare(name, Qt::CaseInsensitive) == 0) {
                    kod = q.value(0).toInt();
                    break;
                }
        q.finish();
        if (c.ok() && kod) {
            c.exec(q, u"UPDATE main.podbor0 SET Name = ?, R = ? WHERE Kod = ?"_s, {name, r, *kod}, false);
        } else if (c.ok()) {
            if (c.exec(q, u"INSERT INTO main.podbor0 (Name, R) VALUES (?, ?)"_s, {name, r}, false))
                kod = q.lastInsertId().toInt();
        }
        if (c.ok())
            c.exec(q, u"DELETE FROM d.podbor1 WHERE Kod0 = ?"_s, {*kod}, true);
        for (const SelectionSetRow& row : rows) {
            if (!c.ok())
                break;
            c.exec(q, u"INSERT INTO d.podbor1 (Kod0, Param, BValue, EValue, Shag) VALUES (?, ?, ?, ?, ?)"_s,
                   {*kod, row.param, row.start, row.end, row.step}, true);
        }
    }
    if (!c.ok() || !db.commit()) {
        if (c.ok())
            c.fail(masterPath(), db.lastError().text(), db.lastError());
        db.rollback();
        setError(error, c.error());
        return std::nullopt;
    }
    return kod;
}

bool SelectionSets::remove(int kod, QString* error) const {
    if (!ensureFiles(error))
        return false;
    SetsConnection c(masterPath(), detailPath());
    if (!c.ok()) {
        setError(error, c.error());
        return false;
    }
    QSqlDatabase db = c.db();
    if (!db.transaction()) {
        setError(error,
                 fileProblemMessage(engineProblem(db.lastError()), masterPath(), db.lastError().text()));
        return false;
    }
    {
        QSqlQuery q(db);
        // The rows first: a set never stays without its name, nor rows without their set.
        if (c.exec(q, u"DELETE FROM d.podbor1 WHERE Kod0 = ?"_s, {kod}, true))
            c.exec(q, u"DELETE FROM main.podbor0 WHERE Kod = ?"_s, {kod}, false);
    }
    if (!c.ok() || !db.commit()) {
        if (c.ok())
            c.fail(masterPath(), db.lastError().text(), db.lastError());
        db.rollback();
        setError(error, c.error());
        return false;
    }
    return true;
}

QList<SelectionSet> SelectionSets::all(QString* error) const {
    QList<SelectionSet> sets;
    if (!ensureFiles(error))
        return sets;
    SetsConnection c(masterPath(), detailPath());
    if (!c.ok()) {
        setError(error, c.error());
        return sets;
    }
    QSqlQuery q(c.db());
    if (!c.exec(q, u"SELECT Kod, Name, R FROM main.podbor0 ORDER BY Kod"_s, {}, false)) {
        setError(error, c.error());
        return sets;
    }
    while (q.next())
        sets << SelectionSet{q.value(0).toInt(), q.value(1).toString(), q.value(2).toDouble(), {}};
    q.finish();
    for (SelectionSet& set : sets) {
        if (!c.exec(q, u"SELECT Param, BValue, EValue, Shag FROM d.podbor1 WHERE Kod0 = ? ORDER BY Kod"_s,
                    {set.kod}, true)) {
            setError(error, c.error());
            return {};
        }
        while (q.next())
            set.rows << SelectionSetRow{q.value(0).toString(), q.value(1).toDouble(), q.value(2).toDouble(),
                                        q.value(3).toDouble()};
        q.finish();
    }
    return sets;
}

std::optional<SelectionSet> SelectionSets::find(int kod, QString* error) const {
    QString problem;
    for (const SelectionSet& set : all(&problem))
        if (set.kod == kod)
            return set;
    setError(error, problem);
    return std::nullopt;
}

} // namespace kz
