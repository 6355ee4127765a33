#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace kz;
using namespace Qt::StringLiterals;

// The round plate on the surface: one input, no depth, no linking, no conditions.
class TestUKrugForm : public QObject, CalcWindowFixture<TUKrugFrm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void results_data();
    void results();
    void checks_data();
    void checks();
    void historyKeepsItsOwnFields();
    void singleRunComputesEveryDiameter();
    void menuOpensTheWindow();

private:
    QLineEdit* diam() { return win_->EditDiam(); }
};

void TestUKrugForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Круглая пластина на поверхности земли."_s);
    QCOMPARE(helpContextOf(win_.get()), 56);
    QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(), u"Расчетная формула:   R = p / (2*D), Ом"_s);
    QVERIFY(!win_->findChild<QGroupBox*>(u"GroupBox1"_s)->isVisible());
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditDiam"_s)->text(), u"D - диаметр пластины, м:"_s);
    QCOMPARE(diam()->text(), u"0,5"_s);
    for (const char* name : {"SpinButtonA1", "SpinButtonA01", "SpinButtonA001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), diam());
    QVERIFY(!win_->inputWidget(u"EditGlub"_s));
    QVERIFY(!win_->findChild<QWidget*>(u"frmSech1"_s));
    QVERIFY(!tool("btnMaterial")->isEnabled());
    QVERIFY(!tool("btnKorGrunt")->isEnabled());
    QVERIFY(!tool("btnLinkParam")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
}

void TestUKrugForm::results_data() {
    QTest::addColumn<QString>("p0");
    QTest::addColumn<QString>("kp");
    QTest::addColumn<QString>("d");
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("order");
    // The general format: 100, not 100,00.
    QTest::newRow("handbook example")
        << u"100"_s << u"1"_s << u"0,5"_s << u"100"_s << u"R = 100 / (2*0,5) = 100 Ом"_s;
    // p = 65: 65/4 = 16,25.
    QTest::newRow("corrected") << u"50"_s << u"1,3"_s << u"2"_s << u"16,25"_s
                               << u"R = 65 / (2*2) = 16,25 Ом"_s;
    QTest::newRow("a third") << u"100"_s << u"1"_s << u"0,3"_s << u"166,67"_s
                             << u"R = 100 / (2*0,3) = 166,67 Ом"_s;
}

void TestUKrugForm::results() {
    QFETCH(QString, p0);
    QFETCH(QString, kp);
    QFETCH(QString, d);
    QFETCH(QString, r);
    QFETCH(QString, order);
    type(edit("EditRo0"), p0);
    type(edit("EditPKV"), kp);
    type(diam(), d);
    score();
    QCOMPARE(win_->EditVS1()->text(), r);
    QCOMPARE(win_->EditRaschet()->text(), order);
}

void TestUKrugForm::checks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("p0 empty") << u"EditRo0"_s << QString()
                              << u"Введите значение удельного сопротивления грунта."_s;
    // Only its presence is checked; the soil's range tells a malformed number.
    QTest::newRow("p0 malformed")
        << u"EditRo0"_s << u","_s
        << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s;
    QTest::newRow("diameter 0") << u"EditDiam"_s << u"0"_s
                                << u"Значение диаметра пластины должно быть больше 0."_s;
}

void TestUKrugForm::checks() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    qobject_cast<QLineEdit*>(win_->inputWidget(input))->setText(text);
    rec_->messages.clear();
    win_->Calculate(true);
    QCOMPARE(rec_->messages, QStringList{message});
    QCOMPARE(win_->EditVS1()->text(), QString());
}

void TestUKrugForm::historyKeepsItsOwnFields() {
    type(diam(), u"1,6"_s);
    score();
    rec_->inputs << std::optional<QString>(u"Плита"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2), u"Круглая пластина на поверхности земли 1."_s);
    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Плита"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 12);
    QCOMPARE(hist.text(u"D1"_s), u"1,6"_s);
    QCOMPARE(hist.text(u"R"_s), u"31,25"_s);
    QVERIFY(hist.isNull(u"T"_s));
    QVERIFY(hist.isNull(u"Construct"_s));
}

void TestUKrugForm::singleRunComputesEveryDiameter() {
    win_->frmEU1()->EditRmax()->setText(u"11"_s);
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->N2Click();
    QVERIFY(chart);
    QCOMPARE(chart->StringGrid1()->columnCount(), 2);
    QStringList rows;
    for (int r = 0; r < chart->StringGrid1()->rowCount(); ++r)
        rows << chart->StringGrid1()->item(r, 0)->text() + u'/' + chart->StringGrid1()->item(r, 1)->text();
    // 100/(2D): 50; 25; 16,67; 12,5; 10 <= 11.
    QCOMPARE(rows,
             (QStringList{u"D, м/R, Ом"_s, u"1/50"_s, u"2/25"_s, u"3/16,67"_s, u"4/12,5"_s, u"5/10"_s}));
    QCOMPARE(diam()->text(), u"5"_s);
    QCOMPARE(win_->EditVS1()->text(), u"10"_s);
}

void TestUKrugForm::menuOpensTheWindow() {
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(u"TUKrugFrm"_s);
    QVERIFY(info && info->factory);
    QCOMPARE(info->menuCaption, u"Круглая пластина на поверхности земли..."_s);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> w(info->factory(env, nullptr));
    QCOMPARE(qobject_cast<CalculatorWindow*>(w.get())->descriptor().className, u"TUKrugFrm"_s);
}

QTEST_MAIN(TestUKrugForm)
#include "tst_ukrugform.moc"
