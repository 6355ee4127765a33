#pragma once

#include <QApplication>
#include <memory>

namespace kz {

struct CommandLine;
class DataModule;
class MainForm;
class ReferenceWindows;

// The running program: the data module, the main window with every calculator window and the
// reference dialogs.
struct Program {
    std::unique_ptr<DataModule> data;
    std::unique_ptr<MainForm> main;
    std::unique_ptr<ReferenceWindows> references;
    Program();
    ~Program();
};

// Start-up without the event loop: splash, main window, tables opened, windows created.
std::unique_ptr<Program> startProgram(bool showSplash);
// Call before the application object exists: picks the platform the command line needs.
void preparePlatform(const CommandLine& commandLine);
// The whole program (or the batch mode with --batch) over the data folder the command line and the
// install give: start-up, the maximised main window, the event loop.
int runProgram(QApplication& app, const CommandLine& commandLine);

} // namespace kz
