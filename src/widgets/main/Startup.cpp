#include "widgets/main/Startup.h"

#include "widgets/main/MainForm.h"
#include "widgets/main/SplashForm.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "store/DataFolder.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "widgets/reference/ReferenceWindows.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace kz {

Program::Program() = default;

Program::~Program() {
    references.reset();
    main.reset();
    if (data)
        data->closeAll();
}

namespace {
// The toolkit's own dialogs and buttons ("Отмена", "Да", the file dialog) speak Russian like the
// rest of the program, whatever the system's language. A copy of the program taken elsewhere may
// carry the translation in translations/ beside the executable.
void loadToolkitTranslation() {
    static QTranslator translator;
    static const bool loaded = [] {
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        for (const QString& dir : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                   QCoreApplication::applicationDirPath() + QStringLiteral("/translations")})
            if (translator.load(russian, QStringLiteral("qtbase"), QStringLiteral("_"), dir))
                return QCoreApplication::installTranslator(&translator);
        return false;
    }();
    Q_UNUSED(loaded);
}
} // namespace

std::unique_ptr<Program> startProgram(bool showSplash) {
    loadToolkitTranslation();
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
    program->references = std::make_unique<ReferenceWindows>(*program->data);
    program->main->createWindows();
    return program;
}

int runProgram(QApplication& app, const QString& requestedDataFolder) {
    if (!useDataFolder(requestedDataFolder))
        return 2;
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
