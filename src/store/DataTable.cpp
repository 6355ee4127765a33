#include "store/DataTable.h"

#include "store/FileCheck.h"
#include "core/common/Messenger.h"
#include "core/common/NumberText.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

std::atomic<int> connectionCounter{0};

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

QVariant normalised(const FieldDef& f, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    switch (f.type) {
    case FieldType::String: {
        QString s = v.toString();
        if (f.size > 0 && s.size() > f.size)
            s.truncate(f.size);
        return s;
    }
    case FieldType::Integer:
    case FieldType::AutoInc:
        return v.toLongLong();
    case FieldType::Float:
        return v.toDouble();
    }
    return v;
}

} // namespace

DataTable::DataTable(const TableDef& def, QObject* parent) : QObject(parent), def_(def) {
    setObjectName(def.component);
    if (def.filtered) {
        setFilter(def.filter);
        filtered_ = true;
    }
    if (!def.masterFile.isEmpty())
        indexName_ = QStringLiteral("Kod0");
}

DataTable::~DataTable() {
    close();
    for (DataTable* d : std::as_const(details_))
        if (d->master_ == this)
            d->master_ = nullptr;
    if (master_)
        master_->details_.removeAll(this);
}

bool DataTable::open(const QString& dataDir) {
    if (isOpen())
        return true;
    lockedAtOpen_ = false;
    dataDir_ = dataDir;
    path_ = QDir::cleanPath(dataDir) + QLatin1Char('/') + def_.fileName;
    if (!QFileInfo(path_).isFile())
        return fail(StoreError::Kind::Unavailable, fileProblemMessage(FileProblem::Missing, path_));
    connection_ = QStringLiteral("kz_table_%1").arg(++connectionCounter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        db.setDatabaseName(path_);
        // A locked file is reported at once instead of being waited for; the table is opened
        // again when it is next asked for.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        const FileCheck check = db.open() ? checkTableFile(db, path_, def_) : engineFailure(path_, db.lastError());
        if (check) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connection_);
            connection_.clear();
            lockedAtOpen_ = check.problem == FileProblem::Locked;
            // Look-ups over the same file then fail at once instead of waiting for it.
            if (lockedAtOpen_)
                rememberLocked(path_, check.message);
            return fail(lockedAtOpen_ ? StoreError::Kind::Locked : StoreError::Kind::Unavailable, check.message);
        }
        // Writes may wait a moment for another program to let go of the file.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = 2000"));
    }
    forgetLocked(path_);
    state_ = State::Browse;
    lastError_ = {};
    reload(-1);
    emit stateChanged();
    return true;
}

bool DataTable::reopenIfLocked() {
    if (isOpen())
        return true;
    if (!lockedAtOpen_)
        return false;
    Messenger* keep = reporter_;
    reporter_ = nullptr;
    const bool ok = open(dataDir_);
    reporter_ = keep;
    return ok;
}

void DataTable::close() {
    lockedAtOpen_ = false;
    if (!isOpen())
        return;
    state_ = State::Inactive;
    rows_.clear();
    current_ = -1;
    eof_ = bof_ = true;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
    emit stateChanged();
    emit rowsChanged();
    emit currentChanged();
}

bool DataTable::fail(StoreError::Kind kind, const QString& message, bool postError) {
    lastError_ = {kind, message};
    if (postError && onPostError)
        onPostError(*this, lastError_);
    if (reporter_)
        reporter_->showMessage(lastError_.message);
    return false;
}

QVariant DataTable::masterValue() const {
    if (!master_ || !master_->isOpen() || master_->isEmpty())
        return {};
    return master_->value(masterField_);
}

QString DataTable::orderClause() const {
    QStringList parts;
    const IndexDef* idx = indexName_.isEmpty() ? nullptr : def_.index(indexName_);
    if (!idx) {
        for (const auto& i : def_.indices)
            if (i.name.isEmpty())
                idx = &i;
    }
    if (idx)
        for (const auto& f : idx->fields)
            parts << quoted(f) + (idx->caseInsensitive ? QStringLiteral(" COLLATE NOCASE") : QString());
    parts << QStringLiteral("rowid");
    return parts.join(QStringLiteral(", "));
}

void DataTable::reload(qint64 keepRowid) {
    rows_.clear();
    if (!isOpen())
        return;
    QStringList where;
    QVariantList binds;
    if (master_) {
        const QVariant mv = masterValue();
        if (mv.isNull()) {
            setCurrent(-1);
            emit rowsChanged();
            return;
        }
        where << quoted(detailField_) + QStringLiteral(" = ?");
        binds << mv;
    }
    if (filtered_)
        for (const auto& c : std::as_const(conditions_)) {
            where << quoted(def_.fields[c.field].name) + QStringLiteral(" = ?");
            binds << c.value;
        }
    QStringList cols;
    for (const auto& f : def_.fields)
        cols << quoted(f.name);
    QString sql = QStringLiteral("SELECT rowid, %1 FROM %2")
                      .arg(cols.join(QStringLiteral(", ")), quoted(def_.sqlName()));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + orderClause();
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const auto& b : binds)
        q.addBindValue(b);
    int keep = -1;
    if (q.exec()) {
        const int n = int(def_.fields.size());
        while (q.next()) {
            Row r;
            r.rowid = q.value(0).toLongLong();
            r.values.resize(n);
            for (int i = 0; i < n; ++i)
                r.values[i] = normalised(def_.fields[i], q.value(i + 1));
            if (r.rowid == keepRowid)
                keep = int(rows_.size());
            rows_.append(std::move(r));
        }
    } else {
        lastError_ = {StoreError::Kind::Other, engineFailure(path_, q.lastError()).message};
    }
    emit rowsChanged();
    setCurrent(keep >= 0 ? keep : (rows_.isEmpty() ? -1 : 0));
    bof_ = current_ <= 0;
    eof_ = rows_.isEmpty();
}

void DataTable::refresh() {
    if (!isOpen())
        return;
    reload(current_ >= 0 ? rows_[current_].rowid : -1);
}

void DataTable::setCurrent(int row, bool notify) {
    current_ = row;
    if (notify)
        emit currentChanged();
}

bool DataTable::checkBrowseMode() {
    if (!isEditing())
        return true;
    return post();
}

void DataTable::first() {
    if (!isOpen() || !checkBrowseMode())
        return;
    setCurrent(rows_.isEmpty() ? -1 : 0);
    bof_ = true;
    eof_ = rows_.isEmpty();
}

void DataTable::next() {
    if (!isOpen() || !checkBrowseMode())
        return;
    if (current_ + 1 < rows_.size()) {
        setCurrent(current_ + 1);
        bof_ = false;
        eof_ = false;
    } else {
        eof_ = true;
    }
}

void DataTable::prior() {
    if (!isOpen() || !checkBrowseMode())
        return;
    if (current_ > 0) {
        setCurrent(current_ - 1);
        eof_ = false;
        bof_ = false;
    } else {
        bof_ = true;
    }
}

void DataTable::last() {
    if (!isOpen() || !checkBrowseMode())
        return;
    setCurrent(int(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.isEmpty();
}

bool DataTable::moveTo(int row) {
    if (!isOpen() || row < 0 || row >= rows_.size() || !checkBrowseMode())
        return false;
    if (row != current_)
        setCurrent(row);
    bof_ = row == 0;
    eof_ = false;
    return true;
}

bool DataTable::locate(const QString& field, const QVariant& value) {
    return locate(QStringList{field}, QVariantList{value});
}

bool DataTable::locate(const QStringList& fields, const QVariantList& values) {
    if (!isOpen() || fields.size() != values.size() || !checkBrowseMode())
        return false;
    QList<int> idx;
    QVariantList want;
    for (int i = 0; i < fields.size(); ++i) {
        const int f = def_.fieldIndex(fields[i]);
        if (f < 0)
            return false;
        idx << f;
        want << normalised(def_.fields[f], values[i]);
    }
    for (int r = 0; r < rows_.size(); ++r) {
        bool match = true;
        for (int i = 0; i < idx.size() && match; ++i) {
            const QVariant& have = rows_[r].values[idx[i]];
            if (have.isNull() || want[i].isNull())
                match = have.isNull() && want[i].isNull();
            else if (def_.fields[idx[i]].type == FieldType::String)
                match = have.toString() == want[i].toString();
            else if (def_.fields[idx[i]].type == FieldType::Float)
                match = have.toDouble() == want[i].toDouble();
            else
                match = have.toLongLong() == want[i].toLongLong();
        }
        if (match) {
            moveTo(r);
            return true;
        }
    }
    return false;
}

QVariant DataTable::value(int fieldIndex) const {
    if (fieldIndex < 0 || fieldIndex >= def_.fields.size())
        return {};
    if (isEditing())
        return buffer_.value(fieldIndex);
    if (current_ < 0 || current_ >= rows_.size())
        return {};
    return rows_[current_].values[fieldIndex];
}

QVariant DataTable::value(const QString& field) const {
    return value(def_.fieldIndex(field));
}

QVariant DataTable::valueAt(int row, int fieldIndex) const {
    // An inserted row is not among the stored ones: the grid shows its buffer apart.
    if (row == current_ && state_ == State::Edit)
        return value(fieldIndex);
    if (row < 0 || row >= rows_.size() || fieldIndex < 0 || fieldIndex >= def_.fields.size())
        return {};
    return rows_[row].values[fieldIndex];
}

QString DataTable::displayText(const FieldDef& field, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    switch (field.type) {
    case FieldType::String:
        return v.toString();
    case FieldType::Integer:
    case FieldType::AutoInc:
        return QString::number(v.toLongLong());
    case FieldType::Float:
        return field.displayFormat.isEmpty() ? formatGeneral(v.toDouble())
                                             : formatMask(v.toDouble(), field.displayFormat);
    }
    return {};
}

QString DataTable::text(const QString& field) const {
    const int i = def_.fieldIndex(field);
    return i < 0 ? QString() : displayText(def_.fields[i], value(i));
}

bool DataTable::setValue(const QString& field, const QVariant& v) {
    const int i = def_.fieldIndex(field);
    if (i < 0 || !isEditing())
        return false;
    if (def_.fields[i].type == FieldType::AutoInc && state_ == State::Edit)
        return false;
    buffer_[i] = normalised(def_.fields[i], v);
    return true;
}

bool DataTable::setText(const QString& field, const QString& text) {
    const int i = def_.fieldIndex(field);
    if (i < 0 || !isEditing())
        return false;
    const FieldDef& f = def_.fields[i];
    if (text.isEmpty())
        return setValue(field, QVariant());
    if (f.type == FieldType::String)
        return setValue(field, text);
    const auto number = parseNumber(text);
    const bool whole = number && *number == static_cast<long double>(static_cast<long long>(*number));
    // A number the field cannot hold would come back as infinity or 0: refused, not stored.
    const bool fits = number && (f.type == FieldType::Float ? survivesStorage(*number)
                                                            : whole && std::fabs(*number) <= 2147483647.0L);
    if (!fits)
        return fail(StoreError::Kind::BadValue,
                    QLatin1Char('"') + echoedText(text) + u"\" - некорректное значение для поля "_s + f.title() +
                        QLatin1Char('.'));
    if (f.type == FieldType::Float)
        return setValue(field, double(*number));
    return setValue(field, static_cast<long long>(*number));
}

void DataTable::setFilter(const QString& expression) {
    filterText_ = expression;
    conditions_.clear();
    static const QRegularExpression term(
        QStringLiteral(R"re(^\s*\[([^\]]+)\]\s*=\s*('([^']*)'|"([^"]*)"|(\S+))\s*$)re"));
    const auto parts = expression.split(
        QRegularExpression(QStringLiteral(R"(\s+and\s+)"), QRegularExpression::CaseInsensitiveOption),
        Qt::SkipEmptyParts);
    for (const auto& part : parts) {
        const auto m = term.match(part);
        if (!m.hasMatch())
            continue;
        const int f = def_.fieldIndex(m.captured(1));
        if (f < 0)
            continue;
        QString raw = m.captured(3);
        if (raw.isEmpty())
            raw = m.captured(4);
        if (raw.isEmpty())
            raw = m.captured(5);
        QVariant v = raw;
        if (def_.fields[f].type != FieldType::String) {
            double d = 0;
            if (tryParseNumber(QString(raw).replace(QLatin1Char('.'), QLatin1Char(',')), d))
                v = d;
        }
        conditions_.append({f, normalised(def_.fields[f], v)});
    }
    if (filtered_ && isOpen())
        reload(-1);
}

void DataTable::setFiltered(bool on) {
    if (filtered_ == on)
        return;
    filtered_ = on;
    if (isOpen())
        reload(-1);
}

void DataTable::setMaster(DataTable* master, const QString& masterField, const QString& detailField) {
    if (master_) {
        master_->details_.removeAll(this);
        disconnect(master_, nullptr, this, nullptr);
    }
    master_ = master;
    masterField_ = masterField;
    detailField_ = detailField;
    if (master_) {
        master_->details_.append(this);
        connect(master_, &DataTable::currentChanged, this, [this] {
            if (isOpen() && !master_->isEditing())
                reload(-1);
        });
    }
    if (isOpen())
        reload(-1);
}

void DataTable::setIndexName(const QString& name) {
    indexName_ = name;
    refresh();
}

bool DataTable::insert() {
    if (!isOpen() || !checkBrowseMode())
        return false;
    if (beforeInsert && !beforeInsert(*this))
        return false;
    buffer_ = QVector<QVariant>(def_.fields.size());
    if (master_) {
        const int f = def_.fieldIndex(detailField_);
        if (f >= 0)
            buffer_[f] = normalised(def_.fields[f], masterValue());
    }
    state_ = State::Insert;
    emit stateChanged();
    return true;
}

bool DataTable::edit() {
    if (!isOpen())
        return false;
    if (isEditing())
        return true;
    if (rows_.isEmpty())
        return false;
    if (beforeEdit && !beforeEdit(*this))
        return false;
    buffer_ = rows_[current_].values;
    state_ = State::Edit;
    emit stateChanged();
    return true;
}

void DataTable::cancel() {
    if (!isEditing())
        return;
    state_ = State::Browse;
    buffer_.clear();
    emit stateChanged();
    emit currentChanged();
}

StoreError DataTable::classify(const QString& engineText) const {
    const QString lower = engineText.toLower();
    if (lower.contains(QStringLiteral("unique constraint")) ||
        lower.contains(QStringLiteral("primary key"))) {
        // A named secondary unique index shows its name in the engine text.
        for (const auto& i : def_.indices)
            if (i.unique && !i.name.isEmpty() &&
                engineText.contains(def_.sqlName() + QLatin1Char('_') + i.name))
                return {StoreError::Kind::DuplicateIndexKey,
                        QStringLiteral("Key violation. Index: ") + i.name};
        return {StoreError::Kind::DuplicateKey, QStringLiteral("Key violation.")};
    }
    const FileProblem problem = engineProblem(engineText);
    const QString message = fileProblemMessage(problem, path_, engineText);
    switch (problem) {
    case FileProblem::ReadOnly:
        return {StoreError::Kind::ReadOnly, fileProblemMessage(problem, path_)};
    case FileProblem::Locked:
        return {StoreError::Kind::Locked, message};
    case FileProblem::Damaged:
    case FileProblem::NotATable:
    case FileProblem::NoTable:
    case FileProblem::CannotOpen:
        return {StoreError::Kind::Unavailable, message};
    default:
        return {StoreError::Kind::Other, message};
    }
}

bool DataTable::runWrite(const QString& sql, const QVariantList& binds, qint64* insertId) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.prepare(sql)) {
        const StoreError e = classify(q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                                             : q.lastError().databaseText());
        return fail(e.kind, e.message, true);
    }
    for (const auto& b : binds)
        q.addBindValue(b);
    if (!q.exec()) {
        const StoreError e = classify(q.lastError().databaseText().isEmpty() ? q.lastError().text()
                                                                             : q.lastError().databaseText());
        return fail(e.kind, e.message, true);
    }
    if (insertId)
        *insertId = q.lastInsertId().toLongLong();
    return true;
}

bool DataTable::post() {
    if (!isEditing())
        return isOpen();
    if (beforePost && !beforePost(*this))
        return false;
    for (int i = 0; i < def_.fields.size(); ++i)
        if (def_.fields[i].required && buffer_[i].isNull())
            return fail(StoreError::Kind::RequiredField,
                        u"Поле \""_s + def_.fields[i].title() +
                            u"\" должно иметь значение."_s,
                        true);
    if (master_ && master_->isOpen()) {
        const int f = def_.fieldIndex(detailField_);
        const QVariant key = f >= 0 ? buffer_[f] : QVariant();
        QSqlQuery q(QSqlDatabase::database(master_->connection_, false));
        q.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                      .arg(quoted(master_->def_.sqlName()), quoted(masterField_)));
        q.addBindValue(key);
        if (key.isNull() || !q.exec() || !q.next())
            return fail(StoreError::Kind::MasterMissing, QStringLiteral("Master record missing"), true);
    }
    QStringList cols;
    QVariantList binds;
    for (int i = 0; i < def_.fields.size(); ++i) {
        if (def_.fields[i].type == FieldType::AutoInc && (state_ == State::Edit || buffer_[i].isNull()))
            continue;
        cols << quoted(def_.fields[i].name);
        binds << buffer_[i];
    }
    qint64 rowid = -1;
    if (state_ == State::Insert) {
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql = cols.isEmpty()
                                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(def_.sqlName()))
                                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoted(def_.sqlName()), cols.join(QStringLiteral(", ")),
                                           marks.join(QStringLiteral(", ")));
        if (!runWrite(sql, binds, &rowid))
            return false;
    } else {
        QStringList sets;
        for (const auto& c : cols)
            sets << c + QStringLiteral(" = ?");
        rowid = rows_[current_].rowid;
        binds << rowid;
        if (!runWrite(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                          .arg(quoted(def_.sqlName()), sets.join(QStringLiteral(", "))),
                      binds))
            return false;
    }
    state_ = State::Browse;
    buffer_.clear();
    lastError_ = {};
    emit stateChanged();
    reload(rowid);
    return true;
}

bool DataTable::remove() {
    if (!isOpen() || !checkBrowseMode() || rows_.isEmpty())
        return false;
    if (beforeDelete && !beforeDelete(*this))
        return false;
    const Row row = rows_[current_];
    for (DataTable* d : std::as_const(details_)) {
        if (!d->isOpen())
            continue;
        QSqlQuery q(QSqlDatabase::database(d->connection_, false));
        q.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? LIMIT 1")
                      .arg(quoted(d->def_.sqlName()), quoted(d->detailField_)));
        q.addBindValue(value(d->masterField_));
        if (q.exec() && q.next())
            return fail(StoreError::Kind::MasterHasDetails,
                        QStringLiteral("Master has detail records. Cannot delete or modify"), true);
    }
    if (!runWrite(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(def_.sqlName())), {row.rowid}))
        return false;
    const int at = current_;
    reload(-1);
    if (!rows_.isEmpty())
        setCurrent(std::min(at, int(rows_.size()) - 1));
    return true;
}

} // namespace kz
