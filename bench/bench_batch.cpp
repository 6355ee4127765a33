// Rod cases per second in batch mode, once the program has started.
#include "app/commands/Batch.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "core/common/Paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

class BenchBatch : public QObject {
    Q_OBJECT
private slots:
    void rodCases() {
        kz::setApplicationFolder(QStringLiteral(KELVOR_BIN_DIR));
        kz::registerBuiltCalculators(kz::CalculatorRegistry::instance());
        kz::RecordingDialogs startMessages;
        kz::DataModule data;
        data.openAll(startMessages);
        kz::CalculatorEnvironment env{data};
        kz::BatchRunner runner(env.data);
        constexpr int cases = 200;
        QByteArray json = "[";
        for (int i = 0; i < cases; ++i) {
            if (i)
                json += ',';
            json +=
                QStringLiteral(
                    R"({"calculator": "TDVertFm", "inputs": {"EditRo0": "%1", "EditDlina": "%2,5", "EditGlub": "0,7"}})")
                    .arg(60 + i % 80)
                    .arg(2 + i % 5)
                    .toUtf8();
        }
        json += ']';
        bool allRan = false;
        // As the command runs them: the cases read, computed and written as text.
        QByteArray written;
        QBENCHMARK {
            written = runner.runToText(json, &allRan);
        }
        const QJsonArray results = QJsonDocument::fromJson(written).array();
        QVERIFY(allRan);
        QVERIFY(!results[0]
                     .toObject()
                     .value(QStringLiteral("outputs"))
                     .toObject()
                     .value(QStringLiteral("EditVS1"))
                     .toString()
                     .isEmpty());
        qInfo("%d cases per run", cases);
    }
};

QTEST_MAIN(BenchBatch)
#include "bench_batch.moc"
