// What every calculator built must do, whatever its formula: driven by the list of calculators,
// so that a new one is checked the moment it is listed.
#include "CalcTestFolder.h"
#include "widgets/main/Batch.h"
#include "core/model/Calculator.h"
#include "core/model/CalculatorList.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"
#include "widgets/frames/CalculatorToolbar.h"

#include <QApplication>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

Q_DECLARE_METATYPE(const kz::Calculator*)

class TestCalculatorContract : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyCalculator_data();
    void everyCalculator();
    void inputListsFollowTheInputs_data() { everyCalculator_data(); }
    void inputListsFollowTheInputs();
    void batchShowsWhatTheWindowShows_data() { everyCalculator_data(); }
    void batchShowsWhatTheWindowShows();
    void batchSetsInputsInTheCalculatorsOrder();
    void batchWritesReports();
    void nothingBelowZeroIsAResult();
    void typingNeverRaisesABox_data() { everyCalculator_data(); }
    void typingNeverRaisesABox();

private:
    std::unique_ptr<CalculatorWindow> open(const Calculator& c);
    QString order(CalculatorWindow& w) const;

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
};

void TestCalculatorContract::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
    folder_->addTestFoundationGrade();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
}

void TestCalculatorContract::cleanup() {
    folder_.reset();
    rec_.reset();
}

std::unique_ptr<CalculatorWindow> TestCalculatorContract::open(const Calculator& c) {
    auto w = std::make_unique<CalculatorWindow>(c, *folder_->data);
    w->show();
    QApplication::setActiveWindow(w.get());
    return w;
}

QString TestCalculatorContract::order(CalculatorWindow& w) const {
    if (w.Memo1())
        return w.Memo1()->toPlainText();
    return w.EditRaschet() ? w.EditRaschet()->text() : QString();
}

void TestCalculatorContract::everyCalculator_data() {
    QTest::addColumn<const Calculator*>("calculator");
    for (const Calculator* c : builtCalculators())
        QTest::newRow(qPrintable(c->description().className)) << c;
}

void TestCalculatorContract::everyCalculator() {
    QFETCH(const Calculator*, calculator);
    const CalculatorDescriptor& d = calculator->description();
    auto w = open(*calculator);
    CalculatorToolbar* bar = w->ButtonFrame1();

    // The defaults compute without a word.
    w->Calculate(true);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QVERIFY(!w->EditVS1()->text().isEmpty());
    QVERIFY(!order(*w).isEmpty());
    QCOMPARE(bar->btnReport()->isEnabled(), bool(d.report));
    QCOMPARE(bar->btnPodbor()->isEnabled(), !d.selection.parameters.isEmpty());

    // The registry's menu item opens this calculator.
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(d.className);
    QVERIFY(info && info->factory);
    QCOMPARE(info->caption, d.caption);
    QCOMPARE(info->helpContext, d.helpContext);

    // Copy and paste bring back every copied input.
    bar->btnCopy()->click();
    QVERIFY(rec_->messages.isEmpty());
    const InputTexts copied = w->currentInputs(d.copyInputs);
    for (const GeometryInput& g : d.geometry)
        if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && g.copied &&
            !g.defaultText.isEmpty())
            w->setInputText(g.name, QStringLiteral("7"));
    bar->btnPaste()->click();
    QCOMPARE(w->currentInputs(d.copyInputs), copied);
    const QString r = w->EditVS1()->text();
    QVERIFY(!r.isEmpty());

    // A set is stored without a word, in hist1.db or in the calculator's own tables.
    if (!d.history.isEmpty()) {
        rec_->inputs << std::optional<QString>(QStringLiteral("Контракт"));
        bar->btnSave()->click();
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    }

    // Emptying any required input disables what needs it.
    for (const QString& name : d.requiredInputs) {
        auto* edit = qobject_cast<QLineEdit*>(w->inputWidget(name));
        auto* combo = qobject_cast<QComboBox*>(w->inputWidget(name));
        if (!edit && !combo)
            continue;
        const QString before = w->inputText(name);
        // As the user empties it: with the focus in it.
        if (edit) {
            edit->setFocus(Qt::OtherFocusReason);
            edit->clear();
        }
        else if (combo->isEditable())
            combo->setEditText({});
        else
            combo->setCurrentIndex(-1);
        QVERIFY2(!bar->btnSave()->isEnabled(), qPrintable(name));
        QVERIFY2(!bar->btnCopy()->isEnabled(), qPrintable(name));
        QVERIFY2(!bar->btnPodbor()->isEnabled(), qPrintable(name));
        QVERIFY2(!bar->btnReport()->isEnabled(), qPrintable(name));
        QVERIFY2(!w->findChild<QToolButton*>(QStringLiteral("btnScore"))->isEnabled(), qPrintable(name));
        rec_->messages.clear();
        w->applyInputs(copied);
        QCOMPARE(w->inputText(name), before);
    }
    rec_->messages.clear();
}

void TestCalculatorContract::inputListsFollowTheInputs() {
    QFETCH(const Calculator*, calculator);
    const CalculatorDescriptor& d = calculator->description();
    // Every required and copied input is assigned, each once; every history field names an input.
    for (const QString& name : d.requiredInputs + d.copyInputs)
        QVERIFY2(d.inputOrder.contains(name), qPrintable(name));
    QCOMPARE(QSet<QString>(d.inputOrder.cbegin(), d.inputOrder.cend()).size(), d.inputOrder.size());
    for (const HistoryField& f : d.history.fields)
        QVERIFY2(!f.restore || d.inputOrder.contains(f.input), qPrintable(f.field));
    // A drop-down's change may rewrite later inputs: the frames come first, then choices.
    if (d.soilFrame)
        QCOMPARE(d.inputOrder.first(), d.soilFrames.first().prefix + QStringLiteral("ComboGrunt"));
    for (const HistoryCaption& caption : d.history.captions) {
        bool kept = caption.field.isEmpty(); // a group's heading
        for (const HistoryField& f : d.history.fields)
            kept = kept || f.field == caption.field;
        QVERIFY2(kept, qPrintable(caption.field));
    }
}

void TestCalculatorContract::batchShowsWhatTheWindowShows() {
    QFETCH(const Calculator*, calculator);
    const CalculatorDescriptor& d = calculator->description();
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};

    // A few changes from the defaults, the same in both.
    auto w = open(*calculator);
    InputTexts texts = w->currentInputs(d.inputOrder);
    for (const GeometryInput& g : d.geometry)
        if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && !g.defaultText.isEmpty()) {
            const auto v = parseNumber(g.defaultText);
            texts.insert(g.name, formatGeneral(*v * 1.1L));
        }
    QStringList modes{sizeSetModeInput()};
    for (const ConstructionFrameSetup& c : d.constructionFrames)
        modes << sizeSetModeOf(c);
    for (const QString& mode : std::as_const(modes))
        texts.remove(mode);
    // Two layers that differ, so that neither frame's field can stand in for the other's.
    if (d.twoLayerSoil)
        texts.insert(QStringLiteral("pFrame1.EditRo0"), QStringLiteral("123"));
    w->applyInputs(texts);
    const QStringList windowMessages = rec_->messages;
    rec_->messages.clear();
    // The report reads every input as the calculation does, the upper of two soil frames included.
    const ReportSource source = w->reportSource();
    for (const QString& name : d.inputOrder)
        if (!modes.contains(name))
            QCOMPARE(source.text(name), w->inputText(name));

    QJsonObject inputs;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        inputs.insert(it.key(), it.value());
    QJsonObject oneCase{{QStringLiteral("name"), QStringLiteral("case")},
                        {QStringLiteral("calculator"), d.className},
                        {QStringLiteral("inputs"), inputs}};
    BatchRunner runner(env);
    bool allRan = false;
    const QJsonArray results = runner.run(QJsonDocument(QJsonArray{oneCase}).toJson(), &allRan);
    QVERIFY2(allRan, QJsonDocument(results).toJson().constData());
    const QJsonObject out = results.first().toObject().value(QStringLiteral("outputs")).toObject();
    QCOMPARE(out.value(d.resultName).toString(), w->EditVS1()->text());
    QCOMPARE(out.value(w->Memo1() ? w->Memo1()->objectName() : QStringLiteral("EditRaschet")).toString(),
             order(*w));
    for (const GeometryInput& g : d.geometry)
        QCOMPARE(out.value(g.name).toString(), w->inputText(g.name));
    QCOMPARE(results.first().toObject().value(QStringLiteral("messages")).toVariant().toStringList(),
             windowMessages);
}

void TestCalculatorContract::batchSetsInputsInTheCalculatorsOrder() {
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};
    // The size is named before its construction and a count before anything else; the first case
    // changes a count, the second must start from the default again.
    const QByteArray cases = R"([
      {"name": "square", "calculator": "TDVertFm",
       "inputs": {"cmbDiam": "0,025", "cmbSech": "сталь квадратная"}},
      {"name": "counts", "calculator": "TSet1_Frm", "inputs": {"SpinKolGor": "7"}},
      {"name": "defaults", "calculator": "TSet1_Frm", "inputs": {}},
      {"name": "not listed", "calculator": "TDVertFm",
       "inputs": {"cmbDiam": "0,5", "cmbSech": "сталь квадратная"}},
      {"name": "a list of inputs", "calculator": "TDVertFm", "inputs": [{"EditDlina": "3"}]},
      {"name": "opening says", "calculator": "TUVertFm", "inputs": {}},
      {"name": "labels follow", "calculator": "TDKolForm", "inputs": {"EditGlub": "0,9"}}
    ])";
    // A picture gone from the folder: opening the window says so, and the case shows it.
    QVERIFY(QFile::remove(folder_->path() + QStringLiteral("/Picture/UVert.bmp")));
    BatchRunner runner(env);
    bool allRan = true;
    const QJsonArray r = runner.run(cases, &allRan);
    QVERIFY(!allRan);
    const QJsonObject square = r[0].toObject().value(QStringLiteral("outputs")).toObject();
    QVERIFY2(r[0].toObject().value(QStringLiteral("error")).isUndefined(), QJsonDocument(r).toJson().constData());
    QVERIFY(square.value(QStringLiteral("EditRaschet")).toString().contains(QStringLiteral("0,025")) ||
            square.value(QStringLiteral("EditDiam")).toString() != QStringLiteral("0,01"));
    QCOMPARE(r[1].toObject().value(QStringLiteral("outputs")).toObject().value(QStringLiteral("SpinKolGor")),
             QJsonValue(QStringLiteral("7")));
    QCOMPARE(r[2].toObject().value(QStringLiteral("outputs")).toObject().value(QStringLiteral("SpinKolGor")),
             QJsonValue(QStringLiteral("4")));
    QVERIFY(r[3].toObject().value(QStringLiteral("error")).toString().contains(QStringLiteral("0,5")));
    QVERIFY(r[4].toObject().value(QStringLiteral("error")).toString().contains(QStringLiteral("inputs")));
    const QStringList opening = r[5].toObject().value(QStringLiteral("messages")).toVariant().toStringList();
    QCOMPARE(opening.size(), 1);
    QVERIFY2(opening.first().contains(QStringLiteral("UVert.bmp")), qPrintable(opening.first()));
    // A range label follows the inputs the case set.
    const QJsonObject ring = r[6].toObject().value(QStringLiteral("outputs")).toObject();
    QCOMPARE(ring.value(QStringLiteral("lblRangeD")).toString(), QStringLiteral("( D > 1,8 )"));
}

void TestCalculatorContract::batchWritesReports() {
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};
    QTemporaryDir dir;
    BatchRunner runner(env);
    runner.setReportDir(dir.path());
    bool allRan = false;
    const QJsonArray r = runner.run(R"([{"name": "rod: 5/7", "calculator": "TUVertFm", "inputs": {}},
                                         {"name": "no result", "calculator": "TUVertFm",
                                          "inputs": {"EditDlina": "0"}}])",
                                    &allRan);
    QVERIFY(allRan);
    const QString path = r[0].toObject().value(QStringLiteral("report")).toString();
    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("rod_ 5_7.docx"));
    QVERIFY(QFileInfo(path).size() > 0);
    QVERIFY(r[1].toObject().value(QStringLiteral("report")).isUndefined());
}

void TestCalculatorContract::nothingBelowZeroIsAResult() {
    // The surface rod checks p0 only as present: a soil table edited to PMin <= 0 lets 0 through.
    CalcInputs in;
    in.texts = {{QStringLiteral("ComboGrunt"), QStringLiteral("суглинок")}, {QStringLiteral("EditRo0"), QStringLiteral("0")},
                {QStringLiteral("EditPKV"), QStringLiteral("1")},          {QStringLiteral("cmbSech"), QStringLiteral("сталь круглая")},
                {QStringLiteral("cmbDiam"), QStringLiteral("0,016")},      {QStringLiteral("EditDiam0"), QStringLiteral("0,016")},
                {QStringLiteral("EditDlina"), QStringLiteral("5")}};
    in.diameter = 0.016L;
    in.pMin = -10;
    in.pMax = 100;
    const Calculator* rod = findCalculator(QStringLiteral("TUVertFm"));
    QVERIFY(rod);
    Evaluation e = rod->evaluate(in);
    QVERIFY(!e.ok());
    QCOMPARE(e.failure->message, nonPositiveResistivityMessage());
    // A coefficient so small that p rounds to nothing.
    in.texts.insert(QStringLiteral("EditRo0"), QStringLiteral("50"));
    in.texts.insert(QStringLiteral("EditPKV"), QStringLiteral("0,0000001"));
    e = rod->evaluate(in);
    QVERIFY(!e.ok());
    QCOMPARE(e.failure->message, nonPositiveResistivityMessage());
    in.texts.insert(QStringLiteral("EditPKV"), QStringLiteral("0,01"));
    QVERIFY(rod->evaluate(in).ok());

    // An area that is no number is said to be incorrect; a negative Rдоп gives no verdict.
    const Calculator* building = findCalculator(QStringLiteral("TGBFundFm"));
    QVERIFY(building);
    CalcInputs b;
    b.texts = {{QStringLiteral("EditPekv"), QStringLiteral("100")}, {QStringLiteral("EditS"), QStringLiteral("abc")}};
    QCOMPARE(building->evaluate(b).failure->message,
             u"\"abc\" - некорректное значение для площади здания по периметру."_s);
    b.texts.insert(QStringLiteral("EditS"), QStringLiteral("100"));
    b.installation.include = true;
    b.installation.permissible = QStringLiteral("-1");
    const Evaluation withNegative = building->evaluate(b);
    QVERIFY(withNegative.ok());
    for (const QString& line : withNegative.order)
        QVERIFY2(!line.startsWith(u"Так как"_s), qPrintable(line));
}

void TestCalculatorContract::typingNeverRaisesABox() {
    QFETCH(const Calculator*, calculator);
    auto w = open(*calculator);
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->ButtonFrame1()->btnAutoScore()->click();
    QVERIFY(!w->EditVS1()->text().isEmpty());
    // The result says whether it meets Rдоп.
    QVERIFY(!w->EditVS1()->toolTip().isEmpty());
    QLineEdit* first = nullptr;
    for (const GeometryInput& g : calculator->description().geometry)
        if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && !g.isPictureChoice() &&
            !g.isRowChoice()) {
            first = w->geometryEdit(g.name);
            break;
        }
    QVERIFY(first);
    // "0" on the way to "0,5": said in the window, no box takes the next key.
    first->setFocus(Qt::OtherFocusReason);
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("0"));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    const QString said = w->messageLine()->text();
    QVERIFY(!said.isEmpty());
    QVERIFY(w->EditVS1()->text().isEmpty());
    // Enter says it in a box and leaves the window open.
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(rec_->messages, QStringList{said});
    QVERIFY(w->isVisible());
    rec_->messages.clear();
}

QTEST_MAIN(TestCalculatorContract)
#include "tst_calculatorcontract.moc"

