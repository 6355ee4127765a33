#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/Paths.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/frames/CalculatorToolbar.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {

QTextBrowser* openHelp() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("HelpViewer") && w->isVisible())
            return w->findChild<QTextBrowser*>();
    return nullptr;
}
} // namespace

class TestButtonFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonsInOrder_data();
    void buttonsInOrder();
    void buttonsLeftToRight();
    void gaugeAndBreakHiddenUntilASelectionRuns();
    void breakSetsTheFlag();
    void formulaPanelChangesTheWindowHeight_data();
    void formulaPanelChangesTheWindowHeight();
    void installationPanelChangesTheWindowHeight();
    void panelsOfAnotherKindAreLeftAlone();
    void toolbarClicksDoNotLeaveTheInput();
    void helpAtTheWindowsContext_data();
    void helpAtTheWindowsContext();
    void dialogsOfOtherWindows();

private:
    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<QDialog> window_;
    CalculatorToolbar* bar_ = nullptr;
    QFrame* panel_ = nullptr;
    InstallationFrame* eu_ = nullptr;
    QLineEdit* input_ = nullptr;
};

void TestButtonFrame::initTestCase() {
    setApplicationFolder(QStringLiteral(KELVOR_BIN_DIR));
}

void TestButtonFrame::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    window_ = std::make_unique<QDialog>();
    auto* layout = new QVBoxLayout(window_.get());
    bar_ = new CalculatorToolbar(window_.get());
    layout->addWidget(bar_);
    input_ = new QLineEdit(window_.get());
    makeNumericInput(input_);
    layout->addWidget(input_);
    panel_ = new QFrame(window_.get());
    panel_->setObjectName(QStringLiteral("PanelRaschet"));
    panel_->setFixedHeight(60);
    layout->addWidget(panel_);
    eu_ = new InstallationFrame(window_.get());
    layout->addWidget(eu_);
    setHelpContext(window_.get(), 18);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TestButtonFrame::cleanup() {
    if (QTextBrowser* help = openHelp())
        help->window()->close();
    window_.reset();
    rec_.reset();
}

namespace {
struct ButtonRow {
    const char* name;
    QString hint;
    bool toggle;
    bool down;
    bool enabled;
};
// Left to right.
const ButtonRow kButtons[] = {
    {"btnSave", u"Сохранить параметры расчета в таблице базы данных"_s, false, false, true},
    {"btnLoad", u"Загрузить параметры расчета из таблицы базы данных"_s, false, false, true},
    {"btnCopy", u"Копировать параметры расчета в оперативную память"_s, false, false, true},
    {"btnPaste", u"Вставить параметры расчета из оперативной памяти"_s, false, false, false},
    {"btnReport", u"Экспорт отчета в Microsoft Word"_s, false, false, true},
    {"btnPodbor", u"Подбор параметров"_s, false, false, true},
    {"btnParPodbor", u"Настройка параметров подбора"_s, false, false, true},
    {"btnUndoPodbor", u"Вернуть значения параметров, бывшие до подбора (Ctrl+Z)"_s, false, false, false},
    {"btnAutoScore", u"Режим авторасчета"_s, true, false, true},
    {"btnLinkRo", u"Синхронизация изменения удельных сопротивлений грунта (воды) и электроустановки"_s, true,
     false, true},
    {"btnLinkParam", u"Синхронизация изменения связанных параметров"_s, true, false, true},
    {"btnFormula", u"Формула и порядок расчета"_s, true, true, true},
    {"btnEU", u"Характеристика электроустановки"_s, true, true, true},
    {"btnPicture", u"Экспорт изображения с отчетом в Microsoft Word"_s, true, true, true},
    {"btnMemo", u"Просмотр порядка расчета"_s, false, false, false},
    {"btnKI", u"Таблицы данных"_s, false, false, false},
    {"btnGrunt", u"Справочник удельных сопротивлений грунтов"_s, false, false, true},
    // Enabled once the climate-region dialog is handed to the toolbar.
    {"btnKP", u"Справочник климатических районов"_s, false, false, false},
    {"btnMaterial", u"Справочник материалов заземлителей"_s, false, false, true},
    {"btnKorGrunt", u"Справочник коррозионной активности грунтов"_s, false, false, true},
    {"SpeedButton1", u"Вызов справки"_s, false, false, true},
    {"btnBreak", u"Прервать подбор параметров"_s, false, false, true},
    {"btnClose", u"Закрыть диалог"_s, false, false, true},
};
} // namespace

void TestButtonFrame::buttonsInOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("enabled");
    for (const ButtonRow& r : kButtons)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << r.hint << r.toggle << r.down << r.enabled;
}

void TestButtonFrame::buttonsInOrder() {
    QFETCH(QString, name);
    QFETCH(QString, hint);
    QFETCH(bool, toggle);
    QFETCH(bool, down);
    QFETCH(bool, enabled);
    QToolButton* b = bar_->button(name);
    QVERIFY(b);
    QCOMPARE(bar_->findChild<QToolButton*>(name), b);
    QCOMPARE(b->toolTip(), hint);
    QCOMPARE(b->statusTip(), hint);
    QCOMPARE(b->isCheckable(), toggle);
    QCOMPARE(b->isChecked(), down);
    QCOMPARE(b->isEnabled(), enabled);
    QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    QVERIFY(!b->icon().isNull());
    QVERIFY(!b->icon().pixmap(20, 20).isNull());
}

void TestButtonFrame::buttonsLeftToRight() {
    QStringList expected;
    for (const ButtonRow& r : kButtons)
        expected << QLatin1String(r.name);
    QStringList actual;
    for (QToolButton* b : bar_->buttons())
        actual << b->objectName();
    QCOMPARE(actual, expected);
    bar_->setSelectionRunning(true); // all shown
    QApplication::processEvents();
    for (int i = 1; i < bar_->buttons().size(); ++i)
        QVERIFY2(bar_->buttons().at(i - 1)->x() < bar_->buttons().at(i)->x(), qPrintable(actual.at(i)));
}

void TestButtonFrame::gaugeAndBreakHiddenUntilASelectionRuns() {
    QProgressBar* gauge = bar_->Gauge1();
    QCOMPARE(gauge->objectName(), QStringLiteral("Gauge1"));
    QVERIFY(gauge->isHidden());
    QVERIFY(bar_->btnBreak()->isHidden());
    QCOMPARE(gauge->value(), 0);
    bar_->setSelectionRunning(true);
    QVERIFY(gauge->isVisible());
    QVERIFY(bar_->btnBreak()->isVisible());
    QVERIFY(bar_->SpeedButton1()->x() < gauge->x());
    QVERIFY(gauge->x() < bar_->btnBreak()->x());
    QVERIFY(bar_->btnBreak()->x() < bar_->btnClose()->x());
    gauge->setValue(40);
    bar_->setSelectionRunning(false);
    QVERIFY(gauge->isHidden());
    QVERIFY(bar_->btnBreak()->isHidden());
    bar_->setSelectionRunning(true);
    QCOMPARE(gauge->value(), 0); // every run starts from an empty gauge
}

void TestButtonFrame::breakSetsTheFlag() {
    bar_->setSelectionRunning(true);
    QVERIFY(!bar_->breakRequested());
    QTest::mouseClick(bar_->btnBreak(), Qt::LeftButton);
    QVERIFY(bar_->breakRequested());
    bar_->clearBreakRequest();
    QVERIFY(!bar_->breakRequested());
}

void TestButtonFrame::formulaPanelChangesTheWindowHeight_data() {
    QTest::addColumn<bool>("fixedSize");
    QTest::newRow("sizable window") << false;
    QTest::newRow("fixed-size window") << true;
}

void TestButtonFrame::formulaPanelChangesTheWindowHeight() {
    QFETCH(bool, fixedSize);
    if (fixedSize)
        window_->setFixedSize(window_->size() + QSize(0, 10));
    const int height = window_->height();
    QTest::mouseClick(bar_->btnFormula(), Qt::LeftButton);
    QVERIFY(!bar_->btnFormula()->isChecked());
    QVERIFY(panel_->isHidden());
    QCOMPARE(window_->height(), height - 60);
    QTest::qWait(20);
    QCOMPARE(window_->height(), height - 60);
    QTest::mouseClick(bar_->btnFormula(), Qt::LeftButton);
    QVERIFY(bar_->btnFormula()->isChecked());
    QVERIFY(panel_->isVisible());
    QCOMPARE(window_->height(), height);
    QTest::qWait(20); // the layout settles on the restored height
    QCOMPARE(window_->height(), height);
    QCOMPARE(panel_->height(), 60);
}

void TestButtonFrame::installationPanelChangesTheWindowHeight() {
    const int height = window_->height();
    const int panel = eu_->height();
    QVERIFY(panel > 0);
    QTest::mouseClick(bar_->btnEU(), Qt::LeftButton);
    QVERIFY(eu_->isHidden());
    QCOMPARE(window_->height(), height - panel);
    QTest::mouseClick(bar_->btnFormula(), Qt::LeftButton);
    QCOMPARE(window_->height(), height - panel - 60);
    QTest::mouseClick(bar_->btnEU(), Qt::LeftButton);
    QTest::mouseClick(bar_->btnFormula(), Qt::LeftButton);
    QVERIFY(eu_->isVisible());
    QCOMPARE(window_->height(), height);
}

void TestButtonFrame::panelsOfAnotherKindAreLeftAlone() {
    QDialog other;
    auto* layout = new QVBoxLayout(&other);
    auto* bar = new CalculatorToolbar(&other);
    layout->addWidget(bar);
    auto* notAPanel = new QPushButton(QStringLiteral("x"), &other);
    notAPanel->setObjectName(QStringLiteral("PanelRaschet"));
    layout->addWidget(notAPanel);
    auto* notAnInstallation = new QFrame(&other);
    notAnInstallation->setObjectName(QStringLiteral("frmEU1"));
    notAnInstallation->setFixedHeight(40);
    layout->addWidget(notAnInstallation);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    const int height = other.height();
    QTest::mouseClick(bar->btnFormula(), Qt::LeftButton);
    QTest::mouseClick(bar->btnEU(), Qt::LeftButton);
    QVERIFY(notAPanel->isVisible());
    QVERIFY(notAnInstallation->isVisible());
    QCOMPARE(other.height(), height);

    // A toolbar outside any window only has nothing to find.
    CalculatorToolbar alone;
    QTest::mouseClick(alone.btnFormula(), Qt::LeftButton);
    QTest::mouseClick(alone.btnEU(), Qt::LeftButton);
    QVERIFY(!alone.btnEU()->isChecked());
}

void TestButtonFrame::toolbarClicksDoNotLeaveTheInput() {
    int saved = 0;
    connect(bar_->btnSave(), &QToolButton::clicked, this, [&] { ++saved; });
    input_->setFocus();
    input_->clear(); // an input that may not be left empty
    QTest::mouseClick(bar_->btnSave(), Qt::LeftButton);
    QTest::mouseClick(bar_->btnAutoScore(), Qt::LeftButton);
    QCOMPARE(saved, 1);
    QVERIFY(bar_->btnAutoScore()->isChecked());
    QVERIFY(input_->hasFocus());
    QVERIFY(rec_->messages.isEmpty());
}

void TestButtonFrame::helpAtTheWindowsContext_data() {
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("page");
    QTest::newRow("vertical rod") << 18 << QStringLiteral("18.html");
    QTest::newRow("permissible resistance") << 9 << QStringLiteral("9.html");
}

void TestButtonFrame::helpAtTheWindowsContext() {
    QFETCH(int, context);
    QFETCH(QString, page);
    setHelpContext(window_.get(), context);
    QTest::mouseClick(bar_->SpeedButton1(), Qt::LeftButton);
    QTextBrowser* help = openHelp();
    QVERIFY(help);
    QCOMPARE(help->source().fileName(), page);
}

void TestButtonFrame::dialogsOfOtherWindows() {
    int viewer = 0;
    int regions = 0;
    bar_->btnMemo()->setEnabled(true); // as a calculator with a multi-line order does
    QTest::mouseClick(bar_->btnMemo(), Qt::LeftButton);
    bar_->setCalcOrderViewer([&] { ++viewer; });
    bar_->setClimateRegionDialog([&] { ++regions; });
    QVERIFY(bar_->btnKP()->isEnabled());
    QTest::mouseClick(bar_->btnMemo(), Qt::LeftButton);
    QTest::mouseClick(bar_->btnKP(), Qt::LeftButton);
    QCOMPARE(viewer, 1);
    QCOMPARE(regions, 1);
}

QTEST_MAIN(TestButtonFrame)
#include "tst_buttonframe.moc"
