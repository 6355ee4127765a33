// What every calculator built must do, whatever its formula: driven by the list of calculators,
// so that a new one is checked the moment it is listed.
#include "CalcTestFolder.h"
#include "WindowOutputs.h"
#include "DocxReader.h"
#include "app/commands/Batch.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "core/model/Calculator.h"
#include "core/calculators/CalculatorList.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/common/SpinButton.h"
#include "widgets/reference/TableGrid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QFile>
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
    void windowShowsItsSession_data() { everyCalculator_data(); }
    void windowShowsItsSession();
    void batchSetsInputsInTheCalculatorsOrder();
    void batchWritesReports();
    void nothingBelowZeroIsAResult();
    void typingNeverRaisesABox_data() { everyCalculator_data(); }
    void typingNeverRaisesABox();
    void windowFitsTheSmallestScreen_data() { everyCalculator_data(); }
    void windowFitsTheSmallestScreen();
    void sizeHoldsWhileTyping_data() { everyCalculator_data(); }
    void sizeHoldsWhileTyping();
    void noShownValueOutlivesItsInputs_data() { everyCalculator_data(); }
    void noShownValueOutlivesItsInputs();
    void writtenInputsMoveWhatIsShown_data();
    void writtenInputsMoveWhatIsShown();
    void tableColumnsAreInView_data() { everyCalculator_data(); }
    void tableColumnsAreInView();
    void loaderOpensWithinTheScreen_data() { everyCalculator_data(); }
    void loaderOpensWithinTheScreen();
    void helpNamesOnlyTheWindowsPanels_data() { everyCalculator_data(); }
    void helpNamesOnlyTheWindowsPanels();

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
    w->calculate(true);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QVERIFY(!w->EditVS1()->text().isEmpty());
    QVERIFY(!order(*w).isEmpty());
    // Every calculator reports the result it shows.
    QVERIFY(d.report);
    QVERIFY(bar->btnReport()->isEnabled());
    QCOMPARE(bar->btnPodbor()->isEnabled(), !d.selection.parameters.isEmpty());

    // The registry's menu item opens this calculator's window, under its caption and help page.
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(d.className);
    QVERIFY(info && info->factory);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> byMenu(info->factory(env, nullptr));
    auto* menuWindow = qobject_cast<CalculatorWindow*>(byMenu.get());
    QVERIFY(menuWindow);
    QCOMPARE(menuWindow->descriptor().className, d.className);
    QCOMPARE(menuWindow->windowTitle(), d.caption);
    QCOMPARE(helpContextOf(menuWindow), d.helpContext);
    byMenu.reset();

    // Copy and paste bring back every copied input, with the one calculation that shows them.
    bar->btnCopy()->click();
    QVERIFY(rec_->messages.isEmpty());
    const InputTexts copied = w->currentInputs(d.copyInputs);
    // Typed inputs to 7, counts to the other end of their range and, when asked, lists to another
    // item (a list may choose the kind of sets the loader offers).
    const auto changeInputs = [&](bool lists) {
        for (const GeometryInput& g : d.geometry)
            if (auto* list = qobject_cast<QComboBox*>(w->inputWidget(g.name)); list && g.copied) {
                if (lists && list->count() > 1)
                    w->setInputText(g.name, list->itemText(list->currentIndex() == 0 ? 1 : 0));
            }
            else if (g.isRadio() && g.copied) {
                if (lists)
                    w->setInputText(g.name, g.radio->items.value(w->inputText(g.name) == g.radio->items.first() ? 1 : 0));
            }
            else if (g.isSpin() && g.copied)
                w->setInputText(g.name, QString::number(g.defaultText == QString::number(g.spin->maximum)
                                                            ? g.spin->minimum
                                                            : g.spin->maximum));
            else if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && g.copied &&
                     !g.defaultText.isEmpty())
                w->setInputText(g.name, QStringLiteral("7"));
    };
    changeInputs(true);
    int calculations = w->calculationCount();
    bar->btnPaste()->click();
    QCOMPARE(w->currentInputs(d.copyInputs), copied);
    QCOMPARE(w->calculationCount(), calculations + 1);
    const QString r = w->EditVS1()->text();
    QVERIFY(!r.isEmpty());

    // A set is stored without a word, in hist1.db or in the calculator's own tables, and loading
    // it brings back what was stored.
    if (!d.history.isEmpty()) {
        rec_->inputs << std::optional<QString>(QStringLiteral("Контракт"));
        bar->btnSave()->click();
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
        QStringList restored;
        for (const HistoryField& f : d.history.fields)
            if (f.restore)
                restored << f.input;
        const InputTexts saved = w->currentInputs(restored);
        changeInputs(false);
        rec_->onModal = [](QDialog* loader) {
            loader->show();
            loader->hide();
            return int(QDialog::Accepted);
        };
        calculations = w->calculationCount();
        bar->btnLoad()->click();
        rec_->onModal = {};
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
        QCOMPARE(w->currentInputs(restored), saved);
        QCOMPARE(w->calculationCount(), calculations + 1);
        QCOMPARE(w->EditVS1()->text(), r);
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
    // Every input is of one kind at most beside an edit line.
    for (const GeometryInput& g : d.geometry)
        QVERIFY2(int(g.isChoice()) + int(g.isPictureChoice()) + int(g.isSpin()) + int(g.isRadio()) +
                         int(g.isRowChoice()) + int(g.isRowGrid()) <= 1,
                 qPrintable(g.name));
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

namespace {
// Cases that move every kind of input away from its default, each from the opening state: texts
// by input name, buttons pressed (true) or released.
QList<QJsonObject> variedCases(const CalculatorDescriptor& d, const QStringList& soils) {
    QList<QJsonObject> cases;
    QJsonObject scaled;
    for (const GeometryInput& g : d.geometry)
        if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && !g.isPictureChoice() && !g.isRowChoice() &&
            !g.isRowGrid() && !g.defaultText.isEmpty())
            scaled.insert(g.name, formatGeneral(*parseNumber(g.defaultText) * 1.1L));
    // Two layers that differ, so that neither frame's field can stand in for the other's.
    if (d.twoLayerSoil)
        scaled.insert(QStringLiteral("pFrame1.EditRo0"), QStringLiteral("123"));
    cases << scaled;
    // Another soil in every frame: its default p0 and range come with it; the installation
    // follows the soil.
    QJsonObject soil{{QStringLiteral("btnLinkRo"), true}};
    for (const SoilFrameSetup& f : d.soilFrames)
        soil.insert(f.prefix + QStringLiteral("ComboGrunt"), soils.value(3));
    if (d.soilFrame)
        cases << soil;
    // Angle steel: an equivalent diameter, another size list; the recommended sizes only.
    QJsonObject angle;
    QJsonObject recommended;
    for (const ConstructionFrameSetup& c : d.constructionFrames) {
        angle.insert(c.prefix + QStringLiteral("cmbSech"), QStringLiteral("сталь угловая"));
        recommended.insert(c.name + QStringLiteral(".btnRecMat"), true);
    }
    if (!d.constructionFrames.isEmpty())
        cases << angle << recommended;
    // Counts at their upper limit, the last item of every list, the second of every type.
    QJsonObject lists;
    for (const GeometryInput& g : d.geometry) {
        if (g.isSpin())
            lists.insert(g.name, QString::number(g.spin->maximum));
        else if (g.isRadio())
            lists.insert(g.name, g.radio->items.last());
        else if (g.isPictureChoice())
            lists.insert(g.name, QString::number(std::min<int>(2, int(g.picture->pictures.size()))));
        else if (g.isChoice() && !g.choice->items.isEmpty())
            lists.insert(g.name, g.choice->items.last());
    }
    if (!lists.isEmpty())
        cases << lists;
    // The first required input of the geometry left empty: its message.
    for (const GeometryInput& g : d.geometry)
        if (g.required && !g.readOnly && !g.isChoice() && !g.isSpin() && !g.isRadio() && !g.isPictureChoice() &&
            !g.isRowChoice() && !g.isRowGrid()) {
            cases << QJsonObject{{g.name, QString()}};
            break;
        }
    // A measured resistivity outside the soil's range.
    if (d.soilFrame)
        cases << QJsonObject{{d.soilFrames.first().prefix + QStringLiteral("EditRo0"), QStringLiteral("100000")}};
    return cases;
}
} // namespace

namespace {
// Where the texts a window shows differ from what its session holds; empty when they agree.
QString differences(CalculatorWindow& w, const QString& after) {
    const QJsonObject window = testing::windowOutputs(&w);
    QJsonObject session;
    for (const auto& [name, text] : w.session().outputs())
        session.insert(name, text);
    QStringList found;
    for (auto it = window.begin(); it != window.end(); ++it)
        if (session.value(it.key()) != it.value())
            found << it.key() + u": window \""_s + it.value().toString() + u"\", session \""_s +
                         session.value(it.key()).toString() + u'"';
    for (auto it = session.begin(); it != session.end(); ++it)
        if (!window.contains(it.key()))
            found << u"not shown: "_s + it.key();
    return found.isEmpty() ? QString() : after + u"\n"_s + found.join(u'\n');
}
} // namespace

void TestCalculatorContract::windowShowsItsSession() {
    QFETCH(const Calculator*, calculator);
    const CalculatorDescriptor& d = calculator->description();
    QStringList soils;
    const DataTable* soilTable = folder_->data->table(QStringLiteral("P_udel.DB"));
    for (int row = 0; row < soilTable->recordCount(); ++row)
        soils << soilTable->valueAt(row, soilTable->def().fieldIndex(QStringLiteral("Grunt"))).toString();
    for (const QJsonObject& inputs : variedCases(d, soils)) {
        const QString said = QString::fromUtf8(QJsonDocument(inputs).toJson(QJsonDocument::Compact));
        // The window as it opens, the texts set as history or paste set them, then the buttons.
        auto w = open(*calculator);
        QVERIFY2(differences(*w, u"opened"_s).isEmpty(), qPrintable(differences(*w, u"opened"_s)));
        InputTexts texts;
        for (auto it = inputs.begin(); it != inputs.end(); ++it)
            if (it.value().isString())
                texts.insert(it.key(), it.value().toString());
        w->applyInputs(texts);
        for (auto it = inputs.begin(); it != inputs.end(); ++it)
            if (it.value().isBool()) {
                QWidget* scope = w.get();
                for (const QString& part : it.key().split(u'.'))
                    scope = scope ? scope->findChild<QWidget*>(part) : nullptr;
                auto* button = qobject_cast<QAbstractButton*>(scope);
                QVERIFY2(button, qPrintable(it.key()));
                if (button->isChecked() != it.value().toBool())
                    button->click();
            }
        w->calculate(true);
        QVERIFY2(differences(*w, said).isEmpty(), qPrintable(differences(*w, said)));
        // Typing a digit into the first input, a step of its buttons, the link, a paste.
        for (const GeometryInput& g : d.geometry)
            if (QLineEdit* edit = w->geometryEdit(g.name); edit && !edit->isReadOnly() && edit->isEnabled()) {
                edit->setFocus(Qt::OtherFocusReason);
                edit->end(false);
                QTest::keyClick(edit, Qt::Key_1);
                QVERIFY2(differences(*w, said + u" typed"_s).isEmpty(), qPrintable(differences(*w, said + u" typed"_s)));
                break;
            }
        for (SpinButton* step : w->findChildren<SpinButton*>())
            if (step->isEnabled() && step->associate() && w->geometryEdit(step->associate()->objectName())) {
                emit step->downClicked();
                QVERIFY2(differences(*w, said + u" stepped"_s).isEmpty(), qPrintable(differences(*w, said + u" stepped"_s)));
                break;
            }
        if (QToolButton* link = w->ButtonFrame1()->btnLinkParam(); link->isEnabled()) {
            link->click();
            QVERIFY2(differences(*w, said + u" linked"_s).isEmpty(), qPrintable(differences(*w, said + u" linked"_s)));
        }
        if (w->ButtonFrame1()->btnCopy()->isEnabled()) {
            w->ButtonFrame1()->btnCopy()->click();
            w->ButtonFrame1()->btnPaste()->click();
            QVERIFY2(differences(*w, said + u" pasted"_s).isEmpty(), qPrintable(differences(*w, said + u" pasted"_s)));
        }
        rec_->messages.clear();
    }
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
      {"name": "labels follow", "calculator": "TDKolForm", "inputs": {"EditGlub": "0,9"}}
    ])";
    BatchRunner runner(env.data);
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
    // A range label follows the inputs the case set.
    const QJsonObject ring = r[5].toObject().value(QStringLiteral("outputs")).toObject();
    QCOMPARE(ring.value(QStringLiteral("lblRangeD")).toString(), QStringLiteral("( D > 1,8 )"));
}

void TestCalculatorContract::batchWritesReports() {
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};
    QTemporaryDir dir;
    BatchRunner runner(env.data);
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

namespace {
// The inputs a user types into: the numeric edit lines of the calculator and of its soil frames.
QList<QLineEdit*> typedInputs(CalculatorWindow& w) {
    QList<QLineEdit*> edits;
    const CalculatorDescriptor& d = w.descriptor();
    for (const GeometryInput& g : d.geometry)
        if (QLineEdit* edit = w.geometryEdit(g.name); edit && !edit->isReadOnly() && edit->isEnabled())
            edits << edit;
    for (const SoilFrameSetup& f : d.soilFrames)
        for (const char* field : {"EditRo0", "EditPKV"})
            if (auto* edit = qobject_cast<QLineEdit*>(w.inputWidget(f.prefix + QLatin1String(field))))
                edits << edit;
    return edits;
}

// A value shown before the calculation is either empty or what the calculation shows; a grid's
// text (rows by ';', cells by '|') cell by cell.
bool stillTrue(const QString& shown, const QString& recalculated) {
    const QStringList rows = shown.split(u';');
    const QStringList newRows = recalculated.split(u';');
    if (rows.size() != newRows.size())
        return shown.isEmpty();
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList cells = rows[r].split(u'|');
        const QStringList newCells = newRows[r].split(u'|');
        if (cells.size() != newCells.size())
            return false;
        for (int c = 0; c < cells.size(); ++c)
            if (!cells[c].isEmpty() && cells[c] != newCells[c])
                return false;
    }
    return true;
}

void typeAsUser(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
}
} // namespace

void TestCalculatorContract::windowFitsTheSmallestScreen() {
    QFETCH(const Calculator*, calculator);
    auto w = open(*calculator);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // On a 1366 × 768 screen a title bar, the borders and a taskbar take about 70 px.
    QVERIFY2(w->width() <= 1366 - 16, qPrintable(QString::number(w->width())));
    QVERIFY2(w->height() <= 768 - 72, qPrintable(QString::number(w->height())));
}

void TestCalculatorContract::sizeHoldsWhileTyping() {
    QFETCH(const Calculator*, calculator);
    auto w = open(*calculator);
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    w->ButtonFrame1()->btnAutoScore()->click();
    QApplication::processEvents();
    const QSize opened = w->size();
    const QList<QLineEdit*> edits = typedInputs(*w);
    const QStringList typed = {u"0"_s, u"123456,789"_s, u"0,001"_s, QString(), u"56"_s};
    for (QLineEdit* edit : edits) {
        const QString before = edit->text();
        for (const QString& text : typed) {
            typeAsUser(edit, text);
            QApplication::processEvents();
            QVERIFY2(w->size() == opened, qPrintable(edit->objectName() + u" \""_s + text + u"\": "_s +
                                                     QString::number(w->width()) + u'x' +
                                                     QString::number(w->height())));
        }
        typeAsUser(edit, before);
    }
    rec_->messages.clear();
}

void TestCalculatorContract::noShownValueOutlivesItsInputs() {
    QFETCH(const Calculator*, calculator);
    const CalculatorDescriptor& d = calculator->description();
    auto w = open(*calculator);
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QVERIFY(!w->autoCalculation());
    const InputTexts opened = w->currentInputs(d.inputOrder);
    const QList<QLineEdit*> edits = typedInputs(*w);
    // What is still shown after a change must be what the next calculation shows.
    const auto shownMatchesTheNextCalculation = [&](const QString& change) {
        const QJsonObject shown = testing::windowOutputs(w.get());
        w->calculate(true);
        rec_->messages.clear();
        if (w->EditVS1()->text().isEmpty())
            return;
        const QJsonObject recalculated = testing::windowOutputs(w.get());
        for (auto it = shown.begin(); it != shown.end(); ++it)
            if (!it.value().toString().isEmpty())
                QVERIFY2(stillTrue(it.value().toString(), recalculated.value(it.key()).toString()),
                         qPrintable(change + it.key() + u" showed \""_s + it.value().toString() + u"\" instead of \""_s +
                                    recalculated.value(it.key()).toString() + u'"'));
    };
    for (int i = 0; i < edits.size(); ++i) {
        w->applyInputs(opened);
        w->calculate(true);
        rec_->messages.clear();
        QVERIFY(!w->EditVS1()->text().isEmpty());
        // A user's change with automatic calculation off: what is still shown must be what the next
        // calculation shows.
        QLineEdit* edit = edits[i];
        const auto v = parseNumber(edit->text());
        if (!v)
            continue;
        typeAsUser(edit, formatGeneral(*v * 1.1L));
        shownMatchesTheNextCalculation(edit->objectName() + u" changed, "_s);
        if (QTest::currentTestFailed())
            return;
    }
    // A spin edit stepped by the user empties what follows from it in the same way.
    for (const GeometryInput& g : d.geometry) {
        QSpinBox* spin = w->geometrySpin(g.name);
        if (!spin || !spin->isEnabled() || spin->value() >= spin->maximum())
            continue;
        w->applyInputs(opened);
        w->calculate(true);
        rec_->messages.clear();
        spin->setFocus(Qt::OtherFocusReason);
        spin->stepBy(1);
        shownMatchesTheNextCalculation(g.name + u" stepped, "_s);
        if (QTest::currentTestFailed())
            return;
    }
}

void TestCalculatorContract::writtenInputsMoveWhatIsShown_data() {
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QJsonObject>("inputs");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    // Tотн = (Lв + To) / Корень(S), S = (a·N)² = 100: (4 + 2) / 10.
    QTest::newRow("grid: rod length") << u"TSet2_Frm"_s << QJsonObject{{u"EditLv"_s, u"4"_s}} << u"EditTotn"_s
                                      << u"0,6"_s << u"Ошибка. Значение Тотн. должно быть в пределах от 0 до 0,5."_s;
    // Type 1 is one cell: b/a = 8,0004 / 2.
    QTest::newRow("lattice: cell") << u"TSet3_Frm"_s
                                   << QJsonObject{{u"EditDlina"_s, u"8,0004"_s}, {u"EditShir"_s, u"2"_s}}
                                   << u"EditB_A"_s << u"4,0002"_s
                                   << u"Ошибка. Отношение b/a должно быть в пределах от 1 до 4."_s;
}

void TestCalculatorContract::writtenInputsMoveWhatIsShown() {
    // Values the program writes (history, paste, a batch) into inputs that link only on the user's
    // changes still move the values derived from them, and the checks read them.
    QFETCH(QString, calculator);
    QFETCH(QJsonObject, inputs);
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    registerBuiltCalculators(CalculatorRegistry::instance());
    CalculatorEnvironment env{*folder_->data};
    BatchRunner runner(env.data);
    bool allRan = false;
    const QJsonObject oneCase{{u"calculator"_s, calculator}, {u"inputs"_s, inputs}};
    const QJsonArray r = runner.run(QJsonDocument(QJsonArray{oneCase}).toJson(), &allRan);
    const QJsonObject batch = r.first().toObject();
    QCOMPARE(batch.value(u"outputs"_s).toObject().value(field).toString(), shown);
    QCOMPARE(batch.value(u"messages"_s).toVariant().toStringList(), QStringList{message});

    auto w = open(*findCalculator(calculator));
    InputTexts texts;
    for (auto it = inputs.begin(); it != inputs.end(); ++it)
        texts.insert(it.key(), it.value().toString());
    w->applyInputs(texts);
    QCOMPARE(w->inputText(field), shown);
    QCOMPARE(rec_->messages, QStringList{message});
    rec_->messages.clear();
}

void TestCalculatorContract::tableColumnsAreInView() {
    QFETCH(const Calculator*, calculator);
    auto w = open(*calculator);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* pages = w->findChild<QTabWidget*>(u"PageControl1"_s);
    if (!pages)
        return;
    for (int tab = 0; tab < pages->count(); ++tab) {
        pages->setCurrentIndex(tab);
        QApplication::processEvents();
        for (TableGrid* grid : pages->widget(tab)->findChildren<TableGrid*>()) {
            // Every column whole within the grid, with no scrolling to reach it.
            const int viewport = grid->viewport()->width();
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                QVERIFY2(!grid->isColumnHidden(c) && grid->columnWidth(c) > 0 &&
                             grid->columnViewportPosition(c) + grid->columnWidth(c) <= viewport,
                         qPrintable(grid->objectName() + u" column "_s + QString::number(c) + u": "_s +
                                    QString::number(grid->columnViewportPosition(c)) + u" + "_s +
                                    QString::number(grid->columnWidth(c)) + u" > "_s +
                                    QString::number(viewport)));
        }
    }
}

void TestCalculatorContract::loaderOpensWithinTheScreen() {
    QFETCH(const Calculator*, calculator);
    auto w = open(*calculator);
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    const QRect area = w->screen()->availableGeometry();
    QVERIFY2(area.width() <= 1366 && area.height() <= 768, "the tests' offscreen screen is 1366 × 768");
    QString loader;
    QRect frame;
    rec_->onModal = [&](QDialog* d) {
        d->show();
        // Under a window manager the frame comes a moment after the window.
        if (QTest::qWaitForWindowExposed(d) && QGuiApplication::platformName() != u"offscreen"_s)
            QTest::qWait(300);
        loader = d->objectName();
        frame = d->frameGeometry();
        d->hide();
        return int(QDialog::Rejected);
    };
    QVERIFY(w->ButtonFrame1()->btnLoad()->isEnabled());
    w->ButtonFrame1()->btnLoad()->click();
    QVERIFY(!loader.isEmpty());
    QVERIFY2(area.contains(frame), qPrintable(u"%1: %2,%3 %4 × %5"_s.arg(loader)
                                                  .arg(frame.x())
                                                  .arg(frame.y())
                                                  .arg(frame.width())
                                                  .arg(frame.height())));
    rec_->messages.clear();
}

void TestCalculatorContract::helpNamesOnlyTheWindowsPanels() {
    QFETCH(const Calculator*, calculator);
    auto w = open(*calculator);
    const bool hasConstruction = !w->findChildren<SectionFrame*>().isEmpty();
    QFile page(QStringLiteral(KELVOR_BIN_DIR "/help/") +
               QString::number(calculator->description().helpContext) + u".html"_s);
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
    static const QRegularExpression tag(u"<[^>]*>"_s);
    const QString text = QString::fromUtf8(page.readAll()).remove(tag).simplified();
    // A sentence that names a construction panel and does not say it is missing.
    bool namesConstruction = false;
    for (const QString& sentence : text.split(QLatin1Char('.')))
        if (sentence.contains(u"панел"_s) && sentence.contains(u"конструкци"_s) &&
            !sentence.contains(u"нет"_s))
            namesConstruction = true;
    if (namesConstruction)
        QVERIFY2(hasConstruction, qPrintable(page.fileName()));
}

QTEST_MAIN(TestCalculatorContract)
#include "tst_calculatorcontract.moc"

