#include "Startup.h"

#include "MainForm.h"
#include "SplashForm.h"
#include "calc/core/CalculatorRegistry.h"
#include "data/DataModule.h"
#include "frames/DialogService.h"

#include <QGuiApplication>
#include <QScreen>

namespace kz {

Program::Program() = default;

Program::~Program() {
    main.reset();
    if (data)
        data->closeAll();
}

std::unique_ptr<Program> startProgram(bool showSplash) {
    std::unique_ptr<SplashForm> splash;
    if (showSplash) {
        splash = std::make_unique<SplashForm>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }
    QApplication::setApplicationName(QStringLiteral("Kelvor ZU 2.0"));
    registerBuiltCalculators(CalculatorRegistry::instance());
    auto program = std::make_unique<Program>();
    program->data = std::make_unique<DataModule>();
    program->main = std::make_unique<MainForm>(*program->data);
    program->data->openAll(dialogs());
    program->main->createWindows();
    return program;
}

int runProgram(QApplication& app) {
    auto program = startProgram(true);
    // Without a window manager "maximised" means nothing: start from the whole screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        program->main->setGeometry(screen->availableGeometry());
    program->main->showMaximized();
    const int code = app.exec();
    program.reset();
    return code;
}

} // namespace kz
