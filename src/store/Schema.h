#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kz {

enum class FieldType { String, Integer, Float, AutoInc };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Float;
    int size = 0; // characters, strings only
    bool required = false;
    QString label;         // column title in grids; empty means the field name
    int width = 0;         // display width in characters; 0 means default
    bool visible = true;   // shown in grids
    QString displayFormat; // number mask such as "0.#####"
    QString title() const { return label.isEmpty() ? name : label; }
};

struct IndexDef {
    QString name; // empty for the primary index
    QStringList fields;
    bool unique = false;
    bool caseInsensitive = false;
};

// Whether rebuilding the shipped data may replace a table file.
enum class TableRole {
    Reference, // shipped reference data; rebuilt from sources unless the user edited it
    UserData,  // history and selection settings; created once, never replaced
};

struct TableDef {
    QString component; // table object name, e.g. "TableRaion"
    QString source;    // data source name, e.g. "SourceRaion"
    QString fileName;  // file in the data folder, e.g. "raion.db"
    QList<FieldDef> fields;
    QList<IndexDef> indices;
    QString masterFile; // file name of the master for a Kod0 detail table
    QString filter;     // design-time filter such as "[N]=1"
    bool filtered = false;
    TableRole role = TableRole::Reference;

    // Name of the table inside its file and in queries: the file name without extension.
    QString sqlName() const;
    const FieldDef* field(const QString& name) const;
    int fieldIndex(const QString& name) const;
    bool hasAutoIncKey() const;
    const IndexDef* index(const QString& name) const;
};

// The tables of the data module, in the order they are opened.
const QList<TableDef>& dataModuleTables();
// The tables owned by single windows: history.DB, podbor0.DB, podbor1.DB.
const QList<TableDef>& windowTables();
// Any table by its file name (exact), or nullptr.
const TableDef* findTableDef(const QString& fileName);
// Any table by its name in queries (case-insensitive), or nullptr.
const TableDef* findTableBySqlName(const QString& sqlName);
// The file of a table named by its object name, file name or name in queries; the name itself
// when no table has it.
QString tableFileName(const QString& name);

// CREATE statements for an empty table file of this definition.
QStringList createStatements(const TableDef& def);

} // namespace kz
