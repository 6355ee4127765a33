#include "CalcWindowFixture.h"
#include "core/calculators/rods/BuriedRod.h"
#include "CalculatorWindowOf.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "store/HistoryStore.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <cmath>

using namespace Qt::StringLiterals;

using namespace kz;

class TestBuriedRodWindow : public QObject, CalcWindowFixture<TDVertFm> {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstOpeningShowsTheDefaults();
    void windowArrangement();
    void typedInputsGiveTheFormulasResult();
    void calculationOrderLine();
    void checks_data();
    void checks();
    void boundariesOfTheGeometry();
    void automaticCalculationFollowsEveryChange();
    void manualModeForgetsTheResultAndItsOrderLine();
    void emptyDepthDisablesTheCommands();
    void depthStepping();
    void lengthStepping();
    void reopeningKeepsSoilAndGeometryNotTheConstruction();
    void resistivityLink();
    void loadingRestoresTheSizeListAndAutomaticCalculation();
    void savingTwiceUnderOneNameKeepsOneSet();
    void saveIsCancelledOrRefused();
    void loadingWithNoSetOfThisKind();
    void loadedSizeNoLongerOfferedIsReported();
    void pasteRestoresWithExactlyOneCalculation_data();
    void pasteRestoresWithExactlyOneCalculation();
    void copyBuffersAreNotShared();
    void badInputNeverShowsNanOrInfinity_data();
    void badInputNeverShowsNanOrInfinity();
    void missingPictureIsReportedAndTheWindowWorks();

private:
};

void TestBuriedRodWindow::init() {
    open();
}

void TestBuriedRodWindow::cleanup() {
    close();
}

void TestBuriedRodWindow::firstOpeningShowsTheDefaults() {
    QCOMPARE(win_->windowTitle(), u"Вертикальный заземлитель в земле."_s);
    QCOMPARE(helpContextOf(win_.get()), 18);
    QCOMPARE(combo("ComboGrunt")->currentText(), u"суглинок"_s);
    QCOMPARE(edit("EditRo0")->text(), QStringLiteral("100"));
    QCOMPARE(edit("EditPKV")->text(), QStringLiteral("1"));
    QCOMPARE(combo("cmbSech")->currentText(), u"сталь круглая"_s);
    QCOMPARE(combo("cmbDiam")->currentText(), QStringLiteral("0,016"));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
    QCOMPARE(edit("EditGlub")->text(), QStringLiteral("0,7"));
    QCOMPARE(edit("EditT")->text(), QStringLiteral("3,20"));
    // Automatic calculation is off at start: the initial "0.00" is replaced by nothing.
    QVERIFY(!tool("btnAutoScore")->isChecked());
    QCOMPARE(edit("EditVS1")->text(), QString());
    QVERIFY(tool("btnSave")->isEnabled());
    QVERIFY(tool("btnCopy")->isEnabled());
    QVERIFY(tool("btnScore")->isEnabled());
    QVERIFY(!tool("btnReport")->isEnabled());
    QVERIFY(!tool("btnPaste")->isEnabled());
    QVERIFY(!tool("btnMemo")->isEnabled());
    QVERIFY(!tool("btnKI")->isEnabled());
    QVERIFY(!tool("btnLinkParam")->isEnabled());
    QVERIFY(rec_->messages.isEmpty());
}

void TestBuriedRodWindow::windowArrangement() {
    QCOMPARE(find<QLabel>("Label5")->text(),
             u"Расчетная формула:   R = p / (2*П*L) * [Ln(2*L/D) + 0,5*Ln((4*T+L) / (4*T-L))], Ом"_s);
    QVERIFY(find<QWidget>("PanelRaschet"));
    QVERIFY(find<InstallationFrame>("frmEU1"));
    QVERIFY(find<SoilFrame>("pFrame"));
    QVERIFY(find<SectionFrame>("frmSech1"));
    QCOMPARE(find<QLabel>("lblRangeTo")->text(), QStringLiteral("( To >= 0,5 )"));
    QCOMPARE(find<QLabel>("lblEditDlina")->text(), u"L - длина стержня, м:"_s);
    QCOMPARE(find<QLabel>("lblEditGlub")->text(), u"Tо - расстояние от поверхности земли, м:"_s);
    QCOMPARE(find<QLabel>("lblEditT")->text(), u"T - глубина заложения, м:"_s);
    QVERIFY(edit("EditT")->isReadOnly());
    QVERIFY(edit("EditVS1")->isReadOnly());
    QVERIFY(edit("EditRaschet")->isReadOnly());
    QVERIFY(!find<QLabel>("Image1")->pixmap().isNull());
    QCOMPARE(find<SpinButton>("SpinButtonA001")->step(), 0.01);
    QCOMPARE(find<SpinButton>("SpinButtonT1")->step(), 1.0);
    QCOMPARE(find<SpinButton>("SpinButtonT01")->associate(), edit("EditGlub"));
    // Hiding the formula panel shortens the window by exactly its height.
    QWidget* panel = find<QWidget>("PanelRaschet");
    const int height = win_->height();
    const int panelHeight = panel->height();
    QTest::mouseClick(tool("btnFormula"), Qt::LeftButton);
    QTRY_COMPARE(win_->height(), height - panelHeight);
    QTest::mouseClick(tool("btnFormula"), Qt::LeftButton);
    QTRY_COMPARE(win_->height(), height);
}

void TestBuriedRodWindow::typedInputsGiveTheFormulasResult() {
    // p = 50·1,3 = 65, D 0,02, L 4, To 0,9: T = 2,9, R = 16,4255 by hand.
    choose(combo("ComboGrunt"), u"глина"_s);
    type(edit("EditRo0"), u"50"_s);
    type(edit("EditPKV"), u"1,3"_s);
    choose(combo("cmbSech"), u"сталь круглая"_s);
    choose(combo("cmbDiam"), u"0,02"_s);
    type(edit("EditDlina"), u"4"_s);
    type(edit("EditGlub"), u"0,9"_s);
    QCOMPARE(edit("EditT")->text(), u"2,90"_s);
    QCOMPARE(edit("EditVS1")->text(), QString());
    autoOn(); // pressing it calculates
    QCOMPARE(edit("EditVS1")->text(), u"16,43"_s);
    QVERIFY(edit("EditRaschet")->text().endsWith(u" = 16,43 Ом"_s));
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    score();
    QCOMPARE(edit("EditVS1")->text(), u"16,43"_s);
}

void TestBuriedRodWindow::calculationOrderLine() {
    // The diameter written is the strip's equivalent, the resistivity the corrected one.
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), QStringLiteral("0,04x0,004"));
    type(edit("EditPKV"), QStringLiteral("1,5"));
    score();
    QCOMPARE(edit("EditRaschet")->text(),
             u"R = 150 / (2*3,14*5) * [Ln(2*5/0,02) + 0,5*Ln((4*3,20+5) / (4*3,20-5))] = 31,64 Ом"_s);
}

void TestBuriedRodWindow::checks_data() {
    QTest::addColumn<QString>("input"); // object name to change
    QTest::addColumn<QString>("text");  // typed (or pasted) text; "<none>" unselects a list
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus"); // where the focus ends; empty: where it was (EditGlub)
    QTest::newRow("1 coefficient empty") << "EditPKV"
                                         << "" << u"Введите значение коэффициента поправки."_s << "EditPKV";
    QTest::newRow("1 coefficient 0") << "EditPKV"
                                     << "0" << u"Значение коэффициента поправки должно быть больше 0."_s
                                     << "EditPKV";
    QTest::newRow("2 no soil") << "ComboGrunt"
                               << "<none>" << u"Введите значение типа грунта."_s << "ComboGrunt";
    QTest::newRow("3 p0 empty") << "EditRo0"
                                << "" << u"Введите значение удельного сопротивления грунта."_s << "EditRo0";
    QTest::newRow("3 p0 pasted negative")
        << "EditRo0"
        << "-100" << u"Значение удельного сопротивления грунта должно быть больше 0."_s << "EditRo0";
    QTest::newRow("4 no construction")
        << "cmbSech"
        << "<none>" << u"Введите значение конструкции заземлителя."_s << "cmbSech";
    QTest::newRow("5 no size") << "cmbDiam"
                               << "<none>" << u"Введите значение размеров заземлителя."_s << "cmbDiam";
    QTest::newRow("7 length 0") << "EditDlina"
                                << "0" << u"Значение длины заземлителя должно быть больше 0."_s
                                << "EditDlina";
    QTest::newRow("7 length pasted text")
        << "EditDlina"
        << "5.5" << u"\"5.5\" - некорректное значение для длины заземлителя."_s << "EditDlina";
    QTest::newRow("8 depth empty") << "EditGlub"
                                   << "" << u"Введите значение глубины заложения."_s << "EditGlub";
    QTest::newRow("9 p0 above the soil's range")
        << "EditRo0"
        << "170" << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s << "";
    QTest::newRow("9 p0 below the soil's range")
        << "EditRo0"
        << "39,9" << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s << "";
    QTest::newRow("10 length equal to the diameter")
        << "EditDlina"
        << "0,016" << u"Ошибка. Длина вертикального стержня должна быть больше диаметра."_s << "";
    QTest::newRow("11 depth 0,49") << "EditGlub"
                                   << "0,49"
                                   << u"Ошибка. Глубина заложения должна быть больше либо равна 0,5 м."_s
                                   << "";
}

void TestBuriedRodWindow::checks() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    score(); // a result and an order line to be emptied
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    QWidget* w = win_->inputWidget(input);
    QVERIFY(w);
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        c->setCurrentIndex(-1);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->isReadOnly() || text.contains(QLatin1Char('-')) || text.contains(QLatin1Char('.')))
            e->setText(text); // pasted or derived: the key filter would refuse these characters
        else
            type(e, text);
    }
    edit("EditGlub")->setFocus(Qt::OtherFocusReason);
    rec_->messages.clear();
    // An empty input disables the calculate button; the check is what automatic calculation runs.
    win_->calculate(true);
    QCOMPARE(rec_->messages, QStringList{message});
    QCOMPARE(focused(), focus.isEmpty() ? QStringLiteral("EditGlub") : focus);
    QCOMPARE(edit("EditVS1")->text(), QString());
    QCOMPARE(edit("EditRaschet")->text(), QString());
    if (w != win_->inputWidget(QStringLiteral("EditDiam0")))
        QCOMPARE(win_->inputText(input), text == QLatin1String("<none>") ? QString() : text); // kept as typed
}

void TestBuriedRodWindow::boundariesOfTheGeometry() {
    type(edit("EditGlub"), QStringLiteral("0,5"));
    score();
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    // Just longer than e·D/2 = 0,0217 passes: below it R would rise as the rod grows.
    type(edit("EditDlina"), QStringLiteral("0,017"));
    score();
    QCOMPARE(rec_->messages, QStringList{u"Ошибка. Длина вертикального стержня должна превышать его диаметр более чем в "
                                         u"1,36 раза (ln(2L/D) > 1): при меньшей длине формула неприменима."_s});
    rec_->messages.clear();
    type(edit("EditDlina"), QStringLiteral("0,022"));
    score();
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    // p0 at the soil's bounds passes.
    type(edit("EditDlina"), QStringLiteral("5"));
    for (const char* p0 : {"40", "150"}) {
        type(edit("EditRo0"), QLatin1String(p0));
        score();
        QVERIFY(rec_->messages.isEmpty());
    }
}

void TestBuriedRodWindow::automaticCalculationFollowsEveryChange() {
    choose(combo("cmbDiam"), QStringLiteral("0,016"));
    QCOMPARE(edit("EditVS1")->text(), QString());
    const int before = win_->calculationCount();
    autoOn(); // pressing it calculates at once
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(edit("EditVS1")->text(), QStringLiteral("21,81"));
    type(edit("EditDlina"), QStringLiteral("3"));
    QCOMPARE(edit("EditVS1")->text(), QStringLiteral("33,33")); // L 3, To 0,7: 33,3273
    QVERIFY(rec_->messages.isEmpty());
    // While the user types, "0" and "0," on the way to "0,5" are said in the window, no box takes
    // a keystroke away.
    type(edit("EditGlub"), QStringLiteral("0,"));
    QCOMPARE(win_->messageLine()->text(), u"Значение глубины заложения должно быть больше 0."_s);
    QCOMPARE(edit("EditVS1")->text(), QString());
    QTest::keyClicks(edit("EditGlub"), QStringLiteral("5"));
    QCOMPARE(edit("EditVS1")->text(), QStringLiteral("33,53"));
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(win_->messageLine()->text().isEmpty());
    clear(edit("EditGlub"));
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(win_->messageLine()->text(), u"Введите значение глубины заложения."_s);
    QCOMPARE(edit("EditVS1")->text(), QString());
    QCOMPARE(edit("EditT")->text(), QString());
    // Enter says it in a box, as the calculate button does.
    QTest::keyClick(edit("EditGlub"), Qt::Key_Return);
    QCOMPARE(rec_->messages, QStringList{u"Введите значение глубины заложения."_s});
    QVERIFY(win_->isVisible());
    // Releasing the toggle calculates nothing.
    const int count = win_->calculationCount();
    QTest::mouseClick(tool("btnAutoScore"), Qt::LeftButton);
    QCOMPARE(win_->calculationCount(), count);
}

void TestBuriedRodWindow::manualModeForgetsTheResultAndItsOrderLine() {
    score();
    QVERIFY(!edit("EditRaschet")->text().isEmpty());
    QTest::keyClicks(edit("EditDlina"), QStringLiteral("1")); // "51"
    QCOMPARE(edit("EditVS1")->text(), QString());
    QVERIFY(!tool("btnReport")->isEnabled());
    // No line of an earlier result beside an empty one.
    QCOMPARE(edit("EditRaschet")->text(), QString());
    QCOMPARE(edit("EditT")->text(), QStringLiteral("26,20"));
    // Enter calculates.
    QTest::keyClick(edit("EditDlina"), Qt::Key_Return);
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    QVERIFY(!edit("EditRaschet")->text().isEmpty());
}

void TestBuriedRodWindow::emptyDepthDisablesTheCommands() {
    score();
    clear(edit("EditGlub"));
    for (const char* name : {"btnSave", "btnScore", "btnPodbor", "btnCopy", "btnReport"})
        QVERIFY2(!tool(name)->isEnabled(), name);
    QVERIFY(tool("btnLoad")->isEnabled());
    QCOMPARE(edit("EditT")->text(), QString());
    QVERIFY(rec_->messages.isEmpty()); // no calculation in manual mode
    type(edit("EditGlub"), QStringLiteral("1"));
    QVERIFY(tool("btnSave")->isEnabled());
    QCOMPARE(edit("EditT")->text(), QStringLiteral("3,50"));
}

void TestBuriedRodWindow::depthStepping() {
    QLineEdit* glub = edit("EditGlub");
    type(glub, QStringLiteral("1,2"));
    QTest::mouseClick(find<SpinButton>("SpinButtonT1")->downButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("1,2")); // 1,2 - 1 < 0,5
    QTest::mouseClick(find<SpinButton>("SpinButtonT01")->downButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("1,1"));
    type(glub, QStringLiteral("0,6"));
    QTest::mouseClick(find<SpinButton>("SpinButtonT01")->downButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("0,5"));
    QTest::mouseClick(find<SpinButton>("SpinButtonT001")->downButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("0,5"));
    QTest::mouseClick(find<SpinButton>("SpinButtonT1")->upButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("1,5"));
    QTest::mouseClick(find<SpinButton>("SpinButtonT1")->downButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("0,5"));
    QCOMPARE(edit("EditT")->text(), QStringLiteral("3,00"));
    // An empty depth is not stepped down to a value below 0,5.
    clear(glub);
    QTest::mouseClick(find<SpinButton>("SpinButtonT001")->downButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QString());
    QTest::mouseClick(find<SpinButton>("SpinButtonT01")->upButton(), Qt::LeftButton);
    QCOMPARE(glub->text(), QStringLiteral("0,1")); // stepping up starts from the step
    // A step button, or the panel around it, is no other input: the depth is not left, so the
    // check on leaving says nothing; only leaving it for another input does, once.
    clear(glub);
    QTest::mouseClick(find<SpinButton>("SpinButtonT01")->downButton(), Qt::LeftButton);
    QTest::mouseClick(find<QWidget>("PanelGeometry"), Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(focused(), QStringLiteral("EditGlub"));
    QCOMPARE(rec_->messages, QStringList());
    QTest::keyClick(glub, Qt::Key_Tab);
    QCOMPARE(rec_->messages, QStringList{u"Ошибочное значение для числового параметра."_s});
    QCOMPARE(focused(), QStringLiteral("EditGlub"));
}

void TestBuriedRodWindow::lengthStepping() {
    autoOn();
    choose(combo("cmbDiam"), QStringLiteral("0,016"));
    QTest::mouseClick(find<SpinButton>("SpinButtonA01")->upButton(), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5,1"));
    QCOMPARE(edit("EditT")->text(), QStringLiteral("3,25"));
    QCOMPARE(edit("EditVS1")->text(), QStringLiteral("21,45")); // 21,4456
    QCOMPARE(focused(), QStringLiteral("EditDlina"));
    QTest::mouseClick(find<SpinButton>("SpinButtonA1")->downButton(), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("4,1"));
    QTest::mouseClick(find<SpinButton>("SpinButtonA001")->upButton(), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("4,11"));
}

void TestBuriedRodWindow::reopeningKeepsSoilAndGeometryNotTheConstruction() {
    choose(combo("ComboGrunt"), u"глина"_s);
    type(edit("EditRo0"), QStringLiteral("50"));
    type(edit("EditPKV"), QStringLiteral("1,3"));
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    type(edit("EditDlina"), QStringLiteral("4"));
    type(edit("EditGlub"), QStringLiteral("0,9"));
    win_->hide();
    win_->show();
    QCOMPARE(combo("ComboGrunt")->currentText(), u"глина"_s);
    QCOMPARE(edit("EditRo0")->text(), QStringLiteral("50"));
    QCOMPARE(edit("EditPKV")->text(), QStringLiteral("1,3"));
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("4"));
    QCOMPARE(edit("EditGlub")->text(), QStringLiteral("0,9"));
    QCOMPARE(edit("EditT")->text(), QStringLiteral("2,90"));
    QCOMPARE(combo("cmbSech")->currentText(), u"сталь круглая"_s);
    QCOMPARE(combo("cmbDiam")->currentText(), QStringLiteral("0,016"));
    // With automatic calculation on, the reopened window shows its result with one calculation.
    autoOn();
    win_->hide();
    const int before = win_->calculationCount();
    win_->show();
    QCOMPARE(win_->calculationCount(), before + 1);
    QVERIFY(!edit("EditVS1")->text().isEmpty());
    QVERIFY(rec_->messages.isEmpty());
}

void TestBuriedRodWindow::resistivityLink() {
    auto* eu = find<InstallationFrame>("frmEU1");
    QCOMPARE(eu->EditTip()->text(), u"напряжением до 1 кВ с заземленной нейтралью"_s);
    QCOMPARE(eu->EditRmax()->text(), QStringLiteral("4"));
    // Not linked: nothing follows the soil.
    type(edit("EditPKV"), QStringLiteral("1,5"));
    QCOMPARE(eu->EditP()->text(), QStringLiteral("100"));
    QTest::mouseClick(tool("btnLinkRo"), Qt::LeftButton);
    QCOMPARE(eu->EditP()->text(), QStringLiteral("150"));
    QCOMPARE(eu->EditRmax()->text(), QStringLiteral("6,00")); // 0,04·p for 100 < p <= 1000, Uлин 380
    type(edit("EditPKV"), QStringLiteral("0,8"));
    QCOMPARE(eu->EditP()->text(), QStringLiteral("80"));
    QCOMPARE(eu->EditRmax()->text(), QStringLiteral("4"));
    // With the installation frame hidden nothing changes.
    QTest::mouseClick(tool("btnEU"), Qt::LeftButton);
    QVERIFY(eu->isHidden());
    type(edit("EditPKV"), QStringLiteral("2"));
    QCOMPARE(eu->EditP()->text(), QStringLiteral("80"));
    QCOMPARE(eu->EditRmax()->text(), QStringLiteral("4"));
}

void TestBuriedRodWindow::loadingRestoresTheSizeListAndAutomaticCalculation() {
    QTest::mouseClick(find<QToolButton>("btnRecMat"), Qt::LeftButton);
    combo("cmbDiam")->setCurrentIndex(combo("cmbDiam")->count() - 1);
    const QString size = combo("cmbDiam")->currentText();
    rec_->inputs << u"Опора"_s;
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts, QStringList{u"Введите наименование заземляющего устройства.|"
                                        u"Наименование заземляющего устройства:|"
                                        u"Вертикальный заземлитель в земле 1."_s});
    QTest::mouseClick(find<QToolButton>("btnAllMat"), Qt::LeftButton);
    autoOn();
    rec_->onModal = [](QDialog*) { return int(QDialog::Accepted); };
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(win_->calculationCount(), before + 1);
    QVERIFY(find<QToolButton>("btnRecMat")->isChecked());
    QCOMPARE(combo("cmbDiam")->currentText(), size);
    QVERIFY(tool("btnAutoScore")->isChecked());
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(QLatin1Char('\n'))));
}

void TestBuriedRodWindow::savingTwiceUnderOneNameKeepsOneSet() {
    rec_->inputs << u"Опора 1"_s << u"ОПОРА 1"_s;
    // The second save asks before it replaces the set.
    rec_->answers << QMessageBox::Yes;
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    type(edit("EditDlina"), QStringLiteral("3"));
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    QVERIFY(openHistoryOfKind(hist, dataDir(), 4));
    QCOMPARE(hist.recordCount(), 1);
    QCOMPARE(hist.asString(QStringLiteral("Name")), u"ОПОРА 1"_s);
    QCOMPARE(hist.text(QStringLiteral("L")), QStringLiteral("3"));
    QCOMPARE(hist.text(QStringLiteral("T")), QStringLiteral("0,7")); // To, not the derived depth
    QCOMPARE(hist.text(QStringLiteral("R")), QString());             // nothing was shown in manual mode
    QCOMPARE(hist.asInteger(QStringLiteral("KodTip")), 4);
}

void TestBuriedRodWindow::saveIsCancelledOrRefused() {
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton); // prompt cancelled
    rec_->inputs << QString();
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton); // an empty name
    QCOMPARE(rec_->messages, QStringList{u"Введите значение наименования заземляющего устройства."_s});
    type(edit("EditGlub"), QStringLiteral("0,4"));
    rec_->messages.clear();
    rec_->inputs << QStringLiteral("X");
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton); // a failing check stops it before the prompt
    QCOMPARE(rec_->messages,
             QStringList{u"Ошибка. Глубина заложения должна быть больше либо равна 0,5 м."_s});
    QCOMPARE(rec_->prompts.size(), 2);
    QVERIFY(openHistoryOfKind(hist, dataDir(), 4));
    QCOMPARE(hist.recordCount(), 0);
}

void TestBuriedRodWindow::loadingWithNoSetOfThisKind() {
    // Another calculator's set of the same name is not this kind's.
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    HistoryLayout ring = buriedrod::descriptor().history;
    ring.kindCode = 8;
    QVERIFY(saveHistoryRecord(hist, dataDir(), ring, QStringLiteral("A"), {}));
    bool okEnabled = true;
    rec_->onModal = [&](QDialog* dialog) {
        dialog->show();
        okEnabled = static_cast<HistoryLoadDialog*>(dialog)->btnOK()->isEnabled();
        dialog->hide();
        return int(QDialog::Rejected);
    };
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QVERIFY(!okEnabled);
    QCOMPARE(win_->calculationCount(), before);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("5"));
}

void TestBuriedRodWindow::loadedSizeNoLongerOfferedIsReported() {
    rec_->inputs << QStringLiteral("S");
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    QVERIFY(openHistoryOfKind(hist, dataDir(), 4));
    QVERIFY(hist.edit());
    QVERIFY(hist.setText(QStringLiteral("Razmer"), QStringLiteral("0,999")));
    QVERIFY(hist.post());
    rec_->onModal = [](QDialog*) { return int(QDialog::Accepted); };
    QTest::mouseClick(tool("btnLoad"), Qt::LeftButton);
    QCOMPARE(combo("cmbDiam")->currentIndex(), -1);
    QCOMPARE(rec_->messages, QStringList{u"Введите значение размеров заземлителя."_s});
    QCOMPARE(edit("EditVS1")->text(), QString());
}

void TestBuriedRodWindow::pasteRestoresWithExactlyOneCalculation_data() {
    QTest::addColumn<bool>("automatic");
    QTest::newRow("automatic on") << true;
    QTest::newRow("automatic off") << false;
}

void TestBuriedRodWindow::pasteRestoresWithExactlyOneCalculation() {
    QFETCH(bool, automatic);
    QVERIFY(!tool("btnPaste")->isEnabled());
    choose(combo("ComboGrunt"), u"глина"_s);
    type(edit("EditRo0"), QStringLiteral("60"));
    type(edit("EditPKV"), QStringLiteral("1,2"));
    QTest::mouseClick(find<QToolButton>("btnDopMat"), Qt::LeftButton);
    const QString construction = combo("cmbSech")->currentText();
    combo("cmbDiam")->setCurrentIndex(combo("cmbDiam")->count() - 1);
    const QString size = combo("cmbDiam")->currentText();
    type(edit("EditDlina"), QStringLiteral("2,5"));
    type(edit("EditGlub"), QStringLiteral("0,8"));
    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    QVERIFY(tool("btnPaste")->isEnabled());
    score();
    const QString result = edit("EditVS1")->text();

    choose(combo("ComboGrunt"), u"песок"_s);
    QTest::mouseClick(find<QToolButton>("btnAllMat"), Qt::LeftButton);
    type(edit("EditDlina"), QStringLiteral("9"));
    if (automatic)
        autoOn();
    rec_->messages.clear();
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnPaste"), Qt::LeftButton);
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(tool("btnAutoScore")->isChecked(), automatic);
    QCOMPARE(combo("ComboGrunt")->currentText(), u"глина"_s);
    QCOMPARE(edit("EditRo0")->text(), QStringLiteral("60")); // not the soil's default
    QCOMPARE(edit("EditPKV")->text(), QStringLiteral("1,2"));
    QVERIFY(find<QToolButton>("btnDopMat")->isChecked());
    QCOMPARE(combo("cmbSech")->currentText(), construction);
    QCOMPARE(combo("cmbDiam")->currentText(), size);
    QCOMPARE(edit("EditDlina")->text(), QStringLiteral("2,5"));
    QCOMPARE(edit("EditVS1")->text(), result);
    QVERIFY(rec_->messages.isEmpty());
}

void TestBuriedRodWindow::copyBuffersAreNotShared() {
    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    QVERIFY(tool("btnPaste")->isEnabled());
    TDVertFm other(*folder_->data);
    other.show();
    QVERIFY(!other.ButtonFrame1()->btnPaste()->isEnabled());
    QVERIFY(other.copyBuffer().isEmpty());
    // A failing check copies nothing.
    TDVertFm third(*folder_->data);
    third.show();
    third.EditGlub()->setText(QStringLiteral("0,1"));
    QTest::mouseClick(third.ButtonFrame1()->btnCopy(), Qt::LeftButton);
    QVERIFY(third.copyBuffer().isEmpty());
    QVERIFY(!third.ButtonFrame1()->btnPaste()->isEnabled());
}

void TestBuriedRodWindow::badInputNeverShowsNanOrInfinity_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    for (const char* input : {"EditDlina", "EditGlub", "EditPKV", "EditRo0"})
        for (const char* text : {"1e4900", "1e-4900", "1e309", "1,1e4932", "-0", "0,0", " ", "1.5", ",", "1e",
                                 "nan", "inf", "99999999999999999999", "0,000000000000000000001"})
            QTest::newRow(qPrintable(QLatin1String(input) + QLatin1Char(' ') + QLatin1String(text)))
                << QString::fromLatin1(input) << QString::fromLatin1(text);
}

void TestBuriedRodWindow::badInputNeverShowsNanOrInfinity() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    autoOn();
    win_->inputWidget(input)->setProperty("text", text); // pasted
    score();
    for (const char* out : {"EditVS1", "EditRaschet", "EditT"}) {
        const QString shown = edit(out)->text().toUpper();
        QVERIFY2(!shown.contains(QLatin1String("NAN")) && !shown.contains(QLatin1String("INF")),
                 qPrintable(QLatin1String(out) + QStringLiteral(": ") + shown));
    }
    const QString r = edit("EditVS1")->text();
    if (!r.isEmpty()) {
        double v = 0;
        QVERIFY(tryParseNumber(r, v));
        QVERIFY(std::isfinite(v) && v >= 0);
        // The result belongs to the inputs shown: calculating again gives the same.
        score();
        QCOMPARE(edit("EditVS1")->text(), r);
    } else {
        QVERIFY(!rec_->messages.isEmpty()); // no result is always explained
    }
}

void TestBuriedRodWindow::missingPictureIsReportedAndTheWindowWorks() {
    win_->hide();
    QFile::remove(pictureDir() + QStringLiteral("vert.bmp"));
    win_->show();
    QCOMPARE(rec_->messages,
             QStringList{u"Ошибка. Графический файл "_s + pictureDir() + u"vert.bmp не найден."_s});
    choose(combo("cmbDiam"), QStringLiteral("0,016"));
    score();
    QCOMPARE(edit("EditVS1")->text(), QStringLiteral("21,81"));
}

QTEST_MAIN(TestBuriedRodWindow)
#include "tst_buriedrodwindow.moc"
