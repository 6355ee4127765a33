#include "FrameFixture.h"
#include "core/session/FrameStates.h"
#include "store/StoredFrameData.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/SoilFrame.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
const QString kTestSoil = u"тестовый грунт"_s;
QString stepHint(const QString& step) {
    return u"Изменение значения параметра на "_s + step;
}

// Plays the part of whoever holds the frame's state (the calculator session, the two-layer soil
// dialog): the user's edits go through the soil rules (SoilState) over the tables as they stand, and
// the frame shows the state.
class SoilDriver {
public:
    SoilDriver(SoilFrame* frame, DataModule& data)
        : frame_(frame), data_(data, StoredFrameData::Reading::Live) {
        QObject::connect(frame, &SoilFrame::edited, frame, [this](const QString& field, const QString& text) {
            state_.edit(field, text, data_);
            frame_->showState(state_, soils_);
        });
    }
    // As a frame opens, or after the soil dictionary closed: the soils listed now, the soil kept
    // while it is listed, else the default one.
    void open() {
        soils_ = data_.soilNames();
        state_.edit(u"ComboGrunt"_s, listedSoil(state_.name, soils_), data_);
        frame_->showState(state_, soils_);
    }

private:
    SoilFrame* frame_;
    StoredFrameData data_;
    SoilState state_;
    QStringList soils_;
};
} // namespace

class TestSoilFrame : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void firstActivationShowsLoam();
    void controlsAndHints();
    void choosingASoilSetsRangeDefaultAndSteps();
    void choosingByKeyboard();
    void stepsFollowTheSoilsUpperBound_data();
    void stepsFollowTheSoilsUpperBound();
    void stepButtonsStayInRange_data();
    void stepButtonsStayInRange();
    void stepOnTextThatIsNoNumber();
    void noStepRowKeepsPreviousSteps();
    void noStepRowOnFirstUseChangesNothing();
    void coefficientSteps();
    void leavingTheResistivity_data();
    void leavingTheResistivity();
    void keyFilters();
    void coefficientChecksCanBeDropped();
    void emptyCoefficientKeepsCalculatedValue();
    void missingLoamSelectsNothing();
    void dialogButtonsWaitForTheirDialogs();
    void handsEditsOn();
    void tabOrder();

private:
    void choose(const QString& soil);
    void clickStep(int pair, bool up);
    void leave();

    std::unique_ptr<FrameTables> data_;
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<QWidget> window_;
    SoilFrame* frame_ = nullptr;
    std::unique_ptr<SoilDriver> driver_;
    QLineEdit* other_ = nullptr;
};

void TestSoilFrame::init() {
    data_ = std::make_unique<FrameTables>();
    QVERIFY(data_->ok());
    QVERIFY(data_->addSoil(kTestSoil, u"40"_s, u"60"_s, u"50"_s));
    QVERIFY(data_->setSteps(u"10"_s, u"1"_s, u"0,1"_s, u"0,01"_s));
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    frame_ = new SoilFrame(window_.get());
    driver_ = std::make_unique<SoilDriver>(frame_, data_->data());
    other_ = new QLineEdit(window_.get());
    layout->addWidget(frame_);
    layout->addWidget(other_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    driver_->open();
}

void TestSoilFrame::cleanup() {
    driver_.reset();
    window_.reset();
    rec_.reset();
    data_.reset();
}

void TestSoilFrame::choose(const QString& soil) {
    QComboBox* combo = frame_->ComboGrunt();
    const int index = combo->findText(soil);
    QVERIFY(index >= 0);
    combo->setCurrentIndex(index);
}

void TestSoilFrame::clickStep(int pair, bool up) {
    SpinButton* b = frame_->btnShag(pair);
    QTest::mouseClick(up ? b->upButton() : b->downButton(), Qt::LeftButton);
}

void TestSoilFrame::leave() {
    frame_->EditRo0()->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(frame_->EditRo0(), Qt::Key_Tab);
}

void TestSoilFrame::firstActivationShowsLoam() {
    QCOMPARE(frame_->ComboGrunt()->currentText(), u"суглинок"_s);
    QCOMPARE(frame_->lblRMinMax()->text(), u"(40 - 150)"_s);
    QCOMPARE(frame_->EditRo0()->text(), u"100"_s);
    QCOMPARE(frame_->EditPKV()->text(), u"1"_s);
    QCOMPARE(frame_->EditRo()->text(), u"100"_s);
    QCOMPARE(frame_->RoMin(), 40.0);
    QCOMPARE(frame_->RoMax(), 150.0);
    QVERIFY(rec_->messages.isEmpty());
    // Every soil of the table, in table order.
    QCOMPARE(frame_->ComboGrunt()->count(), data_->table("P_udel.DB").recordCount());
    QCOMPARE(frame_->ComboGrunt()->itemText(0), u"песок"_s);
}

void TestSoilFrame::controlsAndHints() {
    SoilFrame fresh;
    QCOMPARE(fresh.EditRo0()->text(), u"0"_s);
    QCOMPARE(fresh.EditPKV()->text(), u"1"_s);
    QCOMPARE(fresh.lblRMinMax()->text(), u"(40 - 60)"_s);
    QVERIFY(fresh.EditRo()->text().isEmpty());
    QCOMPARE(fresh.btnShag(1)->toolTip(), stepHint(u"1"_s));
    QCOMPARE(fresh.btnShag(2)->toolTip(), stepHint(u"0,1"_s));
    QCOMPARE(fresh.btnShag(3)->toolTip(), stepHint(u"0,01"_s));
    QCOMPARE(fresh.Step(1), 0.0);
    QCOMPARE(fresh.ComboGrunt()->maxVisibleItems(), 25);
    QVERIFY(!fresh.ComboGrunt()->isEditable());
    QCOMPARE(fresh.ComboGrunt()->toolTip(), u"Тип грунта (воды)"_s);
    QCOMPARE(fresh.lblRMinMax()->toolTip(),
             u"Допустимый диапазон изменения удельного сопротивления данного типа грунта"_s);
    QCOMPARE(fresh.EditPKV()->toolTip(), u"Значение коэффициента поправки"_s);
    QCOMPARE(fresh.btnParamShag()->toolTip(), u"Настройка шагов изменения удельного сопротивления грунта"_s);
    QCOMPARE(fresh.SpeedButton2()->toolTip(), u"Выбор коэффициента поправки к р"_s);
    QVERIFY(fresh.EditRo()->isReadOnly());
    QCOMPARE(fresh.EditRo()->focusPolicy(), Qt::NoFocus);
    const auto* panel = fresh.findChild<QFrame*>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QCOMPARE(panel->statusTip(), u"Панель выбора удельного сопротивления грунта (воды)"_s);
    for (const char* name :
         {"ComboGrunt", "btnParamShag", "EditRo0", "btnShag1", "btnShag2", "btnShag3", "lblRMinMax",
          "EditPKV", "btnPKV1", "btnPKV01", "btnPKV001", "SpeedButton2", "EditRo"})
        QVERIFY2(fresh.findChild<QWidget*>(QLatin1String(name)), name);
}

void TestSoilFrame::choosingASoilSetsRangeDefaultAndSteps() {
    choose(kTestSoil);
    QCOMPARE(frame_->lblRMinMax()->text(), u"(40 - 60)"_s);
    QCOMPARE(frame_->EditRo0()->text(), u"50"_s);
    QCOMPARE(frame_->EditRo()->text(), u"50"_s);
    frame_->EditPKV()->selectAll();
    QTest::keyClicks(frame_->EditPKV(), u"1,5"_s);
    QCOMPARE(frame_->EditRo()->text(), u"75"_s);
    QCOMPARE(frame_->btnShag(1)->toolTip(), stepHint(u"1"_s));
    QCOMPARE(frame_->btnShag(3)->toolTip(), stepHint(u"0,01"_s));
    QVERIFY(rec_->messages.isEmpty());
}

void TestSoilFrame::choosingByKeyboard() {
    QComboBox* combo = frame_->ComboGrunt();
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    QCOMPARE(combo->currentText(), u"песок"_s);
    QCOMPARE(frame_->lblRMinMax()->text(), u"(400 - 1000)"_s);
    QCOMPARE(frame_->EditRo0()->text(), u"700"_s);
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(combo->currentText(), u"супесь"_s);
    QCOMPARE(frame_->lblRMinMax()->text(), u"(150 - 400)"_s);
    QCOMPARE(frame_->EditRo()->text(), u"300"_s);
}

void TestSoilFrame::stepsFollowTheSoilsUpperBound_data() {
    QTest::addColumn<QString>("soil");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("step1");
    QTest::addColumn<QString>("step3");
    // Upper bound 1 lies in the row 0 < x <= 1, 1000 in 100 < x <= 1000.
    QTest::newRow("sea water") << u"морская вода"_s << u"(0,2 - 1)"_s << u"0,1"_s << u"0,001"_s;
    QTest::newRow("sand") << u"песок"_s << u"(400 - 1000)"_s << u"100"_s << u"1"_s;
    QTest::newRow("loam") << u"суглинок"_s << u"(40 - 150)"_s << u"100"_s << u"1"_s;
    QTest::newRow("rock") << u"скалистые грунты"_s << u"(10000 - 10000000)"_s << u"1000000"_s << u"10000"_s;
    // The row 10 < x <= 100 was given the steps 1, 0,1, 0,01 for these tests.
    QTest::newRow("marsh") << u"болотистый грунт"_s << u"(1 - 30)"_s << u"1"_s << u"0,01"_s;
}

void TestSoilFrame::stepsFollowTheSoilsUpperBound() {
    QFETCH(QString, soil);
    QFETCH(QString, range);
    QFETCH(QString, step1);
    QFETCH(QString, step3);
    frame_->ComboGrunt()->setCurrentIndex(frame_->ComboGrunt()->findText(soil));
    QCOMPARE(frame_->lblRMinMax()->text(), range);
    QCOMPARE(frame_->btnShag(1)->toolTip(), u"Изменение значения параметра на "_s + step1);
    QCOMPARE(frame_->btnShag(3)->toolTip(), u"Изменение значения параметра на "_s + step3);
}

void TestSoilFrame::stepButtonsStayInRange_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("pair");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");
    // The test soil spans 40 .. 60 with steps 1, 0,1 and 0,01.
    QTest::newRow("59,6 +1 does nothing") << u"59,6"_s << 1 << true << u"59,6"_s;
    QTest::newRow("59,6 +0,1") << u"59,6"_s << 2 << true << u"59,7"_s;
    QTest::newRow("59,9 +0,1 reaches the bound") << u"59,9"_s << 2 << true << u"60"_s;
    QTest::newRow("60 +0,01 does nothing") << u"60"_s << 3 << true << u"60"_s;
    QTest::newRow("59,5 +1 would pass the bound") << u"59,5"_s << 1 << true << u"59,5"_s;
    QTest::newRow("40,04 -0,1 does nothing") << u"40,04"_s << 2 << false << u"40,04"_s;
    QTest::newRow("40,04 -0,01") << u"40,04"_s << 3 << false << u"40,03"_s;
    QTest::newRow("41 -1 reaches the bound") << u"41"_s << 1 << false << u"40"_s;
    QTest::newRow("50 +1") << u"50"_s << 1 << true << u"51"_s;
    QTest::newRow("50 -1") << u"50"_s << 1 << false << u"49"_s;
    QTest::newRow("2,5 +0,01 outside the range") << u"2,5"_s << 3 << true << u"2,51"_s;
}

void TestSoilFrame::stepButtonsStayInRange() {
    QFETCH(QString, start);
    QFETCH(int, pair);
    QFETCH(bool, up);
    QFETCH(QString, expected);
    choose(kTestSoil);
    frame_->EditRo0()->setText(start);
    clickStep(pair, up);
    QCOMPARE(frame_->EditRo0()->text(), expected);
    QVERIFY(frame_->EditRo0()->hasFocus()); // the click moved the focus to the input first
    QVERIFY(rec_->messages.isEmpty());
}

void TestSoilFrame::stepOnTextThatIsNoNumber() {
    choose(kTestSoil);
    frame_->EditRo0()->setText(u"5,,0"_s);
    clickStep(1, true);
    QCOMPARE(frame_->EditRo0()->text(), u"5,,0"_s);
    QCOMPARE(rec_->messages, QStringList{u"\"5,,0\" - некорректное значение."_s});
}

void TestSoilFrame::noStepRowKeepsPreviousSteps() {
    QVERIFY(data_->addSoil(u"сверхскальный"_s, u"20000000"_s, u"30000000"_s, u"25000000"_s));
    driver_->open(); // as after the soil dictionary closes
    choose(u"морская вода"_s);
    choose(u"сверхскальный"_s);
    QCOMPARE(frame_->lblRMinMax()->text(), u"(20000000 - 30000000)"_s);
    QCOMPARE(frame_->Step(1), 0.1);
    QCOMPARE(frame_->btnShag(1)->toolTip(), stepHint(u"0,1"_s));
}

void TestSoilFrame::noStepRowOnFirstUseChangesNothing() {
    QVERIFY(data_->addSoil(u"сверхскальный"_s, u"20000000"_s, u"30000000"_s, u"25000000"_s));
    QVERIFY(data_->removeSoil(u"суглинок"_s)); // nothing chosen before
    SoilFrame fresh(window_.get());
    SoilDriver driver(&fresh, data_->data());
    fresh.show();
    driver.open();
    fresh.ComboGrunt()->setCurrentIndex(fresh.ComboGrunt()->findText(u"сверхскальный"_s));
    QCOMPARE(fresh.Step(1), 0.0);
    QTest::mouseClick(fresh.btnShag(1)->upButton(), Qt::LeftButton);
    QTest::mouseClick(fresh.btnShag(3)->downButton(), Qt::LeftButton);
    QCOMPARE(fresh.EditRo0()->text(), u"25000000"_s);
}

void TestSoilFrame::coefficientSteps() {
    choose(kTestSoil);
    QTest::mouseClick(frame_->btnPKV(2)->upButton(), Qt::LeftButton);
    QCOMPARE(frame_->EditPKV()->text(), u"1,1"_s);
    QCOMPARE(frame_->EditRo()->text(), u"55"_s);
    QTest::mouseClick(frame_->btnPKV(1)->downButton(), Qt::LeftButton);
    QCOMPARE(frame_->EditPKV()->text(), u"0,1"_s); // 1,1 - 1: the coefficient has no soil bound
    QTest::mouseClick(frame_->btnPKV(1)->downButton(), Qt::LeftButton);
    QCOMPARE(frame_->EditPKV()->text(), u"0,1"_s); // never down to 0
    QCOMPARE(frame_->EditRo()->text(), u"5"_s);
    QTest::mouseClick(frame_->btnPKV(3)->upButton(), Qt::LeftButton);
    QCOMPARE(frame_->EditPKV()->text(), u"0,11"_s);
    QCOMPARE(frame_->EditRo()->text(), u"5,5"_s);
}

void TestSoilFrame::leavingTheResistivity_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("above the range")
        << u"70"_s << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 60."_s;
    QTest::newRow("below the range")
        << u"39,99"_s << u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 60."_s;
    QTest::newRow("empty") << QString() << u"Ошибка. Ввод значения обязателен."_s;
    QTest::newRow("not a number") << u"4,,5"_s << u"\"4,,5\" - некорректное значение."_s;
    QTest::newRow("lower bound") << u"40"_s << QString();
    QTest::newRow("upper bound") << u"60"_s << QString();
    QTest::newRow("inside") << u"55,5"_s << QString();
}

void TestSoilFrame::leavingTheResistivity() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    choose(kTestSoil);
    frame_->EditRo0()->setFocus();
    frame_->EditRo0()->selectAll();
    QTest::keyClick(frame_->EditRo0(), Qt::Key_Backspace);
    QTest::keyClicks(frame_->EditRo0(), text);
    if (text.contains(QStringLiteral(",,")))
        frame_->EditRo0()->setText(text); // a pasted text
    leave();
    if (message.isEmpty()) {
        QVERIFY(rec_->messages.isEmpty());
        QVERIFY(!frame_->EditRo0()->hasFocus());
    } else {
        QCOMPARE(rec_->messages, QStringList{message});
        QVERIFY(frame_->EditRo0()->hasFocus());
        QCOMPARE(frame_->EditRo0()->text(), text); // kept as typed
    }
}

void TestSoilFrame::keyFilters() {
    frame_->EditRo0()->setFocus();
    frame_->EditRo0()->selectAll();
    QTest::keyClicks(frame_->EditRo0(), u"1.5-"_s);
    QCOMPARE(frame_->EditRo0()->text(), u"15"_s);
    QCOMPARE(rec_->beeps, 2);
    frame_->EditPKV()->setFocus();
    frame_->EditPKV()->selectAll();
    QTest::keyClicks(frame_->EditPKV(), u"1,2e"_s);
    QCOMPARE(frame_->EditPKV()->text(), u"1,2"_s);
    QCOMPARE(rec_->beeps, 3);
}

void TestSoilFrame::coefficientChecksCanBeDropped() {
    frame_->EditPKV()->setFocus();
    frame_->EditPKV()->clear();
    QTest::keyClick(frame_->EditPKV(), Qt::Key_Tab);
    QCOMPARE(rec_->messages, QStringList{u"Ошибочное значение для числового параметра."_s});
    QVERIFY(frame_->EditPKV()->hasFocus());

    rec_->messages.clear();
    frame_->setCoefficientChecks(false, false);
    QTest::keyClicks(frame_->EditPKV(), u"a"_s);
    QCOMPARE(frame_->EditPKV()->text(), u"a"_s);
    QTest::keyClick(frame_->EditPKV(), Qt::Key_Tab);
    QVERIFY(rec_->messages.isEmpty());
}

void TestSoilFrame::emptyCoefficientKeepsCalculatedValue() {
    choose(kTestSoil);
    frame_->EditPKV()->setText(u"1,5"_s);
    QCOMPARE(frame_->EditRo()->text(), u"75"_s);
    frame_->EditPKV()->clear();
    QCOMPARE(frame_->EditRo()->text(), u"75"_s);
    frame_->EditPKV()->setText(u"0"_s);
    QCOMPARE(frame_->EditRo()->text(), u"75"_s);
    frame_->EditRo0()->setText(u"abc"_s);
    QCOMPARE(frame_->EditRo()->text(), u"75"_s);
    frame_->EditRo0()->setText(u"52"_s);
    frame_->EditPKV()->setText(u"2"_s);
    QCOMPARE(frame_->EditRo()->text(), u"104"_s);
    frame_->EditPKV()->setText(u"1,333333"_s);
    QCOMPARE(frame_->EditRo()->text(), u"69,33332"_s); // rounded to five decimals
    QVERIFY(rec_->messages.isEmpty());
}

void TestSoilFrame::missingLoamSelectsNothing() {
    QVERIFY(data_->removeSoil(u"суглинок"_s));
    SoilFrame fresh(window_.get());
    SoilDriver driver(&fresh, data_->data());
    driver.open();
    QCOMPARE(fresh.ComboGrunt()->currentIndex(), -1);
    QCOMPARE(fresh.EditRo0()->text(), u"0"_s);
    QVERIFY(fresh.lblRMinMax()->text().isEmpty());
    QCOMPARE(fresh.RoMin(), 0.0);
    QCOMPARE(fresh.RoMax(), 0.0);
    QVERIFY(fresh.EditRo()->text().isEmpty()); // 0 is no resistivity
    QVERIFY(rec_->messages.isEmpty());
}

void TestSoilFrame::dialogButtonsWaitForTheirDialogs() {
    QVERIFY(!frame_->SpeedButton2()->isEnabled());
    QVERIFY(!frame_->btnParamShag()->isEnabled());
    std::optional<QString> answer = u"1,3"_s;
    int opened = 0;
    frame_->setCorrectionDialog([&] {
        ++opened;
        return answer;
    });
    frame_->setStepSettingsDialog([&] { ++opened; });
    QVERIFY(frame_->SpeedButton2()->isEnabled());
    QTest::mouseClick(frame_->SpeedButton2(), Qt::LeftButton);
    QCOMPARE(frame_->EditPKV()->text(), u"1,3"_s);
    QCOMPARE(frame_->EditRo()->text(), u"130"_s);
    answer.reset(); // cancelled
    QTest::mouseClick(frame_->SpeedButton2(), Qt::LeftButton);
    QCOMPARE(frame_->EditPKV()->text(), u"1,3"_s);
    QTest::mouseClick(frame_->btnParamShag(), Qt::LeftButton);
    QCOMPARE(opened, 3);
}

void TestSoilFrame::handsEditsOn() {
    // Each edit is handed on once; what the state then shows is not handed back.
    QSignalSpy edited(frame_, &SoilFrame::edited);
    choose(kTestSoil);
    QCOMPARE(edited.count(), 1);
    QCOMPARE(edited.takeFirst(), (QVariantList{u"ComboGrunt"_s, kTestSoil}));
    QCOMPARE(frame_->EditRo0()->text(), u"50"_s);
    QTest::keyClicks(frame_->EditPKV(), u"5"_s);
    QCOMPARE(edited.takeFirst(), (QVariantList{u"EditPKV"_s, u"15"_s}));
    clickStep(1, true);
    QCOMPARE(edited.takeFirst(), (QVariantList{u"EditRo0"_s, u"51"_s}));
    QVERIFY(edited.isEmpty());
    QCOMPARE(frame_->EditRo()->text(), u"765"_s);
}

void TestSoilFrame::tabOrder() {
    // Step buttons, dialog buttons and the calculated value are passed over.
    frame_->ComboGrunt()->setFocus();
    QTest::keyClick(frame_->ComboGrunt(), Qt::Key_Tab);
    QVERIFY(frame_->EditRo0()->hasFocus());
    QTest::keyClick(frame_->EditRo0(), Qt::Key_Tab);
    QVERIFY(frame_->EditPKV()->hasFocus());
    QTest::keyClick(frame_->EditPKV(), Qt::Key_Tab);
    QVERIFY(other_->hasFocus());
    QVERIFY(rec_->messages.isEmpty());
}

QTEST_MAIN(TestSoilFrame)
#include "tst_soilframe.moc"
