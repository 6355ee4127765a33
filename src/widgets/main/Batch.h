#pragma once

#include "core/batch/CaseRunner.h"
#include "store/StoredFrameData.h"

#include <QStringList>

namespace kz {

struct CalculatorEnvironment;

// The batch mode over the program's tables: cases run on calculator sessions, without windows
// (CaseRunner.h), and each computed case's report is the document the window's report command
// writes.
class BatchRunner {
public:
    explicit BatchRunner(CalculatorEnvironment& env);

    // Each computed case's report is written there as "<case name>.docx"; empty: none.
    void setReportDir(const QString& dir);
    QJsonArray run(const QByteArray& json, bool* allRan) { return cases_.run(json, allRan); }
    // The results as the command writes them.
    QByteArray runToText(const QByteArray& json, bool* allRan) { return cases_.runToText(json, allRan); }
    int failedReports() const { return cases_.failedReports(); }

private:
    StoredFrameData frames_;
    CaseRunner cases_;
};

// Command line entry: kelvorzu2 --batch CASES.json [--out FILE] [--reports DIR]. Returns the exit code.
int runBatchCommand(const QStringList& arguments, CalculatorEnvironment& env);
// Command line entry: kelvorzu2 --verify [--report FILE.docx]. The shipped worked cases against the
// current tables, one line per failing case; 0 when every case passes, 1 when one does not, 2 when
// the command cannot be carried out.
int runVerifyCommand(const QStringList& arguments, CalculatorEnvironment& env);

} // namespace kz
