#include "CalcTestFolder.h"
#include "CalculatorWindowOf.h"
#include "core/calculators/plates/EdgePlateTwoLayer.h"
#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "store/DataModule.h"
#include "widgets/calculator/CalcOrderViewer.h"
#include "widgets/calculator/CalculatorWindow.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/frames/SoilFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <numbers>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

// A calculator of another shape on the same pattern: no construction frame, one geometry
// input, a multi-line calculation order with the installation and the verdict.
CalculatorDescriptor hemisphereDescriptor() {
    CalculatorDescriptor d;
    d.className = QStringLiteral("THemiFm");
    d.caption = u"Полусфера."_s;
    d.helpContext = 21;
    d.formulaText = u"Расчетная формула:   R = p / (2*П*r), Ом"_s;
    d.conditionLines = {u"r - радиус полусферы"_s};
    GeometryInput r;
    r.name = QStringLiteral("EditR");
    r.label = u"r - радиус, м:"_s;
    r.defaultText = QStringLiteral("1");
    r.steps.sizes = {1, 0.1};
    r.steps.prefix = QStringLiteral("SpinButtonR");
    r.historyField = QStringLiteral("D1");
    d.geometry = {r};
    using K = InputCheck::Kind;
    d.checks = {{K::Positive, QStringLiteral("EditPKV"), u"коэффициента поправки"_s},
                {K::Filled, QStringLiteral("ComboGrunt"), u"типа грунта"_s},
                {K::Positive, QStringLiteral("EditRo0"), u"удельного сопротивления грунта"_s},
                {K::Positive, QStringLiteral("EditR"), u"радиуса полусферы"_s}};
    d.history.kindCode = 2;
    d.history.presetName = historyPresetName(d.caption);
    d.multiLineOrder = true;
    return d;
}

class Hemisphere : public Calculator {
public:
    Hemisphere() : Calculator(hemisphereDescriptor()) {}

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>&) const override {
        const long double p = calculatedResistivity(*in.number(QStringLiteral("EditRo0")),
                                                    *in.number(QStringLiteral("EditPKV")));
        return roundResistance(p /
                               (2 * std::numbers::pi_v<long double> * *in.number(QStringLiteral("EditR"))));
    }
    QStringList calcOrder(const CalcInputs& in) const override {
        CalcOrderText t;
        t.begin();
        t.heading(u"Грунты"_s);
        t.data(u"Удельное сопротивление грунта"_s, u"р"_s, in.text(QStringLiteral("EditRo")), u"Ом м"_s);
        t.blank();
        t.formula(u"Сопротивление растеканию"_s, u"R = р / (2*П*r)"_s,
                  u"R = "_s + in.text(QStringLiteral("EditRo")) + u" / (2*3,14*"_s +
                      in.text(QStringLiteral("EditR")) + QLatin1Char(')'));
        t.appendToLast(multiLineEnding(in.text(QStringLiteral("EditVS1"))));
        t.blank();
        t.installation(in.installation);
        t.verdict(in.installation, u"полусфера"_s, QStringLiteral("R"),
                  double(in.number(QStringLiteral("EditVS1")).value_or(0)));
        return t.lines();
    }
};

const Calculator& hemisphere() {
    static const Hemisphere c;
    return c;
}

using THemiFm = CalculatorWindowOf<&hemisphere>;
} // namespace

class TestCalculatorWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowWithoutConstruction();
    void multiLineOrderAndItsViewer();
    void failedCheckEmptiesTheMemo();
    void soilDictionaryKeepsTheSoil();
    void steelDictionaryKeepsConstructionAndSize();
    void unknownInputsAreRefused();
    void twoLayersKeepTheirOwnSoils();

private:
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
};

void TestCalculatorWindow::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
}

void TestCalculatorWindow::cleanup() {
    referenceDialogs() = {};
    folder_.reset();
    rec_.reset();
}

void TestCalculatorWindow::windowWithoutConstruction() {
    THemiFm w(*folder_->data);
    w.show();
    QVERIFY(!w.frmSech1());
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("frmSech1")));
    QVERIFY(!w.EditRaschet());
    QVERIFY(w.Memo1());
    QVERIFY(w.ButtonFrame1()->btnMemo()->isEnabled());
    QVERIFY(!w.ButtonFrame1()->btnMaterial()->isEnabled());
    QVERIFY(!w.ButtonFrame1()->btnKorGrunt()->isEnabled());
    QCOMPARE(w.windowTitle(), u"Полусфера."_s);
    QVERIFY(w.stepButton(QStringLiteral("SpinButtonR01")));
    QVERIFY(rec_->messages.isEmpty()); // no picture named, none missing
    QVERIFY(!w.setInputText(QStringLiteral("SizeSetMode"), QStringLiteral("1"))); // no size list to set
}

void TestCalculatorWindow::multiLineOrderAndItsViewer() {
    THemiFm w(*folder_->data);
    w.show();
    w.calculate(true);
    // p 100, r 1: 100 / 2π = 15,915...
    QCOMPARE(w.EditVS1()->text(), QStringLiteral("15,92"));
    const QStringList expected = {
        u"Грунты."_s,
        u"Удельное сопротивление грунта: р = 100 Ом м."_s,
        QString(),
        u"Сопротивление растеканию:"_s,
        u"R = р / (2*П*r);"_s,
        u"R = 100 / (2*3,14*1) = 15,92 Ом."_s,
        QString(),
        u"Тип электроустановки: напряжением до 1 кВ с заземленной нейтралью."_s,
        u"Линейное напряжение источника тока: Uлин. = 380 В."_s,
        u"Удельное сопротивление грунта: р = 100 Ом м."_s,
        u"Допустимое сопротивление растеканию: Rдоп. = 4 Ом."_s,
        u"Так как R > Rдоп., то полусфера нельзя использовать в качестве заземляющего устройства."_s,
    };
    QCOMPARE(w.Memo1()->toPlainText().split(QLatin1Char('\n')), expected);

    CalcOrderViewer* viewer = nullptr;
    QStringList shown;
    QString counter;
    int rows = -1;
    rec_->onModal = [&](QDialog* dialog) -> int {
        viewer = qobject_cast<CalcOrderViewer*>(dialog);
        if (viewer) {
            viewer->show();
            shown = viewer->lines();
            counter = viewer->lblNo()->text();
            rows = viewer->parameterGrid()->rowCount();
            viewer->hide();
        }
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(w.ButtonFrame1()->btnMemo(), Qt::LeftButton);
    QVERIFY(viewer);
    QCOMPARE(shown, expected);
    QCOMPARE(rows, 1);
    // The first designation, the Cyrillic "р", is searched as it stands: inside words too.
    QCOMPARE(counter, u"1 из "_s + QString::number(expected.join(QLatin1Char('\n')).count(u"р"_s)));
}

void TestCalculatorWindow::failedCheckEmptiesTheMemo() {
    THemiFm w(*folder_->data);
    w.show();
    w.calculate(true);
    QVERIFY(!w.Memo1()->toPlainText().isEmpty());
    w.geometryEdit(QStringLiteral("EditR"))->setText(QStringLiteral("0"));
    w.calculate(true);
    QCOMPARE(rec_->messages, QStringList{u"Значение радиуса полусферы должно быть больше 0."_s});
    QVERIFY(w.Memo1()->toPlainText().isEmpty());
    QVERIFY(w.EditVS1()->text().isEmpty());
}

void TestCalculatorWindow::soilDictionaryKeepsTheSoil() {
    TDVertFm w(*folder_->data);
    w.show();
    QVERIFY(!w.ButtonFrame1()->btnGrunt()->isEnabled()); // no dictionary yet
    int opened = 0;
    referenceDialogs().soils = [&](QWidget* parent) {
        QCOMPARE(parent, static_cast<QWidget*>(&w));
        ++opened;
    };
    w.hide();
    w.show();
    QVERIFY(w.ButtonFrame1()->btnGrunt()->isEnabled());
    QTest::mouseClick(w.ButtonFrame1()->btnAutoScore(), Qt::LeftButton);
    const int idx = w.pFrame()->ComboGrunt()->findText(u"глина"_s);
    w.pFrame()->ComboGrunt()->setCurrentIndex(idx);
    w.pFrame()->EditRo0()->setText(QStringLiteral("55"));
    w.pFrame()->EditPKV()->setText(QStringLiteral("1,4"));
    const int before = w.calculationCount();
    QTest::mouseClick(w.ButtonFrame1()->btnGrunt(), Qt::LeftButton);
    QCOMPARE(opened, 1);
    QCOMPARE(w.pFrame()->ComboGrunt()->currentText(), u"глина"_s);
    QCOMPARE(w.pFrame()->EditRo0()->text(), QStringLiteral("55"));
    QCOMPARE(w.pFrame()->EditPKV()->text(), QStringLiteral("1,4"));
    QCOMPARE(w.calculationCount(), before + 1); // one calculation after the dictionary
    QVERIFY(!w.EditVS1()->text().isEmpty());
    QVERIFY(rec_->messages.isEmpty());
}

void TestCalculatorWindow::steelDictionaryKeepsConstructionAndSize() {
    referenceDialogs().steels = [](QWidget*) {};
    referenceDialogs().corrosion = [](QWidget*) {};
    TDVertFm w(*folder_->data);
    w.show();
    QVERIFY(w.ButtonFrame1()->btnMaterial()->isEnabled());
    QVERIFY(w.ButtonFrame1()->btnKorGrunt()->isEnabled());
    QComboBox* sech = w.frmSech1()->cmbSech();
    sech->setCurrentIndex(sech->findText(u"сталь полосовая"_s));
    QComboBox* diam = w.frmSech1()->cmbDiam();
    diam->setCurrentIndex(diam->findText(QStringLiteral("0,04x0,004")));
    QTest::mouseClick(w.ButtonFrame1()->btnMaterial(), Qt::LeftButton);
    QCOMPARE(sech->currentText(), u"сталь полосовая"_s);
    QCOMPARE(diam->currentText(), QStringLiteral("0,04x0,004"));
    QCOMPARE(w.frmSech1()->EditDiam()->text(), QStringLiteral("0,02"));
    QTest::mouseClick(w.ButtonFrame1()->btnKorGrunt(), Qt::LeftButton);
    QCOMPARE(sech->currentText(), u"сталь полосовая"_s);
    QCOMPARE(diam->currentText(), QStringLiteral("0,04x0,004"));
    w.calculate(true);
    QCOMPARE(w.EditVS1()->text(), QStringLiteral("21,09"));
}

void TestCalculatorWindow::unknownInputsAreRefused() {
    TDVertFm w(*folder_->data);
    w.show();
    QVERIFY(!w.setInputText(QStringLiteral("EditNothing"), QStringLiteral("1")));
    QVERIFY(!w.setInputText(QStringLiteral("EditT"), QStringLiteral("1"))); // derived, display only
    QVERIFY(!w.setInputText(QStringLiteral("EditVS1"), QStringLiteral("1")));
    QVERIFY(w.setInputText(QStringLiteral("pFrame.EditPKV"), QStringLiteral("1,2")));
    QCOMPARE(w.inputText(QStringLiteral("EditPKV")), QStringLiteral("1,2"));
    QVERIFY(w.setInputText(QStringLiteral("cmbDiam"), QStringLiteral("0,777")));
    QCOMPARE(w.frmSech1()->cmbDiam()->currentIndex(), -1);
    QCOMPARE(w.inputText(QStringLiteral("SizeSetMode")), QStringLiteral("0"));
}

// Two-layer earth: each frame keeps its soil, range and selection, and the soil dictionary opens on
// the layer in view.
void TestCalculatorWindow::twoLayersKeepTheirOwnSoils() {
    CalculatorWindow w(edgeplatetwolayer::calculator(), *folder_->data);
    QString located;
    referenceDialogs().soils = [&](QWidget*) {
        located = (*folder_->data)[QStringLiteral("P_udel.DB")].text(QStringLiteral("Grunt"));
    };
    w.show();
    QTest::mouseClick(w.ButtonFrame1()->btnAutoScore(), Qt::LeftButton);
    QVERIFY(w.setInputText(QStringLiteral("pFrame1.ComboGrunt"), u"песок"_s));
    QVERIFY(w.setInputText(QStringLiteral("pFrame1.EditRo0"), QStringLiteral("500")));
    QCOMPARE(w.inputText(QStringLiteral("ComboGrunt")), u"суглинок"_s);
    QCOMPARE(w.pFrame1()->EditRo()->text(), QStringLiteral("500"));
    // 1/(0,3/100 + 0,7/500) = 227,27; s = √(4 + 1,96) = 2,441311;
    // R = 227,27/(4π)·[ln 8 + ln(4,441311/1,4) − 1,041311/2] = 49,07.
    QCOMPARE(w.inputText(QStringLiteral("EditPekv")), QStringLiteral("227,27"));
    QCOMPARE(w.EditVS1()->text(), QStringLiteral("49,07"));
    // A p0 outside the lower soil's range is refused with that soil's bounds.
    QVERIFY(w.setInputText(QStringLiteral("pFrame1.EditRo0"), QStringLiteral("100")));
    QCOMPARE(w.checkInputs(false), false);
    QVERIFY(w.setInputText(QStringLiteral("pFrame1.EditRo0"), QStringLiteral("500")));
    rec_->messages.clear();

    bool lowerOffered = false;
    for (const SelectionDescriptor& d : w.selectionDescriptors())
        if (d.name == u"Удельное сопротивление нижнего слоя грунта, Ом м"_s) {
            lowerOffered = true;
            QCOMPARE(d.start, QStringLiteral("1000"));
            QCOMPARE(d.end, QStringLiteral("400"));
        }
    QVERIFY(lowerOffered);

    w.findChild<QTabWidget*>(QStringLiteral("PageControl2"))->setCurrentIndex(1);
    QTest::mouseClick(w.ButtonFrame1()->btnGrunt(), Qt::LeftButton);
    QCOMPARE(located, u"песок"_s);
    QCOMPARE(w.inputText(QStringLiteral("pFrame1.ComboGrunt")), u"песок"_s);
    QCOMPARE(w.inputText(QStringLiteral("pFrame1.EditRo0")), QStringLiteral("500"));
    QCOMPARE(w.inputText(QStringLiteral("EditRo0")), QStringLiteral("100"));

    // A run over the lower layer's coefficient writes back that layer's p = p0·Kп.
    w.selectParameter(u"Коэффициент поправки нижнего слоя"_s, false);
    const auto kp = parseNumber(w.inputText(QStringLiteral("pFrame1.EditPKV")));
    QVERIFY(kp);
    QCOMPARE(w.pFrame1()->EditRo()->text(), formatGeneral(calculatedResistivity(500, *kp)));
    QCOMPARE(w.pFrame()->EditRo()->text(), QStringLiteral("100"));
}

QTEST_MAIN(TestCalculatorWindow)
#include "tst_calculatorwindow.moc"
