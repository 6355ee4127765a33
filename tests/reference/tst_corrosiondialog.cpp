#include "../calc/core/CalcTestFolder.h"
#include "CalculatorWindowOf.h"
#include "core/rules/SectionRules.h"
#include "store/TableProcedures.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "widgets/frames/SectionFrame.h"
#include "widgets/reference/CorrosionDialog.h"
#include "widgets/reference/ReferenceWindows.h"
#include "widgets/reference/SizeSelectionDialog.h"
#include "widgets/reference/TableGrid.h"
#include "widgets/reference/UtilisationTablesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

QStringList headers(const TableGrid* grid) {
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    return titles;
}

QStringList rowsOf(DataTable& t, const char* field) {
    QStringList values;
    for (t.first(); !t.eof(); t.next())
        values << t.asString(QLatin1String(field));
    return values;
}

QPushButton* pushButton(QWidget* w, const char* name) {
    return w->findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

class TestCorrosionDialog : public QObject {
    Q_OBJECT

    struct Bench {
        ScopedRecordingDialogs rec;
        CalcTestFolder folder{rec};
        CorrosionDialog form{*folder.data};
        DataTable& table(int level) { return *form.grid(level)->table(); }
        // Positions the chain on class 1, horizontal, recommended, the given construction.
        void onConstruction(const QString& construct) {
            table(0).first();
            QVERIFY(table(1).locate(QStringLiteral("Vid"), u"горизонтальный"_s));
            QVERIFY(table(2).locate(QStringLiteral("Status"), u"рекомендуется"_s));
            QVERIFY(table(3).locate(QStringLiteral("Construct"), construct));
        }
        Bench() { form.show(); }
    };

private slots:
    void captionsAndTitles();
    void navigatorsShowTheirButtons_data();
    void navigatorsShowTheirButtons();
    void lowerLevelsIgnoreTheKeyboard();
    void editListsEverySizeAndChecksTheChosen();
    void editOnOkReplacesTheSizes();
    void editCancelledChangesNothing();
    void editRefusedWhileTheConstructionIsEdited();
    void clearRemovesTheSizesAndDisablesItself();
    void buttonsFollowTheRows();

    void pickerFormat_data();
    void pickerFormat();
    void pickerButtons();

    void calculatorOpensItOnItsConstruction();

    void coefficientCountsFollowThePlacement();
    void coefficientSortAndTitles();
    void coefficientPlacementIgnoresTyping();
};

void TestCorrosionDialog::captionsAndTitles() {
    Bench b;
    QCOMPARE(b.form.windowTitle(), u"Коррозионная активность грунтов."_s);
    QCOMPARE(headers(b.form.grid(0)),
             (QStringList{u"Коррозионная активность грунта"_s, u"р мин, Ом м"_s, u"р макс, Ом м"_s}));
    QCOMPARE(headers(b.form.grid(1)), QStringList{u"Вид заземлителя"_s});
    QCOMPARE(headers(b.form.grid(2)), QStringList{u"Статус использования"_s});
    QCOMPARE(headers(b.form.grid(3)), QStringList{u"Конструкция заземлителя"_s});
    QCOMPARE(headers(b.form.grid(4)), QStringList{u"Размеры заземлителя"_s});
    QCOMPARE(b.form.grid(1)->pickList(QStringLiteral("Vid")),
             (QStringList{u"вертикальный"_s, u"горизонтальный"_s}));
    QCOMPARE(b.form.grid(2)->pickList(QStringLiteral("Status")),
             (QStringList{u"рекомендуется"_s, u"допускается"_s}));
    QCOMPARE(b.form.grid(3)->pickList(QStringLiteral("Construct")),
             (QStringList{u"сталь круглая"_s, u"сталь трубчатая"_s, u"сталь угловая"_s, u"сталь квадратная"_s,
                          u"сталь полосовая"_s}));
    QCOMPARE(pushButton(&b.form, "btnEdit")->text(), u"Изменить..."_s);
    QCOMPARE(pushButton(&b.form, "btnEdit")->toolTip(), u"Изменить все размеры заземлителей"_s);
    QCOMPARE(pushButton(&b.form, "btnClear")->text(), u"Очистить"_s);
    QCOMPARE(pushButton(&b.form, "btnClear")->toolTip(), u"Удалить все размеры заземлителей"_s);
    QStringList note;
    for (auto* l : b.form.findChild<QGroupBox*>(QStringLiteral("grpNote"))->findChildren<QLabel*>())
        note << l->text();
    QCOMPARE(note, (QStringList{
                       u"р мин, Ом м - нижний предел значений удельного сопротивления грунта, Ом м."_s,
                       u"р макс, Ом м - верхний предел значений удельного сопротивления грунта, Ом м."_s}));
    // "Закрыть" closes with Cancel.
    b.rec.onModal = [](QDialog* d) {
        d->show();
        QTest::mouseClick(pushButton(d, "btnClose"), Qt::LeftButton);
        return d->result();
    };
    QCOMPARE(b.form.run(), int(QDialog::Rejected));
}

void TestCorrosionDialog::navigatorsShowTheirButtons_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("shown");
    const QStringList full = {QStringLiteral("nbInsert"), QStringLiteral("nbDelete"),
                              QStringLiteral("nbEdit"),   QStringLiteral("nbPost"),
                              QStringLiteral("nbCancel"), QStringLiteral("nbRefresh")};
    for (int level = 0; level < 4; ++level)
        QTest::addRow("level %d", level) << level << full;
    QTest::newRow("sizes") << 4
                           << QStringList{QStringLiteral("nbDelete"), QStringLiteral("nbCancel"),
                                          QStringLiteral("nbRefresh")};
}

void TestCorrosionDialog::navigatorsShowTheirButtons() {
    QFETCH(int, level);
    QFETCH(QStringList, shown);
    Bench b;
    QStringList visible;
    for (auto* button : b.form.navigator(level)->findChildren<QToolButton*>())
        if (button->isVisibleTo(&b.form))
            visible << button->objectName();
    QCOMPARE(visible, shown);
}

void TestCorrosionDialog::lowerLevelsIgnoreTheKeyboard() {
    Bench b;
    TableGrid* kinds = b.form.grid(1);
    b.table(1).first();
    kinds->setFocus();
    QTest::keyClick(kinds, Qt::Key_Down);
    QTest::keyClick(kinds, Qt::Key_F2);
    QTest::keyClicks(kinds, QStringLiteral("abc"));
    QCOMPARE(b.table(1).recNo(), 0);
    QCOMPARE(b.table(1).state(), DataTable::State::Browse);
    QCOMPARE(b.table(1).asString(QStringLiteral("Vid")), u"вертикальный"_s);
    // The classes are typed freely.
    QVERIFY(b.form.grid(0)->editTriggers() != QAbstractItemView::NoEditTriggers);
}

void TestCorrosionDialog::editListsEverySizeAndChecksTheChosen() {
    Bench b;
    b.onConstruction(u"сталь полосовая"_s);
    const QStringList chosen = rowsOf(b.table(4), "Razmer");
    QVERIFY(!chosen.isEmpty());
    QStringList all;
    FillSizeList(all, (*b.folder.data)[QStringLiteral("TablePolos")], StripSteel);
    QVERIFY(all.size() > chosen.size());

    QStringList listed, checked;
    QString shownName, material;
    bool okWithNone = true;
    b.rec.onModal = [&](QDialog* d) {
        d->show();
        shownName = d->objectName();
        material = d->findChild<QLineEdit*>(QStringLiteral("EditMaterial"))->text();
        auto* list = d->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
        for (int i = 0; i < list->count(); ++i) {
            listed << list->item(i)->text();
            if (list->item(i)->checkState() == Qt::Checked)
                checked << list->item(i)->text();
        }
        QTest::mouseClick(pushButton(d, "btnNone"), Qt::LeftButton);
        okWithNone = pushButton(d, "btnOK")->isEnabled();
        d->hide();
        return int(QDialog::Rejected);
    };
    QTest::mouseClick(pushButton(&b.form, "btnEdit"), Qt::LeftButton);

    QCOMPARE(shownName, QStringLiteral("TSelRazFm"));
    QCOMPARE(material, u"сталь полосовая"_s);
    QCOMPARE(listed, all);
    QVERIFY(listed.first().contains(QLatin1Char('x')));
    QStringList expected;
    for (const QString& s : all)
        if (chosen.contains(s))
            expected << s;
    QCOMPARE(checked, expected);
    QVERIFY(!okWithNone);
}

void TestCorrosionDialog::editOnOkReplacesTheSizes() {
    Bench b;
    b.onConstruction(u"сталь полосовая"_s);
    const qint64 construction = b.table(3).value(QStringLiteral("Kod")).toLongLong();
    QStringList picked;
    bool okEnabled = false;
    b.rec.onModal = [&](QDialog* d) {
        d->show();
        auto* list = d->findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
        QTest::mouseClick(pushButton(d, "btnNone"), Qt::LeftButton);
        for (int i : {2, 0}) {
            list->item(i)->setCheckState(Qt::Checked);
        }
        picked << list->item(0)->text() << list->item(2)->text();
        okEnabled = pushButton(d, "btnOK")->isEnabled();
        QTest::mouseClick(pushButton(d, "btnOK"), Qt::LeftButton);
        return d->result();
    };
    QTest::mouseClick(pushButton(&b.form, "btnEdit"), Qt::LeftButton);
    QVERIFY(okEnabled);

    QCOMPARE(rowsOf(b.table(4), "Razmer"), picked);
    for (b.table(4).first(); !b.table(4).eof(); b.table(4).next())
        QCOMPARE(b.table(4).value(QStringLiteral("Kod0")).toLongLong(), construction);
    QCOMPARE(b.rec.messages, QStringList());
}

void TestCorrosionDialog::editCancelledChangesNothing() {
    Bench b;
    b.onConstruction(u"сталь полосовая"_s);
    const QStringList before = rowsOf(b.table(4), "Razmer");
    b.rec.onModal = [](QDialog* d) {
        d->show();
        QTest::mouseClick(pushButton(d, "btnAll"), Qt::LeftButton);
        QTest::mouseClick(pushButton(d, "btnCancel"), Qt::LeftButton);
        return d->result();
    };
    QTest::mouseClick(pushButton(&b.form, "btnEdit"), Qt::LeftButton);
    QCOMPARE(rowsOf(b.table(4), "Razmer"), before);
}

void TestCorrosionDialog::editRefusedWhileTheConstructionIsEdited() {
    Bench b;
    b.onConstruction(u"сталь полосовая"_s);
    const QStringList before = rowsOf(b.table(4), "Razmer");
    b.table(3).cancel();
    // A new construction row: its sizes cannot be set before it is posted.
    QVERIFY(b.table(3).insert());
    b.table(3).setText(QStringLiteral("Construct"), u"сталь полосовая"_s);
    b.rec.onModal = [](QDialog* d) {
        QTest::mouseClick(pushButton(d, "btnAll"), Qt::LeftButton);
        return int(QDialog::Accepted);
    };
    b.form.editConstructionSizes();
    QCOMPARE(b.rec.messages, QStringList{u"Завершите работу с главной таблицей."_s});
    b.table(3).cancel();
    QVERIFY(b.table(3).locate(QStringLiteral("Construct"), u"сталь полосовая"_s));
    // Nothing was deleted on the way.
    QCOMPARE(rowsOf(b.table(4), "Razmer"), before);
}

void TestCorrosionDialog::clearRemovesTheSizesAndDisablesItself() {
    Bench b;
    b.onConstruction(u"сталь полосовая"_s);
    QPushButton* clear = pushButton(&b.form, "btnClear");
    QVERIFY(clear->isEnabled());
    const int sizes = b.table(4).recordCount();
    QTest::mouseClick(clear, Qt::LeftButton); // declined by default
    QCOMPARE(b.rec.questions, QStringList{u"Удалить все размеры заземлителя \"сталь полосовая\"?"_s});
    QCOMPARE(b.table(4).recordCount(), sizes);
    b.rec.answers << QMessageBox::Yes;
    QTest::mouseClick(clear, Qt::LeftButton);
    QVERIFY(b.table(4).isEmpty());
    QVERIFY(!clear->isEnabled());
    QVERIFY(pushButton(&b.form, "btnEdit")->isEnabled());
    QVERIFY(b.rec.messages.isEmpty());
}

void TestCorrosionDialog::buttonsFollowTheRows() {
    Bench b;
    // A status of its own without constructions.
    b.table(0).first();
    b.table(1).first();
    QVERIFY(b.table(2).insert());
    b.table(2).setText(QStringLiteral("Status"), u"допускается"_s);
    QVERIFY(b.table(2).post());
    QVERIFY(b.table(3).isEmpty());
    QVERIFY(!pushButton(&b.form, "btnEdit")->isEnabled());
    QVERIFY(!pushButton(&b.form, "btnClear")->isEnabled());
    b.table(2).first();
    QVERIFY(pushButton(&b.form, "btnEdit")->isEnabled());
    QVERIFY(pushButton(&b.form, "btnClear")->isEnabled());
}

void TestCorrosionDialog::pickerFormat_data() {
    QTest::addColumn<QString>("construction");
    QTest::addColumn<QString>("format");
    QTest::newRow("angle") << u"сталь угловая"_s
                           << u"\"ширина полки\" х \"ширина полки\" х \"толщина полки\", м"_s;
    QTest::newRow("square") << u"сталь квадратная"_s << u"\"сторона квадрата\", м"_s;
    QTest::newRow("round") << u"сталь круглая"_s << u"\"внешний диаметр\", м"_s;
    QTest::newRow("tube") << u"сталь трубчатая"_s << u"\"внешний диаметр\", м"_s;
    QTest::newRow("strip") << u"сталь полосовая"_s << u"\"ширина полосы\" х \"толщина полосы\", м"_s;
}

void TestCorrosionDialog::pickerFormat() {
    QFETCH(QString, construction);
    QFETCH(QString, format);
    ScopedRecordingDialogs rec;
    SizeSelectionDialog picker;
    picker.setConstruction(construction);
    picker.setSizes({QStringLiteral("0,01")}, {});
    picker.show();
    QCOMPARE(picker.windowTitle(), u"Выбор размеров заземлителя."_s);
    QCOMPARE(picker.findChild<QLineEdit*>(QStringLiteral("EditFormaData"))->text(), format);
    QVERIFY(picker.findChild<QLineEdit*>(QStringLiteral("EditFormaData"))->isReadOnly());
    QVERIFY(picker.findChild<QLineEdit*>(QStringLiteral("EditMaterial"))->isReadOnly());
}

void TestCorrosionDialog::pickerButtons() {
    ScopedRecordingDialogs rec;
    SizeSelectionDialog picker;
    picker.setConstruction(u"сталь круглая"_s);
    picker.setSizes({QStringLiteral("0,01"), QStringLiteral("0,012"), QStringLiteral("0,016")},
                    {QStringLiteral("0,012")});
    picker.show();
    QPushButton* ok = pushButton(&picker, "btnOK");
    QCOMPARE(ok->text(), u"ОК"_s);
    QVERIFY(ok->isEnabled());
    QTest::mouseClick(pushButton(&picker, "btnInvert"), Qt::LeftButton);
    QCOMPARE(picker.checkedSizes(), (QStringList{QStringLiteral("0,01"), QStringLiteral("0,016")}));
    QTest::mouseClick(pushButton(&picker, "btnNone"), Qt::LeftButton);
    QCOMPARE(picker.checkedSizes(), QStringList());
    QVERIFY(!ok->isEnabled());
    // A click on an item's box checks it.
    auto* list = picker.findChild<QListWidget*>(QStringLiteral("CheckListBox1"));
    list->item(1)->setCheckState(Qt::Checked);
    QVERIFY(ok->isEnabled());
    QTest::mouseClick(pushButton(&picker, "btnAll"), Qt::LeftButton);
    QCOMPARE(picker.checkedSizes().size(), 3);
    QVERIFY(ok->isEnabled());
}

void TestCorrosionDialog::calculatorOpensItOnItsConstruction() {
    ScopedRecordingDialogs rec;
    CalcTestFolder folder{rec};
    {
        ReferenceWindows windows(*folder.data);
        TDVertFm w(*folder.data);
        w.show();
        QToolButton* korGrunt = w.ButtonFrame1()->btnKorGrunt();
        QVERIFY(korGrunt->isEnabled());
        QComboBox* sech = w.frmSech1()->cmbSech();
        sech->setCurrentIndex(sech->findText(u"сталь угловая"_s));
        QString shown;
        rec.onModal = [&](QDialog* d) {
            shown = d->objectName();
            return int(QDialog::Rejected);
        };
        QTest::mouseClick(korGrunt, Qt::LeftButton);
        QCOMPARE(shown, QStringLiteral("TKorGrFrm"));
        QCOMPARE(sech->currentText(), u"сталь угловая"_s);

        // Outside the all mode it opens on the frame's status and construction.
        QTest::mouseClick(w.frmSech1()->btnDopMat(), Qt::LeftButton);
        sech->setCurrentIndex(sech->count() - 1);
        const QString construction = sech->currentText();
        QStringList located;
        rec.onModal = [&](QDialog*) {
            located = {(*folder.data)[u"korgrunt1.DB"_s].asString(u"Vid"_s),
                       (*folder.data)[u"korgrunt2.DB"_s].asString(u"Status"_s),
                       (*folder.data)[u"korgrunt3.DB"_s].asString(u"Construct"_s)};
            return int(QDialog::Rejected);
        };
        QTest::mouseClick(korGrunt, Qt::LeftButton);
        QCOMPARE(located, (QStringList{u"вертикальный"_s, u"допускается"_s, construction}));
    }
    // Without the dictionaries the button is off.
    TDVertFm w(*folder.data);
    w.show();
    QVERIFY(!w.ButtonFrame1()->btnKorGrunt()->isEnabled());
}

void TestCorrosionDialog::coefficientCountsFollowThePlacement() {
    ScopedRecordingDialogs rec;
    CalcTestFolder folder{rec};
    UtilisationTablesDialog form(*folder.data);
    form.show();
    DataTable& kivz = (*folder.data)[QStringLiteral("KIVZTable")];
    const QStringList inLine = {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("6"),
                                QStringLiteral("10"), QStringLiteral("20")};
    const QStringList onContour = {QStringLiteral("4"),  QStringLiteral("6"),  QStringLiteral("10"),
                                   QStringLiteral("20"), QStringLiteral("40"), QStringLiteral("60"),
                                   QStringLiteral("100")};
    QVERIFY(kivz.locate(QStringLiteral("Razm"), u"контур"_s));
    QCOMPARE(form.grid(0)->pickList(QStringLiteral("N")), onContour);
    QVERIFY(kivz.locate(QStringLiteral("Razm"), u"ряд"_s));
    QCOMPARE(form.grid(0)->pickList(QStringLiteral("N")), inLine);
    DataTable& kigz = (*folder.data)[QStringLiteral("KIGZTable")];
    QVERIFY(kigz.locate(QStringLiteral("Razm"), u"контур"_s));
    QCOMPARE(form.grid(1)->pickList(QStringLiteral("N")), onContour);
    // Not watched once the dialog is closed.
    form.hide();
    QVERIFY(kigz.locate(QStringLiteral("Razm"), u"ряд"_s));
    QCOMPARE(form.grid(1)->pickList(QStringLiteral("N")), onContour);
    form.show();
    QCOMPARE(form.grid(1)->pickList(QStringLiteral("N")), inLine);
}

void TestCorrosionDialog::coefficientSortAndTitles() {
    ScopedRecordingDialogs rec;
    CalcTestFolder folder{rec};
    UtilisationTablesDialog form(*folder.data);
    form.show();
    QCOMPARE(form.windowTitle(), u"Таблицы коэффициентов использования."_s);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             u"Горизонтальный заземлитель с учетом влияния  вертикальных стержней."_s);
    QCOMPARE(headers(form.grid(0)),
             (QStringList{u"Размещение"_s, u"Количество, шт."_s, u"Отношение"_s, u"КИ"_s}));
    QCOMPARE(form.grid(0)->pickList(QStringLiteral("Otnosh")),
             (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    QCOMPARE(form.sortBox(0)->text(), u"Сортировать по полю \"Отношение\""_s);
    DataTable& kivz = (*folder.data)[QStringLiteral("KIVZTable")];
    const QPoint box(6, form.sortBox(0)->height() / 2);
    QTest::mouseClick(form.sortBox(0), Qt::LeftButton, {}, box);
    QCOMPARE(kivz.indexName(), QStringLiteral("iOtnosh"));
    QCOMPARE((*folder.data)[QStringLiteral("KIGZTable")].indexName(), QString());
    QTest::mouseClick(form.sortBox(0), Qt::LeftButton, {}, box);
    QCOMPARE(kivz.indexName(), QString());
}

void TestCorrosionDialog::coefficientPlacementIgnoresTyping() {
    ScopedRecordingDialogs rec;
    CalcTestFolder folder{rec};
    UtilisationTablesDialog form(*folder.data);
    form.show();
    DataTable& kivz = (*folder.data)[QStringLiteral("KIVZTable")];
    kivz.first();
    TableGrid* grid = form.grid(0);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, grid->columnOf(QStringLiteral("Razm"))));
    QTest::keyClick(grid, Qt::Key_F2);
    QTest::keyClicks(grid, QStringLiteral("xyz"));
    QCOMPARE(kivz.state(), DataTable::State::Browse);
    QVERIFY(!grid->findChild<QComboBox*>(QStringLiteral("PickList")));
    // The count beside it opens its pick list.
    grid->setCurrentIndex(grid->model()->index(0, grid->columnOf(QStringLiteral("N"))));
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(grid->findChild<QComboBox*>(QStringLiteral("PickList")));
}

QTEST_MAIN(TestCorrosionDialog)
#include "tst_corrosiondialog.moc"
