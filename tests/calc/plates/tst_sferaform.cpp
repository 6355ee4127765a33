#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
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

namespace {
const QString depthRule = u"Ошибка. Глубина заложения должна быть больше радиуса сферического заземлителя."_s;
} // namespace

// The buried sphere: the plate's rules over D and T, linking to hundredths, the general format.
class TestSferaForm : public QObject, CalcWindowFixture<TSferaFrm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void firstOpening();
    void handbookExample();
    void depthMustExceedTheRadius();
    void linkingMovesTheOtherInput_data();
    void linkingMovesTheOtherInput();
    void stepButtonsAreTheUsers();
    void historyAndPaste();
    void nestedRunEmptiesAnInadmissibleLastCombination();
    void settingsOpenAtTheFocusedParameter();
    void menuOpensTheWindow();

private:
    QLineEdit* diam() { return win_->EditDiam(); }
    QLineEdit* glub() { return win_->EditGlub(); }
    void linkOn() {
        if (!tool("btnLinkParam")->isChecked())
            QTest::mouseClick(tool("btnLinkParam"), Qt::LeftButton);
        QVERIFY(tool("btnLinkParam")->isChecked());
    }
};

void TestSferaForm::firstOpening() {
    QCOMPARE(win_->windowTitle(), u"Сферический заземлитель в земле."_s);
    QCOMPARE(helpContextOf(win_.get()), 22);
    QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(),
             u"Расчетная формула:   R = p / (2*П*D) * [1+D / (4*T)], Ом"_s);
    auto* conditions = win_->findChild<QGroupBox*>(u"GroupBox1"_s);
    QCOMPARE(conditions->title(), u" Условие применения формулы "_s);
    QCOMPARE(conditions->findChildren<QLabel*>().value(0)->text(), u"2T >> D"_s);
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditDiam"_s)->text(), u"D - диаметр сферы, м:"_s);
    QCOMPARE(win_->findChild<QLabel*>(u"lblEditGlub"_s)->text(), u"Т - глубина заложения, м:"_s);
    QCOMPARE(win_->lblRangeD()->text(), u"( D < 1,4 )"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( T > 0,25 )"_s);
    QVERIFY(!win_->findChild<QWidget*>(u"frmSech1"_s));
    QVERIFY(!tool("btnMaterial")->isEnabled());
    QVERIFY(!tool("btnKorGrunt")->isEnabled());
    QVERIFY(tool("btnLinkParam")->isEnabled());
    QVERIFY(!win_->Image1()->pixmap().isNull());
}

void TestSferaForm::handbookExample() {
    score();
    // 100/(2π·0,5)·(1 + 0,5/2,8) = 37,5150937...
    QCOMPARE(win_->EditVS1()->text(), u"37,52"_s);
    QCOMPARE(win_->EditRaschet()->text(), u"R = 100 / (2*3,14*0,5) * [1+0,5 / (4*0,7)] = 37,52 Ом"_s);
    // The general format: 100/(2π)·1,625 = 25,86; D 0,5 and T 1: 35,8098622 -> 35,81.
    type(glub(), u"1"_s);
    score();
    QCOMPARE(win_->EditVS1()->text(), u"35,81"_s);
}

void TestSferaForm::depthMustExceedTheRadius() {
    type(diam(), u"1,4"_s);
    rec_->messages.clear();
    score();
    QCOMPARE(rec_->messages, QStringList{depthRule});
    QCOMPARE(win_->EditVS1()->text(), QString());
    type(glub(), u"0,71"_s);
    rec_->messages.clear();
    score();
    QVERIFY(rec_->messages.isEmpty());
    // 100/(2π·1,4)·(1 + 1,4/2,84) = 16,9722575...
    QCOMPARE(win_->EditVS1()->text(), u"16,97"_s);
}

void TestSferaForm::linkingMovesTheOtherInput_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("startD");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("d");
    QTest::addColumn<QString>("t");
    QTest::newRow("D 2 with T 0,7") << u"EditDiam"_s << u"0,5"_s << u"2"_s << u"2"_s << u"1,1"_s;
    QTest::newRow("T 0,3 with D 1") << u"EditGlub"_s << u"1"_s << u"0,3"_s << u"0,5"_s << u"0,3"_s;
    QTest::newRow("T 0,04 with D 1") << u"EditGlub"_s << u"1"_s << u"0,04"_s << u"1"_s << u"0,04"_s;
    // To hundredths: 1,2345/2 + 0,1 = 0,71725 -> 0,72 (typed digit by digit, 1 would move T first).
    QTest::newRow("D 1,2345 with T 0,3")
        << u"EditDiam"_s << u"0,5"_s << u"1,2345"_s << u"1,2345"_s << u"0,72"_s;
}

void TestSferaForm::linkingMovesTheOtherInput() {
    QFETCH(QString, input);
    QFETCH(QString, startD);
    QFETCH(QString, typed);
    QFETCH(QString, d);
    QFETCH(QString, t);
    type(diam(), startD);
    linkOn();
    auto* e = qobject_cast<QLineEdit*>(win_->inputWidget(input));
    if (typed == u"1,2345"_s) {
        type(glub(), u"0,3"_s);
        // Pasted in one piece: a single change of the user's.
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
        e->insert(typed);
    } else {
        type(e, typed);
    }
    QCOMPARE(diam()->text(), d);
    QCOMPARE(glub()->text(), t);
    QCOMPARE(focused(), input);
}

void TestSferaForm::stepButtonsAreTheUsers() {
    linkOn();
    autoOn();
    edit("EditRo0")->setFocus(Qt::OtherFocusReason);
    // 0,5 + 1 = 1,5 breaks 2T > D: T = 0,85; 100/(3π)·(1 + 1,5/3,4) = 15,29...
    QTest::mouseClick(win_->stepButton(u"SpinButtonD1"_s)->upButton(), Qt::LeftButton);
    QCOMPARE(diam()->text(), u"1,5"_s);
    QCOMPARE(glub()->text(), u"0,85"_s);
    QCOMPARE(win_->lblRangeD()->text(), u"( D < 1,7 )"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( T > 0,75 )"_s);
    QCOMPARE(win_->EditVS1()->text(), u"15,29"_s);
}

void TestSferaForm::historyAndPaste() {
    type(diam(), u"0,8"_s);
    type(glub(), u"2"_s);
    score();
    QCOMPARE(win_->EditVS1()->text(), u"21,88"_s);
    rec_->inputs << std::optional<QString>(u"Шар"_s);
    QTest::mouseClick(tool("btnSave"), Qt::LeftButton);
    QCOMPARE(rec_->prompts.value(0).section(u'|', 2), u"Сферический заземлитель в земле 1."_s);
    DataTable& hist = (*folder_->data)[u"TableHist1"_s];
    hist.setFiltered(false);
    QVERIFY(hist.open(dataDir()));
    hist.refresh();
    QVERIFY(hist.locate(u"Name"_s, u"Шар"_s));
    QCOMPARE(hist.asInteger(u"KodTip"_s), 1);
    QCOMPARE(hist.text(u"D1"_s), u"0,8"_s);
    QCOMPARE(hist.text(u"T"_s), u"2"_s);
    QCOMPARE(hist.text(u"R"_s), u"21,88"_s);

    QTest::mouseClick(tool("btnCopy"), Qt::LeftButton);
    type(diam(), u"3"_s);
    type(glub(), u"0,2"_s);
    autoOn();
    const int before = win_->calculationCount();
    QTest::mouseClick(tool("btnPaste"), Qt::LeftButton);
    QCOMPARE(win_->calculationCount(), before + 1);
    QCOMPARE(diam()->text(), u"0,8"_s);
    QCOMPARE(glub()->text(), u"2"_s);
    QCOMPARE(win_->lblRangeD()->text(), u"( D < 4 )"_s);
    QCOMPARE(win_->lblRangeT()->text(), u"( T > 0,4 )"_s);
    QCOMPARE(win_->EditVS1()->text(), u"21,88"_s);
}

void TestSferaForm::nestedRunEmptiesAnInadmissibleLastCombination() {
    rec_->onModal = [&](QDialog* dialog) {
        auto* form = qobject_cast<SelectionRunDialog*>(dialog);
        if (!form)
            return int(QDialog::Rejected);
        form->btnAddClick(); // the first offered: the sphere's diameter
        form->EditR()->setText(u"1"_s);
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(tool("btnPodbor"), Qt::LeftButton);
    // D 1 … 5 with T 0,7: only D 1 keeps 2T > D, the last one does not: no result.
    QCOMPARE(diam()->text(), u"5"_s);
    QCOMPARE(win_->EditVS1()->text(), QString());
    QCOMPARE(rec_->messages.value(0), u"Подбор параметров неудачен."_s);
}

void TestSferaForm::settingsOpenAtTheFocusedParameter() {
    SettingsHandOver seen;
    answerSettingsDialog(seen);
    diam()->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(tool("btnParPodbor"), Qt::LeftButton);
    QCOMPARE(seen.kind, 2);
    QCOMPARE(seen.name, u"Диаметр сферы, м"_s);
    QCOMPARE(seen.located, u"Диаметр сферы, м"_s);
    QCOMPARE((*folder_->data)[u"TableParPod0"_s].filter(), u"[KodTip]='1'"_s);
}

void TestSferaForm::menuOpensTheWindow() {
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    const CalculatorInfo* info = registry.find(u"TSferaFrm"_s);
    QVERIFY(info && info->factory);
    QCOMPARE(info->menuCaption, u"Сферический в земле..."_s);
    CalculatorEnvironment env{*folder_->data};
    std::unique_ptr<QDialog> w(info->factory(env, nullptr));
    QCOMPARE(qobject_cast<CalculatorWindow*>(w.get())->descriptor().className, u"TSferaFrm"_s);
}

QTEST_MAIN(TestSferaForm)
#include "tst_sferaform.moc"
