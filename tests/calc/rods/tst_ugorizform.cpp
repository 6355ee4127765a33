#include "../core/CalcWindowFixture.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "CalculatorWindowOf.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace kz;
using namespace Qt::StringLiterals;

// The strip on the surface: one input of its own, no depth, no linking.
class TestUGorizForm : public QObject, CalcWindowFixture<TUGorizFm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void handbookExample();
    void checks_data();
    void checks();
    void everyChangeCounts();
    void historyKeepsItsOwnFields();
    void singleRunOverTheLength();
    void menuOpensTheWindow();

private:
    QLineEdit* dlina() { return win_->EditDlina(); }
};

void TestUGorizForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Горизонтальный заземлитель на поверхности земли."_s);
    QCOMPARE(helpContextOf(win_.get()), 23);
    QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(),
             u"Расчетная формула:   R = p / (П*L) * Ln(2*L/D), Ом"_s);
    QStringList conditions;
    for (QLabel* l : win_->findChild<QGroupBox*>(u"GroupBox1"_s)->findChildren<QLabel*>())
        conditions << l->text();
    QCOMPARE(conditions, (QStringList{u"L >> D; "_s, u"Для полосы шириной B: D = 0,5 B."_s,
                                      u"Для уголка с шириной полки B:  D = 0,95 B."_s}));
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditDlina"_s)->text(), u"L - длина заземлителя, м:"_s);
    QCOMPARE(dlina()->text(), u"5"_s);
    QVERIFY(!win_->inputWidget(u"EditGlub"_s));
    QVERIFY(!win_->findChild<QLabel*>(u"lblRangeL"_s));
    for (const char* name : {"SpinButtonA1", "SpinButtonA01", "SpinButtonA001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), dlina());
    QVERIFY(!tool("btnLinkParam")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
    score();
    // ln(10 / 0,016) · 100 / (5π) = 40,9839...
    QCOMPARE(win_->EditVS1()->text(), u"40,98"_s);
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (3,14*5) * ln(2*5/0,016) = 40,98 Ом"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestUGorizForm::handbookExample() {
    // p = 100, L = 10, D = 0,02 (a strip 0,04 wide): ln 1000 · 100 / (10π) = 21,9880...
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), u"0,04x0,004"_s);
    type(dlina(), u"10"_s);
    score();
    QCOMPARE(win_->EditVS1()->text(), u"21,99"_s);
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (3,14*10) * ln(2*10/0,02) = 21,99 Ом"_s);
}

void TestUGorizForm::checks_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("1 coefficient 0") << u"EditPKV"_s << u"0"_s << u"Значение коэффициента поправки должно быть больше 0."_s;
    // Unlike the rod at the surface, p0 must be above 0, not only present.
    QTest::newRow("3 p0 zero") << u"EditRo0"_s << u"0"_s
                               << u"Значение удельного сопротивления грунта должно быть больше 0."_s;
    QTest::newRow("7 length empty") << u"EditDlina"_s << QString() << u"Введите значение длины заземлителя."_s;
    QTest::newRow("9 p0 below the soil's range")
        << u"EditRo0"_s << u"39"_s << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 150."_s;
    QTest::newRow("10 length equal to the diameter")
        << u"EditDlina"_s << u"0,016"_s << u"Ошибка. Длина горизонтального заземлителя должна быть больше диаметра."_s;
}

void TestUGorizForm::checks() {
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
}

void TestUGorizForm::everyChangeCounts() {
    autoOn();
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    // A value the program writes recalculates too: only the buried strip waits for the user.
    const int before = win_->calculationCount();
    dlina()->setText(u"10"_s);
    QCOMPARE(win_->calculationCount(), before + 1);
    // ln(20 / 0,016) · 100 / (10π) = 22,6983...
    QCOMPARE(win_->EditVS1()->text(), u"22,7"_s);
}

void TestUGorizForm::historyKeepsItsOwnFields() {
    rec_->inputs << std::optional<QString>(u"Полоса на поверхности"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2), u"Горизонтальный заземлитель на поверхности земли 1."_s);
    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Полоса на поверхности"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 5);
    QCOMPARE(hist.text(u"L"_s), u"5"_s);
    QVERIFY(hist.isNull(u"T"_s)); // no depth here
}

void TestUGorizForm::singleRunOverTheLength() {
    // Stored: 1 … 50 step 1; p = 100, D = 0,016; Rдоп 25.
    win_->frmEU1()->EditRmax()->setText(u"25"_s);
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit dlina()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->N2Click();
    QVERIFY(chart);
    QTableWidget* grid = chart->StringGrid1();
    QCOMPARE(grid->columnCount(), 2); // no depth column
    QCOMPARE(grid->item(0, 0)->text(), u"L, м"_s);
    // ln(2L / 0,016) · 100 / (πL): 153,69 at 1 m … 27,49 at 8, 24,85 at 9 <= 25.
    QCOMPARE(grid->item(1, 1)->text(), u"153,69"_s);
    QCOMPARE(grid->item(grid->rowCount() - 1, 0)->text(), u"9"_s);
    QCOMPARE(grid->item(grid->rowCount() - 1, 1)->text(), u"24,85"_s);
    QCOMPARE(dlina()->text(), u"9"_s);
    QCOMPARE(win_->EditVS1()->text(), u"24,85"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestUGorizForm::menuOpensTheWindow() {
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(u"TUGorizFm"_s);
    QVERIFY(info && info->factory);
    QCOMPARE(info->menuCaption, u"Горизонтальный заземлитель на поверхности земли..."_s);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> w(info->factory(env, nullptr));
    QVERIFY(qobject_cast<CalculatorWindow*>(w.get()));
    QCOMPARE(w->windowTitle(), info->caption);
}

QTEST_MAIN(TestUGorizForm)
#include "tst_ugorizform.moc"
