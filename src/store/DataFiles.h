#pragma once

#include "store/Schema.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kz {

// Rows of a table as kept in the repository: a tab-separated text with a header of field names,
// '#' comment lines, numbers with the decimal comma and empty cells for nulls.
struct SourceTable {
    QStringList header;
    QList<QStringList> rows;
};

bool readSourceTable(const QString& path, SourceTable& table, QString* error);

// What a build of the data folder did, file by file.
struct DataBuildReport {
    QStringList created;    // new files
    QStringList rebuilt;    // shipped data changed and the file was not edited by the user
    QStringList keptEdited; // reference tables the user edited: left as they are
    QStringList damaged;    // messages about files that cannot be read: left untouched
    QStringList locked;     // messages about files another program holds: left untouched
    QStringList refused;    // messages about files the system will not let be read or written
    QStringList errors;
    bool failed() const {
        return !errors.isEmpty() || !damaged.isEmpty() || !locked.isEmpty() || !refused.isEmpty();
    }
};

// Brings the data folder up to date with the shipped sources. History and selection tables are
// created only when missing (an empty one gets the shipped rows); a reference table is rebuilt when its
// source changed, unless the user edited it since it was written (then it is kept and reported). With
// restoreReference set, every reference table is rebuilt from its source whatever was edited.
// A file that is damaged, locked or refused by the system is reported and never touched, restore or
// not; a reference table lacking its fields is rebuilt only when restoring or when it is an
// unedited build of an older layout.
DataBuildReport buildDataFolder(const QString& sourceDir, const QString& dataDir,
                                bool restoreReference = false);

// Whether a reference table in the data folder still holds the rows the data build wrote.
enum class TableState { AsShipped, Edited, Missing, Unreadable };
struct ReferenceTableState {
    QString fileName;
    TableState state = TableState::Missing;
};
QList<ReferenceTableState> referenceTableStates(const QString& dataDir);
// "как поставлена", "изменена после поставки", "нет файла", "не читается".
QString tableStateText(TableState state);

// Writes one table file (replacing it) with the given rows.
bool writeTableFile(const TableDef& def, const SourceTable* rows, const QString& path, QString* error);

} // namespace kz
