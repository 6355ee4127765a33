#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "core/model/ReportModel.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace kz;
using namespace Qt::StringLiterals;

// The hemisphere at the surface: one input, every change recalculates, no conditions.
class TestPSferaForm : public QObject, CalcWindowFixture<TPSferaFm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void results_data();
    void results();
    void checks_data();
    void checks();
    void everyChangeCounts();
    void historyAndReport();
    void menuOpensTheWindow();

private:
    QLineEdit* diam() { return win_->EditDiam(); }
};

void TestPSferaForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Полусферический заземлитель на поверхности земли."_s);
    QCOMPARE(helpContextOf(win_.get()), 21);
    QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(), u"Расчетная формула:   R = p / (П*D), Ом"_s);
    QVERIFY(!win_->findChild<QGroupBox*>(u"GroupBox1"_s)->isVisible());
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditDiam"_s)->text(), u"D - диаметр сферы, м:"_s);
    QCOMPARE(diam()->text(), u"0,5"_s);
    QCOMPARE(diam()->palette().color(QPalette::Base), QColor(0xC0, 0xDC, 0xC0));
    QCOMPARE(win_->stepButton(u"SpinButtonA001"_s)->associate(), diam());
    QVERIFY(!win_->findChild<QWidget*>(u"frmSech1"_s));
    QVERIFY(!tool("btnMaterial")->isEnabled());
    QVERIFY(!tool("btnKorGrunt")->isEnabled());
    QVERIFY(!tool("btnLinkParam")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
}

void TestPSferaForm::results_data() {
    QTest::addColumn<QString>("p0");
    QTest::addColumn<QString>("kp");
    QTest::addColumn<QString>("d");
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("order");
    // 100/(0,5π) = 63,6619772...
    QTest::newRow("handbook example")
        << u"100"_s << u"1"_s << u"0,5"_s << u"63,66"_s << u"R = 100 / (3,14*0,5) = 63,66 Ом"_s;
    // 65/(2π) = 10,3450713...
    QTest::newRow("corrected") << u"50"_s << u"1,3"_s << u"2"_s << u"10,35"_s
                               << u"R = 65 / (3,14*2) = 10,35 Ом"_s;
    // 180/(0,7π) = 81,8511135...
    QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"0,7"_s << u"81,85"_s
                           << u"R = 180 / (3,14*0,7) = 81,85 Ом"_s;
}

void TestPSferaForm::results() {
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

void TestPSferaForm::checks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("coefficient") << u"EditPKV"_s << u"0"_s
                                 << u"Значение коэффициента поправки должно быть больше 0."_s;
    QTest::newRow("p0 0") << u"EditRo0"_s << u"0"_s
                          << u"Значение удельного сопротивления грунта должно быть больше 0."_s;
    QTest::newRow("diameter empty") << u"EditDiam"_s << QString() << u"Введите значение диаметра сферы."_s;
}

void TestPSferaForm::checks() {
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    qobject_cast<QLineEdit*>(win_->inputWidget(input))->setText(text);
    rec_->messages.clear();
    win_->Calculate(true);
    QCOMPARE(rec_->messages, QStringList{message});
    QCOMPARE(win_->EditVS1()->text(), QString());
}

void TestPSferaForm::everyChangeCounts() {
    autoOn();
    QCOMPARE(win_->EditVS1()->text(), u"63,66"_s);
    // No focus gate: a value the program writes recalculates too (100/π = 31,83).
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    diam()->setText(u"1"_s);
    QCOMPARE(win_->EditVS1()->text(), u"31,83"_s);
}

void TestPSferaForm::historyAndReport() {
    score();
    rec_->inputs << std::optional<QString>(u"Полушар"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2),
             u"Полусферический заземлитель на поверхности земли 1."_s);
    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Полушар"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 2);
    QCOMPARE(hist.text(u"D1"_s), u"0,5"_s);
    QCOMPARE(hist.text(u"R"_s), u"63,66"_s);
    // The report reads the window's texts.
    const ReportSource source = win_->reportSource();
    QCOMPARE(source.text(u"EditDiam"_s), u"0,5"_s);
    QCOMPARE(source.text(u"EditVS1"_s), u"63,66"_s);
    QVERIFY(tool("btnReport")->isEnabled());
}

void TestPSferaForm::menuOpensTheWindow() {
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(u"TPSferaFm"_s);
    QVERIFY(info && info->factory);
    QCOMPARE(info->menuCaption, u"Полусферический у поверхности земли..."_s);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> w(info->factory(env, nullptr));
    QCOMPARE(qobject_cast<CalculatorWindow*>(w.get())->descriptor().className, u"TPSferaFm"_s);
}

QTEST_MAIN(TestPSferaForm)
#include "tst_psferaform.moc"
