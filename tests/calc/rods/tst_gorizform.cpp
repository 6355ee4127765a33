#include "../core/CalcWindowFixture.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "CalculatorWindowOf.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"

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

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
const QString depthRule =
    u"Ошибка. Длина горизонтального заземлителя должна быть больше глубины заложения более чем в 4 раза."_s;
const QString diameterRule = u"Ошибка. Длина горизонтального заземлителя должна быть больше диаметра."_s;
} // namespace

// The buried strip driven as a user drives it: typed values, step buttons, the linking toggle,
// history, copy and paste, single-parameter and nested selection.
class TestGorizForm : public QObject, CalcWindowFixture<TGorizFm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void checks_data();
    void checks();
    void lengthMustExceedFourDepths();
    void rangeLabelsFollowTheOtherInput();
    void linkingMovesTheOtherInput_data();
    void linkingMovesTheOtherInput();
    void withoutLinkingTheRuleFails();
    void stepButtonsAreTheUsers();
    void pressingTheLinkAppliesTheRuleAtOnce();
    void programWritesActOnNothing();
    void saveAndLoadRoundTrip();
    void pasteRestoresWithOneCalculation();
    void singleRunOverTheLength();
    void singleRunWithLinkingMovesTheDepth();
    void nestedRunKeepsTheDepth();
    void settingsOpenAtTheFocusedParameter();
    void menuOpensTheWindow();

private:
    QLineEdit* dlina() { return win_->EditDlina(); }
    QLineEdit* glub() { return win_->EditGlub(); }
    QString rangeL() { return win_->lblRangeL()->text(); }
    QString rangeT() { return win_->lblRangeT()->text(); }
    void linkOn();
    void setPermissible(const QString& r) { win_->frmEU1()->EditRmax()->setText(r); }
    QStringList chartRows(SelectionChartDialog* chart);
    SelectionChartDialog* runOverTheLengthWithTable();
};

void TestGorizForm::linkOn() {
    QToolButton* b = tool("btnLinkParam");
    QVERIFY(b->isEnabled());
    if (!b->isChecked())
        QTest::mouseClick(b, Qt::LeftButton);
    QVERIFY(b->isChecked());
}

QStringList TestGorizForm::chartRows(SelectionChartDialog* chart) {
    QStringList rows;
    QTableWidget* grid = chart->StringGrid1();
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        rows << cells.join(u'/');
    }
    return rows;
}

SelectionChartDialog* TestGorizForm::runOverTheLengthWithTable() {
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit dlina()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->N2Click();
    return chart;
}

void TestGorizForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Горизонтальный заземлитель в земле."_s);
    QCOMPARE(helpContextOf(win_.get()), 19);
    QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(),
             u"Расчетная формула:   R = p / (2*П*L) * Ln[L*L/(T*D)], Ом"_s);
    QStringList conditions;
    for (QLabel* l : win_->findChild<QGroupBox*>(u"GroupBox1"_s)->findChildren<QLabel*>())
        conditions << l->text();
    QCOMPARE(conditions, (QStringList{u"L >> D; L >> 4T "_s, u"Для полосы шириной B:  D = 0,5 B."_s,
                                      u"Для уголка с шириной полки B:  D = 0,95 B."_s}));
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditDlina"_s)->text(), u"L - длина заземлителя, м:"_s);
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditGlub"_s)->text(), u"T - глубина заложения, м:"_s);
    QCOMPARE(dlina()->text(), u"5"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    QCOMPARE(rangeL(), u"( L > 2,8 )"_s);
    QCOMPARE(rangeT(), u"( T < 1,25 )"_s);
    QCOMPARE(hintOf(win_->lblRangeL()),
             u"Диапазон допустимых значений длины заземлителя для текущего значения глубины заложения"_s);
    QCOMPARE(hintOf(win_->lblRangeT()),
             u"Диапазон допустимых значений глубины заложения для текущего значения длины заземлителя"_s);
    for (const char* name : {"SpinButtonL1", "SpinButtonL01", "SpinButtonL001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), dlina());
    for (const char* name : {"SpinButtonT1", "SpinButtonT01", "SpinButtonT001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), glub());
    QCOMPARE(win_->stepButton(u"SpinButtonT001"_s)->step(), 0.01);
    QVERIFY(tool("btnLinkParam")->isEnabled());
    QVERIFY(!tool("btnLinkParam")->isChecked());
    QCOMPARE(hintOf(tool("btnLinkParam")), u"Синхронизация изменения связанных параметров"_s);
    QVERIFY(!win_->Image1()->pixmap().isNull());
    QCOMPARE(combo("cmbSech")->currentText(), u"сталь круглая"_s);
    QCOMPARE(combo("cmbDiam")->currentText(), u"0,016"_s);
    QVERIFY(rec_->messages.isEmpty());

    score();
    // ln(25 / (0,7·0,016)) · 100 / (10π) = 24,5439...
    QCOMPARE(win_->EditVS1()->text(), u"24,54"_s);
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (2*3,14*5) * Ln[5*5/ (0,7*0,016)] = 24,54 Ом"_s);
    QVERIFY(tool("btnReport")->isEnabled());

    // The handbook's example: D = 0,02 (a strip 0,04 wide): 23,83.
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), u"0,04x0,004"_s);
    score();
    QCOMPARE(win_->EditVS1()->text(), u"23,83"_s);
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (2*3,14*5) * Ln[5*5/ (0,7*0,02)] = 23,83 Ом"_s);
}

void TestGorizForm::checks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("1 coefficient empty") << u"EditPKV"_s << QString() << u"Введите значение коэффициента поправки."_s;
    QTest::newRow("3 p0 empty") << u"EditRo0"_s << QString()
                                << u"Введите значение удельного сопротивления грунта."_s;
    QTest::newRow("3 p0 zero") << u"EditRo0"_s << u"0"_s
                               << u"Значение удельного сопротивления грунта должно быть больше 0."_s;
    QTest::newRow("7 length empty") << u"EditDlina"_s << QString() << u"Введите значение длины заземлителя."_s;
    QTest::newRow("7 length 0") << u"EditDlina"_s << u"0"_s << u"Значение длины заземлителя должно быть больше 0."_s;
    QTest::newRow("8 depth empty") << u"EditGlub"_s << QString() << u"Введите значение глубины заложения."_s;
    QTest::newRow("8 depth 0") << u"EditGlub"_s << u"0"_s << u"Значение глубины заложения должно быть больше 0."_s;
    QTest::newRow("9 p0 above the soil's range")
        << u"EditRo0"_s << u"170"_s << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s;
    // L = 0,016 breaks both rules: the diameter's is told first.
    QTest::newRow("10 length equal to the diameter") << u"EditDlina"_s << u"0,016"_s << diameterRule;
    QTest::newRow("11 length equal to 4T") << u"EditDlina"_s << u"2,8"_s << depthRule;
}

void TestGorizForm::checks() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    score();
    QVERIFY(!win_->EditVS1()->text().isEmpty());
    type(qobject_cast<QLineEdit*>(win_->inputWidget(input)), text);
    rec_->messages.clear();
    win_->Calculate(true);
    QCOMPARE(rec_->messages, QStringList{message});
    QCOMPARE(win_->EditVS1()->text(), QString());
    QCOMPARE(win_->EditRaschet()->text(), QString());
    QCOMPARE(win_->inputText(input), text); // kept as typed
}

void TestGorizForm::lengthMustExceedFourDepths() {
    type(dlina(), u"2,8"_s);
    rec_->messages.clear();
    score();
    QCOMPARE(rec_->messages, QStringList{depthRule});
    type(dlina(), u"2,81"_s);
    score();
    QCOMPARE(rec_->messages, QStringList{depthRule});
    // ln(7,8961 / 0,0112) · 100 / (5,62π) = 37,1448...
    QCOMPARE(win_->EditVS1()->text(), u"37,14"_s);
}

void TestGorizForm::rangeLabelsFollowTheOtherInput() {
    type(dlina(), u"7"_s);
    QCOMPARE(rangeT(), u"( T < 1,75 )"_s);
    QCOMPARE(rangeL(), u"( L > 2,8 )"_s);
    type(glub(), u"0,55"_s);
    QCOMPARE(rangeL(), u"( L > 2,2 )"_s);
    QCOMPARE(rangeT(), u"( T < 1,75 )"_s);
    // Five decimals: 1,2345678 / 4 = 0,30864195.
    type(dlina(), u"1,2345678"_s);
    QCOMPARE(rangeT(), u"( T < 0,30864 )"_s);
    // A value that is no positive number leaves its label empty.
    type(dlina(), QString());
    QCOMPARE(rangeT(), QString());
    type(glub(), u"0"_s);
    QCOMPARE(rangeL(), QString());
    // Reopening recomputes them.
    win_->hide();
    win_->lblRangeL()->setText(u"x"_s);
    win_->show();
    QCOMPARE(rangeL(), QString());
    QCOMPARE(rangeT(), QString());
}

void TestGorizForm::linkingMovesTheOtherInput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("l");
    QTest::addColumn<QString>("t");
    QTest::addColumn<QString>("labelL");
    QTest::addColumn<QString>("labelT");
    QTest::addColumn<QString>("result");
    // T = 2/4 − 0,1; ln(4 / 0,0064) · 100 / (4π) = 51,2299...
    QTest::newRow("L 2 with T 0,7") << u"EditDlina"_s << u"2"_s << u"2"_s << u"0,4"_s << u"( L > 1,6 )"_s
                                    << u"( T < 0,5 )"_s << u"51,23"_s;
    // L = 4·2 + 0,1; ln(65,61 / 0,032) · 100 / (16,2π) = 14,9836...
    QTest::newRow("T 2 with L 5") << u"EditGlub"_s << u"2"_s << u"8,1"_s << u"2"_s << u"( L > 8 )"_s
                                  << u"( T < 2,025 )"_s << u"14,98"_s;
    // 0,3/4 − 0,1 < 0: T stays and the check fails.
    QTest::newRow("L 0,3") << u"EditDlina"_s << u"0,3"_s << u"0,3"_s << u"0,7"_s << u"( L > 2,8 )"_s
                           << u"( T < 0,075 )"_s << QString();
    // The rule holds: nothing moves.
    // (One keystroke: typing "10" would pass through L = 1 and move T on the way.)
    QTest::newRow("L 9") << u"EditDlina"_s << u"9"_s << u"9"_s << u"0,7"_s << u"( L > 2,8 )"_s
                         << u"( T < 2,25 )"_s << u"15,71"_s;
}

void TestGorizForm::linkingMovesTheOtherInput() {
    QFETCH(QString, input);
    QFETCH(QString, typed);
    QFETCH(QString, l);
    QFETCH(QString, t);
    QFETCH(QString, labelL);
    QFETCH(QString, labelT);
    QFETCH(QString, result);
    linkOn();
    autoOn();
    rec_->messages.clear();
    type(qobject_cast<QLineEdit*>(win_->inputWidget(input)), typed);
    QCOMPARE(dlina()->text(), l);
    QCOMPARE(glub()->text(), t);
    QCOMPARE(rangeL(), labelL);
    QCOMPARE(rangeT(), labelT);
    QCOMPARE(focused(), input); // the moved input never takes the focus
    QCOMPARE(win_->EditVS1()->text(), result);
    // While typing, the rule is said in the window's message line.
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(win_->messageLine()->text().isEmpty(), !result.isEmpty());
    if (result.isEmpty())
        QCOMPARE(win_->messageLine()->text(), depthRule);
}

void TestGorizForm::withoutLinkingTheRuleFails() {
    autoOn();
    rec_->messages.clear();
    type(dlina(), u"2"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    QCOMPARE(win_->messageLine()->text(), depthRule);
    QCOMPARE(win_->EditVS1()->text(), QString());
    type(dlina(), u"5"_s);
    rec_->messages.clear();
    type(glub(), u"2"_s);
    QCOMPARE(dlina()->text(), u"5"_s);
    QCOMPARE(win_->messageLine()->text(), depthRule);
    // Enter says it in a box.
    QTest::keyClick(glub(), Qt::Key_Return);
    QCOMPARE(rec_->messages.value(0), depthRule);
}

void TestGorizForm::stepButtonsAreTheUsers() {
    linkOn();
    autoOn();
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    // 5 − 1 − 1 − 1 = 2: at 2 the depth follows (0,4) and the result is recalculated at once.
    for (int k = 0; k < 3; ++k)
        QTest::mouseClick(win_->stepButton(u"SpinButtonL1"_s)->downButton(), Qt::LeftButton);
    QCOMPARE(dlina()->text(), u"2"_s);
    QCOMPARE(glub()->text(), u"0,4"_s);
    QCOMPARE(win_->EditVS1()->text(), u"51,23"_s);
    // The depth's button moves the length: 0,4 + 1 = 1,4, L = 5,7.
    QTest::mouseClick(win_->stepButton(u"SpinButtonT1"_s)->upButton(), Qt::LeftButton);
    QCOMPARE(glub()->text(), u"1,4"_s);
    QCOMPARE(dlina()->text(), u"5,7"_s);
    QCOMPARE(rangeT(), u"( T < 1,425 )"_s);
    QCOMPARE(rangeL(), u"( L > 5,6 )"_s);
}

void TestGorizForm::pressingTheLinkAppliesTheRuleAtOnce() {
    type(dlina(), u"2"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    // With the focus elsewhere the length's rule runs and the focus goes back.
    QCOMPARE(glub()->text(), u"0,4"_s);
    QCOMPARE(focused(), u"EditRo0"_s);
    type(glub(), u"2"_s);
    QCOMPARE(dlina()->text(), u"8,1"_s);
    // Releasing does nothing.
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QVERIFY(!tool("btnLinkParam")->isChecked());
    type(glub(), u"3"_s);
    QCOMPARE(dlina()->text(), u"8,1"_s);
    // Pressed with the depth focused: the depth's rule, 4·3 + 0,1.
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QCOMPARE(dlina()->text(), u"12,1"_s);
    QCOMPARE(glub()->text(), u"3"_s);
    QCOMPARE(focused(), u"EditGlub"_s);
}

void TestGorizForm::programWritesActOnNothing() {
    autoOn();
    linkOn();
    QCOMPARE(win_->EditVS1()->text(), u"24,54"_s);
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    const int before = win_->calculationCount();
    // Written by the program: no linking, no calculation, no label.
    dlina()->setText(u"2"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    QCOMPARE(win_->calculationCount(), before);
    QCOMPARE(rangeT(), u"( T < 1,25 )"_s);
    // The user's change of another input calculates with it.
    rec_->messages.clear();
    type(edit("EditPKV"), u"1,5"_s);
    QCOMPARE(win_->messageLine()->text(), depthRule);
}

void TestGorizForm::saveAndLoadRoundTrip() {
    choose(combo("ComboGrunt"), u"глина"_s);
    type(edit("EditRo0"), u"50"_s);
    type(edit("EditPKV"), u"1,3"_s);
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), u"0,04x0,004"_s);
    type(dlina(), u"10"_s);
    type(glub(), u"1"_s);
    score();
    // p = 65, D = 0,02: ln(100 / 0,02) · 65 / (20π) = 8,8110...
    QCOMPARE(win_->EditVS1()->text(), u"8,81"_s);
    rec_->inputs << std::optional<QString>(u"Полоса у цеха"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2), u"Горизонтальный заземлитель в земле 1."_s);

    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Полоса у цеха"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 6);
    QCOMPARE(hist.text(u"L"_s), u"10"_s);
    QCOMPARE(hist.text(u"T"_s), u"1"_s);
    QCOMPARE(hist.text(u"Razmer"_s), u"0,04x0,004"_s);
    QCOMPARE(hist.text(u"R"_s), u"8,81"_s);

    choose(combo("ComboGrunt"), u"песок"_s);
    choose(combo("cmbSech"), u"сталь круглая"_s);
    type(dlina(), u"30"_s);
    type(glub(), u"2"_s);
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
        loader->table().locate(u"Name"_s, u"Полоса у цеха"_s);
        loader->hide();
        return int(QDialog::Accepted);
    };
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(captions.mid(5), (QStringList{u"Глубина заложения, м:"_s, u"Длина стержня, м:"_s}));
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(combo("ComboGrunt")->currentText(), u"глина"_s);
    QCOMPARE(combo("cmbDiam")->currentText(), u"0,04x0,004"_s);
    // Loaded into the focused depth: nothing is linked, the labels follow.
    QCOMPARE(dlina()->text(), u"10"_s);
    QCOMPARE(glub()->text(), u"1"_s);
    QCOMPARE(rangeL(), u"( L > 4 )"_s);
    QCOMPARE(rangeT(), u"( T < 2,5 )"_s);
    QCOMPARE(win_->EditVS1()->text(), u"8,81"_s);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
}

void TestGorizForm::pasteRestoresWithOneCalculation() {
    type(dlina(), u"3"_s);
    type(glub(), u"0,5"_s);
    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    QVERIFY(tool("btnPaste")->isEnabled());
    score();
    const QString result = win_->EditVS1()->text();
    type(dlina(), u"20"_s);
    type(glub(), u"1"_s);
    QCOMPARE(rangeT(), u"( T < 5 )"_s);
    autoOn();
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnPaste"), Qt::LeftButton);
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(dlina()->text(), u"3"_s);
    QCOMPARE(glub()->text(), u"0,5"_s);
    QCOMPARE(rangeL(), u"( L > 2 )"_s);
    QCOMPARE(rangeT(), u"( T < 0,75 )"_s);
    QCOMPARE(win_->EditVS1()->text(), result);
}

void TestGorizForm::singleRunOverTheLength() {
    // Stored: 3 … 100 step 1. T = 0,7, D = 0,016, p = 100; Rдоп 20.
    setPermissible(u"20"_s);
    SelectionChartDialog* chart = runOverTheLengthWithTable();
    QVERIFY(chart);
    QCOMPARE(chart->windowTitle(), u"Подбор параметра \"Длина стержня, м\"."_s);
    // ln(L² / (0,7·0,016)) · 100 / (2πL): 35,49, 28,9, 24,54, 21,42, 19,06 <= 20.
    QCOMPARE(chartRows(chart), (QStringList{u"L, м/T, м/R, Ом"_s, u"3/0,7/35,49"_s, u"4/0,7/28,9"_s,
                                            u"5/0,7/24,54"_s, u"6/0,7/21,42"_s, u"7/0,7/19,06"_s}));
    QCOMPARE(chart->Memo1()->toPlainText(),
             u"L, м - длина стержня, м\nT, м - глубина заложения, м\nR, Ом - сопротивление растеканию, Ом"_s);
    QCOMPARE(chart->lblItog()->text(), u"подбор параметра успешен."_s);
    QCOMPARE(dlina()->text(), u"7"_s);
    QCOMPARE(glub()->text(), u"0,7"_s);
    QCOMPARE(win_->EditVS1()->text(), u"19,06"_s);
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (2*3,14*7) * Ln[7*7/ (0,7*0,016)] = 19,06 Ом"_s);
    QCOMPARE(rangeT(), u"( T < 1,75 )"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestGorizForm::singleRunWithLinkingMovesTheDepth() {
    type(glub(), u"1"_s);
    linkOn();
    setPermissible(u"20"_s);
    SelectionChartDialog* chart = runOverTheLengthWithTable();
    QVERIFY(chart);
    // L 3 with T 1: T = 3/4 − 0,1 = 0,65, kept for the longer strips (4·0,65 < L).
    QCOMPARE(chartRows(chart), (QStringList{u"L, м/T, м/R, Ом"_s, u"3/0,65/35,88"_s, u"4/0,65/29,2"_s,
                                            u"5/0,65/24,78"_s, u"6/0,65/21,62"_s, u"7/0,65/19,23"_s}));
    QCOMPARE(dlina()->text(), u"7"_s);
    QCOMPARE(glub()->text(), u"0,65"_s);
    QCOMPARE(rangeL(), u"( L > 2,6 )"_s);
    QCOMPARE(rangeT(), u"( T < 1,75 )"_s);
    QCOMPARE(win_->EditVS1()->text(), u"19,23"_s);
}

void TestGorizForm::nestedRunKeepsTheDepth() {
    type(glub(), u"1"_s);
    linkOn();
    rec_->onModal = [&](QDialog* dialog) {
        auto* form = qobject_cast<SelectionRunDialog*>(dialog);
        if (!form)
            return int(QDialog::Rejected);
        form->btnAddClick(); // the first offered: the length
        form->StringGrid1()->item(0, 1)->setText(u"3"_s);
        form->StringGrid1()->item(0, 2)->setText(u"10"_s);
        form->StringGrid1()->item(0, 3)->setText(u"1"_s);
        form->EditR()->setText(u"20"_s);
        return int(QDialog::Accepted);
    };
    rec_->messages.clear();
    QTest::mouseClick(tool("btnPodbor"), Qt::LeftButton);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
    // L 3 and 4 are not above 4T = 4; then 23,41, 20,47, 18,25 <= 20.
    QCOMPARE(dlina()->text(), u"7"_s);
    QCOMPARE(glub()->text(), u"1"_s);
    QCOMPARE(win_->EditVS1()->text(), u"18,25"_s);
    QCOMPARE(rangeT(), u"( T < 1,75 )"_s);
}

void TestGorizForm::settingsOpenAtTheFocusedParameter() {
    QStringList shown;
    rec_->onModal = [&](QDialog* dialog) {
        if (auto* form = qobject_cast<SelectionSettingsDialog*>(dialog))
            shown << QString::number(form->handOverKind()) + u'|' + form->handOverName();
        return int(QDialog::Rejected);
    };
    dlina()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    edit("EditPKV")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    glub()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(shown, (QStringList{u"2|Длина стержня, м"_s, u"1|Удельное сопротивление грунта, Ом м"_s,
                                 u"2|Коэффициент поправки"_s, u"1|"_s}));
    QCOMPARE((*folder_->data)[u"TableParPod0"_s].filter(), u"[KodTip]='6'"_s);
}

void TestGorizForm::menuOpensTheWindow() {
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(u"TGorizFm"_s);
    QVERIFY(info && info->factory);
    QCOMPARE(info->menuPath, QStringList({u"Расчеты"_s, u"Одиночные заземлители"_s}));
    QCOMPARE(info->menuCaption, u"Горизонтальный заземлитель в земле..."_s);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> w(info->factory(env, nullptr));
    QVERIFY(qobject_cast<CalculatorWindow*>(w.get()));
    QCOMPARE(w->windowTitle(), info->caption);
}

QTEST_MAIN(TestGorizForm)
#include "tst_gorizform.moc"
