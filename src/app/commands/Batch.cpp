#include "app/commands/Batch.h"

#include "app/commands/CommandLine.h"
#include "core/common/Messenger.h"
#include "core/common/Paths.h"
#include "report/DocxWriter.h"
#include "report/VerificationReport.h"
#include "store/DataFolder.h"
#include "store/DataModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// With no window, whatever the tables or a report have to say goes to the error stream.
struct StderrMessenger : Messenger {
    void showMessage(const QString& text) override { QTextStream(stderr) << text << '\n'; }
};
} // namespace

BatchRunner::BatchRunner(DataModule& data) : frames_(data), cases_(frames_) {}

void BatchRunner::setReportDir(const QString& dir) {
    cases_.setReports(dir, [](const Calculator& calculator, const ReportSource& source, const QString& path,
                              QString* error) {
        StderrMessenger messenger;
        ReportBuilder report(messenger);
        writeReport(calculator.description(), report, source);
        return writeDocx(report.paragraphs(), path, error);
    });
}

int runBatchCommand(const QStringList& arguments, DataModule& data) {
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
    BatchRunner runner(data);
    runner.setReportDir(reportsPath);
    bool allRan = false;
    const QByteArray json = runner.runToText(in.readAll(), &allRan);
    // A write that did not reach the device is a failure: checked after the last byte is flushed.
    QFile out(outPath);
    const bool opened = outPath.isEmpty() ? out.open(stdout, QIODevice::WriteOnly)
                                          : out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    errno = 0;
    bool written = opened && out.write(json) == json.size() && out.flush();
    const bool full = errno == ENOSPC;
    out.close();
    written = written && out.error() == QFileDevice::NoError;
    if (!written) {
        err << (outPath.isEmpty() ? u"Ошибка. Не удалось записать результаты в стандартный вывод"_s
                                  : u"Ошибка. Не удалось записать результаты в файл "_s + outPath)
            << (full || errno == ENOSPC ? u": диск заполнен."_s : u"."_s) << '\n';
        return 1;
    }
    if (const int failed = runner.failedReports(); failed > 0) {
        err << u"Ошибка. Не удалось записать отчеты: "_s << failed
            << u" (причины указаны в результатах).\n"_s;
        return 1;
    }
    return allRan ? 0 : 1;
}

int runVerifyCommand(const QStringList& arguments, DataModule& data) {
    QTextStream err(stderr);
    const int reportAt = arguments.indexOf(QStringLiteral("--report"));
    const QString reportPath = reportAt >= 0 ? arguments.value(reportAt + 1) : QString();
    if (reportAt >= 0 && (reportPath.isEmpty() || reportPath.startsWith(u"--"_s))) {
        err << u"вызов: kelvorzu2 --verify [--report ОТЧЕТ.docx]\n"_s;
        return 2;
    }
    const TablesVerification verification = verifyTables(data, verificationDir());
    QTextStream out(stdout);
    for (const VerificationRow& row : verification.run.rows)
        if (!row.passed)
            out << row.file << u": "_s << row.name << u": "_s << row.failureText() << '\n';
    out.flush();
    if (!verification.run.problem.isEmpty())
        err << verification.run.problem << '\n';
    err << u"Проверено случаев: "_s << verification.run.rows.size() << u", не прошли проверку: "_s
        << verification.run.failures() << u".\n"_s;
    if (!reportPath.isEmpty()) {
        QString error;
        if (!writeVerificationReport(verification, reportPath, &error)) {
            err << error << '\n';
            return 2;
        }
    }
    return verification.run.allPassed() ? 0 : 1;
}

bool runsWithoutWindows(const CommandLine& commandLine) {
    return commandLine.has(QStringLiteral("--batch")) || commandLine.has(QStringLiteral("--verify"));
}

int runWindowlessCommand(const CommandLine& commandLine) {
    if (!useDataFolder(commandLine.value(QStringLiteral("--data"))))
        return 2;
    QCoreApplication::setApplicationName(QStringLiteral("Kelvor ZU 2.0"));
    DataModule data;
    StderrMessenger messenger;
    data.openAll(messenger);
    const QStringList arguments = QCoreApplication::arguments();
    return commandLine.has(QStringLiteral("--batch")) ? runBatchCommand(arguments, data)
                                                      : runVerifyCommand(arguments, data);
}

} // namespace kz
