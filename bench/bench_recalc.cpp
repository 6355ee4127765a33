// One recalculation of the vertical rod after a keystroke: checks, formula, texts, enabling.
#include "CalculatorWindowOf.h"
#include "core/calculators/CalculatorList.h"
#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/selection/SelectionRunDialog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kz;

class BenchRecalc : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void recalculationAfterAChange();
    void keystrokeInTheLength();
    void calculateOnly();
    // A selection run that exhausts 11 coefficients × 5 lengths × 111 resistivities = 6105
    // combinations, with the gauge and the window breathing after every value.
    void selectionRun();
    // The change of the first own input of every calculator built, recalculated in its window.
    void everyCalculator_data();
    void everyCalculator();
    // The model alone: one evaluation over a snapshot, no widgets.
    void evaluateOnly_data() { everyCalculator_data(); }
    void evaluateOnly();

private:
    QTemporaryDir dir_;
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<DataModule> data_;
    std::unique_ptr<TDVertFm> win_;
};

void BenchRecalc::initTestCase() {
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
    // The column-and-slab grades ship empty: one made-up grade lets that type's defaults compute.
    DataTable& grades = (*data_)[QStringLiteral("SbFundTable")];
    if (grades.isEmpty()) {
        grades.insert();
        const char* const values[][2] = {{"Marka", "T-1"},   {"DlinaSt", "3"},  {"DiamSt", "0,4"},
                                         {"DlinaPl", "1,5"}, {"ShirPl", "1,5"}, {"VusPl", "0,5"}};
        for (const auto& v : values)
            grades.setText(QLatin1String(v[0]), QLatin1String(v[1]));
        grades.post();
    }
    win_ = std::make_unique<TDVertFm>(*data_);
    win_->show();
    QTest::mouseClick(win_->ButtonFrame1()->btnAutoScore(), Qt::LeftButton);
    QVERIFY(win_->ButtonFrame1()->btnAutoScore()->isChecked());
}

void BenchRecalc::everyCalculator_data() {
    QTest::addColumn<QString>("className");
    for (const Calculator* c : builtCalculators())
        QTest::newRow(qPrintable(c->description().className)) << c->description().className;
}

void BenchRecalc::everyCalculator() {
    QFETCH(QString, className);
    CalculatorWindow w(*findCalculator(className), *data_);
    w.show();
    QTest::mouseClick(w.ButtonFrame1()->btnAutoScore(), Qt::LeftButton);
    const GeometryInput* input = nullptr;
    for (const GeometryInput& g : w.descriptor().geometry)
        if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && !g.isPictureChoice() &&
            !g.isRowChoice() && !g.defaultText.isEmpty()) {
            input = &g;
            break;
        }
    QVERIFY(input);
    QLineEdit* edit = w.geometryEdit(input->name);
    edit->setFocus();
    const QString a = input->defaultText;
    // One per cent up, or down where the default stands at the top of its range.
    QString b = formatGeneral(*parseNumber(a) * 1.01L);
    edit->setText(b);
    if (w.EditVS1()->text().isEmpty())
        b = formatGeneral(*parseNumber(a) * 0.99L);
    int i = 0;
    QBENCHMARK {
        edit->setText((++i & 1) ? b : a);
    }
    QVERIFY(!w.EditVS1()->text().isEmpty());
}

void BenchRecalc::evaluateOnly() {
    QFETCH(QString, className);
    CalculatorWindow w(*findCalculator(className), *data_);
    w.show();
    const Calculator& c = w.calculator();
    const CalcInputs in = w.snapshot();
    QVERIFY(c.evaluate(in).ok());
    QBENCHMARK {
        const Evaluation e = c.evaluate(in);
        Q_UNUSED(e);
    }
}

void BenchRecalc::cleanupTestCase() {
    win_.reset();
    data_.reset();
    QVERIFY(rec_->messages.isEmpty());
}

void BenchRecalc::recalculationAfterAChange() {
    QLineEdit* length = win_->EditDlina();
    int i = 0;
    QBENCHMARK {
        length->setText((++i & 1) ? QStringLiteral("5,1") : QStringLiteral("5"));
    }
    QVERIFY(!win_->EditVS1()->text().isEmpty());
}

void BenchRecalc::keystrokeInTheLength() {
    QLineEdit* length = win_->EditDlina();
    length->setFocus();
    length->setText(QStringLiteral("5"));
    length->end(false);
    int i = 0;
    QBENCHMARK {
        if (++i & 1)
            QTest::keyClick(length, Qt::Key_1);
        else
            QTest::keyClick(length, Qt::Key_Backspace);
    }
    QVERIFY(!win_->EditVS1()->text().isEmpty());
}

void BenchRecalc::calculateOnly() {
    QBENCHMARK {
        win_->calculate(true);
    }
}

void BenchRecalc::selectionRun() {
    rec_->onModal = [](QDialog* d) {
        auto* form = qobject_cast<SelectionRunDialog*>(d);
        if (!form)
            return int(QDialog::Rejected);
        while (form->ListBox1()->count() > 0) {
            form->ListBox1()->setCurrentRow(0);
            form->addParameter();
        }
        form->EditR()->setText(QStringLiteral("0,001"));
        return int(QDialog::Accepted);
    };
    QBENCHMARK {
        win_->runSelection();
    }
    rec_->onModal = nullptr;
    QCOMPARE(rec_->messages.size() > 0, true);
    rec_->messages.clear();
}

QTEST_MAIN(BenchRecalc)
#include "bench_recalc.moc"
