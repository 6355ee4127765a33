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
// The whole program over the data folder asked for on the command line (empty: the one the install
// gives): start-up, the maximised main window, the event loop.
int runProgram(QApplication& app, const QString& requestedDataFolder);

} // namespace kz
