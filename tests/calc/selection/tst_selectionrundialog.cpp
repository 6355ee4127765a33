#include "widgets/selection/SelectionRunDialog.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/PermissibleResistanceDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

const QString Length = u"Длина стержня, м"_s;
const QString Coefficient = u"Коэффициент поправки"_s;
const QString Resistivity = u"Удельное сопротивление грунта, Ом м"_s;
const QString Rods = u"Кол-во стержней, шт."_s;
} // namespace

class TestSelectionRunDialog : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openingListsTheParametersSorted();
    void addingAllEmptiesTheListDeletingTheOnlyRowDisablesOk();
    void deletingAMiddleRowReturnsItsName();
    void movingTheSecondRowUpMakesItOutermost();
    void hintsFollowTheCurrentCell();
    void typingIntoTheGrid();
    void okRefusesBadCellsAndKeepsTheDialogOpen_data();
    void okRefusesBadCellsAndKeepsTheDialogOpen();
    void okRefusesARequiredResistanceThatIsNoNumber();
    void okAcceptsAValidGridAndCountsTheCombinations();
    void permissibleResistanceDialogFillsTheRequiredValue();
    void longNamesAndSmallStepsShowWhole();

private:
    void addByName(const QString& name);
    QString cell(int row, int column) const { return form_->parameterGrid()->item(row, column)->text(); }
    // Types into a cell as a user would: the first key opens the editor, the rest go to it.
    void typeInCell(int row, int column, const QString& text);

    std::unique_ptr<ScopedRecordingDialogs> rec_;
    std::unique_ptr<SelectionRunDialog> form_;
};

void TestSelectionRunDialog::init() {
    rec_ = std::make_unique<ScopedRecordingDialogs>();
    form_ = std::make_unique<SelectionRunDialog>();
    form_->AddSelectionParameter({Length,
                                  u"1"_s,
                                  u"5"_s,
                                  u"1"_s,
                                  u"double"_s,
                                  u"0,5"_s,
                                  {},
                                  u"начальное значение меньше конечного"_s});
    form_->AddSelectionParameter({Coefficient, u"2"_s, u"1"_s, u"0,1"_s, u"double"_s, u"1"_s, u"10"_s,
                                  u"начальное значение больше конечного"_s});
    form_->AddSelectionParameter({Resistivity, u"150"_s, u"40"_s, u"1"_s, u"double"_s, u"40"_s, u"150"_s,
                                  u"начальное значение больше конечного"_s});
    form_->AddSelectionParameter({Rods, u"2"_s, u"20"_s, u"1"_s, u"integer"_s, u"2"_s, u"100"_s, {}});
    form_->activate();
    form_->show();
    QApplication::setActiveWindow(form_.get());
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TestSelectionRunDialog::cleanup() {
    form_.reset();
    rec_.reset();
}

void TestSelectionRunDialog::addByName(const QString& name) {
    const auto items = form_->ListBox1()->findItems(name, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    form_->ListBox1()->setCurrentItem(items.first());
    QTest::mouseClick(form_->btnAdd(), Qt::LeftButton);
}

void TestSelectionRunDialog::typeInCell(int row, int column, const QString& text) {
    QTableWidget* grid = form_->parameterGrid();
    grid->setFocus();
    grid->setCurrentCell(row, column);
    for (const QChar c : text) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : grid;
        QTest::keyClick(target, c.toLatin1());
    }
}

void TestSelectionRunDialog::openingListsTheParametersSorted() {
    QCOMPARE(form_->windowTitle(), u"Параметры подбора."_s);
    QListWidget* list = form_->ListBox1();
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    QCOMPARE(names, (QStringList{Length, Rods, Coefficient, Resistivity}));
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(form_->parameterGrid()->rowCount(), 1);
    QCOMPARE(cell(0, 0), QString());
    QVERIFY(form_->btnAdd()->isEnabled());
    QVERIFY(!form_->btnDelete()->isEnabled());
    QVERIFY(!form_->btnOK()->isEnabled());
}

void TestSelectionRunDialog::addingAllEmptiesTheListDeletingTheOnlyRowDisablesOk() {
    addByName(Length);
    QCOMPARE(form_->parameterGrid()->rowCount(), 1);
    QCOMPARE(cell(0, 0), Length);
    QCOMPARE(cell(0, 1), u"1"_s);
    QCOMPARE(cell(0, 2), u"5"_s);
    QCOMPARE(cell(0, 3), u"1"_s);
    QVERIFY(form_->btnOK()->isEnabled());
    // The item now at the removed one's place is selected.
    QCOMPARE(form_->ListBox1()->currentItem()->text(), Rods);
    addByName(Coefficient);
    addByName(Resistivity);
    addByName(Rods);
    QCOMPARE(form_->ListBox1()->count(), 0);
    QVERIFY(!form_->btnAdd()->isEnabled());
    QCOMPARE(form_->parameterGrid()->rowCount(), 4);

    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(form_->btnDelete(), Qt::LeftButton);
    QCOMPARE(form_->parameterGrid()->rowCount(), 1);
    QCOMPARE(cell(0, 0), QString());
    QCOMPARE(form_->ListBox1()->count(), 4);
    QVERIFY(!form_->btnOK()->isEnabled());
    QVERIFY(!form_->btnDelete()->isEnabled());
}

void TestSelectionRunDialog::deletingAMiddleRowReturnsItsName() {
    addByName(Length);
    addByName(Coefficient);
    addByName(Resistivity);
    form_->parameterGrid()->setCurrentCell(1, 0);
    QTest::mouseClick(form_->btnDelete(), Qt::LeftButton);
    QCOMPARE(form_->parameterGrid()->rowCount(), 2);
    QCOMPARE(cell(0, 0), Length);
    QCOMPARE(cell(1, 0), Resistivity);
    QCOMPARE(form_->ListBox1()->currentItem()->text(), Coefficient);
}

void TestSelectionRunDialog::movingTheSecondRowUpMakesItOutermost() {
    addByName(Length);
    addByName(Coefficient);
    form_->parameterGrid()->setCurrentCell(1, 2);
    QVERIFY(form_->btnUp()->isEnabled());
    QVERIFY(!form_->btnDown()->isEnabled());
    QTest::mouseClick(form_->btnUp(), Qt::LeftButton);
    const auto rows = form_->selectedRows();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].name, Coefficient);
    QCOMPARE(rows[0].step, u"0,1"_s);
    QCOMPARE(rows[1].name, Length);
    QCOMPARE(form_->parameterGrid()->currentRow(), 0);
    QVERIFY(!form_->btnUp()->isEnabled());
    QVERIFY(form_->btnDown()->isEnabled());
}

void TestSelectionRunDialog::hintsFollowTheCurrentCell() {
    addByName(Length);
    addByName(Rods);
    form_->parameterGrid()->setCurrentCell(0, 1);
    QCOMPARE(form_->lblAllowChar()->text(), u"0 .. 9 и запятая"_s);
    QCOMPARE(form_->lblDiapazon()->text(), u"больше либо равно 0,5"_s);
    QCOMPARE(form_->lblRecom()->text(), u"начальное значение меньше конечного"_s);
    form_->parameterGrid()->setCurrentCell(1, 3);
    QCOMPARE(form_->lblAllowChar()->text(), u"0 .. 9"_s);
    QCOMPARE(form_->lblDiapazon()->text(), u"2 .. 100"_s);
    form_->parameterGrid()->setCurrentCell(1, 0);
    QCOMPARE(form_->lblAllowChar()->text(), QString());
    QCOMPARE(form_->lblDiapazon()->text(), QString());
}

void TestSelectionRunDialog::typingIntoTheGrid() {
    // Nothing to type into before a parameter is added.
    typeInCell(0, 1, u"1"_s);
    QCOMPARE(rec_->messages, QStringList{u"Добавьте параметр."_s});
    rec_->messages.clear();

    addByName(Length);
    addByName(Rods);
    typeInCell(0, 1, u"2,5"_s);
    QCOMPARE(cell(0, 1), u"2,5"_s);
    QCOMPARE(rec_->beeps, 0);
    // A point in a real cell, a comma in an integer cell, any key on a name: a beep, no change.
    typeInCell(0, 2, u"."_s);
    QCOMPARE(rec_->beeps, 1);
    typeInCell(1, 3, u"3,"_s);
    QCOMPARE(rec_->beeps, 2);
    QCOMPARE(cell(1, 3), u"3"_s);
    typeInCell(0, 0, u"x"_s);
    QCOMPARE(rec_->beeps, 3);
    QCOMPARE(cell(0, 0), Length);
    QVERIFY(rec_->messages.isEmpty());
}

void TestSelectionRunDialog::okRefusesBadCellsAndKeepsTheDialogOpen_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("start below 0,5")
        << 1 << u"0,4"_s
        << u"Ошибка. Для параметра \"Длина стержня, м\" допускаются значения не менее 0,5."_s;
    QTest::newRow("zero step") << 3 << u"0"_s << u"Ошибка. Допускаются значения больше 0."_s;
    QTest::newRow("empty end") << 2 << QString() << u"Ошибка. \"\" - недопустимое числовое значение."_s;
}

void TestSelectionRunDialog::okRefusesBadCellsAndKeepsTheDialogOpen() {
    QFETCH(int, column);
    QFETCH(QString, text);
    addByName(Coefficient);
    addByName(Length);
    form_->parameterGrid()->item(1, column)->setText(text);
    form_->parameterGrid()->setCurrentCell(0, 0);
    QTest::mouseClick(form_->btnOK(), Qt::LeftButton);
    QTEST(rec_->messages.value(0), "message");
    QCOMPARE(rec_->messages.size(), 1);
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->parameterGrid()->currentRow(), 1);
    QCOMPARE(form_->parameterGrid()->currentColumn(), column);
}

void TestSelectionRunDialog::okRefusesARequiredResistanceThatIsNoNumber() {
    addByName(Length);
    // Set from outside (the key filter lets no point in), with the focus elsewhere.
    form_->parameterGrid()->setFocus();
    form_->EditR()->setText(u"4.5"_s);
    QTest::mouseClick(form_->btnOK(), Qt::LeftButton);
    QCOMPARE(rec_->messages, QStringList{u"Ошибка. \"4.5\" - недопустимое числовое значение."_s});
    QVERIFY(form_->isVisible());
    QCOMPARE(QApplication::focusWidget(), form_->EditR());
    // Cancelling checks nothing.
    form_->reject();
    QVERIFY(!form_->isVisible());
    QCOMPARE(rec_->messages.size(), 1);
}

void TestSelectionRunDialog::okAcceptsAValidGridAndCountsTheCombinations() {
    addByName(Length);
    addByName(Coefficient);
    QCOMPARE(form_->SelectionCount(), 55LL);
    QTest::mouseClick(form_->btnOK(), Qt::LeftButton);
    QVERIFY(rec_->messages.isEmpty());
    QVERIFY(!form_->isVisible());
    QCOMPARE(form_->result(), int(QDialog::Accepted));
    // The next showing starts with an empty grid and the full list again.
    form_->activate();
    QCOMPARE(form_->selectedRows().size(), 0);
    QCOMPARE(form_->ListBox1()->count(), 4);
}

void TestSelectionRunDialog::permissibleResistanceDialogFillsTheRequiredValue() {
    QToolButton* b = form_->findChild<QToolButton*>(QStringLiteral("SpeedButton2"));
    QVERIFY(b);
    QCOMPARE(b->toolTip().contains(u"\"Предельно допустимые сопротивления заземляющих устройств\""_s), true);
    rec_->onModal = [](QDialog* d) {
        auto* r = qobject_cast<PermissibleResistanceDialog*>(d);
        if (!r)
            return int(QDialog::Rejected);
        r->lblRmax()->setText(u"10"_s);
        return int(QDialog::Accepted);
    };
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(form_->EditR()->text(), u"10"_s);
    rec_->onModal = [](QDialog*) { return int(QDialog::Rejected); };
    form_->EditR()->setText(u"4"_s);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(form_->EditR()->text(), u"4"_s);
}

void TestSelectionRunDialog::longNamesAndSmallStepsShowWhole() {
    // The two layers' resistivities differ only at the end of their names.
    const QString upper = u"Удельное сопротивление грунта, Ом м (верхний слой)"_s;
    const QString lower = u"Удельное сопротивление грунта, Ом м (нижний слой)"_s;
    form_->hide();
    form_->clearSelectionParameters();
    for (const QString& name : {upper, lower})
        form_->AddSelectionParameter({name, u"150"_s, u"40"_s, u"0,001"_s, u"double"_s, u"40"_s, u"150"_s, {}});
    form_->activate();
    form_->show();
    QApplication::processEvents();
    QListWidget* list = form_->ListBox1();
    for (int i = 0; i < list->count(); ++i)
        QVERIFY2(list->visualItemRect(list->item(i)).right() <= list->viewport()->width(),
                 qPrintable(list->item(i)->text()));
    addByName(upper);
    QTableWidget* grid = form_->parameterGrid();
    const QFontMetrics metrics(grid->font());
    QVERIFY(grid->columnWidth(0) > metrics.horizontalAdvance(upper));
    QCOMPARE(cell(0, 3), u"0,001"_s);
    QVERIFY(grid->columnWidth(3) > metrics.horizontalAdvance(u"0,001"_s) + 8);
    QVERIFY(grid->columnWidth(2) > metrics.horizontalAdvance(u"150"_s) + 8);
}

QTEST_MAIN(TestSelectionRunDialog)
#include "tst_selectionrundialog.moc"
