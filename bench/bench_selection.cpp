// Parameter selection runs: combinations tried per second, over the calculator's rules alone and
// from a calculator window (gauge, stop button and window breathing included).
#include "CalculatorWindowOf.h"
#include "core/calculators/CalculatorList.h"
#include "core/selection/SelectionModelRun.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"
#include "core/common/Paths.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kz;

namespace {
// The starting values a run takes from the window: every input it writes back that holds a number.
QMap<QString, long double> startValues(const CalculatorWindow& w) {
    QMap<QString, long double> values;
    for (const QString& name : w.descriptor().selection.writeBack)
        if (const auto v = parseNumber(w.inputText(name)))
            values.insert(name, *v);
    if (const auto p = parseNumber(w.inputText(u"EditRo"_s)))
        values.insert(u"EditRo"_s, *p);
    return values;
}

// The first three offered parameters over their default ranges (the resistivity over the soil's),
// the first outermost.
QList<selection::Level> defaultLevels(const CalculatorWindow& w, const CalcInputs& in) {
    QList<selection::Level> levels;
    for (const SelectionParameter& p : w.descriptor().selection.parameters) {
        if (levels.size() == 3)
            break;
        selection::Level level{p.name, 0, 0, 0};
        if (p.soilRange) {
            level.start = in.pMax;
            level.end = in.pMin;
        } else {
            level.start = parseNumber(p.start).value_or(0);
            level.end = parseNumber(p.end).value_or(0);
        }
        level.step = parseNumber(p.step).value_or(0);
        if (level.step > 0)
            levels << level;
    }
    return levels;
}
} // namespace

class BenchSelection : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    // The model alone: the three offered parameters over their default ranges, nothing met.
    void modelRun_data();
    void modelRun();
    // The rod's run from its window: 5 lengths × 11 coefficients × the resistivity over the soil's
    // range in steps of 0,1, started by the toolbar's command and answered in the run dialog.
    void windowRun();

private:
    QTemporaryDir dir_;
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<DataModule> data_;
};

void BenchSelection::initTestCase() {
    for (const char* sub : {"Data", "Picture"}) {
        const QString to = dir_.filePath(QLatin1String(sub));
        QDir().mkpath(to);
        QDirIterator it(QStringLiteral(KELVOR_BIN_DIR "/") + QLatin1String(sub), QDir::Files);
        while (it.hasNext()) {
            it.next();
            QFile::copy(it.filePath(), to + QLatin1Char('/') + it.fileName());
        }
    }
    setApplicationFolder(dir_.path() + QLatin1Char('/'));
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    data_ = std::make_unique<DataModule>();
    data_->openAll(*rec_);
}

void BenchSelection::cleanupTestCase() {
    data_.reset();
}

void BenchSelection::modelRun_data() {
    QTest::addColumn<QString>("className");
    for (const Calculator* c : builtCalculators())
        if (!c->description().selection.parameters.isEmpty())
            QTest::newRow(qPrintable(c->description().className)) << c->description().className;
}

void BenchSelection::modelRun() {
    QFETCH(QString, className);
    CalculatorWindow w(*findCalculator(className), *data_);
    w.show();
    const CalcInputs in = w.snapshot();
    const QMap<QString, long double> values = startValues(w);
    const QList<selection::Level> levels = defaultLevels(w, in);
    QVERIFY(!levels.isEmpty());
    selection::RunHooks hooks;
    hooks.required = [] { return std::optional<long double>(0); };
    QStringList frames;
    for (const SoilFrameSetup& soil : w.descriptor().soilFrames)
        frames << soil.prefix;
    int combinations = 0;
    QElapsedTimer timer;
    qint64 nanoseconds = 0;
    QBENCHMARK {
        SelectionModelRun run(w.calculator(), in, values, frames);
        run.derive();
        timer.start();
        combinations = run.run(levels, hooks).combinations;
        nanoseconds = timer.nsecsElapsed();
    }
    QVERIFY(combinations > 0);
    qInfo("%s: %d combinations, %.0f per second", qPrintable(className), combinations,
          combinations * 1e9 / double(std::max<qint64>(nanoseconds, 1)));
}

void BenchSelection::windowRun() {
    TDVertFm w(*data_);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    long long count = 0;
    rec_->onModal = [&count](QDialog* d) {
        auto* form = qobject_cast<SelectionRunDialog*>(d);
        if (!form)
            return int(QDialog::Rejected);
        while (form->ListBox1()->count() > 0) {
            form->ListBox1()->setCurrentRow(0);
            form->addParameter();
        }
        for (int r = 0; r < form->parameterGrid()->rowCount(); ++r)
            if (form->parameterGrid()->item(r, 0)->text().startsWith(u"Удельное"_s))
                form->parameterGrid()->item(r, 3)->setText(u"0,1"_s);
        form->EditR()->setText(u"0,001"_s);
        count = form->SelectionCount();
        return int(QDialog::Accepted);
    };
    QElapsedTimer timer;
    qint64 nanoseconds = 0;
    QBENCHMARK {
        timer.start();
        w.runSelection();
        nanoseconds = timer.nsecsElapsed();
    }
    rec_->onModal = nullptr;
    QVERIFY(count > 1000);
    qInfo("TDVertFm window: %lld combinations, %.0f per second", count,
          count * 1e9 / double(std::max<qint64>(nanoseconds, 1)));
    rec_->messages.clear();
}

QTEST_MAIN(BenchSelection)
#include "bench_selection.moc"
