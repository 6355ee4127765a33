#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "core/common/Paths.h"
#include "core/rules/PermissibleResistance.h"
#include "widgets/frames/PermissibleResistanceDialog.h"
#include "widgets/common/SpinButton.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
QString type(int i) {
    return installationTypeNames().at(i);
}

void typeInto(QWidget* input, const QString& text) {
    input->setFocus();
    if (auto* e = qobject_cast<QLineEdit*>(input))
        e->selectAll();
    else if (auto* c = qobject_cast<QComboBox*>(input))
        c->lineEdit()->selectAll();
    QTest::keyClick(input, Qt::Key_Backspace);
    QTest::keyClicks(input, text);
}
} // namespace

class TestInstallationFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defaultsAndHints();
    void dialogLoadsTheFrame();
    void confirmedDerivation_data();
    void confirmedDerivation();
    void cancelChangesNothing();
    void okOnlyWithADerivedValue();
    void powerNotInTheListIsNotSelected();
    void enablingByType_data();
    void enablingByType();
    void manualJustification_data();
    void manualJustification();
    void changedInputClearsTheResult();
    void combinedJustificationText();
    void repeatedGroundingsTotal();
    void permissibleResistanceInput();
    void permissibleResistanceLeftOnlyAsANumberADoubleHolds_data();
    void permissibleResistanceLeftOnlyAsANumberADoubleHolds();
    void dialogHelp();
    void dialogTabOrder();

private:
    // Opens the dialog with "Изменить...", lets act drive it while it is shown, then presses OK
    // (or Cancel) the way the user would.
    void runDialog(const std::function<void(PermissibleResistanceDialog&)>& act, bool confirm = true);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<QWidget> window_;
    InstallationFrame* frame_ = nullptr;
};

void TestInstallationFrame::initTestCase() {
    setApplicationFolder(QStringLiteral(KELVOR_BIN_DIR));
}

void TestInstallationFrame::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    window_ = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window_.get());
    frame_ = new InstallationFrame(window_.get());
    layout->addWidget(frame_);
    layout->addWidget(new QLineEdit(window_.get()));
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TestInstallationFrame::cleanup() {
    window_.reset();
    rec_.reset();
}

void TestInstallationFrame::runDialog(const std::function<void(PermissibleResistanceDialog&)>& act, bool confirm) {
    rec_->onModal = [&](QDialog* d) {
        auto* form = qobject_cast<PermissibleResistanceDialog*>(d);
        if (!form)
            return int(QDialog::Rejected);
        form->setResult(QDialog::Rejected);
        form->show();
        if (!QTest::qWaitForWindowExposed(form))
            return int(QDialog::Rejected);
        act(*form);
        QTest::mouseClick(confirm ? form->btnOK() : form->findChild<QPushButton*>(QStringLiteral("Button2")),
                          Qt::LeftButton);
        form->hide();
        return form->result();
    };
    QTest::mouseClick(frame_->Button4(), Qt::LeftButton);
}

void TestInstallationFrame::defaultsAndHints() {
    QCOMPARE(frame_->title(), u" Характеристика электроустановки "_s);
    QCOMPARE(frame_->EditTip()->text(), u"напряжением до 1 кВ с заземленной нейтралью"_s);
    QCOMPARE(frame_->EditRmax()->text(), u"4"_s);
    QVERIFY(frame_->EditIzo()->text().isEmpty());
    QCOMPARE(frame_->EditUlin()->text(), u"380"_s);
    QVERIFY(frame_->EditS()->text().isEmpty());
    QCOMPARE(frame_->EditP()->text(), u"100"_s);
    QVERIFY(frame_->chkInclude()->isChecked());
    QCOMPARE(frame_->chkInclude()->text(), u"Включить в отчет"_s);
    QCOMPARE(frame_->Button4()->text(), u"Изменить..."_s);
    QVERIFY(frame_->EditTip()->isReadOnly());
    QCOMPARE(frame_->EditTip()->focusPolicy(), Qt::NoFocus);
    for (QLineEdit* e : {frame_->EditIzo(), frame_->EditUlin(), frame_->EditS(), frame_->EditP()})
        QVERIFY(e->isReadOnly());
    QVERIFY(!frame_->EditRmax()->isReadOnly());
    QCOMPARE(frame_->statusTip(), u"Панель характеристики электроустановки"_s);
    QCOMPARE(frame_->EditTip()->toolTip(), u"Тип электроустановки"_s);
    QCOMPARE(frame_->EditRmax()->toolTip(), u"Допустимое значение сопротивления растеканию"_s);
    QCOMPARE(frame_->EditIzo()->toolTip(), u"Расчетный ток замыкания на землю Iзо, А"_s);
    QCOMPARE(frame_->EditUlin()->toolTip(), u"Линейное напряжение источника тока Uлин., В"_s);
    QCOMPARE(frame_->EditS()->toolTip(), u"Суммарная мощность генераторов (трансформаторов) S, кВА"_s);
    QCOMPARE(frame_->EditP()->toolTip(), u"Удельное сопротивление грунта p, Ом м"_s);
    QCOMPARE(frame_->Button4()->toolTip(), u"Изменить тип (параметры) электроустановки"_s);
    QCOMPARE(frame_->btnR1()->toolTip(), u"Изменение значения параметра на 1"_s);
    QCOMPARE(frame_->btnR01()->toolTip(), u"Изменение значения параметра на 0,1"_s);
}

void TestInstallationFrame::dialogLoadsTheFrame() {
    bool seen = false;
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            seen = true;
            QCOMPARE(f.windowTitle(), u"Предельно допустимые сопротивления заземляющих устройств."_s);
            QCOMPARE(f.typeIndex(), 4);
            QVERIFY(!f.EditI()->isEnabled());
            QVERIFY(f.EditI()->text().isEmpty());
            QVERIFY(f.ComboUlin()->isEnabled());
            QCOMPARE(f.ComboUlin()->currentText(), u"380"_s);
            QVERIFY(!f.ComboS()->isEnabled());
            QCOMPARE(f.ComboS()->currentIndex(), -1);
            QCOMPARE(f.EditPekv()->text(), u"100"_s);
            QCOMPARE(f.lblRmax()->text(), u"4"_s);
            QCOMPARE(f.MemoScore()->toPlainText(), u"При р<=100 --> R <= 4 Ом."_s);
            QVERIFY(f.chkAuto()->isChecked());
            QVERIFY(f.btnOK()->isEnabled());
            QCOMPARE(f.MemoScore()->focusPolicy(), Qt::ClickFocus);
            QCOMPARE(f.MemoScore()->toolTip(), u"Краткое обоснование сделанного выбора"_s);
        },
        false);
    QVERIFY(seen);
    QCOMPARE(rec_->modalWindows.size(), 1);
}

void TestInstallationFrame::confirmedDerivation_data() {
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("izo");
    QTest::addColumn<QString>("ulin");
    QTest::addColumn<QString>("s");
    QTest::addColumn<QString>("r");
    QTest::newRow("0: p 501") << 0 << u"501"_s << QString() << QString() << QString() << u"0,50"_s;
    QTest::newRow("0: p 5001") << 0 << u"5001"_s << QString() << QString() << QString() << u"5"_s;
    QTest::newRow("1: p 100 I 20") << 1 << u"100"_s << u"20"_s << QString() << QString() << u"10"_s;
    QTest::newRow("1: p 100 I 50") << 1 << u"100"_s << u"50"_s << QString() << QString() << u"5,00"_s;
    QTest::newRow("1: p 600 I 2,5") << 1 << u"600"_s << u"2,5"_s << QString() << QString() << u"100"_s;
    QTest::newRow("2: p 100 I 5 U 380") << 2 << u"100"_s << u"5"_s << u"380"_s << QString() << u"4"_s;
    QTest::newRow("2: p 600 I 10 U 220") << 2 << u"600"_s << u"10"_s << u"220"_s << QString() << u"15,00"_s;
    QTest::newRow("3: p 1000 I 10 S 250") << 3 << u"1000"_s << u"10"_s << QString() << u"250"_s << u"8,00"_s;
    QTest::newRow("4: p 600 U 660") << 4 << u"600"_s << QString() << u"660"_s << QString() << u"12,00"_s;
    QTest::newRow("5: p 50 U 380") << 5 << u"50"_s << QString() << u"380"_s << QString() << u"30"_s;
    QTest::newRow("6: p 500 S 100") << 6 << u"500"_s << QString() << QString() << u"100"_s << u"10"_s;
    QTest::newRow("6: p 500 S 160") << 6 << u"500"_s << QString() << QString() << u"160"_s << u"4"_s;
    QTest::newRow("6: p 600 S typed 150") << 6 << u"600"_s << QString() << QString() << u"150"_s << u"4,80"_s;
}

void TestInstallationFrame::confirmedDerivation() {
    QFETCH(int, typeIndex);
    QFETCH(QString, p);
    QFETCH(QString, izo);
    QFETCH(QString, ulin);
    QFETCH(QString, s);
    QFETCH(QString, r);
    QSignalSpy changed(frame_, &InstallationFrame::installationChanged);
    runDialog([&](PermissibleResistanceDialog& f) {
        QTest::mouseClick(f.typeButton(typeIndex), Qt::LeftButton);
        typeInto(f.EditPekv(), p);
        if (!izo.isEmpty())
            typeInto(f.EditI(), izo);
        if (!ulin.isEmpty())
            f.ComboUlin()->setCurrentIndex(f.ComboUlin()->findText(ulin));
        if (!s.isEmpty())
            typeInto(f.ComboS(), s);
        QCOMPARE(f.lblRmax()->text(), r);
        QVERIFY(rec_->messages.isEmpty());
    });
    QCOMPARE(changed.count(), 1);
    QCOMPARE(frame_->EditTip()->text(), type(typeIndex));
    QCOMPARE(frame_->EditRmax()->text(), r);
    QCOMPARE(frame_->EditP()->text(), p);
    QCOMPARE(frame_->EditIzo()->text(), izo);
    QCOMPARE(frame_->EditUlin()->text(), ulin);
    QCOMPARE(frame_->EditS()->text(), s);
    // The rule the calculator session links the resistivity with agrees with the dialog.
    QCOMPARE(permissibleResistanceText(frame_->EditTip()->text(), frame_->EditIzo()->text(),
                                       frame_->EditP()->text(), frame_->EditS()->text(),
                                       frame_->EditUlin()->text()),
             r);
}

void TestInstallationFrame::cancelChangesNothing() {
    QSignalSpy changed(frame_, &InstallationFrame::installationChanged);
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QTest::mouseClick(f.typeButton(0), Qt::LeftButton);
            typeInto(f.EditPekv(), u"6000"_s);
            QCOMPARE(f.lblRmax()->text(), u"5"_s);
        },
        false);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(frame_->EditTip()->text(), type(4));
    QCOMPARE(frame_->EditRmax()->text(), u"4"_s);
    QCOMPARE(frame_->EditP()->text(), u"100"_s);
    QCOMPARE(frame_->EditUlin()->text(), u"380"_s);
}

void TestInstallationFrame::okOnlyWithADerivedValue() {
    runDialog([&](PermissibleResistanceDialog& f) {
        QTest::mouseClick(f.typeButton(1), Qt::LeftButton);
        QVERIFY(f.EditI()->isEnabled());
        typeInto(f.EditI(), QString()); // the current emptied
        QVERIFY(f.lblRmax()->text().isEmpty());
        QVERIFY(!f.Button1()->isEnabled());
        QVERIFY(!f.btnOK()->isEnabled());
        QVERIFY(f.MemoScore()->toPlainText().isEmpty());
    });
    QVERIFY(rec_->messages.isEmpty());
    QCOMPARE(frame_->EditTip()->text(), type(4)); // OK could not be pressed
    QCOMPARE(frame_->EditRmax()->text(), u"4"_s);
}

void TestInstallationFrame::powerNotInTheListIsNotSelected() {
    frame_->EditTip()->setText(type(6));
    frame_->EditUlin()->clear();
    frame_->EditS()->setText(u"150"_s);
    frame_->EditP()->setText(u"600"_s);
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QCOMPARE(f.typeIndex(), 6);
            QVERIFY(f.ComboS()->isEnabled());
            QCOMPARE(f.ComboS()->currentIndex(), -1);
            QVERIFY(f.ComboS()->currentText().isEmpty());
            QVERIFY(!f.ComboUlin()->isEnabled());
            QCOMPARE(f.ComboUlin()->currentIndex(), -1);
            QVERIFY(f.lblRmax()->text().isEmpty());
            QVERIFY(!f.btnOK()->isEnabled());
            f.ComboS()->setCurrentIndex(f.ComboS()->findText(u"160"_s));
            QCOMPARE(f.lblRmax()->text(), u"4,80"_s);
            QVERIFY(f.btnOK()->isEnabled());
        },
        false);
    // An unknown type text leaves no type chosen and nothing derivable.
    frame_->EditTip()->setText(u"неизвестный тип"_s);
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QCOMPARE(f.typeIndex(), -1);
            QVERIFY(f.lblRmax()->text().isEmpty());
            QVERIFY(!f.Button1()->isEnabled());
            QVERIFY(!f.btnOK()->isEnabled());
        },
        false);
    QVERIFY(rec_->messages.isEmpty());
}

void TestInstallationFrame::enablingByType_data() {
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<bool>("current");
    QTest::addColumn<bool>("voltage");
    QTest::addColumn<bool>("power");
    QTest::addColumn<bool>("total");
    QTest::newRow("0") << 0 << false << false << false << false;
    QTest::newRow("1") << 1 << true << false << false << false;
    QTest::newRow("2") << 2 << true << true << false << false;
    QTest::newRow("3") << 3 << true << false << true << false;
    QTest::newRow("4") << 4 << false << true << false << false;
    QTest::newRow("5") << 5 << false << true << false << true;
    QTest::newRow("6") << 6 << false << false << true << false;
}

void TestInstallationFrame::enablingByType() {
    QFETCH(int, typeIndex);
    QFETCH(bool, current);
    QFETCH(bool, voltage);
    QFETCH(bool, power);
    QFETCH(bool, total);
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QTest::mouseClick(f.typeButton(typeIndex), Qt::LeftButton);
            const auto enabled = [&](const char* name) {
                QWidget* w = f.findChild<QWidget*>(QLatin1String(name));
                return w && w->isEnabled();
            };
            QCOMPARE(enabled("stI"), current);
            QCOMPARE(enabled("EditI"), current);
            QCOMPARE(enabled("btnIzo10"), current);
            QCOMPARE(enabled("btnIzo01"), current);
            QCOMPARE(enabled("stUlin"), voltage);
            QCOMPARE(enabled("ComboUlin"), voltage);
            QCOMPARE(enabled("stS"), power);
            QCOMPARE(enabled("ComboS"), power);
            QCOMPARE(enabled("btnS100"), power);
            QCOMPARE(enabled("lblSR"), total);
            QCOMPARE(enabled("lblSRValue"), total);
            QVERIFY(enabled("EditPekv"));
            QVERIFY(enabled("btnP100"));
        },
        false);
}

void TestInstallationFrame::manualJustification_data() {
    QTest::addColumn<int>("typeIndex");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero resistivity") << 0 << u"EditPekv"_s << u"0"_s
                                      << u"Значение удельного сопротивления грунта р должно быть больше 0."_s;
    QTest::newRow("zero current") << 1 << u"EditI"_s << u"0"_s
                                  << u"Значение тока замыкания на землю Iзо должно быть больше 0."_s;
    QTest::newRow("zero power")
        << 6 << u"ComboS"_s << u"0"_s
        << u"Значение суммарной мощности трансформаторов (генераторов) S должно быть больше 0."_s;
    QTest::newRow("power not a number")
        << 3 << u"ComboS"_s << u"1,0,0"_s
        << u"\"1,0,0\" - некорректное значение для суммарной мощности трансформаторов (генераторов) S."_s;
}

void TestInstallationFrame::manualJustification() {
    QFETCH(int, typeIndex);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(QString, message);
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QTest::mouseClick(f.chkAuto(), Qt::LeftButton);
            QVERIFY(!f.chkAuto()->isChecked());
            QTest::mouseClick(f.typeButton(typeIndex), Qt::LeftButton);
            typeInto(f.EditI(), u"5"_s);
            QWidget* w = f.findChild<QWidget*>(input);
            typeInto(w, text);
            QVERIFY(rec_->messages.isEmpty()); // nothing said before "Обоснование"
            QVERIFY(f.lblRmax()->text().isEmpty());
            QVERIFY(f.Button1()->isEnabled());
            QTest::mouseClick(f.Button1(), Qt::LeftButton);
            QCOMPARE(rec_->messages, QStringList{message});
            QVERIFY(w->hasFocus());
            QVERIFY(f.lblRmax()->text().isEmpty());
            QVERIFY(!f.btnOK()->isEnabled());
            // Back to automatic: silent, still nothing derived.
            QTest::mouseClick(f.chkAuto(), Qt::LeftButton);
            QCOMPARE(rec_->messages.size(), 1);
            QVERIFY(f.lblRmax()->text().isEmpty());
        },
        false);
}

void TestInstallationFrame::changedInputClearsTheResult() {
    runDialog([&](PermissibleResistanceDialog& f) {
        QTest::mouseClick(f.chkAuto(), Qt::LeftButton);
        QCOMPARE(f.lblRmax()->text(), u"4"_s);
        typeInto(f.EditPekv(), u"200"_s);
        QVERIFY(f.lblRmax()->text().isEmpty());
        QVERIFY(f.MemoScore()->toPlainText().isEmpty());
        QVERIFY(!f.btnOK()->isEnabled());
        QTest::mouseClick(f.Button1(), Qt::LeftButton);
        QCOMPARE(f.lblRmax()->text(), u"8,00"_s);
        QVERIFY(f.btnOK()->isEnabled());
        // Step buttons change the input too.
        QTest::mouseClick(f.findChild<SpinButton*>(QStringLiteral("btnP100"))->upButton(), Qt::LeftButton);
        QCOMPARE(f.EditPekv()->text(), u"300"_s);
        QVERIFY(f.lblRmax()->text().isEmpty());
        QTest::mouseClick(f.Button1(), Qt::LeftButton);
    });
    QCOMPARE(frame_->EditRmax()->text(), u"12,00"_s);
    QCOMPARE(frame_->EditP()->text(), u"300"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestInstallationFrame::combinedJustificationText() {
    runDialog([&](PermissibleResistanceDialog& f) {
        QTest::mouseClick(f.typeButton(2), Qt::LeftButton);
        typeInto(f.EditI(), u"5"_s);
        QCOMPARE(f.MemoScore()->toPlainText(), u"Электроустановка выше 1 кВ с изолированной нейтралью:\n"
                                               u"при р<=500 --> R = 125/Iзо = 25,00 Ом.\n"
                                               u"Электроустановка до 1 кВ с заземленной нейтралью:\n"
                                               u"при р<=100 --> R <= 4 Ом.\n"
                                               u"Окончательно принимается R <= 4 Ом."_s);
        QCOMPARE(f.lblRmax()->text(), u"4"_s);
        // I steps: 5 + 10, then down by 0,1.
        QTest::mouseClick(f.findChild<SpinButton*>(QStringLiteral("btnIzo10"))->upButton(), Qt::LeftButton);
        QTest::mouseClick(f.findChild<SpinButton*>(QStringLiteral("btnIzo01"))->downButton(), Qt::LeftButton);
        QCOMPARE(f.EditI()->text(), u"14,9"_s);
    });
    QCOMPARE(frame_->EditIzo()->text(), u"14,9"_s);
    QCOMPARE(frame_->EditRmax()->text(), u"4"_s);
}

void TestInstallationFrame::repeatedGroundingsTotal() {
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QTest::mouseClick(f.typeButton(5), Qt::LeftButton);
            typeInto(f.EditPekv(), u"50"_s);
            QCOMPARE(f.lblRmax()->text(), u"30"_s);
            QCOMPARE(f.lblSRValue()->text(), u"10"_s);
            QCOMPARE(f.MemoScore()->toPlainText(), u"При р<=100 --> R <= 30 Ом; общее R <= 10 Ом."_s);
            QTest::mouseClick(f.typeButton(4), Qt::LeftButton);
            QVERIFY(f.lblSRValue()->text().isEmpty());
        },
        false);
}

void TestInstallationFrame::permissibleResistanceInput() {
    QLineEdit* rmax = frame_->EditRmax();
    QTest::mouseClick(frame_->btnR1()->upButton(), Qt::LeftButton);
    QCOMPARE(rmax->text(), u"5"_s);
    QTest::mouseClick(frame_->btnR01()->downButton(), Qt::LeftButton);
    QCOMPARE(rmax->text(), u"4,9"_s);
    rmax->setFocus();
    rmax->selectAll();
    QTest::keyClicks(rmax, u"2.5"_s);
    QCOMPARE(rmax->text(), u"25"_s);
    QCOMPARE(rec_->beeps, 1);
    rmax->clear();
    QTest::keyClick(rmax, Qt::Key_Tab);
    QCOMPARE(rec_->messages, QStringList{u"Ошибочное значение для числового параметра."_s});
    QVERIFY(rmax->hasFocus());
}

// The rows of the batch's test of Rдоп: the window and the batch keep the same texts.
void TestInstallationFrame::permissibleResistanceLeftOnlyAsANumberADoubleHolds_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("kept");
    QTest::newRow("0") << u"0"_s << true;
    QTest::newRow("10 to the 308th") << u"1"_s + QString(308, u'0') << true;
    QTest::newRow("2 times 10 to the 308th") << u"2"_s + QString(308, u'0') << false;
    QTest::newRow("400 digits") << u"1"_s + QString(399, u'0') << false;
    QTest::newRow("10 to the -310th, kept without its digits") << u"0,"_s + QString(309, u'0') + u"1"_s << false;
    QTest::newRow("10 to the -401st, kept as 0") << u"0,"_s + QString(400, u'0') + u"1"_s << false;
}

void TestInstallationFrame::permissibleResistanceLeftOnlyAsANumberADoubleHolds() {
    QFETCH(QString, text);
    QFETCH(bool, kept);
    typeInto(frame_->EditRmax(), text);
    QCOMPARE(frame_->EditRmax()->text(), text);
    QTest::keyClick(frame_->EditRmax(), Qt::Key_Tab);
    QCOMPARE(rec_->messages,
             kept ? QStringList() : QStringList{u"Ошибочное значение для числового параметра."_s});
    QCOMPARE(frame_->EditRmax()->hasFocus(), !kept);
}

void TestInstallationFrame::dialogHelp() {
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("Button5")), Qt::LeftButton);
            QTextBrowser* browser = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QStringLiteral("HelpViewer") && w->isVisible())
                    browser = w->findChild<QTextBrowser*>();
            QVERIFY(browser);
            QCOMPARE(browser->source().fileName(), QStringLiteral("9.html"));
            browser->window()->close();
        },
        false);
}

void TestInstallationFrame::dialogTabOrder() {
    runDialog(
        [&](PermissibleResistanceDialog& f) {
            QTest::mouseClick(f.typeButton(2), Qt::LeftButton); // Iзо and Uлин in use
            typeInto(f.EditI(), u"5"_s);
            QStringList order;
            f.typeButton(2)->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < 8; ++i) {
                QWidget* w = QApplication::focusWidget();
                order << (w ? w->objectName() : QString());
                QTest::keyClick(w, Qt::Key_Tab);
            }
            QCOMPARE(order, (QStringList{u"RadioType2"_s, u"EditPekv"_s, u"EditI"_s, u"ComboUlin"_s,
                                         u"chkAuto"_s, u"Button1"_s, u"btnOK"_s, u"Button2"_s}));
            QVERIFY(rec_->messages.isEmpty());
        },
        false);
}

QTEST_MAIN(TestInstallationFrame)
#include "tst_installationframe.moc"
