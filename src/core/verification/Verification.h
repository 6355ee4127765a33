#pragma once

#include "core/verification/CaseComparison.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The worked cases shipped with the program (Verification/<window class>.json, the format of the
// test program's case files) run against the tables as they stand now: one row per case, saying
// whether the calculator still computes what its references say and, when it does not, which
// tables the result depends on.
namespace kz {

class FrameData;

struct VerificationRow {
    QString file;       // "TGorizFm.json"
    QString calculator; // window class
    QString caption;    // the calculator's caption; the class when it is not built
    QString name;
    QString source; // where the expected values come from
    QString note;
    QList<OutputCheck> outputs;
    QString error; // the case is malformed or could not run
    // The reference tables the calculator read, the changed ones first with their change; filled
    // for a failing row only.
    QStringList dependsOn;
    QStringList warnings; // what the case lacks without failing for it (a source)
    bool passed = false;

    // "EditVS1 = 24,54; messages = []": every expected output, or the one when there is one.
    QString expectedText() const;
    QString obtainedText() const;
    // The deviation farthest from 0 among the numeric outputs.
    std::optional<double> deviation() const;
    // What went wrong, one line: the error or the outputs that differ, and the tables.
    QString failureText() const;
};

struct VerificationOptions {
    // Asked before every case; true ends the run with the rows done so far.
    std::function<bool()> stopRequested;
    // After every case: cases done and all cases.
    std::function<void(int done, int total)> progress;
    // The file of a table named by the data module or a query ("TableTruboprov", "KorGrunt0");
    // the name itself when not set.
    std::function<QString(const QString&)> tableFile;
    // Reference tables that are not as shipped, by file, with what became of them ("изменена
    // после поставки"): a failing row names them first.
    QHash<QString, QString> changedTables;
};

struct VerificationRun {
    QList<VerificationRow> rows;
    int total = 0;        // cases found
    bool stopped = false; // stopped before the last case
    QString problem;      // the folder holds no cases

    int failures() const;
    bool allPassed() const { return problem.isEmpty() && !stopped && failures() == 0; }
};

// Every *.json of the folder, in name order, each case from the calculator's opening state.
VerificationRun runVerification(const QString& folder, const FrameData& data,
                                const VerificationOptions& options = {});

} // namespace kz
