#pragma once

#include <QApplication>
#include <memory>

namespace kz {

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
// Call before the application object exists: picks the platform the arguments need.
void preparePlatform(int argc, char** argv);
// The whole program (or the batch mode with --batch): start-up, the maximised main window, the event loop.
int runProgram(QApplication& app);

} // namespace kz
