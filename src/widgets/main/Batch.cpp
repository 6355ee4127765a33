#include "widgets/main/Batch.h"

#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/common/DialogService.h"
#include "widgets/report/DocxWriter.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace kz {

BatchRunner::BatchRunner(CalculatorEnvironment& env) : frames_(env.data), cases_(frames_) {}

void BatchRunner::setReportDir(const QString& dir) {
    cases_.setReports(dir, [](const Calculator& calculator, const ReportSource& source, const QString& path,
                              QString* error) {
        ReportBuilder report(dialogs());
        writeReport(calculator.description(), report, source);
        return writeDocx(report.paragraphs(), path, error);
    });
}

int runBatchCommand(const QStringList& arguments, CalculatorEnvironment& env) {
    QTextStream err(stderr);
    const int at = arguments.indexOf(QStringLiteral("--batch"));
    const QString casesPath = arguments.value(at + 1);
    const int outAt = arguments.indexOf(QStringLiteral("--out"));
    const QString outPath = outAt >= 0 ? arguments.value(outAt + 1) : QString();
    const int reportsAt = arguments.indexOf(QStringLiteral("--reports"));
    const QString reportsPath = reportsAt >= 0 ? arguments.value(reportsAt + 1) : QString();
    if (casesPath.isEmpty() || (outAt >= 0 && outPath.isEmpty()) ||
        (reportsAt >= 0 && reportsPath.isEmpty())) {
        err << u"вызов: kelvorzu2 --batch СЛУЧАИ.json [--out РЕЗУЛЬТАТЫ.json] [--reports ПАПКА]\n"_s;
        return 2;
    }
    if (reportsAt >= 0 && !QDir().mkpath(reportsPath)) {
        err << u"не удается создать папку "_s << reportsPath << '\n';
        return 2;
    }
    QFile in(casesPath);
    if (!in.open(QIODevice::ReadOnly)) {
        err << u"не удается прочитать "_s << casesPath << '\n';
        return 2;
    }
    BatchRunner runner(env);
    runner.setReportDir(reportsPath);
    bool allRan = false;
    const QByteArray json = runner.runToText(in.readAll(), &allRan);
    if (outPath.isEmpty()) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 2;
        out.write(json);
    } else {
        QFile out(outPath);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(json) != json.size()) {
            err << u"не удается записать "_s << outPath << '\n';
            return 2;
        }
    }
    return allRan ? 0 : 1;
}

} // namespace kz
