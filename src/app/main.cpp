#include "app/commands/Batch.h"
#include "app/commands/CommandLine.h"
#include "widgets/main/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    const kz::CommandLine commandLine = kz::parseCommandLine(argc, argv);
    if (const int status = kz::answerWithoutWindows(commandLine); status >= 0)
        return status;
    // The windowless commands need no display: their application object never looks for one.
    if (kz::runsWithoutWindows(commandLine)) {
        QCoreApplication app(argc, argv);
        return kz::runWindowlessCommand(commandLine);
    }
    QApplication app(argc, argv);
    return kz::runProgram(app, commandLine.value(QStringLiteral("--data")));
}
