#pragma once

#include "store/Schema.h"

#include <QObject>
#include <QVariant>
#include <QVector>
#include <functional>

namespace kz {

class Messenger;

// The distinct errors the store reports; the data module turns them into Russian texts.
struct StoreError {
    enum class Kind {
        None,
        DuplicateKey,      // primary key taken
        DuplicateIndexKey, // a unique secondary index taken
        MasterHasDetails,  // deleting a row that detail rows point at
        LookupRange,       // value outside a lookup table
        MasterMissing,     // a detail row whose master does not exist
        RequiredField,     // a required field left empty
        BadValue,          // text that does not convert to the field's type
        ReadOnly,          // the file or folder refuses writes
        Unavailable,       // missing, damaged, not a table file or lacking fields
        Locked,            // another program holds the file
        Other,
    };
    Kind kind = Kind::None;
    QString message;
    explicit operator bool() const { return kind != Kind::None; }
};

// One table file of the data folder, with a current row, filter, master-detail link, index
// order, edit buffer and the hooks that guard writes. Rows are read into memory: the tables
// are small and every change is written through at once.
class DataTable : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit DataTable(const TableDef& def, QObject* parent = nullptr);
    ~DataTable() override;

    const TableDef& def() const { return def_; }
    QString fileName() const { return def_.fileName; }
    QString filePath() const { return path_; }

    // Opens the file dataDir + file name. A missing, unreadable or foreign file fails with a
    // message naming the file; the table then stays closed.
    bool open(const QString& dataDir);
    // A table left closed because its file was locked is opened again, silently; true when it is
    // open now. Tables closed for any other reason stay closed.
    bool reopenIfLocked();
    bool lockedAtOpen() const { return lockedAtOpen_; }
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }

    // Rows visible under the filter and master link, in index order.
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.isEmpty(); }
    int recNo() const { return current_; } // 0-based, -1 when empty
    void first();
    void next();
    void prior();
    void last();
    bool moveTo(int row);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool locate(const QString& field, const QVariant& value);
    bool locate(const QStringList& fields, const QVariantList& values);

    // Field access on the current row (or the edit buffer while editing).
    QVariant value(const QString& field) const;
    QVariant value(int fieldIndex) const;
    QString text(const QString& field) const; // display text; null shows empty
    QString asString(const QString& field) const { return value(field).toString(); }
    double asFloat(const QString& field) const { return value(field).toDouble(); }
    int asInteger(const QString& field) const { return value(field).toInt(); }
    bool isNull(const QString& field) const { return value(field).isNull(); }
    // A field of any visible row without moving the current row (grids paint from it); the
    // current row shows its edit buffer while edited (an inserted row is read with value()).
    QVariant valueAt(int row, int fieldIndex) const;
    bool setValue(const QString& field, const QVariant& value);
    // Converts with the decimal comma; empty text stores null.
    bool setText(const QString& field, const QString& text);
    // Display text of any value of a field, as grids show it.
    static QString displayText(const FieldDef& field, const QVariant& value);

    // "[N]=1", "[KodTip]='4'", several joined by " and "; empty means none.
    void setFilter(const QString& expression);
    QString filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // Show only rows whose detailField equals the master's current masterField.
    void setMaster(DataTable* master, const QString& masterField = QStringLiteral("Kod"),
                   const QString& detailField = QStringLiteral("Kod0"));
    DataTable* master() const { return master_; }
    const QList<DataTable*>& details() const { return details_; }

    // Empty name: primary order.
    void setIndexName(const QString& name);
    QString indexName() const { return indexName_; }

    bool insert();
    bool append() { return insert(); }
    bool edit();
    bool post();
    void cancel();
    bool remove();
    // Re-reads the rows, keeping the current row where it still exists.
    void refresh();

    // A hook returns false to abort the operation silently (it reports on its own).
    std::function<bool(DataTable&)> beforeInsert, beforeEdit, beforePost, beforeDelete;
    // May rewrite the error's text before it is reported.
    std::function<void(DataTable&, StoreError&)> onPostError;

    void setReporter(Messenger* reporter) { reporter_ = reporter; }
    Messenger* reporter() const { return reporter_; }
    const StoreError& lastError() const { return lastError_; }

signals:
    void currentChanged();
    void rowsChanged();
    void stateChanged();

private:
    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> values;
    };
    struct Condition {
        int field;
        QVariant value;
    };

    QString connection() const { return connection_; }
    bool checkBrowseMode();
    void setCurrent(int row, bool notify = true);
    bool fail(StoreError::Kind kind, const QString& message, bool postError = false);
    StoreError classify(const QString& engineText) const;
    QVariant masterValue() const;
    bool runWrite(const QString& sql, const QVariantList& binds, qint64* insertId = nullptr);
    void reload(qint64 keepRowid);
    QString orderClause() const;

    TableDef def_;
    QString path_;
    QString dataDir_;
    bool lockedAtOpen_ = false;
    QString connection_;
    State state_ = State::Inactive;
    QVector<Row> rows_;
    int current_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    QVector<QVariant> buffer_;
    QString filterText_;
    QList<Condition> conditions_;
    bool filtered_ = false;
    DataTable* master_ = nullptr;
    QString masterField_;
    QString detailField_;
    QList<DataTable*> details_;
    QString indexName_;
    Messenger* reporter_ = nullptr;
    StoreError lastError_;
};

} // namespace kz
