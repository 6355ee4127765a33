#include "../core/CalcWindowFixture.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "store/HistoryStore.h"
#include "core/model/ReportModel.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "core/calculators/structures/Pipeline.h"
#include "CalculatorWindowOf.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "core/common/NumberText.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

// The pipeline window driven as a user drives it: by object name, keystrokes and clicks.
class TestPipelineWindow : public QObject, CalcWindowFixture<TTruboFm> {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstOpeningShowsTheDefaults();
    void handbookEdgeCase();
    void shortPipeIsRefusedInsteadOfANegativeResistance();
    void automaticCalculationFollowsTheDiameter();
    void linkedLengthFollowsALargerDiameter();
    void linkedLengthAlsoLeavesAnEqualDiameter();
    void withoutTheLinkTheLengthStays();
    void pressingTheLinkAppliesTheRuleOnce();
    void emptyPipeTableDisablesTheCommands();
    void materialsDialogRefreshesTheDiameters();
    void diameterDeletedInTheMaterialsDialog();
    void saveAndLoadRoundTrip();
    void singleParameterSelectionStopsAtTheFirstLength();
    void selectionRunCanBeTakenBack();
    void singleParameterSelectionWithDataMarksInadmissibleLengths();
    void multiParameterSelection();
    void selectionSettingsOfTheFocusedInput();
    void reportOfTheWindow();

private:
    void reopen();
    DataTable& pipes() { return (*folder_->data)[QStringLiteral("TableTruboprov")]; }
    void addPipe(const QString& diameter);
    QStringList pipeTexts();
};

void TestPipelineWindow::init() {
    open();
}

void TestPipelineWindow::cleanup() {
    referenceDialogs().steels = nullptr;
    referenceDialogs().locateSteel = nullptr;
    close();
}

void TestPipelineWindow::reopen() {
    win_->hide();
    win_->show();
}

void TestPipelineWindow::addPipe(const QString& diameter) {
    DataTable& t = pipes();
    QVERIFY(t.insert());
    QVERIFY(t.setText(QStringLiteral("Diam"), diameter));
    QVERIFY(t.setText(QStringLiteral("Tol"), QStringLiteral("4")));
    QVERIFY(t.post());
}

QStringList TestPipelineWindow::pipeTexts() {
    DataTable& t = pipes();
    QStringList texts;
    for (t.first(); !t.eof(); t.next())
        texts << t.text(QStringLiteral("Diam"));
    return texts;
}

void TestPipelineWindow::firstOpeningShowsTheDefaults() {
    QCOMPARE(win_->windowTitle(), u"Трубопровод в земле."_s);
    QVERIFY(!win_->frmSech1());
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
    QCOMPARE(edit("EditGlub")->text(), QStringLiteral("0,7"));
    // The pipe table's diameters in table order, the first chosen; no free text.
    QComboBox* d = combo("cmbDiam");
    QVERIFY(!d->isEditable());
    QCOMPARE(d->maxVisibleItems(), 20);
    QStringList items;
    for (int i = 0; i < d->count(); ++i)
        items << d->itemText(i);
    QCOMPARE(items, pipeTexts());
    QCOMPARE(items.size(), 17);
    QCOMPARE(d->currentIndex(), 0);
    QCOMPARE(d->currentText(), QStringLiteral("0,057"));
    // 4T = 2,8 bounds the length before D = 0,057 does.
    QCOMPARE(find<QLabel>("lblRangeL")->text(), u"( L > 2,8 )"_s);
    QCOMPARE(find<QLabel>("lblRangeL")->toolTip(), u"Диапазон допустимых значений длины трубопровода для текущих "
                                                   u"значений диаметра трубы и глубины заложения"_s);
    QCOMPARE(find<QLabel>("lblcmbDiam")->text(), u"D - диаметр трубы, м:"_s);
    QCOMPARE(find<QLabel>("lblEditDlina")->text(), u"L - длина трубопровода, м:"_s);
    QCOMPARE(find<QLabel>("lblEditGlub")->text(), u"T - глубина заложения, м:"_s);
    for (const char* name : {"SpinButtonL100", "SpinButtonL10", "SpinButtonL1"})
        QCOMPARE(find<SpinButton>(name)->associate(), edit("EditDlina"));
    for (const char* name : {"SpinButtonT1", "SpinButtonT01", "SpinButtonT001"})
        QCOMPARE(find<SpinButton>(name)->associate(), edit("EditGlub"));
    QCOMPARE(find<QLabel>("Label5")->text(), u"Расчетная формула:   R = p/(2*П*L) * Ln[L*L/(T*D)], Ом"_s);
    QVERIFY(tool("btnLinkParam")->isEnabled());
    QVERIFY(!tool("btnLinkParam")->isChecked());
    QVERIFY(!tool("btnKorGrunt")->isEnabled());
    QVERIFY(!tool("btnKI")->isEnabled());
    QVERIFY(!tool("btnMemo")->isEnabled());
    for (const char* b : {"btnSave", "btnScore", "btnPodbor", "btnCopy"})
        QVERIFY2(tool(b)->isEnabled(), b);
    QVERIFY(!tool("btnReport")->isEnabled());
}

void TestPipelineWindow::handbookEdgeCase() {
    addPipe(QStringLiteral("0,1"));
    reopen();
    choose(combo("cmbDiam"), QStringLiteral("0,1"));
    QCOMPARE(find<QLabel>("lblRangeL")->text(), u"( L > 2,8 )"_s);
    // 100/(2π·5)·ln(25/0,07) = 18,71069
    score();
    QCOMPARE(edit("EditVS1")->text(), u"18,71"_s);
    QCOMPARE(edit("EditRaschet")->text(), u"R = 100 / (2*3,14*5) * Ln[5*5/ (0,1*0,7)] = 18,71 Ом"_s);
    // Kп 1,3: p = 130 -> 24,32389
    type(edit("EditPKV"), QStringLiteral("1,3"));
    score();
    QCOMPARE(edit("EditVS1")->text(), u"24,32"_s);
    QCOMPARE(edit("EditRaschet")->text(), u"R = 130 / (2*3,14*5) * Ln[5*5/ (0,1*0,7)] = 24,32 Ом"_s);
}

void TestPipelineWindow::shortPipeIsRefusedInsteadOfANegativeResistance() {
    // D = 0,53, T = 0,7: L must exceed 4T = 2,8. At L = 0,6 the logarithm is negative.
    const QStringList tooShort{u"Ошибка. Длина трубопровода должна быть больше четырехкратной глубины заложения "
                               u"(L > 4T): при меньшей длине формула неприменима."_s};
    choose(combo("cmbDiam"), QStringLiteral("0,53"));
    type(edit("EditDlina"), QStringLiteral("0,6"));
    score();
    QCOMPARE(rec_->messages, tooShort);
    QCOMPARE(edit("EditVS1")->text(), QString());
    // At L = 1 the logarithm is positive, yet R would rise as the pipe grows.
    rec_->messages.clear();
    type(edit("EditDlina"), QStringLiteral("1"));
    score();
    QCOMPARE(rec_->messages, tooShort);
    // At L = 3: 100/(2π·3)·ln(9/0,371) = 16,91750
    rec_->messages.clear();
    type(edit("EditDlina"), QStringLiteral("3"));
    score();
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(edit("EditVS1")->text(), u"16,92"_s);
}

void TestPipelineWindow::automaticCalculationFollowsTheDiameter() {
    autoOn();
    QCOMPARE(edit("EditVS1")->text(), QStringLiteral("20,5"));
    const int before = win_->calculationCount();
    // D = 0,219: 100/(2π·5)·ln(25/0,1533) = 3,18310·5,09424 = 16,21547
    choose(combo("cmbDiam"), QStringLiteral("0,219"));
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(edit("EditVS1")->text(), u"16,22"_s);
    QCOMPARE(find<QLabel>("lblRangeL")->text(), u"( L > 2,8 )"_s);
    // Automatic calculation off: a change forgets the result with its order line.
    QTest::mouseClick(tool("btnAutoScore"), Qt::LeftButton);
    choose(combo("cmbDiam"), QStringLiteral("0,057"));
    QCOMPARE(edit("EditVS1")->text(), QString());
    QVERIFY(edit("EditRaschet")->text().isEmpty());
    QVERIFY(!tool("btnReport")->isEnabled());
}

void TestPipelineWindow::linkedLengthFollowsALargerDiameter() {
    addPipe(QStringLiteral("2,8"));
    reopen();
    autoOn();
    type(edit("EditDlina"), QStringLiteral("2"));
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QVERIFY(tool("btnLinkParam")->isChecked());
    rec_->messages.clear();
    const int before = win_->calculationCount();
    choose(combo("cmbDiam"), QStringLiteral("2,8"));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("2,9"));
    QCOMPARE(find<QLabel>("lblRangeL")->text(), u"( L > 2,8 )"_s);
    // One calculation, on the linked length: 100/(2π·2,9)·ln(8,41/1,96) = 7,99329
    QCOMPARE(win_->calculationCount(), before + 1);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QCOMPARE(edit("EditVS1")->text(), u"7,99"_s);
    // A smaller diameter leaves the length as it is.
    choose(combo("cmbDiam"), QStringLiteral("0,057"));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("2,9"));
}

void TestPipelineWindow::linkedLengthAlsoLeavesAnEqualDiameter() {
    // The rule keeps L above D: a diameter equal to L moves it too.
    type(edit("EditDlina"), QStringLiteral("1,02"));
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    choose(combo("cmbDiam"), QStringLiteral("1,02"));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("1,12"));
}

void TestPipelineWindow::withoutTheLinkTheLengthStays() {
    autoOn();
    type(edit("EditDlina"), QStringLiteral("1"));
    rec_->messages.clear();
    choose(combo("cmbDiam"), QStringLiteral("1,02"));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("1"));
    QCOMPARE(rec_->messages, QStringList{u"Ошибка. Длина трубопровода должна быть больше диаметра трубы."_s});
    QCOMPARE(edit("EditVS1")->text(), QString());
}

void TestPipelineWindow::pressingTheLinkAppliesTheRuleOnce() {
    choose(combo("cmbDiam"), QStringLiteral("1,02"));
    type(edit("EditDlina"), QStringLiteral("1"));
    edit("EditGlub")->setFocus();
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("1,12"));
    QCOMPARE(QApplication::focusWidget(), edit("EditGlub"));
    // Releasing it does nothing; pressing it with L above D changes nothing either.
    type(edit("EditDlina"), QStringLiteral("1"));
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QVERIFY(!tool("btnLinkParam")->isChecked());
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("1"));
    type(edit("EditDlina"), QStringLiteral("7"));
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("7"));
}

void TestPipelineWindow::emptyPipeTableDisablesTheCommands() {
    DataTable& t = pipes();
    while (!t.isEmpty()) {
        t.first();
        QVERIFY(t.remove());
    }
    reopen();
    QCOMPARE(combo("cmbDiam")->count(), 0);
    QCOMPARE(combo("cmbDiam")->currentText(), QString());
    QCOMPARE(find<QLabel>("lblRangeL")->text(), QString());
    for (const char* b : {"btnSave", "btnScore", "btnPodbor", "btnCopy", "btnReport"})
        QVERIFY2(!tool(b)->isEnabled(), b);
    // Automatic calculation still runs on every change: it explains, and never fails on the diameter.
    rec_->messages.clear();
    autoOn();
    QCOMPARE(rec_->messages, QStringList{u"Введите значение диаметра трубы."_s});
    QCOMPARE(edit("EditVS1")->text(), QString());
    rec_->messages.clear();
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
}

void TestPipelineWindow::materialsDialogRefreshesTheDiameters() {
    QStringList located;
    referenceDialogs().locateSteel = [&](const QString& construction, const QString& size) {
        located << construction + QLatin1Char('|') + size;
    };
    referenceDialogs().steels = [this](QWidget*) { addPipe(QStringLiteral("1,42")); };
    reopen();
    QVERIFY(tool("btnMaterial")->isEnabled());
    choose(combo("cmbDiam"), QStringLiteral("0,325"));
    autoOn();
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnMaterial"), Qt::LeftButton);
    QCOMPARE(located, QStringList{u"трубы для трубопроводов|0,325"_s});
    QCOMPARE(combo("cmbDiam")->count(), 18);
    QVERIFY(combo("cmbDiam")->findText(QStringLiteral("1,42")) >= 0);
    // The diameter in use is chosen again and its change runs once.
    QCOMPARE(combo("cmbDiam")->currentText(), QStringLiteral("0,325"));
    QCOMPARE(win_->calculationCount(), before + 1);
    QVERIFY(!edit("EditVS1")->text().isEmpty());
}

void TestPipelineWindow::diameterDeletedInTheMaterialsDialog() {
    referenceDialogs().steels = [this](QWidget*) {
        DataTable& t = pipes();
        QVERIFY(t.locate(QStringLiteral("Diam"), 0.325));
        QVERIFY(t.remove());
    };
    reopen();
    choose(combo("cmbDiam"), QStringLiteral("0,325"));
    autoOn();
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    rec_->messages.clear();
    QTest::mouseClick(tool("btnMaterial"), Qt::LeftButton);
    // The deleted pipe is no longer offered, and no result stays for it.
    QCOMPARE(combo("cmbDiam")->findText(QStringLiteral("0,325")), -1);
    QCOMPARE(combo("cmbDiam")->count(), 16);
    QCOMPARE(combo("cmbDiam")->currentIndex(), -1);
    QCOMPARE(rec_->messages, QStringList{u"Введите значение диаметра трубы."_s});
    QCOMPARE(edit("EditVS1")->text(), QString());
    QVERIFY(!tool("btnSave")->isEnabled());
}

void TestPipelineWindow::saveAndLoadRoundTrip() {
    choose(combo("ComboGrunt"), u"глина"_s);
    type(edit("EditRo0"), QStringLiteral("50"));
    type(edit("EditPKV"), QStringLiteral("1,3"));
    choose(combo("cmbDiam"), QStringLiteral("0,426"));
    type(edit("EditGlub"), QStringLiteral("1,2"));
    type(edit("EditDlina"), QStringLiteral("40"));
    score();
    const QString result = edit("EditVS1")->text();
    QVERIFY(!result.isEmpty());

    rec_->inputs << u"Газопровод 1"_s;
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts,
             QStringList{
                 u"Введите наименование трубопровода.|Наименование трубопровода:|Трубопровод в земле 1."_s});
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    QVERIFY(openHistoryOfKind(hist, dataDir(), 15));
    QCOMPARE(hist.recordCount(), 1);
    QCOMPARE(hist.text(QStringLiteral("Grunt")), u"глина"_s);
    QCOMPARE(hist.text(QStringLiteral("P")), QStringLiteral("50"));
    QCOMPARE(hist.text(QStringLiteral("KP")), QStringLiteral("1,3"));
    QCOMPARE(hist.text(QStringLiteral("D1")), QStringLiteral("0,426"));
    QCOMPARE(hist.text(QStringLiteral("T")), QStringLiteral("1,2"));
    QCOMPARE(hist.text(QStringLiteral("L")), QStringLiteral("40"));
    QCOMPARE(hist.text(QStringLiteral("R")), result);

    // Everything changed, the link down: loading sets L after the diameter, so L is the saved one.
    choose(combo("ComboGrunt"), u"песок"_s);
    type(edit("EditDlina"), QStringLiteral("0,3"));
    choose(combo("cmbDiam"), QStringLiteral("0,057"));
    type(edit("EditGlub"), QStringLiteral("2"));
    QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
    autoOn();
    rec_->messages.clear();
    QStringList captions;
    rec_->onModal = [&](QDialog* dialog) {
        auto* loader = qobject_cast<HistoryLoadDialog*>(dialog);
        if (!loader)
            return int(QDialog::Rejected);
        loader->show();
        for (int k = 1; k <= 6; ++k)
            captions << loader->label(k)->text();
        loader->hide();
        return int(QDialog::Accepted);
    };
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(captions, QStringList({u"Тип грунта:"_s, u"Удельное сопротивление грунта, Ом м:"_s,
                                    u"Коэффициент поправки:"_s, u"Диаметр трубы, м:"_s,
                                    u"Глубина заложения, м:"_s, u"Длина трубопровода, м:"_s}));
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("40"));
    QCOMPARE(edit("EditVS1")->text(), result);
    QCOMPARE(find<QLabel>("lblRangeL")->text(), u"( L > 4,8 )"_s);
    QVERIFY(tool("btnAutoScore")->isChecked());
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
}

void TestPipelineWindow::singleParameterSelectionStopsAtTheFirstLength() {
    // Stored: 1 .. 50 step 1. p = 100, D = 0,057, T = 0,7, Rдоп = 25: L = 1 and 2 are not above 4T,
    // L = 3 gives 28,75, L = 4 gives 23,85.
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("25"));
    win_->selectParameter(u"Длина трубопровода, м"_s, false);
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("4"));
    QCOMPARE(edit("EditVS1")->text(), u"23,85"_s);
    QCOMPARE(edit("EditRaschet")->text(), u"R = 100 / (2*3,14*4) * Ln[4*4/ (0,057*0,7)] = 23,85 Ом"_s);
    // Rдоп = 3 is never reached (L = 50 gives 3,52): the run shows L = 50 and says so.
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("3"));
    win_->selectParameter(u"Длина трубопровода, м"_s, false);
    QCOMPARE(rec_->messages, QStringList{u"Подбор параметра \"Длина трубопровода, м\" неудачен."_s});
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("50"));
    QCOMPARE(edit("EditVS1")->text(), u"3,52"_s);
}

void TestPipelineWindow::selectionRunCanBeTakenBack() {
    const QString length = edit("EditDlina")->text();
    QToolButton* back = tool("btnUndoPodbor");
    QVERIFY(!back->isEnabled());
    QVERIFY(back->toolTip().contains(u"Ctrl+Z"_s));
    // Rдоп = 3 is never reached: the run leaves L = 50 on the window.
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("3"));
    win_->selectParameter(u"Длина трубопровода, м"_s, false);
    rec_->messages.clear();
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("50"));
    QVERIFY(back->isEnabled());
    // Ctrl+Z in an input brings the user's length back with its result.
    edit("EditGlub")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(edit("EditGlub"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit("EditDlina")->text(), length);
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    QVERIFY(!back->isEnabled());
    // Once the user changes an input after a run, there is nothing to take back.
    win_->selectParameter(u"Длина трубопровода, м"_s, false);
    rec_->messages.clear();
    QVERIFY(back->isEnabled());
    type(edit("EditGlub"), QStringLiteral("1"));
    QVERIFY(!back->isEnabled());
    QTest::keyClick(edit("EditGlub"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("50"));
}

void TestPipelineWindow::singleParameterSelectionWithDataMarksInadmissibleLengths() {
    // D = 1,02: L = 1 is not above the diameter, nor L = 2 above 4T. Rдоп = 12: 13,44; 12,37; 11,32 at L = 3, 4, 5.
    choose(combo("cmbDiam"), QStringLiteral("1,02"));
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("12"));
    QStringList table;
    QString itog;
    QString note;
    rec_->onModal = [&](QDialog* dialog) {
        auto* chart = qobject_cast<SelectionChartDialog*>(dialog);
        if (!chart)
            return int(QDialog::Rejected);
        for (int r = 0; r < chart->dataGrid()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < chart->dataGrid()->columnCount(); ++c)
                cells << (chart->dataGrid()->item(r, c) ? chart->dataGrid()->item(r, c)->text()
                                                           : QString());
            table << cells.join(QLatin1Char('/'));
        }
        itog = chart->lblItog()->text();
        note = chart->Memo1()->toPlainText();
        return int(QDialog::Accepted);
    };
    win_->selectParameter(u"Длина трубопровода, м"_s, true);
    QCOMPARE(table, QStringList({u"L, м/R, Ом"_s, u"1/Нарушение условий"_s, u"2/Нарушение условий"_s,
                                 u"3/13,44"_s, u"4/12,37"_s, u"5/11,32"_s}));
    QCOMPARE(itog, u"подбор параметра успешен."_s);
    QCOMPARE(note, u"L, м - длина трубопровода, м\nR, Ом - сопротивление растеканию, Ом"_s);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
    QCOMPARE(edit("EditVS1")->text(), u"11,32"_s);
}

void TestPipelineWindow::multiParameterSelection() {
    // One row, the length 1 .. 50 step 1, Rтреб = 10: L = 13 gives 10,22, L = 14 gives 9,66.
    QStringList offered;
    rec_->onModal = [&](QDialog* dialog) {
        auto* form = qobject_cast<SelectionRunDialog*>(dialog);
        if (!form)
            return int(QDialog::Rejected);
        for (const SelectionDescriptor& d : form->selectionParameters())
            offered << d.name + QLatin1Char('|') + d.start + QLatin1Char('|') + d.end + QLatin1Char('|') +
                           d.step + QLatin1Char('|') + d.lower + QLatin1Char('|') + d.upper;
        const auto items = form->ListBox1()->findItems(u"Длина трубопровода, м"_s, Qt::MatchExactly);
        if (items.isEmpty())
            return int(QDialog::Rejected);
        form->ListBox1()->setCurrentItem(items.first());
        form->addParameter();
        form->EditR()->setText(QStringLiteral("10"));
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(tool("btnPodbor"), Qt::LeftButton);
    QCOMPARE(offered,
             QStringList({u"Длина трубопровода, м|1|50|1|0,1|"_s, u"Коэффициент поправки|2|1|0,1|1|10"_s,
                          u"Удельное сопротивление грунта, Ом м|150|40|1|40|150"_s}));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("14"));
    QCOMPARE(edit("EditVS1")->text(), u"9,66"_s);
}

void TestPipelineWindow::selectionSettingsOfTheFocusedInput() {
    SettingsHandOver seen;
    answerSettingsDialog(seen);
    const int& kind = seen.kind;
    const QString& name = seen.name;
    const QString& located = seen.located;
    edit("EditDlina")->setFocus();
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(kind, 2);
    QCOMPARE(name, u"Длина трубопровода, м"_s);
    QCOMPARE(located, u"Длина трубопровода, м"_s);
    edit("EditRo0")->setFocus();
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(kind, 1);
    QCOMPARE(name, u"Удельное сопротивление грунта, Ом м"_s);
    edit("EditPKV")->setFocus();
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(kind, 2);
    QCOMPARE(located, u"Коэффициент поправки"_s);
    combo("cmbDiam")->setFocus();
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(kind, 1);
    QCOMPARE(name, QString());
}

void TestPipelineWindow::reportOfTheWindow() {
    choose(combo("cmbDiam"), QStringLiteral("0,219"));
    type(edit("EditPKV"), QStringLiteral("1,3"));
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("50"));
    score();
    // p = 130: 130/(2π·5)·ln(25/0,1533) = 4,13803·5,09424 = 21,08011
    QCOMPARE(edit("EditVS1")->text(), u"21,08"_s);
    RecordingDialogs messages;
    ReportBuilder w(messages);
    ReportSource source = win_->reportSource();
    source.picture = false;
    pipeline::report(w, source);
    QStringList texts;
    QList<ReportParagraph::Alignment> alignments;
    for (const ReportParagraph& p : w.paragraphs()) {
        texts << p.text();
        alignments << p.alignment;
    }
    QCOMPARE(texts.first(), u"Трубопровод в земле."_s);
    QVERIFY2(texts.contains(u"В качестве заземляющего устройства используется трубопровод длиной L = 5 м и "
                            u"диаметром трубы D = 0,219 м."_s),
             qPrintable(texts.join(QLatin1Char('\n'))));
    QVERIFY(texts.contains(u"Глубина заложения трубопровода: Т = 0,7 м."_s));
    const int formula = int(texts.indexOf(u"R = r / (2*П*L) * Ln[L*L/(T*D)], Ом;"_s));
    QVERIFY2(formula > 0, qPrintable(texts.join(QLatin1Char('\n'))));
    QCOMPARE(texts[formula - 1], u"Сопротивление растеканию трубопровода:"_s);
    QCOMPARE(texts[formula + 1], u"R = 130/(2*3,14*5) * Ln[5*5/(0,7*0,219)] = 21,08 Ом."_s);
    QCOMPARE(alignments[formula], ReportParagraph::Alignment::Center);
    QCOMPARE(alignments[formula - 1], ReportParagraph::Alignment::Left);
    QCOMPARE(texts.last(),
             u"Так как R <= Rдоп., то трубопровод можно использовать в качестве заземляющего устройства."_s);
    QCOMPARE(w.progressCount(), 5);
    QVERIFY(messages.messages.isEmpty());
}

QTEST_MAIN(TestPipelineWindow)
#include "tst_pipelinewindow.moc"
