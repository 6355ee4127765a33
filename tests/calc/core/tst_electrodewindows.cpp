// What the single electrodes' windows do while the user types, steps and clicks: the worked cases
// in tests/cases hold their numbers and messages, the contract test what every window does.
#include "CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "core/calculators/CalculatorList.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/reference/TableGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

// A window of any calculator, driven by rows of "Name=text" steps.
class TestLinkedInputs : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void linkingMovesTheOtherInput_data();
    void linkingMovesTheOtherInput();
    void programWrites_data();
    void programWrites();
    void captions_data();
    void captions();

private:
    void open(const QString& className);
    QLineEdit* edit(const QString& name) { return qobject_cast<QLineEdit*>(win_->inputWidget(name)); }
    void type(const QString& step);
    void check(const QStringList& expected);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<CalculatorWindow> win_;
};

void TestLinkedInputs::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
}

void TestLinkedInputs::cleanup() {
    win_.reset();
    folder_.reset();
    rec_.reset();
}

void TestLinkedInputs::open(const QString& className) {
    const Calculator* c = findCalculator(className);
    QVERIFY(c);
    win_ = std::make_unique<CalculatorWindow>(*c, *folder_->data);
    win_->show();
    QApplication::setActiveWindow(win_.get());
    QVERIFY(QTest::qWaitForWindowActive(win_.get()));
}

// "EditDiam=2" by keystrokes, "paste EditDiam=1,2345" in one piece, "SpinButtonD1 up" clicked
// with the focus elsewhere.
void TestLinkedInputs::type(const QString& step) {
    if (step.endsWith(u" up"_s) || step.endsWith(u" down"_s)) {
        edit(u"EditRo0"_s)->setFocus(Qt::OtherFocusReason);
        SpinButton* b = win_->stepButton(step.section(u' ', 0, 0));
        QVERIFY2(b, qPrintable(step));
        QTest::mouseClick(step.endsWith(u" up"_s) ? b->upButton() : b->downButton(), Qt::LeftButton);
        return;
    }
    const bool paste = step.startsWith(u"paste "_s);
    const QString assignment = paste ? step.mid(6) : step;
    QLineEdit* e = edit(assignment.section(u'=', 0, 0));
    QVERIFY2(e, qPrintable(step));
    e->setFocus(Qt::OtherFocusReason);
    e->selectAll();
    if (paste)
        e->insert(assignment.section(u'=', 1));
    else
        QTest::keyClicks(e, assignment.section(u'=', 1));
    // The moved input never takes the focus.
    QCOMPARE(QApplication::focusWidget(), e);
}

void TestLinkedInputs::check(const QStringList& expected) {
    for (const QString& e : expected) {
        const QString name = e.section(u'=', 0, 0);
        QString shown;
        if (name == u"message"_s) {
            // Failures only: a weakly held condition of the formula is said beside the result.
            QStringList lines = win_->messageLine()->text().split(u'\n', Qt::SkipEmptyParts);
            lines.removeIf([](const QString& l) { return l.startsWith(u"Условие применения формулы"_s); });
            shown = lines.join(u'\n');
        } else if (QLabel* label = win_->rangeLabel(name))
            shown = label->text();
        else if (name == u"EditVS1"_s)
            shown = win_->EditVS1()->text();
        else
            shown = win_->inputText(name);
        QVERIFY2(shown == e.section(u'=', 1), qPrintable(e + u", shown: "_s + shown));
    }
}

void TestLinkedInputs::linkingMovesTheOtherInput_data() {
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QStringList>("before"); // typed before the link is pressed
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");
    const QString plate = u"message=Ошибка. Глубина заложения должна быть больше радиуса круглой пластины."_s;
    const QString strip = u"message=Ошибка. Длина горизонтального заземлителя должна быть больше глубины "
                          u"заложения более чем в 4 раза."_s;
    // The plate and the sphere: To = D/2 + 0,1, D = 2(To − 0,1); a depth of 0,05 or less moves nothing.
    for (const QString& c : {u"TDKrugFrm"_s, u"TSferaFrm"_s}) {
        QTest::addRow("%s D 2", qPrintable(c)) << c << QStringList{} << QStringList{u"EditDiam=2"_s}
                                               << QStringList{u"EditDiam=2"_s, u"EditGlub=1,1"_s};
        QTest::addRow("%s T 0,3", qPrintable(c))
            << c << QStringList{u"EditDiam=1"_s} << QStringList{u"EditGlub=0,3"_s}
            << QStringList{u"EditDiam=0,5"_s, u"EditGlub=0,3"_s};
        QTest::addRow("%s T 0,04", qPrintable(c))
            << c << QStringList{u"EditDiam=1"_s} << QStringList{u"EditGlub=0,04"_s}
            << QStringList{u"EditDiam=1"_s, u"EditGlub=0,04"_s, u"EditVS1="_s};
    }
    QTest::newRow("TDKrugFrm label follows the moved depth")
        << u"TDKrugFrm"_s << QStringList{} << QStringList{u"EditDiam=2"_s}
        << QStringList{u"lblRangeD=( D < 2,2 )"_s, u"EditVS1=15,89"_s, u"message="_s};
    QTest::newRow("TDKrugFrm rule said while typing")
        << u"TDKrugFrm"_s << QStringList{u"EditDiam=1"_s} << QStringList{u"EditGlub=0,04"_s}
        << QStringList{plate};
    // To hundredths, pasted as one change (typed, 1 would move T first): 1,2345/2 + 0,1 = 0,71725.
    QTest::newRow("TSferaFrm D 1,2345 pasted")
        << u"TSferaFrm"_s << QStringList{} << QStringList{u"EditGlub=0,3"_s, u"paste EditDiam=1,2345"_s}
        << QStringList{u"EditDiam=1,2345"_s, u"EditGlub=0,72"_s};
    QTest::newRow("TSferaFrm step button")
        << u"TSferaFrm"_s << QStringList{} << QStringList{u"SpinButtonD1 up"_s}
        << QStringList{u"EditDiam=1,5"_s, u"EditGlub=0,85"_s, u"lblRangeD=( D < 1,7 )"_s,
                       u"lblRangeT=( T > 0,75 )"_s, u"EditVS1=15,29"_s};
    // The strip: T = L/4 − 0,1, L = 4T + 0,1; a length too short for any depth moves nothing.
    QTest::newRow("TGorizFm L 2") << u"TGorizFm"_s << QStringList{} << QStringList{u"EditDlina=2"_s}
                                  << QStringList{u"EditGlub=0,4"_s, u"lblRangeL=( L > 1,6 )"_s,
                                                 u"lblRangeT=( T < 0,5 )"_s, u"EditVS1=51,23"_s,
                                                 u"message="_s};
    QTest::newRow("TGorizFm T 2") << u"TGorizFm"_s << QStringList{} << QStringList{u"EditGlub=2"_s}
                                  << QStringList{u"EditDlina=8,1"_s, u"lblRangeL=( L > 8 )"_s,
                                                 u"lblRangeT=( T < 2,025 )"_s, u"EditVS1=14,98"_s};
    QTest::newRow("TGorizFm L 0,3") << u"TGorizFm"_s << QStringList{} << QStringList{u"EditDlina=0,3"_s}
                                    << QStringList{u"EditGlub=0,7"_s, u"lblRangeT=( T < 0,075 )"_s,
                                                   u"EditVS1="_s, strip};
    // One keystroke: "10" would pass through L = 1 and move T on the way.
    QTest::newRow("TGorizFm L 9 holds")
        << u"TGorizFm"_s << QStringList{} << QStringList{u"EditDlina=9"_s}
        << QStringList{u"EditGlub=0,7"_s, u"lblRangeT=( T < 2,25 )"_s, u"EditVS1=15,71"_s};
    QTest::newRow("TGorizFm step buttons")
        << u"TGorizFm"_s << QStringList{}
        << QStringList{u"SpinButtonL1 down"_s, u"SpinButtonL1 down"_s, u"SpinButtonL1 down"_s}
        << QStringList{u"EditDlina=2"_s, u"EditGlub=0,4"_s, u"EditVS1=51,23"_s};
    QTest::newRow("TGorizFm depth's step button moves the length")
        << u"TGorizFm"_s << QStringList{} << QStringList{u"EditDlina=2"_s, u"SpinButtonT1 up"_s}
        << QStringList{u"EditGlub=1,4"_s, u"EditDlina=5,7"_s, u"lblRangeT=( T < 1,425 )"_s,
                       u"lblRangeL=( L > 5,6 )"_s};
}

void TestLinkedInputs::linkingMovesTheOtherInput() {
    QFETCH(QString, calculator);
    QFETCH(QStringList, before);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    open(calculator);
    for (const QString& s : std::as_const(before))
        type(s);
    CalculatorToolbar* bar = win_->ButtonFrame1();
    bar->btnAutoScore()->click();
    QTest::mouseClick(bar->btnLinkParam(), Qt::LeftButton);
    QVERIFY(bar->btnLinkParam()->isChecked());
    for (const QString& s : std::as_const(steps))
        type(s);
    check(expected);
    // While typing, a rule is said in the window's message line, never in a box.
    QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
}

void TestLinkedInputs::programWrites_data() {
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("calculates");
    QTest::addColumn<QStringList>("expected");
    // The surface electrodes have no focus gate; the buried ones wait for the user and link nothing.
    QTest::newRow("TPSferaFm") << u"TPSferaFm"_s << u"EditDiam=1"_s << true
                               << QStringList{u"EditVS1=31,83"_s};
    QTest::newRow("TUGorizFm") << u"TUGorizFm"_s << u"EditDlina=10"_s << true
                               << QStringList{u"EditVS1=22,7"_s};
    QTest::newRow("TGorizFm") << u"TGorizFm"_s << u"EditDlina=2"_s << false
                              << QStringList{u"EditGlub=0,7"_s, u"lblRangeT=( T < 0,5 )"_s, u"EditVS1="_s};
    QTest::newRow("TDKrugFrm") << u"TDKrugFrm"_s << u"EditDiam=2"_s << false
                               << QStringList{u"EditGlub=0,7"_s, u"lblRangeT=( To > 1 )"_s};
}

void TestLinkedInputs::programWrites() {
    QFETCH(QString, calculator);
    QFETCH(QString, written);
    QFETCH(bool, calculates);
    QFETCH(QStringList, expected);
    open(calculator);
    CalculatorToolbar* bar = win_->ButtonFrame1();
    bar->btnAutoScore()->click();
    if (bar->btnLinkParam()->isEnabled())
        bar->btnLinkParam()->click();
    edit(u"EditRo0"_s)->setFocus(Qt::OtherFocusReason);
    const int before = win_->calculationCount();
    edit(written.section(u'=', 0, 0))->setText(written.section(u'=', 1));
    QCOMPARE(win_->calculationCount(), before + (calculates ? 1 : 0));
    check(expected);
}

void TestLinkedInputs::captions_data() {
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("help");
    QTest::addColumn<QString>("formula");
    QTest::newRow("TDKrugFrm")
        << u"TDKrugFrm"_s << u"Круглая пластина в земле."_s << 16
        << u"Расчетная формула:   R = p / (4*D) * [1+2/П*arcsin(D / (Корень(16*To*To + D*D)))], Ом"_s;
    QTest::newRow("TUKrugFrm") << u"TUKrugFrm"_s << u"Круглая пластина на поверхности земли."_s << 56
                               << u"Расчетная формула:   R = p / (2*D), Ом"_s;
    QTest::newRow("TSferaFrm") << u"TSferaFrm"_s << u"Сферический заземлитель в земле."_s << 22
                               << u"Расчетная формула:   R = p / (2*П*D) * [1+D / (4*T)], Ом"_s;
    QTest::newRow("TPSferaFm") << u"TPSferaFm"_s << u"Полусферический заземлитель на поверхности земли."_s
                               << 21 << u"Расчетная формула:   R = p / (П*D), Ом"_s;
    QTest::newRow("TGorizFm") << u"TGorizFm"_s << u"Горизонтальный заземлитель в земле."_s << 19
                              << u"Расчетная формула:   R = p / (2*П*L) * Ln[L*L/(T*D)], Ом"_s;
    QTest::newRow("TUGorizFm") << u"TUGorizFm"_s << u"Горизонтальный заземлитель на поверхности земли."_s
                               << 23 << u"Расчетная формула:   R = p / (П*L) * Ln(2*L/D), Ом"_s;
    QTest::newRow("TLuchForm") << u"TLuchForm"_s << u"Лучевой заземлитель в земле."_s << 41 << QString();
    QTest::newRow("TParalFm") << u"TParalFm"_s
                              << u"Параллельно уложенные горизонтальные полосовые электроды."_s << 42
                              << QString();
}

void TestLinkedInputs::captions() {
    QFETCH(QString, calculator);
    QFETCH(QString, title);
    QFETCH(int, help);
    QFETCH(QString, formula);
    open(calculator);
    QCOMPARE(win_->windowTitle(), title);
    QCOMPARE(helpContextOf(win_.get()), help);
    if (!formula.isEmpty())
        QCOMPARE(win_->findChild<QLabel*>(u"Label5"_s)->text(), formula);
}

// The radial electrode: the type chosen by picture keeps the length in the type's range, the
// coefficient grid follows the type and its edits.
class TestRadialElectrodeWindow : public QObject, CalcWindowFixture<TLuchForm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void pictureChoiceKeepsTheLengthInRange();
    void lengthStepsStopAt40ForBoundedTypes();
    void singleRunOverTheLengthMovesTheDepth();
    void editedCoefficientIsUsedAtOnce();

private:
    QString label(const char* name) { return find<QLabel>(name)->text(); }
    void pick(int type) {
        QTest::mouseClick(find<QLabel>(qPrintable(u"Image"_s + QString::number(type))), Qt::LeftButton);
    }
    DataTable& kiluch() { return (*folder_->data)[u"LuchTable"_s]; }
};

void TestRadialElectrodeWindow::pictureChoiceKeepsTheLengthInRange() {
    for (int i = 1; i <= 7; ++i)
        QVERIFY(!find<QLabel>(qPrintable(u"Image"_s + QString::number(i)))->pixmap().isNull());
    QCOMPARE(label("lblL"), QString());
    QCOMPARE(win_->coefficientGrid(u"LuchTable"_s)->pickList(u"Dlina"_s),
             (QStringList{u"10"_s, u"20"_s, u"40"_s}));
    type(edit("EditDlina"), u"5"_s);
    pick(4);
    QCOMPARE(label("lblTip"), u"4"_s);
    QCOMPARE(edit("EditDlina")->text(), u"10"_s);
    QCOMPARE(edit("EditN")->text(), u"6"_s);
    QCOMPARE(label("lblL"), u"(10 .. 40)"_s);
    QCOMPARE(kiluch().recordCount(), 3);
    QCOMPARE(kiluch().value(u"N"_s).toInt(), 4);
    // Without the filter the grid shows every type.
    find<QCheckBox>("chkFilter")->click();
    QCOMPARE(kiluch().recordCount(), 21);
    find<QCheckBox>("chkFilter")->click();

    type(edit("EditDlina"), u"45"_s);
    pick(3);
    QCOMPARE(edit("EditDlina")->text(), u"40"_s);
    pick(1);
    QCOMPARE(edit("EditDlina")->text(), u"40"_s);
    QCOMPARE(label("lblL"), QString());
    QCOMPARE(edit("EditN")->text(), u"2"_s);
}

void TestRadialElectrodeWindow::lengthStepsStopAt40ForBoundedTypes() {
    pick(3);
    type(edit("EditDlina"), u"40"_s);
    emit win_->stepButton(u"btnL1"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"40"_s);
    type(edit("EditDlina"), u"15"_s);
    emit win_->stepButton(u"btnL10"_s)->downClicked();
    QCOMPARE(edit("EditDlina")->text(), u"15"_s);
    emit win_->stepButton(u"btnL1"_s)->downClicked();
    QCOMPARE(edit("EditDlina")->text(), u"14"_s);
    pick(1);
    type(edit("EditDlina"), u"40"_s);
    emit win_->stepButton(u"btnL1"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"41"_s);
}

void TestRadialElectrodeWindow::singleRunOverTheLengthMovesTheDepth() {
    edit("EditGlub")->setText(u"3"_s); // written, not typed: nothing linked yet
    tool("btnLinkParam")->setChecked(true);
    win_->frmEU1()->EditRmax()->setText(u"5"_s);
    win_->selectParameter(u"Длина луча, м"_s, false);
    // At l = 10 the depth becomes 10/4 − 0,1; from 17 m (k 0,87) R = 4,80 <= 5.
    QCOMPARE(edit("EditDlina")->text(), u"17"_s);
    QCOMPARE(edit("EditGlub")->text(), u"2,4"_s);
    QCOMPARE(win_->EditVS1()->text(), u"4,8"_s);
}

void TestRadialElectrodeWindow::editedCoefficientIsUsedAtOnce() {
    autoOn();
    QCOMPARE(edit("EditKI")->text(), u"0,86"_s);
    DataTable& t = kiluch();
    QVERIFY(t.locate(u"Dlina"_s, 10));
    QVERIFY(t.edit());
    QVERIFY(t.setValue(u"KI"_s, 0.5));
    QVERIFY(t.post());
    QTRY_COMPARE(edit("EditKI")->text(), u"0,5"_s);
    // ln(100 / 0,0112) · 100 / (20π) / 2 / 0,5 = 14,4783...
    QCOMPARE(win_->EditVS1()->text(), u"14,48"_s);
}

// The parallel strips: the width list as the window opens, the step bounds, no width to offer.
class TestParallelStripsWindow : public QObject, CalcWindowFixture<TParalFm> {
    Q_OBJECT
private slots:
    void init() { open(); }
    void cleanup() { close(); }

    void reopeningChoosesTheFirstWidth();
    void stepButtonsKeepTheRanges();
    void noWidthInRangeSaysSo();
};

void TestParallelStripsWindow::reopeningChoosesTheFirstWidth() {
    QStringList widths;
    for (int i = 0; i < win_->cmbDiam()->count(); ++i)
        widths << win_->cmbDiam()->itemText(i);
    QCOMPARE(widths, (QStringList{u"0,02"_s, u"0,025"_s, u"0,03"_s, u"0,04"_s}));
    choose(win_->cmbDiam(), u"0,04"_s);
    type(edit("EditDlina"), u"50"_s);
    win_->hide();
    win_->show();
    QCOMPARE(win_->cmbDiam()->currentText(), u"0,02"_s);
    QCOMPARE(edit("EditDiam")->text(), u"0,01"_s);
    QCOMPARE(edit("EditDlina")->text(), u"50"_s);
}

void TestParallelStripsWindow::stepButtonsKeepTheRanges() {
    type(edit("EditDlina"), u"195"_s);
    emit win_->stepButton(u"btnL10"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"195"_s);
    emit win_->stepButton(u"btnL1"_s)->upClicked();
    QCOMPARE(edit("EditDlina")->text(), u"196"_s);
    type(edit("EditGlub"), u"0,35"_s);
    emit win_->stepButton(u"btnT01"_s)->downClicked();
    QCOMPARE(edit("EditGlub")->text(), u"0,35"_s);
    emit win_->stepButton(u"btnT001"_s)->downClicked();
    QCOMPARE(edit("EditGlub")->text(), u"0,34"_s);
    type(edit("EditRas"), u"14,5"_s);
    emit win_->stepButton(u"btnS1"_s)->upClicked();
    QCOMPARE(edit("EditRas")->text(), u"14,5"_s);
}

void TestParallelStripsWindow::noWidthInRangeSaysSo() {
    DataTable& polos = (*folder_->data)[u"TablePolos"_s];
    for (polos.first(); !polos.eof();) {
        const double b = polos.value(u"Shir"_s).toDouble();
        if (b >= 0.02 - 1e-9 && b <= 0.04 + 1e-9)
            QVERIFY(polos.remove());
        else
            polos.next();
    }
    autoOn();
    rec_->messages.clear();
    win_->hide();
    win_->show();
    QCOMPARE(win_->cmbDiam()->count(), 0);
    QCOMPARE(edit("EditDiam")->text(), QString());
    QVERIFY(win_->EditVS1()->text().isEmpty());
    QVERIFY(!tool("btnScore")->isEnabled());
    QCOMPARE(rec_->messages, QStringList{parallelstrips::missingWidthMessage()});
    QCOMPARE(win_->messageLine()->text(), parallelstrips::missingWidthMessage());
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TestLinkedInputs linked;
    TestRadialElectrodeWindow luchForm;
    TestParallelStripsWindow paralForm;
    int failed = QTest::qExec(&linked, argc, argv);
    failed += QTest::qExec(&luchForm, argc, argv);
    failed += QTest::qExec(&paralForm, argc, argv);
    return failed;
}

#include "tst_electrodewindows.moc"
