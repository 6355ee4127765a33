#include "../core/CalcWindowFixture.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "core/calculators/structures/BuildingFoundation.h"
#include "CalculatorWindowOf.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "core/common/NumberText.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"
#include "widgets/reference/EquivalentResistivityDialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

class TestBuildingFoundation : public QObject, CalcWindowFixture<TGBFundFm> {
    Q_OBJECT
private slots:
    void formula_data();
    void formula();
    void calculationOrderWithTheLayers();

    void init();
    void cleanup();
    void opensWithoutSoilOrConstruction();
    void defaultsGiveTheHandbookValue();
    void sidesGiveTheAreaAndATypedAreaDetachesThem();
    void areaOfZeroIsRefused();
    void equivalentResistivityFromTheLayers();
    void typingTheResistivityForgetsTheLayers();
    void runDialogOffersTheSidesOrTheArea();
    void singleSelectionOfALengthNeedsTheWidth();
    void singleSelectionOfTheAreaDropsTheSides();
    void historyRoundTrip();

private:
    void popup(QLineEdit* on, const char* action);
};

void TestBuildingFoundation::formula_data() {
    QTest::addColumn<double>("pekv");
    QTest::addColumn<double>("s");
    QTest::addColumn<QString>("r");
    QTest::newRow("193,32 over 100 m2: 100,53/10") << 193.32 << 100.0 << u"10,05"_s;
}

void TestBuildingFoundation::formula() {
    QFETCH(double, pekv);
    QFETCH(double, s);
    const auto r = buildingfoundation::ComputeResistance(pekv, s);
    QVERIFY(r);
    QTEST(formatGeneral(*r), "r");
    QVERIFY(!buildingfoundation::ComputeResistance(pekv, 0));
}

void TestBuildingFoundation::calculationOrderWithTheLayers() {
    InstallationValues eu;
    eu.include = false;
    buildingfoundation::OrderTexts t{u"100"_s, u"193,32"_s, u"10,05"_s, 10.05,
                         buildingfoundation::Layers{u"300"_s, u"100"_s, u"2"_s}};
    QString shown;
    const QStringList lines = buildingfoundation::calcOrder(eu, t, &shown);
    QCOMPARE(shown, u"193,32"_s);
    QCOMPARE(lines.first(), u"Площадь производственного здания из сборного железобетона: S = 100 кв. м."_s);
    QVERIFY(lines.contains(u"так как p1 >= p2, то A = 3,6; B = 0,1;"_s));
    QVERIFY(lines.contains(
        u"pэ = 300*(1-e**(-3,6*2/Корень(100))) + 100*(1-e**(-0,1*Корень(100)/2)) = 193,32 Ом м."_s));
    QCOMPARE(lines.last(), u"Rр = 0,52 * 193,32 / Корень(100) = 10,05 Ом."_s);

    t.layers.reset();
    const QStringList plain = buildingfoundation::calcOrder(eu, t);
    QCOMPARE(plain.value(1), u"Эквивалентное удельное сопротивление грунта: pэ = 193,32 Ом м."_s);
    QCOMPARE(plain.size(), 5);
}

void TestBuildingFoundation::init() {
    open();
}

void TestBuildingFoundation::cleanup() {
    close();
}

void TestBuildingFoundation::popup(QLineEdit* on, const char* action) {
    emit on->customContextMenuRequested(QPoint(2, 2));
    QMenu* menu = win_->PopupMenu1();
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
    menu->findChild<QAction*>(QString::fromLatin1(action))->trigger();
}

void TestBuildingFoundation::opensWithoutSoilOrConstruction() {
    QCOMPARE(win_->windowTitle(), u"Железобетонный фундамент здания."_s);
    QVERIFY(!win_->findChild<SoilFrame*>());
    QVERIFY(!win_->findChild<QComboBox*>(QStringLiteral("cmbSech")));
    QCOMPARE(win_->EditPekv()->text(), u"100"_s);
    QCOMPARE(win_->EditS()->text(), u"100"_s);
    QCOMPARE(win_->EditA()->text(), QString());
    for (const char* steps : {"btnP100", "btnP10", "btnP1", "btnA10", "btnB01", "btnS100", "btnS01"})
        QVERIFY2(win_->findChild<QWidget*>(QString::fromLatin1(steps)), steps);
    QVERIFY(!win_->chkPekv()->isEnabled());
    QVERIFY(win_->btnPekv()->isEnabled());
    QVERIFY(win_->ButtonFrame1()->btnMemo()->isEnabled() || win_->Memo1());
}

void TestBuildingFoundation::defaultsGiveTheHandbookValue() {
    win_->calculate(true);
    // 0,52 · 100 / √100, shown with two decimals.
    QCOMPARE(win_->EditVS1()->text(), u"5,20"_s);
    QVERIFY(rec_->messages.isEmpty());
    const QStringList lines = win_->Memo1()->toPlainText().split(QLatin1Char('\n'));
    QVERIFY(lines.contains(u"Rр = 0,52 * 100 / Корень(100) = 5,20 Ом."_s));
}

void TestBuildingFoundation::sidesGiveTheAreaAndATypedAreaDetachesThem() {
    type(win_->EditA(), u"10"_s);
    QCOMPARE(win_->EditS()->text(), u"100"_s); // b still empty
    type(win_->EditB(), u"12"_s);
    QCOMPARE(win_->EditS()->text(), u"120"_s);
    win_->calculate(true);
    QCOMPARE(win_->EditVS1()->text(), u"4,75"_s);
    type(win_->EditS(), u"100"_s);
    QCOMPARE(win_->EditA()->text(), QString());
    QCOMPARE(win_->EditB()->text(), QString());
    // a and b may stay empty: leaving them empty is no error.
    win_->EditA()->setFocus();
    win_->EditB()->setFocus();
    QVERIFY(rec_->messages.isEmpty());
}

void TestBuildingFoundation::areaOfZeroIsRefused() {
    type(win_->EditS(), u"0"_s);
    win_->calculate(true);
    QCOMPARE(rec_->messages, QStringList{buildingfoundation::areaMessage()});
    QCOMPARE(win_->EditVS1()->text(), QString());
}

void TestBuildingFoundation::equivalentResistivityFromTheLayers() {
    rec_->onModal = [](QDialog* d) {
        auto* f = qobject_cast<EquivalentResistivityDialog*>(d);
        if (!f)
            return int(QDialog::Rejected);
        f->pFrame1()->ComboGrunt()->setCurrentIndex(f->pFrame1()->ComboGrunt()->findText(u"супесь"_s));
        f->pFrame1()->EditRo0()->setText(u"300"_s);
        f->pFrame2()->ComboGrunt()->setCurrentIndex(f->pFrame2()->ComboGrunt()->findText(u"суглинок"_s));
        f->pFrame2()->EditRo0()->setText(u"100"_s);
        f->EditH()->setText(u"2"_s);
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(win_->btnPekv(), Qt::LeftButton);
    QCOMPARE(win_->EditPekv()->text(), u"193,32"_s);
    QVERIFY(win_->chkPekv()->isEnabled());
    QVERIFY(!win_->chkPekv()->isChecked());
    win_->chkPekv()->setChecked(true);
    win_->calculate(true);
    QCOMPARE(win_->EditVS1()->text(), u"10,05"_s);
    QVERIFY(
        win_->Memo1()->toPlainText().contains(u"Расчет эквивалентного удельного сопротивления грунта:"_s));
    QCOMPARE(win_->EditPekv()->text(), u"193,32"_s);
}

void TestBuildingFoundation::typingTheResistivityForgetsTheLayers() {
    win_->chkPekv()->setEnabled(true);
    win_->chkPekv()->setChecked(true);
    type(win_->EditPekv(), u"120"_s);
    QVERIFY(!win_->chkPekv()->isEnabled());
    QVERIFY(!win_->chkPekv()->isChecked());
    win_->chkPekv()->setEnabled(true);
    type(win_->EditS(), u"150"_s);
    QVERIFY(!win_->chkPekv()->isEnabled());
}

void TestBuildingFoundation::runDialogOffersTheSidesOrTheArea() {
    auto offered = [this] {
        QStringList names;
        for (const SelectionDescriptor& d : win_->selectionDescriptors())
            names << d.name;
        return names;
    };
    QCOMPARE(offered(),
             (QStringList{u"Эквивалентное удельное сопротивление грунта, Ом м"_s, u"Площадь здания, м2"_s}));
    type(win_->EditA(), u"10"_s);
    type(win_->EditB(), u"10"_s);
    QCOMPARE(offered(), (QStringList{u"Эквивалентное удельное сопротивление грунта, Ом м"_s,
                                     u"Длина здания, м"_s, u"Ширина здания, м"_s}));
}

void TestBuildingFoundation::singleSelectionOfALengthNeedsTheWidth() {
    popup(win_->EditA(), "N1");
    QCOMPARE(
        rec_->messages,
        QStringList{u"Ошибка. Перед подбором параметра \"Длина здания, м\" (поле \"а - длина, м\") заполните "
                    u"поле \"b - ширина, м\"."_s});
    rec_->messages.clear();
    // With b = 10 and Rдоп = 4: a = 16 gives S 160 and 4,11; a = 17 gives S 170 and 3,99.
    type(win_->EditB(), u"10"_s);
    win_->frmEU1()->EditRmax()->setText(u"4"_s);
    popup(win_->EditA(), "N1");
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(win_->EditA()->text(), u"17"_s);
    QCOMPARE(win_->EditS()->text(), u"170"_s);
    QCOMPARE(win_->EditVS1()->text(), u"3,99"_s);
}

void TestBuildingFoundation::singleSelectionOfTheAreaDropsTheSides() {
    type(win_->EditA(), u"10"_s);
    type(win_->EditB(), u"12"_s);
    win_->frmEU1()->EditRmax()->setText(u"4"_s);
    // 0,52·100/√S ≤ 4 first at S = 169 (exactly 4,00).
    popup(win_->EditS(), "N1");
    QCOMPARE(win_->EditA()->text(), QString());
    QCOMPARE(win_->EditB()->text(), QString());
    QCOMPARE(win_->EditS()->text(), u"169"_s);
    QCOMPARE(win_->EditVS1()->text(), u"4,00"_s);
}

void TestBuildingFoundation::historyRoundTrip() {
    type(win_->EditA(), u"10"_s);
    type(win_->EditB(), u"12"_s);
    type(win_->EditPekv(), u"80"_s);
    rec_->inputs << std::optional<QString>(u"Цех 1"_s);
    QTest::mouseClick(win_->ButtonFrame1()->btnSave(), Qt::LeftButton);
    type(win_->EditS(), u"500"_s);
    type(win_->EditPekv(), u"100"_s);
    rec_->onModal = [](QDialog*) { return int(QDialog::Accepted); };
    QTest::mouseClick(win_->ButtonFrame1()->btnLoad(), Qt::LeftButton);
    QCOMPARE(win_->EditPekv()->text(), u"80"_s);
    QCOMPARE(win_->EditA()->text(), u"10"_s);
    QCOMPARE(win_->EditB()->text(), u"12"_s);
    QCOMPARE(win_->EditS()->text(), u"120"_s);
    // 0,52·80/√120.
    QCOMPARE(win_->EditVS1()->text(), u"3,80"_s);
}

QTEST_MAIN(TestBuildingFoundation)
#include "tst_buildingfoundation.moc"
