#include "../core/CalcWindowFixture.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "CalculatorWindowOf.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
const QString depthRule =
    u"Ошибка. Большой радиус кольцевого заземлителя должен быть больше глубины заложения."_s;
const QString sectionRule = u"Ошибка. Большой диаметр кольцевого заземлителя должен быть больше малого."_s;
} // namespace

// The buried ring driven as a user drives it: typed values, step buttons, the linking toggle,
// history, copy and paste, single-parameter and nested selection.
class TestBuriedRingWindow : public QObject, CalcWindowFixture<TDKolForm> {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstOpening();
    void everySectionThinnerThanTheRingPasses();
    void checks_data();
    void checks();
    void rangeLabelsFollowTheOtherInput();
    void rangeOfTheDiameterShowsAThickSection();
    void linkingMovesTheOtherInput_data();
    void linkingMovesTheOtherInput();
    void withoutLinkingTheRuleFails();
    void linkingKeepsTheResultValid();
    void stepButtonsAreTheUsers();
    void pressingTheLinkAppliesTheRuleAtOnce();
    void programWritesActOnNothing();
    void malformedNumberIsLeftToTheCheck();
    void saveAndLoadRoundTrip();
    void pasteRestoresWithOneCalculation();
    void singleRunOverTheDiameter();
    void singleRunWithLinkingMovesTheDepth();
    void singleRunWithoutSuccess();
    void singleAndNestedRunsDifferAtTheLimit();
    void settingsOpenAtTheFocusedParameter();

private:
    QLineEdit* diam() { return win_->EditDiam(); }
    QLineEdit* glub() { return win_->EditGlub(); }
    QString rangeD() { return win_->lblRangeD()->text(); }
    QString rangeT() { return win_->lblRangeT()->text(); }
    void linkOn();
    void setPermissible(const QString& r) { win_->frmEU1()->EditRmax()->setText(r); }
    void storeRingRange(const QString& start, const QString& end, const QString& step);
    // The rows of the chart window's table, cells joined by "/".
    QStringList chartRows(SelectionChartDialog* chart);
};

void TestBuriedRingWindow::init() {
    open();
}

void TestBuriedRingWindow::cleanup() {
    close();
}

void TestBuriedRingWindow::linkOn() {
    QToolButton* b = tool("btnLinkParam");
    QVERIFY(b->isEnabled());
    if (!b->isChecked())
        QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isChecked());
}

void TestBuriedRingWindow::storeRingRange(const QString& start, const QString& end, const QString& step) {
    DataTable& master = (*folder_->data)[QStringLiteral("TableParPod0")];
    DataTable& real = (*folder_->data)[QStringLiteral("TableRParPod1")];
    master.setFiltered(false);
    QVERIFY(master.isOpen() || master.open(dataDir()));
    QVERIFY(master.locate(QStringLiteral("KodTip"), 8));
    const int kod = master.asInteger(QStringLiteral("Kod"));
    real.setMaster(nullptr);
    real.setFiltered(false);
    QVERIFY(real.isOpen() || real.open(dataDir()));
    QVERIFY(real.locate(QStringList{QStringLiteral("Kod0"), QStringLiteral("Param")},
                        QVariantList{kod, u"Диаметр кольца, м"_s}));
    QVERIFY(real.edit());
    QVERIFY(real.setText(QStringLiteral("BValue"), start));
    QVERIFY(real.setText(QStringLiteral("EValue"), end));
    QVERIFY(real.setText(QStringLiteral("Shag"), step));
    QVERIFY(real.post());
}

QStringList TestBuriedRingWindow::chartRows(SelectionChartDialog* chart) {
    QStringList rows;
    QTableWidget* grid = chart->dataGrid();
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        rows << cells.join(QLatin1Char('/'));
    }
    return rows;
}

void TestBuriedRingWindow::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Кольцевой заземлитель в земле."_s);
    QCOMPARE(helpContextOf(win_.get()), 14);
    QCOMPARE(win_->findChild<QLabel*>(QStringLiteral("Label5"))->text(),
             u"Расчетная формула:   R = p / (2*П*П*D) * Ln[4*П*D*D/ (d*T)], Ом"_s);
    QStringList conditions;
    for (QLabel* l : win_->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->findChildren<QLabel*>())
        conditions << l->text();
    QCOMPARE(conditions, (QStringList{u"D >> d;  D >> 2T"_s, u"Для полосы шириной B: d = 0,5 B."_s,
                                      u"Для уголка с шириной полки B:  d = 0,95 B."_s}));
    QCOMPARE(win_->findChild<QLabel*>(QStringLiteral("lblEditDiam"))->text(), u"D - диаметр кольца, м:"_s);
    QCOMPARE(win_->findChild<QLabel*>(QStringLiteral("lblEditGlub"))->text(), u"Т - глубина заложения, м:"_s);
    QCOMPARE(diam()->text(), QStringLiteral("2"));
    QCOMPARE(glub()->text(), QStringLiteral("0,7"));
    // The selectable input is marked light green; the depth is not selectable.
    QCOMPARE(diam()->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));
    QVERIFY(glub()->palette().color(QPalette::Base) != QColor(0xC0, 0xDC, 0xC0));
    // The section's own diameter field keeps its name inside its frame.
    QVERIFY(win_->inputWidget(QStringLiteral("frmSech1.EditDiam")) != diam());
    QCOMPARE(rangeD(), QStringLiteral("( D > 1,4 )"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 1 )"));
    QCOMPARE(hintOf(win_->lblRangeD()),
             u"Диапазон допустимых значений диаметра кольца для текущего значения глубины заложения"_s);
    QCOMPARE(hintOf(win_->lblRangeT()),
             u"Диапазон допустимых значений глубины заложения для текущего значения диаметра кольца"_s);
    for (const char* name : {"SpinButtonD1", "SpinButtonD01", "SpinButtonD001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), diam());
    for (const char* name : {"SpinButtonT1", "SpinButtonT01", "SpinButtonT001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), glub());
    QCOMPARE(win_->stepButton(QStringLiteral("SpinButtonD001"))->step(), 0.01);
    QVERIFY(tool("btnLinkParam")->isEnabled());
    QVERIFY(!tool("btnLinkParam")->isChecked());
    QVERIFY(tool("btnLoad")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
    QCOMPARE(combo("cmbSech")->currentText(), u"сталь круглая"_s);
    QCOMPARE(combo("cmbDiam")->currentText(), QStringLiteral("0,016"));
    QVERIFY(rec_->messages.isEmpty());

    score();
    // ln(4π·4 / (0,016·0,7)) · 100 / (4π²) = 21,3006...
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("21,3"));
    QCOMPARE(win_->EditRaschet()->text(),
             u"R = 100 / (2*3,14*3,14*2) * ln[4*3,14*2*2/ (0,016*0,7)] = 21,3 Ом Условие применения формулы D >> 2T выполняется слабо (D/2T = 1,4): результат приближенный."_s);
    QVERIFY(tool("btnReport")->isEnabled());
}

void TestBuriedRingWindow::everySectionThinnerThanTheRingPasses() {
    // Defaults D = 2, T = 0,7 with whatever section the tables hold (all thinner than 2 m).
    int tried = 0;
    for (int c = 0; c < combo("cmbSech")->count(); ++c) {
        combo("cmbSech")->setCurrentIndex(c);
        for (int s = 0; s < combo("cmbDiam")->count(); ++s) {
            combo("cmbDiam")->setCurrentIndex(s);
            rec_->messages.clear();
            QVERIFY2(win_->checkInputs(true), qPrintable(combo("cmbSech")->currentText() + QLatin1Char(' ') +
                                                         combo("cmbDiam")->currentText() + QLatin1Char(' ') +
                                                         rec_->messages.join(QLatin1Char('\n'))));
            ++tried;
        }
    }
    QVERIFY(tried > 10);
}

void TestBuriedRingWindow::checks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("1 coefficient empty") << "EditPKV"
                                         << "" << u"Введите значение коэффициента поправки."_s;
    QTest::newRow("3 p0 empty") << "EditRo0"
                                << "" << u"Введите значение удельного сопротивления грунта."_s;
    QTest::newRow("5 ring diameter empty") << "EditDiam"
                                           << "" << u"Введите значение диаметра кольца."_s;
    QTest::newRow("5 ring diameter 0") << "EditDiam"
                                       << "0" << u"Значение диаметра кольца должно быть больше 0."_s;
    QTest::newRow("5 depth empty") << "EditGlub"
                                   << "" << u"Введите значение глубины заложения."_s;
    QTest::newRow("5 depth 0") << "EditGlub"
                               << "0" << u"Значение глубины заложения должно быть больше 0."_s;
    QTest::newRow("6 p0 above the soil's range")
        << "EditRo0"
        << "170" << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s;
    // D = 0,01 breaks both rules (2T > D too): the section's is told first.
    QTest::newRow("7 ring thinner than its section") << "EditDiam"
                                                     << "0,01" << sectionRule;
    QTest::newRow("7 ring as thick as its section") << "EditDiam"
                                                    << "0,016" << sectionRule;
    QTest::newRow("8 radius below the depth") << "EditGlub"
                                              << "1,5" << depthRule;
}

void TestBuriedRingWindow::checks() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    score();
    QVERIFY(!win_->EditVS1()->text().isEmpty());
    type(qobject_cast<QLineEdit*>(win_->inputWidget(input)), text);
    rec_->messages.clear();
    win_->calculate(true);
    QCOMPARE(rec_->messages, QStringList{message});
    QCOMPARE(win_->EditVS1()->text(), QString());
    QCOMPARE(win_->EditRaschet()->text(), QString());
    QCOMPARE(win_->inputText(input), text); // kept as typed
}

void TestBuriedRingWindow::rangeLabelsFollowTheOtherInput() {
    type(diam(), QStringLiteral("3,5"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 1,75 )"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 1,4 )"));
    type(glub(), QStringLiteral("0,55"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 1,1 )"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 1,75 )"));
    // Five decimals for T: 1,2345678 / 2 = 0,6172839.
    type(diam(), QStringLiteral("1,2345678"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 0,61728 )"));
    // A value that is no positive number leaves its label empty.
    type(diam(), QString());
    QCOMPARE(rangeT(), QString());
    type(glub(), QStringLiteral("0"));
    QCOMPARE(rangeD(), QString());
    // Reopening recomputes them.
    win_->hide();
    win_->lblRangeD()->setText(QStringLiteral("x"));
    win_->show();
    QCOMPARE(rangeD(), QString());
    QCOMPARE(rangeT(), QString());
}

void TestBuriedRingWindow::rangeOfTheDiameterShowsAThickSection() {
    type(glub(), QStringLiteral("0,01"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 0,02 )"));
    choose(combo("cmbDiam"), QStringLiteral("0,032"));
    // d = 0,032 > 2T = 0,02: the section bounds the ring.
    QCOMPARE(rangeD(), QStringLiteral("( D > 0,032 )"));
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), QStringLiteral("0,04x0,004"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 0,02 )")); // d = 0,5·0,04 = 2T: 2T is not greater
    choose(combo("cmbDiam"), QStringLiteral("0,05x0,005"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 0,025 )"));
    type(glub(), QStringLiteral("0,5"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 1 )"));
}

void TestBuriedRingWindow::linkingMovesTheOtherInput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ringD");
    QTest::addColumn<QString>("t");
    QTest::addColumn<QString>("labelD");
    QTest::addColumn<QString>("labelT");
    // T = 1/2 − 0,1.
    QTest::newRow("D 1 with T 0,7") << "EditDiam"
                                    << "1"
                                    << "1"
                                    << "0,4"
                                    << "( D > 0,8 )"
                                    << "( T < 0,5 )";
    // D = 2·1,5 + 0,1.
    QTest::newRow("T 1,5 with D 2") << "EditGlub"
                                    << "1,5"
                                    << "3,1"
                                    << "1,5"
                                    << "( D > 3 )"
                                    << "( T < 1,55 )";
    // 0,1/2 − 0,1 < 0: T stays.
    QTest::newRow("D 0,1") << "EditDiam"
                           << "0,1"
                           << "0,1"
                           << "0,7"
                           << "( D > 1,4 )"
                           << "( T < 0,05 )";
    // The rule holds: nothing moves.
    QTest::newRow("D 5") << "EditDiam"
                         << "5"
                         << "5"
                         << "0,7"
                         << "( D > 1,4 )"
                         << "( T < 2,5 )";
}

void TestBuriedRingWindow::linkingMovesTheOtherInput() {
    QFETCH(QString, input);
    QFETCH(QString, typed);
    QFETCH(QString, ringD);
    QFETCH(QString, t);
    QFETCH(QString, labelD);
    QFETCH(QString, labelT);
    linkOn();
    type(edit(input.toLatin1().constData()), typed);
    QCOMPARE(diam()->text(), ringD);
    QCOMPARE(glub()->text(), t);
    QCOMPARE(rangeD(), labelD);
    QCOMPARE(rangeT(), labelT);
    QCOMPARE(focused(), input); // the moved input never takes the focus
}

void TestBuriedRingWindow::withoutLinkingTheRuleFails() {
    autoOn();
    rec_->messages.clear();
    type(diam(), QStringLiteral("1"));
    QCOMPARE(glub()->text(), QStringLiteral("0,7"));
    QCOMPARE(win_->messageLine()->text(), depthRule);
    QCOMPARE(win_->EditVS1()->text(), QString());
    // Leaving the input says it in a box.
    QVERIFY(rec_->messages.isEmpty());
    QTest::keyClick(diam(), Qt::Key_Tab);
    QCOMPARE(rec_->messages, QStringList{depthRule});
}

void TestBuriedRingWindow::linkingKeepsTheResultValid() {
    linkOn();
    autoOn();
    rec_->messages.clear();
    type(diam(), QStringLiteral("1"));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    // D 1, T 0,4: ln(4π / (0,016·0,4)) · 100 / (2π²) = 38,4133...
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("38,41"));
    QCOMPARE(win_->EditRaschet()->text(),
             u"R = 100 / (2*3,14*3,14*1) * ln[4*3,14*1*1/ (0,016*0,4)] = 38,41 Ом Условие применения формулы D >> 2T выполняется слабо (D/2T = 1,2): результат приближенный."_s);
}

void TestBuriedRingWindow::stepButtonsAreTheUsers() {
    linkOn();
    autoOn();
    QWidget* other = edit("EditRo0");
    other->setFocus(Qt::OtherFocusReason);
    // 2 − 1 = 1: the depth follows (0,4) and the result is recalculated at once.
    QTest::mouseClick(win_->stepButton(QStringLiteral("SpinButtonD1"))->downButton(), Qt::LeftButton);
    QCOMPARE(diam()->text(), QStringLiteral("1"));
    QCOMPARE(glub()->text(), QStringLiteral("0,4"));
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("38,41"));
    // The depth's button moves the diameter: 0,4 + 1 = 1,4, D = 2,9.
    QTest::mouseClick(win_->stepButton(QStringLiteral("SpinButtonT1"))->upButton(), Qt::LeftButton);
    QCOMPARE(glub()->text(), QStringLiteral("1,4"));
    QCOMPARE(diam()->text(), QStringLiteral("2,9"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 1,45 )"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 2,8 )"));
}

void TestBuriedRingWindow::pressingTheLinkAppliesTheRuleAtOnce() {
    type(diam(), QStringLiteral("1"));
    QCOMPARE(glub()->text(), QStringLiteral("0,7"));
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    // With the focus elsewhere the diameter's rule runs and the focus goes back.
    QCOMPARE(glub()->text(), QStringLiteral("0,4"));
    QCOMPARE(focused(), QStringLiteral("EditRo0"));
    // Releasing does nothing.
    type(glub(), QStringLiteral("2"));
    QCOMPARE(diam()->text(), QStringLiteral("4,1"));
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QVERIFY(!tool("btnLinkParam")->isChecked());
    type(glub(), QStringLiteral("3"));
    QCOMPARE(diam()->text(), QStringLiteral("4,1"));
    // Pressed with the depth focused: the depth's rule, 2·3 + 0,1.
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QCOMPARE(diam()->text(), QStringLiteral("6,1"));
    QCOMPARE(glub()->text(), QStringLiteral("3"));
    QCOMPARE(focused(), QStringLiteral("EditGlub"));
}

void TestBuriedRingWindow::programWritesActOnNothing() {
    autoOn();
    linkOn();
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("21,3"));
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    const int before = win_->calculationCount();
    // Written by the program: no linking, no calculation; the label follows the diameter written.
    diam()->setText(QStringLiteral("1"));
    QCOMPARE(glub()->text(), QStringLiteral("0,7"));
    QCOMPARE(win_->calculationCount(), before);
    QCOMPARE(rangeT(), QStringLiteral("( T < 0,5 )"));
    // The user's change of another input calculates with it.
    rec_->messages.clear();
    type(edit("EditPKV"), QStringLiteral("1,5"));
    QCOMPARE(win_->messageLine()->text(), depthRule);
}

void TestBuriedRingWindow::malformedNumberIsLeftToTheCheck() {
    type(diam(), QString());
    QTest::keyClick(diam(), Qt::Key_Tab);
    QVERIFY(rec_->messages.isEmpty()); // no exit check here
    QVERIFY(!diam()->hasFocus());
    type(glub(), QString());
    edit("EditRo0")->setFocus(Qt::TabFocusReason);
    QVERIFY(rec_->messages.isEmpty());
    score(); // disabled with an empty input
    win_->calculate(true);
    QCOMPARE(rec_->messages, QStringList{u"Введите значение диаметра кольца."_s});
}

void TestBuriedRingWindow::saveAndLoadRoundTrip() {
    choose(combo("ComboGrunt"), u"глина"_s);
    type(edit("EditRo0"), QStringLiteral("50"));
    type(edit("EditPKV"), QStringLiteral("1,3"));
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), QStringLiteral("0,04x0,004"));
    type(diam(), QStringLiteral("5"));
    type(glub(), QStringLiteral("1"));
    score();
    const QString result = win_->EditVS1()->text();
    QVERIFY(!result.isEmpty());
    rec_->inputs << std::optional<QString>(u"Кольцо у цеха"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(QLatin1Char('|'), 2), u"Кольцевой заземлитель в земле 1."_s);

    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(QStringLiteral("Name"), u"Кольцо у цеха"_s));
    QCOMPARE(hist.asInteger(QStringLiteral("KodTip")), 8);
    QCOMPARE(hist.text(QStringLiteral("D1")), QStringLiteral("5"));
    QCOMPARE(hist.text(QStringLiteral("T")), QStringLiteral("1"));
    QCOMPARE(hist.text(QStringLiteral("Razmer")), QStringLiteral("0,04x0,004"));
    QCOMPARE(hist.text(QStringLiteral("R")), result);
    QVERIFY(hist.isNull(QStringLiteral("D2")));

    choose(combo("ComboGrunt"), u"песок"_s);
    choose(combo("cmbSech"), u"сталь круглая"_s);
    type(diam(), QStringLiteral("9"));
    type(glub(), QStringLiteral("2"));
    autoOn();
    linkOn();
    glub()->setFocus(Qt::OtherFocusReason);
    rec_->messages.clear();
    QStringList captions;
    rec_->onModal = [&](QDialog* dialog) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(dialog);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        for (int k = 1; k <= 7; ++k)
            captions << loader->label(k)->text();
        loader->table().locate(QStringLiteral("Name"), u"Кольцо у цеха"_s);
        loader->hide();
        return int(QDialog::Accepted);
    };
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(captions.mid(5), (QStringList{u"Диаметр кольца, м:"_s, u"Глубина заложения, м:"_s}));
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(combo("ComboGrunt")->currentText(), u"глина"_s);
    QCOMPARE(edit("EditRo0")->text(), QStringLiteral("50"));
    QCOMPARE(combo("cmbDiam")->currentText(), QStringLiteral("0,04x0,004"));
    QCOMPARE(diam()->text(), QStringLiteral("5"));
    QCOMPARE(glub()->text(), QStringLiteral("1"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 2 )"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 2,5 )"));
    QCOMPARE(win_->EditVS1()->text(), result);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
}

void TestBuriedRingWindow::pasteRestoresWithOneCalculation() {
    type(diam(), QStringLiteral("3"));
    type(glub(), QStringLiteral("1,2"));
    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    QVERIFY(tool("btnPaste")->isEnabled());
    score();
    const QString result = win_->EditVS1()->text();
    type(diam(), QStringLiteral("7"));
    type(glub(), QStringLiteral("0,5"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 3,5 )"));
    autoOn();
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnPaste"), Qt::LeftButton);
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(diam()->text(), QStringLiteral("3"));
    QCOMPARE(glub()->text(), QStringLiteral("1,2"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 2,4 )"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 1,5 )"));
    QCOMPARE(win_->EditVS1()->text(), result);
}

void TestBuriedRingWindow::singleRunOverTheDiameter() {
    // Stored: 1 … 5 step 1. T = 0,7, d = 0,016, p = 100; Rдоп 13.
    setPermissible(QStringLiteral("13"));
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->selectParameterWithDataAtPopup();
    QVERIFY(chart);
    QCOMPARE(chart->windowTitle(), u"Подбор параметра \"Диаметр кольца, м\"."_s);
    // D 1: 1/0,7 < 2,00001; then ln(4πD²/(0,016·0,7))·100/(2π²D): 21,30, 15,57, 12,41 <= 13.
    QCOMPARE(chartRows(chart), (QStringList{u"D, м/T, м/R, Ом"_s, u"1/0,7/Нарушение условий"_s,
                                            u"2/0,7/21,3"_s, u"3/0,7/15,57"_s, u"4/0,7/12,41"_s}));
    QCOMPARE(
        chart->Memo1()->toPlainText(),
        u"D, м - диаметр кольца, м\nT, м - глубина заложения, м\nR, Ом - сопротивление растеканию, Ом"_s);
    QCOMPARE(chart->lblItog()->text(), u"подбор параметра успешен."_s);
    QCOMPARE(diam()->text(), QStringLiteral("4"));
    QCOMPARE(glub()->text(), QStringLiteral("0,7"));
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("12,41"));
    QCOMPARE(win_->EditRaschet()->text(),
             u"R = 100 / (2*3,14*3,14*4) * ln[4*3,14*4*4/ (0,016*0,7)] = 12,41 Ом Условие применения формулы D >> 2T выполняется слабо (D/2T = 2,9): результат приближенный."_s);
    QCOMPARE(rangeT(), QStringLiteral("( T < 2 )"));
    QVERIFY(rec_->messages.isEmpty());
}

void TestBuriedRingWindow::singleRunWithLinkingMovesTheDepth() {
    linkOn();
    setPermissible(QStringLiteral("13"));
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->selectParameterWithDataAtPopup();
    QVERIFY(chart);
    // D 1 with T 0,7: T = 1/2 − 0,1 = 0,4, kept for the larger rings (2·0,4 < D).
    QCOMPARE(chartRows(chart), (QStringList{u"D, м/T, м/R, Ом"_s, u"1/0,4/38,41"_s, u"2/0,4/22,72"_s,
                                            u"3/0,4/16,51"_s, u"4/0,4/13,11"_s, u"5/0,4/10,94"_s}));
    QCOMPARE(diam()->text(), QStringLiteral("5"));
    QCOMPARE(glub()->text(), QStringLiteral("0,4"));
    QCOMPARE(rangeD(), QStringLiteral("( D > 0,8 )"));
    QCOMPARE(rangeT(), QStringLiteral("( T < 2,5 )"));
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("10,94"));
}

void TestBuriedRingWindow::singleRunWithoutSuccess() {
    setPermissible(QStringLiteral("5"));
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->selectParameterAtPopup();
    QCOMPARE(rec_->messages, QStringList{u"Подбор параметра \"Диаметр кольца, м\" неудачен."_s});
    QCOMPARE(diam()->text(), QStringLiteral("5"));
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("10,38"));
    // The depth is not selectable: it has no popup.
    QCOMPARE(glub()->contextMenuPolicy(), Qt::DefaultContextMenu);
    QCOMPARE(diam()->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestBuriedRingWindow::singleAndNestedRunsDifferAtTheLimit() {
    // D/T = 4,00001 / 2 = 2,000005: not above 2,00001, above 2.
    type(glub(), QStringLiteral("2"));
    storeRingRange(QStringLiteral("4,00001"), QStringLiteral("4,00001"), QStringLiteral("0,00001"));
    setPermissible(QStringLiteral("100"));
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->selectParameterWithDataAtPopup();
    QVERIFY(chart);
    QCOMPARE(chartRows(chart).value(1), u"4,00001/2/Нарушение условий"_s);
    QCOMPARE(win_->EditVS1()->text(), QString());

    rec_->onModal = [&](QDialog* dialog) {
        auto* form = qobject_cast<SelectionRunDialog*>(dialog);
        if (!form)
            return int(QDialog::Rejected);
        form->addParameter(); // the first offered: the ring diameter
        form->parameterGrid()->item(0, 1)->setText(QStringLiteral("4,00001"));
        form->parameterGrid()->item(0, 2)->setText(QStringLiteral("4,00001"));
        form->parameterGrid()->item(0, 3)->setText(QStringLiteral("0,00001"));
        form->EditR()->setText(QStringLiteral("100"));
        return int(QDialog::Accepted);
    };
    rec_->messages.clear();
    QTest::mouseClick(tool("btnPodbor"), Qt::LeftButton);
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(diam()->text(), QStringLiteral("4,00001"));
    // ln(4π·4,00001² / (0,016·2)) · 100 / (2π²·4,00001) = 11,0764...
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("11,08"));
}

void TestBuriedRingWindow::settingsOpenAtTheFocusedParameter() {
    QStringList shown;
    rec_->onModal = [&](QDialog* dialog) {
        if (auto* form = qobject_cast<SelectionSettingsDialog*>(dialog))
            shown << QString::number(form->handOverKind()) + QLatin1Char('|') + form->handOverName();
        return int(QDialog::Rejected);
    };
    diam()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    edit("EditPKV")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    glub()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(shown, (QStringList{u"2|Диаметр кольца, м"_s, u"1|Удельное сопротивление грунта, Ом м"_s,
                                 u"2|Коэффициент поправки"_s, u"1|"_s}));
    // Only this kind's stored sets are offered.
    QCOMPARE((*folder_->data)[QStringLiteral("TableParPod0")].filter(), QStringLiteral("[KodTip]='8'"));
}

QTEST_MAIN(TestBuriedRingWindow)
#include "tst_buriedringwindow.moc"
