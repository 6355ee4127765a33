// Start-up to the main window shown, with every table opened and every window created.
#include "widgets/main/MainForm.h"
#include "widgets/main/Startup.h"
#include "widgets/common/DialogService.h"
#include "core/common/Paths.h"

#include <QTest>

class BenchStartup : public QObject {
    Q_OBJECT
private slots:
    void startUp() {
        kz::setApplicationFolder(QStringLiteral(KELVOR_BIN_DIR));
        kz::ScopedRecordingDialogs rec;
        QBENCHMARK {
            auto program = kz::startProgram(true);
            program->main->show();
            QCoreApplication::processEvents();
        }
        QVERIFY(rec.messages.isEmpty());
    }
};

QTEST_MAIN(BenchStartup)
#include "bench_startup.moc"
