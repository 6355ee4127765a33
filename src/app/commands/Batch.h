#pragma once

#include "core/batch/CaseRunner.h"
#include "store/StoredFrameData.h"

#include <QStringList>

namespace kz {

struct CommandLine;
class DataModule;

// The batch mode over the program's tables: cases run on calculator sessions, without windows
// (CaseRunner.h), and each computed case's report is the document the window's report command
// writes.
class BatchRunner {
public:
    explicit BatchRunner(DataModule& data);

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
int runBatchCommand(const QStringList& arguments, DataModule& data);
// Command line entry: kelvorzu2 --verify [--report FILE.docx]. The shipped worked cases against the
// current tables, one line per failing case; 0 when every case passes, 1 when one does not, 2 when
// the command cannot be carried out.
int runVerifyCommand(const QStringList& arguments, DataModule& data);

// --batch and --verify show no window: they run on a core application, with no display, and say
// everything on the standard streams.
bool runsWithoutWindows(const CommandLine& commandLine);
// Runs one of them over the data folder the command line and the install give; the application
// object must exist. Returns the exit code.
int runWindowlessCommand(const CommandLine& commandLine);

} // namespace kz
