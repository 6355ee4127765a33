#include "widgets/common/DialogService.h"
#include "core/common/Paths.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

using namespace kz;

class TestProcedures : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void keyFilterAdmitsDigitsAndComma_data();
    void keyFilterAdmitsDigitsAndComma();
    void leavingABadInputComplainsAndKeepsFocus_data();
    void leavingABadInputComplainsAndKeepsFocus();
    void checkFilledMessages();
    void checkPositiveMessages_data();
    void checkPositiveMessages();
    void checksAreSilentWithoutShow();
    void checksWorkOnComboBoxes();
    void stepUp_data();
    void stepUp();
    void stepDown_data();
    void stepDown();
    void stepButtonFocusesItsInputAndHasHint();
    void stepOnTextThatIsNoNumberKeepsIt();
    void missingPictureIsReported();

private:
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<QWidget> window_;
    QLineEdit* edit_ = nullptr;
    QLineEdit* other_ = nullptr;
};

void TestProcedures::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    edit_ = new QLineEdit(window_.get());
    other_ = new QLineEdit(window_.get());
    layout->addWidget(edit_);
    layout->addWidget(other_);
    makeNumericInput(edit_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    edit_->setFocus();
}

void TestProcedures::cleanup() {
    window_.reset();
    rec_.reset();
}

void TestProcedures::keyFilterAdmitsDigitsAndComma_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("beeps");
    QTest::newRow("digits and comma") << QStringLiteral("12,5") << QStringLiteral("12,5") << 0;
    QTest::newRow("point") << QStringLiteral("1.5") << QStringLiteral("15") << 1;
    QTest::newRow("minus") << QStringLiteral("-3") << QStringLiteral("3") << 1;
    QTest::newRow("blank and letters") << QStringLiteral("2 a") << QStringLiteral("2") << 2;
    QTest::newRow("exponent letter") << QStringLiteral("1e5") << QStringLiteral("15") << 1;
}

void TestProcedures::keyFilterAdmitsDigitsAndComma() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QFETCH(int, beeps);
    QTest::keyClicks(edit_, typed);
    QCOMPARE(edit_->text(), expected);
    QCOMPARE(rec_->beeps, beeps);
}

void TestProcedures::leavingABadInputComplainsAndKeepsFocus_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("complains");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("lone comma") << QStringLiteral(",") << true;
    QTest::newRow("number") << QStringLiteral("0,5") << false;
}

void TestProcedures::leavingABadInputComplainsAndKeepsFocus() {
    QFETCH(QString, text);
    QFETCH(bool, complains);
    edit_->setText(text);
    QTest::keyClick(edit_, Qt::Key_Tab);
    if (complains) {
        QCOMPARE(rec_->messages, QStringList{u"Ошибочное значение для числового параметра."_s});
        QVERIFY(edit_->hasFocus());
    } else {
        QVERIFY(rec_->messages.isEmpty());
        QVERIFY(other_->hasFocus());
    }
}

void TestProcedures::checkFilledMessages() {
    QVERIFY(!CheckFilled(edit_, u"типа грунта"_s, true));
    QCOMPARE(rec_->messages, QStringList{u"Введите значение типа грунта."_s});
    edit_->setText(QStringLiteral("x"));
    QVERIFY(CheckFilled(edit_, u"типа грунта"_s, true));
    QVERIFY(!CheckFilled(window_.get(), u"типа грунта"_s, true)); // not an input
}

void TestProcedures::checkPositiveMessages_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QString() << u"Введите значение длины заземлителя."_s;
    QTest::newRow("not a number") << QStringLiteral("abc")
                                  << u"\"abc\" - некорректное значение для длины заземлителя."_s;
    QTest::newRow("zero") << QStringLiteral("0") << u"Значение длины заземлителя должно быть больше 0."_s;
    QTest::newRow("pasted negative") << QStringLiteral("-2")
                                     << u"Значение длины заземлителя должно быть больше 0."_s;
    QTest::newRow("positive") << QStringLiteral("0,01") << QString();
    // A pasted page of digits is no number; the message quotes only its start.
    const QString page(10000, QLatin1Char('9'));
    QTest::newRow("10 000 digits") << page
                                   << u"\""_s + page.left(40) + QChar(0x2026) +
                                          u" (всего символов: 10000)\" - некорректное значение для длины заземлителя."_s;
}

void TestProcedures::checkPositiveMessages() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    edit_->setText(text);
    other_->setFocus();
    const bool ok = CheckPositive(edit_, u"длины заземлителя"_s, true);
    QCOMPARE(ok, message.isEmpty());
    QCOMPARE(rec_->messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(edit_->hasFocus(), !ok);
}

void TestProcedures::checksAreSilentWithoutShow() {
    other_->setFocus();
    QVERIFY(!CheckPositive(edit_, u"длины заземлителя"_s, false));
    QVERIFY(!CheckFilled(edit_, u"длины заземлителя"_s, false));
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(other_->hasFocus());
}

void TestProcedures::checksWorkOnComboBoxes() {
    auto* combo = new QComboBox(window_.get());
    combo->addItems({QStringLiteral("0,016"), QStringLiteral("0,02")});
    QVERIFY(CheckPositive(combo, u"размеров заземлителя"_s, true));
    combo->setCurrentIndex(-1);
    QVERIFY(!CheckFilled(combo, u"размеров заземлителя"_s, true));
    QCOMPARE(rec_->messages, QStringList{u"Введите значение размеров заземлителя."_s});
}

void TestProcedures::stepUp_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty takes the step") << QString() << 0.1 << QStringLiteral("0,1");
    QTest::newRow("2,5 + 0,01") << QStringLiteral("2,5") << 0.01 << QStringLiteral("2,51");
    QTest::newRow("0,7 + 0,1") << QStringLiteral("0,7") << 0.1 << QStringLiteral("0,8");
    QTest::newRow("whole") << QStringLiteral("5") << 1.0 << QStringLiteral("6");
    // Past what a number can hold the input stays as it is, never "INF".
    QTest::newRow("at the largest number") << QStringLiteral("1,79769313486231E308") << 1E308
                                           << QStringLiteral("1,79769313486231E308");
}

void TestProcedures::stepUp() {
    QFETCH(QString, start);
    QFETCH(double, step);
    QFETCH(QString, expected);
    edit_->setText(start);
    SpinButton spin(edit_, step, window_.get());
    SpinStepUp(&spin, step);
    QCOMPARE(edit_->text(), expected);
}

void TestProcedures::stepDown_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty takes the step") << QString() << 1.0 << QStringLiteral("1");
    QTest::newRow("zero takes the step") << QStringLiteral("0") << 0.1 << QStringLiteral("0,1");
    QTest::newRow("0,3 with 1 stays") << QStringLiteral("0,3") << 1.0 << QStringLiteral("0,3");
    QTest::newRow("1 with 1 stays") << QStringLiteral("1") << 1.0 << QStringLiteral("1");
    QTest::newRow("0,1 with 0,1 stays") << QStringLiteral("0,1") << 0.1 << QStringLiteral("0,1");
    QTest::newRow("1,5 with 1") << QStringLiteral("1,5") << 1.0 << QStringLiteral("0,5");
    QTest::newRow("0,7 - 0,1") << QStringLiteral("0,7") << 0.1 << QStringLiteral("0,6");
}

void TestProcedures::stepDown() {
    QFETCH(QString, start);
    QFETCH(double, step);
    QFETCH(QString, expected);
    edit_->setText(start);
    SpinButton spin(edit_, step, window_.get());
    SpinStepDown(&spin, step);
    QCOMPARE(edit_->text(), expected);
}

void TestProcedures::stepButtonFocusesItsInputAndHasHint() {
    auto* spin = new SpinButton(edit_, 0.01, window_.get());
    spin->useDefaultSteps();
    spin->show();
    edit_->setText(QStringLiteral("2,5"));
    other_->setFocus();
    QSignalSpy changed(edit_, &QLineEdit::textChanged);
    QTest::mouseClick(spin->upButton(), Qt::LeftButton);
    QVERIFY(edit_->hasFocus());
    QCOMPARE(edit_->text(), QStringLiteral("2,51"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(spin->toolTip(), u"Изменение значения параметра на 0,01"_s);
    QVERIFY(spin->upButton()->autoRepeat());
}

void TestProcedures::stepOnTextThatIsNoNumberKeepsIt() {
    edit_->setText(QStringLiteral(",,"));
    SpinButton spin(edit_, 1.0, window_.get());
    SpinStepUp(&spin, 1.0);
    SpinStepDown(&spin, 1.0);
    QCOMPARE(edit_->text(), QStringLiteral(",,"));
    QCOMPARE(rec_->messages.size(), 2);
}

void TestProcedures::missingPictureIsReported() {
    QTemporaryDir dir;
    setApplicationFolder(dir.path());
    QLabel image;
    QVERIFY(!LoadPicture(&image, QStringLiteral("nothing.bmp")));
    QCOMPARE(rec_->messages, QStringList{u"Ошибка. Графический файл "_s + pictureDir() +
                                         QStringLiteral("nothing.bmp") + u" не найден."_s});
    QVERIFY(image.pixmap().isNull());
}

QTEST_MAIN(TestProcedures)
#include "tst_procedures.moc"
