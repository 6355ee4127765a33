#include "../core/CalcTestFolder.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "CalculatorWindowOf.h"
#include "widgets/selection/SelectionChartDialog.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "widgets/selection/SelectionRunDialog.h"
#include "store/SqlQuery.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/InstallationFrame.h"
#include "core/common/Paths.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SoilFrame.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
const QString Length = u"Длина стержня, м"_s;
const QString Coefficient = u"Коэффициент поправки"_s;
} // namespace

class TestSelectionRun : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void commandsAreOffered();
    void runStopsAtTheFirstLengthMeetingTheRequiredValue();
    void exhaustedRunShowsTheLastCombinationAndSaysSo();
    void runDialogTakesThePermissibleResistanceAndTheSoilsRange();
    void cancelledRunDialogChangesNothing();
    void outerCoefficientInnerLength();
    void popupSelectsTheLengthWithoutData();
    void popupWithDataFillsTheTableAndChart();
    void popupWithDataAndNoSuccess();
    void popupOnTheResistivityRunsOverTheSoilsRange();
    void parameterMissingFromTheStoredSettings();
    void zeroStoredStepTriesNothing();
    void popupOutsideASelectableInputDoesNothing();
    void settingsShortcutFollowsTheFocus();
    void surfaceRodWritesBackOnlyItsInputs();
    void everyBuiltCalculatorsParametersAreStored();

private:
    QLineEdit* edit(const char* name) { return win_->findChild<QLineEdit*>(QString::fromLatin1(name)); }
    // Answers the run dialog with the given rows (name, start, end, step) and required value.
    void answerRunDialog(const QList<QStringList>& rows, const QString& required);
    void popup(QLineEdit* on, const char* action);
    void storedSetting(const QString& sql);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<CalculatorWindow> win_;
    QDialog* lastModal_ = nullptr;
    QStringList chartRows_;
    QString chartResult_;
};

void TestSelectionRun::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    folder_ = std::make_unique<CalcTestFolder>(*rec_);
    win_ = std::make_unique<TDVertFm>(*folder_->data);
    win_->show();
    QApplication::setActiveWindow(win_.get());
    QVERIFY(QTest::qWaitForWindowActive(win_.get()));
    chartRows_.clear();
    chartResult_.clear();
    lastModal_ = nullptr;
}

void TestSelectionRun::cleanup() {
    win_.reset();
    folder_.reset();
    rec_.reset();
}

void TestSelectionRun::answerRunDialog(const QList<QStringList>& rows, const QString& required) {
    rec_->onModal = [this, rows, required](QDialog* d) {
        lastModal_ = d;
        auto* form = qobject_cast<SelectionRunDialog*>(d);
        if (!form)
            return int(QDialog::Rejected);
        for (const QStringList& row : rows) {
            const auto items = form->ListBox1()->findItems(row[0], Qt::MatchExactly);
            if (items.isEmpty())
                return int(QDialog::Rejected);
            form->ListBox1()->setCurrentItem(items.first());
            form->addParameter();
            const int r = form->parameterGrid()->rowCount() - 1;
            for (int c = 1; c < 4; ++c)
                form->parameterGrid()->item(r, c)->setText(row[c]);
        }
        form->EditR()->setText(required);
        return int(QDialog::Accepted);
    };
}

void TestSelectionRun::popup(QLineEdit* on, const char* action) {
    emit on->customContextMenuRequested(QPoint(2, 2));
    QMenu* menu = win_->PopupMenu1();
    QTRY_VERIFY(menu->isVisible());
    QAction* a = menu->findChild<QAction*>(QString::fromLatin1(action));
    QVERIFY(a);
    menu->hide();
    a->trigger();
}

void TestSelectionRun::storedSetting(const QString& sql) {
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("settings"));
    db.setDatabaseName(folder_->path() + QStringLiteral("/Data/rparpod1.DB"));
    QVERIFY(db.open());
    QSqlQuery q(db);
    QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
    q.finish();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("settings"));
}

void TestSelectionRun::commandsAreOffered() {
    CalculatorToolbar* t = win_->ButtonFrame1();
    QVERIFY(t->btnPodbor()->isEnabled());
    QVERIFY(t->btnParPodbor()->isEnabled());
    edit("EditGlub")->clear();
    QVERIFY(!t->btnPodbor()->isEnabled());
    for (const char* name : {"EditDlina", "EditRo0", "EditPKV"})
        QCOMPARE(edit(name)->contextMenuPolicy(), Qt::CustomContextMenu);
    QCOMPARE(win_->PopupMenu1()->actions().value(0)->text(), u"Подбор параметра"_s);
    QCOMPARE(win_->PopupMenu1()->actions().value(1)->text(), u"Подбор параметра с выводом данных..."_s);
}

void TestSelectionRun::runStopsAtTheFirstLengthMeetingTheRequiredValue() {
    answerRunDialog({{Length, u"1"_s, u"5"_s, u"1"_s}}, u"30"_s);
    QTest::mouseClick(win_->ButtonFrame1()->btnPodbor(), Qt::LeftButton);
    QVERIFY(qobject_cast<SelectionRunDialog*>(lastModal_));
    // L = 1, 2, 3 give 80,21, 46,35, 33,33; L = 4 (T = 2,7) gives 26,27.
    QCOMPARE(edit("EditDlina")->text(), u"4"_s);
    // T keeps the format the window gives it.
    QCOMPARE(edit("EditT")->text(), u"2,70"_s);
    QCOMPARE(edit("EditVS1")->text(), u"26,27"_s);
    QVERIFY(edit("EditRaschet")->text().endsWith(u" = 26,27 Ом"_s));
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(win_->ButtonFrame1()->Gauge1()->isHidden());
    QVERIFY(win_->ButtonFrame1()->btnBreak()->isHidden());
    QVERIFY(win_->ButtonFrame1()->btnSave()->isEnabled());
    QVERIFY(edit("EditDlina")->isEnabled());
}

void TestSelectionRun::exhaustedRunShowsTheLastCombinationAndSaysSo() {
    answerRunDialog({{Length, u"1"_s, u"5"_s, u"1"_s}}, u"4"_s);
    QTest::mouseClick(win_->ButtonFrame1()->btnPodbor(), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
    QCOMPARE(edit("EditVS1")->text(), u"21,81"_s);
    QCOMPARE(rec_->messages, QStringList{u"Подбор параметров неудачен."_s});
}

void TestSelectionRun::runDialogTakesThePermissibleResistanceAndTheSoilsRange() {
    win_->frmEU1()->EditRmax()->setText(u"10"_s);
    QString required;
    QList<SelectionDescriptor> offered;
    rec_->onModal = [&](QDialog* d) {
        auto* form = qobject_cast<SelectionRunDialog*>(d);
        required = form->EditR()->text();
        offered = form->selectionParameters();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(win_->ButtonFrame1()->btnPodbor(), Qt::LeftButton);
    QCOMPARE(required, u"10"_s);
    QCOMPARE(offered.size(), 3);
    QCOMPARE(offered[0].name, Length);
    QCOMPARE(offered[1].name, Coefficient);
    // суглинок: 40 … 150 Ом м, run from the top down.
    QCOMPARE(offered[2].name, u"Удельное сопротивление грунта, Ом м"_s);
    QCOMPARE(offered[2].start, u"150"_s);
    QCOMPARE(offered[2].end, u"40"_s);
    QCOMPARE(offered[2].lower, u"40"_s);
    QCOMPARE(offered[2].upper, u"150"_s);
}

void TestSelectionRun::cancelledRunDialogChangesNothing() {
    rec_->onModal = [](QDialog*) { return int(QDialog::Rejected); };
    QTest::mouseClick(win_->ButtonFrame1()->btnPodbor(), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
    QCOMPARE(edit("EditT")->text(), u"3,20"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestSelectionRun::outerCoefficientInnerLength() {
    answerRunDialog({{Coefficient, u"2"_s, u"1"_s, u"0,1"_s}, {Length, u"1"_s, u"5"_s, u"1"_s}}, u"30"_s);
    QTest::mouseClick(win_->ButtonFrame1()->btnPodbor(), Qt::LeftButton);
    // The largest Kп for which some length meets 30 Ом: 1,3 with L = 5 (1,3 · 21,805 → p 130: 28,35).
    QCOMPARE(edit("EditPKV")->text(), u"1,3"_s);
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
    QCOMPARE(win_->pFrame()->EditRo()->text(), u"130"_s);
    QCOMPARE(edit("EditVS1")->text(), u"28,35"_s);
}

void TestSelectionRun::popupSelectsTheLengthWithoutData() {
    win_->frmEU1()->EditRmax()->setText(u"30"_s);
    popup(edit("EditDlina"), "N1");
    QCOMPARE(edit("EditDlina")->text(), u"4"_s);
    QCOMPARE(edit("EditVS1")->text(), u"26,27"_s);
    QVERIFY(rec_->modalWindows.isEmpty());
    QVERIFY(rec_->messages.isEmpty());
}

void TestSelectionRun::popupWithDataFillsTheTableAndChart() {
    win_->frmEU1()->EditRmax()->setText(u"30"_s);
    QString caption;
    QString note;
    rec_->onModal = [&](QDialog* d) {
        auto* chart = qobject_cast<SelectionChartDialog*>(d);
        if (!chart)
            return int(QDialog::Rejected);
        caption = chart->windowTitle();
        note = chart->Memo1()->toPlainText();
        chartResult_ = chart->lblItog()->text();
        QTableWidget* grid = chart->dataGrid();
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->columnCount(); ++c)
                cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
            chartRows_ << cells.join(QLatin1Char('/'));
        }
        return int(QDialog::Accepted);
    };
    popup(edit("EditDlina"), "N2");
    QCOMPARE(caption, u"Подбор параметра \"Длина стержня, м\"."_s);
    QCOMPARE(chartRows_, (QStringList{u"L, м/To, м/R, Ом"_s, u"1/0,7/80,21"_s, u"2/0,7/46,35"_s,
                                      u"3/0,7/33,33"_s, u"4/0,7/26,27"_s}));
    QCOMPARE(chartResult_, u"подбор параметра успешен."_s);
    QCOMPARE(note, u"L, м - длина стержня, м\nTо, м - расстояние от поверхности земли до стержня, м\n"
                   u"R, Ом - сопротивление растеканию, Ом"_s);
    QCOMPARE(edit("EditDlina")->text(), u"4"_s);
    QVERIFY(rec_->messages.isEmpty());
}

void TestSelectionRun::popupWithDataAndNoSuccess() {
    win_->frmEU1()->EditRmax()->setText(u"4"_s);
    rec_->onModal = [&](QDialog* d) {
        auto* chart = qobject_cast<SelectionChartDialog*>(d);
        chartResult_ = chart->lblItog()->text();
        chartRows_ << QString::number(chart->dataGrid()->rowCount());
        return int(QDialog::Accepted);
    };
    popup(edit("EditDlina"), "N2");
    QCOMPARE(chartRows_, QStringList{u"6"_s});
    QCOMPARE(chartResult_, u"подбор параметра неудачен."_s);
    QVERIFY(rec_->messages.isEmpty());
    // Without data the failure is a message.
    popup(edit("EditDlina"), "N1");
    QCOMPARE(rec_->messages, QStringList{u"Подбор параметра \"Длина стержня, м\" неудачен."_s});
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
}

void TestSelectionRun::popupOnTheResistivityRunsOverTheSoilsRange() {
    // R at L 5 is 0,21805·p: from 150 down, the first p with R ≤ 20 is 91 (19,84); 92 gives 20,06.
    win_->frmEU1()->EditRmax()->setText(u"20"_s);
    popup(edit("EditRo0"), "N1");
    QCOMPARE(edit("EditRo0")->text(), u"91"_s);
    QCOMPARE(win_->pFrame()->EditRo()->text(), u"91"_s);
    QCOMPARE(edit("EditVS1")->text(), u"19,84"_s);
}

void TestSelectionRun::parameterMissingFromTheStoredSettings() {
    storedSetting(u"update rparpod1 set Param = 'x' where Param = 'Длина стержня, м'"_s);
    popup(edit("EditDlina"), "N1");
    QCOMPARE(rec_->messages, QStringList{u"Параметр \"Длина стержня, м\" в таблице параметров не найден."_s});
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
}

void TestSelectionRun::zeroStoredStepTriesNothing() {
    storedSetting(u"update rparpod1 set Shag = 0 where Param = 'Длина стержня, м'"_s);
    win_->frmEU1()->EditRmax()->setText(u"30"_s);
    popup(edit("EditDlina"), "N1");
    QCOMPARE(rec_->messages, QStringList{u"Подбор параметра \"Длина стержня, м\" неудачен."_s});
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
    QVERIFY(win_->ButtonFrame1()->Gauge1()->isHidden());
}

void TestSelectionRun::popupOutsideASelectableInputDoesNothing() {
    QCOMPARE(edit("EditGlub")->contextMenuPolicy() == Qt::CustomContextMenu, false);
    win_->selectParameterAtPopup();
    win_->selectParameterWithDataAtPopup();
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(rec_->modalWindows.isEmpty());
    QCOMPARE(edit("EditDlina")->text(), u"5"_s);
}

void TestSelectionRun::settingsShortcutFollowsTheFocus() {
    QList<QPair<int, QString>> handed;
    rec_->onModal = [&](QDialog* d) {
        auto* form = qobject_cast<SelectionSettingsDialog*>(d);
        if (form)
            handed << qMakePair(form->handOverKind(), form->handOverName());
        return int(QDialog::Accepted);
    };
    const struct {
        const char* input;
        int kind;
        QString name;
    } cases[] = {{"EditDlina", 2, Length},
                 {"EditRo0", 1, u"Удельное сопротивление грунта, Ом м"_s},
                 {"EditPKV", 2, Coefficient},
                 {"EditGlub", 1, QString()}};
    for (const auto& c : cases) {
        edit(c.input)->setFocus();
        QTest::mouseClick(win_->ButtonFrame1()->btnParPodbor(), Qt::LeftButton);
        QCOMPARE(handed.size(), 1);
        QCOMPARE(handed.first().first, c.kind);
        QCOMPARE(handed.first().second, c.name);
        handed.clear();
    }
    // The settings shown are the rod calculator's (kind 4).
    QCOMPARE(selectionSetupForm(*folder_->data).table(2)->recordCount(), 2);
}

void TestSelectionRun::surfaceRodWritesBackOnlyItsInputs() {
    win_ = std::make_unique<TUVertFm>(*folder_->data);
    win_->show();
    // R = 100/(2π·L)·ln(4L/0,016): L = 3 → 35,12 > 35; L = 4 → 27,49.
    answerRunDialog({{Length, u"1"_s, u"5"_s, u"1"_s}}, u"35"_s);
    QTest::mouseClick(win_->ButtonFrame1()->btnPodbor(), Qt::LeftButton);
    QCOMPARE(edit("EditDlina")->text(), u"4"_s);
    QCOMPARE(edit("EditVS1")->text(), u"27,49"_s);
    QVERIFY(!edit("EditT") && !edit("EditGlub"));
    QVERIFY(rec_->messages.isEmpty());
}

void TestSelectionRun::everyBuiltCalculatorsParametersAreStored() {
    // A parameter offered by a right click that its kind's stored settings lack is refused at
    // run time: every built calculator's parameters must be there, in the table of their kind.
    CalculatorRegistry& registry = CalculatorRegistry::instance();
    registerBuiltCalculators(registry);
    CalculatorEnvironment env{*folder_->data};
    int checked = 0;
    for (const CalculatorInfo& info : registry.all()) {
        if (!info.factory)
            continue;
        std::unique_ptr<QDialog> window(info.factory(env, nullptr));
        auto* calculator = qobject_cast<CalculatorWindow*>(window.get());
        if (!calculator)
            continue;
        const SelectionSetup& setup = calculator->descriptor().selection;
        for (const SelectionParameter& p : setup.parameters) {
            const QString table = p.settingsTable == 1   ? QStringLiteral("sparpod1")
                                  : p.settingsTable == 3 ? QStringLiteral("iparpod1")
                                                         : QStringLiteral("rparpod1");
            SqlQuery q(dataDir());
            q.setText(QStringLiteral("select d.Shag from parpod0 m, %1 d where m.Kod = d.Kod0 and "
                                     "m.KodTip = :Kind and d.Param = :Param")
                          .arg(table));
            q.bindValue(QStringLiteral("Kind"), setup.kindCode);
            q.bindValue(QStringLiteral("Param"), p.name);
            QVERIFY2(q.open(), qPrintable(q.lastError()));
            QVERIFY2(!q.eof(), qPrintable(info.className + QStringLiteral(": ") + p.name +
                                          QStringLiteral(" in ") + table));
            ++checked;
        }
    }
    QVERIFY(checked >= 15);
}

QTEST_MAIN(TestSelectionRun)
#include "tst_selectionrun.moc"
