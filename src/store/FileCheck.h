#pragma once

#include "store/Schema.h"

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

// What can be wrong with one table file, told in Russian sentences that name the file. The
// engine's own words follow in parentheses so that a support request still carries them.
namespace kz {

enum class FileProblem {
    None,
    Missing,       // no such file
    Locked,        // another program holds it; may pass
    Damaged,       // the engine finds the file malformed or cut short
    NotATable,     // not a table file at all
    NoTable,       // a table file without the table the program expects
    MissingFields, // the table lacks fields of the schema
    ReadOnly,      // the file or folder refuses writes
    DiskFull,      // no room left on the disk for a write
    Empty,         // a file of 0 bytes: its table is gone
    CannotOpen,    // the system refuses the file
    Other,
};

struct FileCheck {
    FileProblem problem = FileProblem::None;
    QString message; // empty when there is no problem
    QStringList missingFields;
    explicit operator bool() const { return problem != FileProblem::None; }
};

// The kind of an engine failure, from its code and text.
FileProblem engineProblem(const QSqlError& error);
FileProblem engineProblem(const QString& engineText, int code = -1);

// The Russian sentence for a failure on the file at path; the engine text, when given, follows in
// parentheses. tableName names the missing table, fields the missing fields.
QString fileProblemMessage(FileProblem problem, const QString& path, const QString& engineText = {},
                           const QString& tableName = {}, const QStringList& fields = {});
FileCheck engineFailure(const QString& path, const QSqlError& error);

// Checks a file opened on db (attached under schema, or the main one when empty): its table is
// there with every field of def and can be read; deep also has the engine check every page, which
// finds a file cut short before its rows are read.
FileCheck checkTableFile(QSqlDatabase& db, const QString& path, const TableDef& def,
                         const QString& schema = {}, bool deep = true);

// Opens the file on a private connection without waiting for a lock and checks it deeply. A write
// cut short by a crash (its rollback journal left beside the file) is rolled back first, so a file
// that can be recovered is never called unreadable.
FileCheck checkTableFileAt(const QString& path, const TableDef& def);

// Files found held by another program, with the message that said so. A look-up tries such a file
// without waiting and fails at once with the same message; opening it again clears the mark.
void rememberLocked(const QString& path, const QString& message);
void forgetLocked(const QString& path);
// The message a file was found locked with; empty when it is not known locked.
QString knownLocked(const QString& path);

} // namespace kz
