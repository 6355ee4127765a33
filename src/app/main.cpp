#include "widgets/main/CommandLine.h"
#include "widgets/main/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    const kz::CommandLine commandLine = kz::parseCommandLine(argc, argv);
    if (const int status = kz::answerWithoutWindows(commandLine); status >= 0)
        return status;
    kz::preparePlatform(commandLine);
    QApplication app(argc, argv);
    return kz::runProgram(app, commandLine);
}
