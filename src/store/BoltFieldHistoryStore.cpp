#include "store/BoltFieldHistoryStore.h"

#include "store/FileCheck.h"
#include "store/Schema.h"
#include "core/common/NumberText.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

// The value a text stores in a field of that type: null when empty or no number.
QVariant bound(const FieldDef& field, const QString& text) {
    const auto v = parseNumber(text);
    if (!v)
        return QVariant(field.type == FieldType::Integer ? QMetaType(QMetaType::Int)
                                                         : QMetaType(QMetaType::Double));
    if (field.type == FieldType::Integer)
        return int(std::llround(double(*v)));
    return double(*v);
}

// One connection per save, closed with it.
class Connection {
public:
    explicit Connection(const QString& path) : name_(u"kz_histmk_%1"_s.arg(++counter())) {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name_);
        db.setDatabaseName(path);
    }
    ~Connection() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            if (db.isOpen())
                db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    QString name_;
};

} // namespace

bool saveBoltFieldSet(const QString& dataDir, const BoltFieldSet& set, QString* error) {
    const TableDef* master = findTableDef(u"histmk0.db"_s);
    const TableDef* detail = findTableDef(u"histmk1.db"_s);
    if (!master || !detail) {
        *error = u"Ошибка. Таблицы истории фундаментного поля не описаны."_s;
        return false;
    }
    const QString masterPath = QDir(dataDir).filePath(master->fileName);
    const QString detailPath = QDir(dataDir).filePath(detail->fileName);
    for (const QString& path : {masterPath, detailPath})
        if (!QFileInfo::exists(path)) {
            *error = fileProblemMessage(FileProblem::Missing, path);
            return false;
        }

    Connection connection(masterPath);
    QSqlDatabase db = connection.db();
    if (!db.open()) {
        *error = engineFailure(masterPath, db.lastError()).message;
        return false;
    }
    QString failedPath = masterPath;
    QSqlError failure;
    const auto run = [&](QSqlQuery& q, const QString& path) {
        if (q.exec())
            return true;
        failure = q.lastError();
        failedPath = path;
        return false;
    };
    {
        QSqlQuery attach(db);
        attach.prepare(u"ATTACH DATABASE ? AS detail"_s);
        attach.addBindValue(detailPath);
        if (!run(attach, detailPath)) {
            *error = engineFailure(failedPath, failure).message;
            return false;
        }
    }
    const QString masterTable = u"main.\""_s + master->sqlName() + u"\""_s;
    const QString detailTable = u"detail.\""_s + detail->sqlName() + u"\""_s;
    const FieldDef* nameDef = master->field(u"Name"_s);
    const QString name = nameDef && nameDef->size > 0 ? set.name.left(nameDef->size) : set.name;

    bool ok = db.transaction();
    if (!ok)
        failure = db.lastError();
    qint64 kod = -1;
    if (ok) {
        // The same name in any letter case is the same set.
        QSqlQuery find(db);
        find.prepare(u"SELECT \"Kod\", \"Name\" FROM "_s + masterTable + u" ORDER BY \"Kod\""_s);
        ok = run(find, masterPath);
        while (ok && find.next())
            if (find.value(1).toString().compare(name, Qt::CaseInsensitive) == 0) {
                kod = find.value(0).toLongLong();
                break;
            }
    }
    QStringList columns;
    QVariantList values;
    for (auto it = set.fields.cbegin(); it != set.fields.cend(); ++it)
        if (const FieldDef* f = master->field(it.key()); f && it.key() != u"Kod"_s && it.key() != u"Name"_s) {
            columns << u"\""_s + it.key() + u"\""_s;
            values << bound(*f, it.value());
        }
    if (ok) {
        QSqlQuery write(db);
        if (kod >= 0) {
            QStringList assignments{u"\"Name\" = ?"_s};
            for (const QString& c : std::as_const(columns))
                assignments << c + u" = ?"_s;
            write.prepare(u"UPDATE "_s + masterTable + u" SET "_s + assignments.join(u", "_s) +
                          u" WHERE \"Kod\" = ?"_s);
            write.addBindValue(name);
            for (const QVariant& v : std::as_const(values))
                write.addBindValue(v);
            write.addBindValue(kod);
            ok = run(write, masterPath);
        } else {
            QStringList marks(columns.size() + 1, u"?"_s);
            write.prepare(u"INSERT INTO "_s + masterTable + u" (\"Name\""_s +
                          (columns.isEmpty() ? QString() : u", "_s + columns.join(u", "_s)) +
                          u") VALUES ("_s + marks.join(u", "_s) + u")"_s);
            write.addBindValue(name);
            for (const QVariant& v : std::as_const(values))
                write.addBindValue(v);
            ok = run(write, masterPath);
            if (ok)
                kod = write.lastInsertId().toLongLong();
        }
    }
    if (ok) {
        QSqlQuery remove(db);
        remove.prepare(u"DELETE FROM "_s + detailTable + u" WHERE \"Kod0\" = ?"_s);
        remove.addBindValue(kod);
        ok = run(remove, detailPath);
    }
    for (int i = 0; ok && i < set.distances.size(); ++i) {
        const QStringList& row = set.distances[i];
        QSqlQuery insert(db);
        insert.prepare(u"INSERT INTO "_s + detailTable +
                       u" (\"Kod0\", \"Xi\", \"Yi\", \"Zi\") VALUES (?, ?, ?, ?)"_s);
        insert.addBindValue(kod);
        for (int c = 0; c < 3; ++c)
            insert.addBindValue(bound(*detail->field(u"Xi"_s), row.value(c)));
        ok = run(insert, detailPath);
    }
    if (ok && !db.commit()) {
        failure = db.lastError();
        ok = false;
    }
    if (!ok) {
        db.rollback();
        *error = engineFailure(failedPath, failure).message;
    }
    QSqlQuery detach(db);
    detach.exec(u"DETACH DATABASE detail"_s);
    return ok;
}

} // namespace kz
