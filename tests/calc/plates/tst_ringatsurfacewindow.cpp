#include "../core/CalcWindowFixture.h"
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

using namespace Qt::StringLiterals;

using namespace kz;

// The ring near the surface: one input of its own, no depth, no linking; the loading command
// follows the inputs like saving.
class TestRingAtSurfaceWindow : public QObject, CalcWindowFixture<TKolForm> {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstOpening();
    void leavingAMalformedDiameterIsRefused();
    void loadingNeedsTheInputsLikeSaving();
    void everyChangeCounts();
    void historyKeepsItsOwnFields();
    void singleRunOverTheDiameter();
    void reportReadsTheRingNotTheSection();

private:
    QLineEdit* diam() { return win_->EditDiam(); }
};

void TestRingAtSurfaceWindow::init() {
    open();
}

void TestRingAtSurfaceWindow::cleanup() {
    close();
}

void TestRingAtSurfaceWindow::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Кольцевой заземлитель у поверхности земли."_s);
    QCOMPARE(helpContextOf(win_.get()), 15);
    QCOMPARE(win_->findChild<QLabel*>(QStringLiteral("Label5"))->text(),
             u"Расчетная формула:   R = p / (П*П*D) * Ln(8*D/d), Ом"_s);
    QStringList conditions;
    for (QLabel* l : win_->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->findChildren<QLabel*>())
        conditions << l->text();
    QCOMPARE(conditions, (QStringList{u"D >> d; "_s, u"Для полосы шириной B: d = 0,5 B."_s,
                                      u"Для уголка с шириной полки B:  d = 0,95 B."_s}));
    QCOMPARE(win_->findChild<QLabel*>(QStringLiteral("lblEditDiam"))->text(), u"D - диаметр кольца, м:"_s);
    QCOMPARE(diam()->text(), QStringLiteral("1"));
    QVERIFY(!win_->inputWidget(QStringLiteral("EditGlub")));
    QVERIFY(!win_->findChild<QLabel*>(QStringLiteral("lblRangeD")));
    for (const char* name : {"SpinButtonA1", "SpinButtonA01", "SpinButtonA001"})
        QCOMPARE(win_->stepButton(QLatin1String(name))->associate(), diam());
    QVERIFY(!tool("btnLinkParam")->isEnabled());
    QVERIFY(tool("btnLoad")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
    score();
    // ln 500 · 100 / π² = 62,967...
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("62,97"));
    QVERIFY(rec_->messages.isEmpty());
}

void TestRingAtSurfaceWindow::leavingAMalformedDiameterIsRefused() {
    type(diam(), QString());
    QTest::keyClick(diam(), Qt::Key_Tab);
    QCOMPARE(rec_->messages, QStringList{u"Ошибочное значение для числового параметра."_s});
    QVERIFY(diam()->hasFocus());
}

void TestRingAtSurfaceWindow::loadingNeedsTheInputsLikeSaving() {
    // Saving and copying wait for every input in every window; here loading waits too.
    type(diam(), QString());
    QVERIFY(!tool("btnLoad")->isEnabled());
    type(diam(), QStringLiteral("3"));
    QVERIFY(tool("btnLoad")->isEnabled());
}

void TestRingAtSurfaceWindow::everyChangeCounts() {
    QTest::mouseClick(tool("btnAutoScore"), Qt::LeftButton);
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("62,97"));
    // No focus gate here: a value written by the program recalculates too (2 m: 34,995...).
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    diam()->setText(QStringLiteral("2"));
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("35"));
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (3,14*3,14*2) * ln(8*2/0,016) = 35 Ом"_s);
}

void TestRingAtSurfaceWindow::historyKeepsItsOwnFields() {
    type(diam(), QStringLiteral("2,5"));
    score();
    rec_->inputs << std::optional<QString>(u"Кольцо на поверхности"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(QLatin1Char('|'), 2),
             u"Кольцевой заземлитель у поверхности земли 1."_s);
    DataTable& hist = (*folder_->data)[QStringLiteral("TableHist1")];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(QStringLiteral("Name"), u"Кольцо на поверхности"_s));
    QCOMPARE(hist.asInteger(QStringLiteral("KodTip")), 7);
    QCOMPARE(hist.text(QStringLiteral("D2")), QStringLiteral("2,5"));
    QVERIFY(hist.isNull(QStringLiteral("D1")));
    QVERIFY(hist.isNull(QStringLiteral("T")));
    QCOMPARE(hist.text(QStringLiteral("N")), QStringLiteral("0"));
}

void TestRingAtSurfaceWindow::singleRunOverTheDiameter() {
    win_->frmEU1()->EditRmax()->setText(QStringLiteral("20"));
    SelectionChartDialog* chart = nullptr;
    rec_->onModal = [&](QDialog* dialog) {
        chart = qobject_cast<SelectionChartDialog*>(dialog);
        return int(QDialog::Accepted);
    };
    emit diam()->customContextMenuRequested(QPoint(2, 2));
    win_->PopupMenu1()->hide();
    win_->selectParameterWithDataAtPopup();
    QVERIFY(chart);
    // ln(8D/0,016) · 100 / (π²D) for D = 1 … 4: 62,97; 35,00; 24,70; 19,25 <= 20.
    QStringList rows;
    for (int r = 0; r < chart->dataGrid()->rowCount(); ++r)
        rows << chart->dataGrid()->item(r, 0)->text() + QLatin1Char('/') +
                    chart->dataGrid()->item(r, 1)->text();
    QCOMPARE(chart->dataGrid()->columnCount(), 2);
    QCOMPARE(rows, (QStringList{u"D, м/R, Ом"_s, u"1/62,97"_s, u"2/35"_s, u"3/24,7"_s, u"4/19,25"_s}));
    QCOMPARE(diam()->text(), QStringLiteral("4"));
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("19,25"));
}

void TestRingAtSurfaceWindow::reportReadsTheRingNotTheSection() {
    choose(combo("cmbSech"), u"сталь полосовая"_s);
    choose(combo("cmbDiam"), QStringLiteral("0,04x0,004"));
    score();
    QCOMPARE(win_->EditVS1()->text(), QStringLiteral("60,71"));
    const ReportSource source = win_->reportSource();
    QCOMPARE(source.text(QStringLiteral("EditDiam")), QStringLiteral("1"));
    QCOMPARE(source.text(QStringLiteral("frmSech1.EditDiam")), QStringLiteral("0,02"));
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (3,14*3,14*1) * ln(8*1/0,02) = 60,71 Ом"_s);
}

QTEST_MAIN(TestRingAtSurfaceWindow)
#include "tst_ringatsurfacewindow.moc"
