#include "../core/CalcTestFolder.h"
#include "widgets/selection/SelectionSettingsDialog.h"
#include "store/DataTableModel.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/reference/TableGrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

QStringList labelTexts(const QList<QLabel*>& labels) {
    QStringList texts;
    for (const QLabel* l : labels)
        texts << l->text();
    return texts;
}

// What the dialog showed while it was on screen.
struct Shown {
    bool shown = false;
    QString kindFilter;
    QList<int> kinds;        // KodTip of the visible parpod0.db rows
    int rows[3] = {};        // grid rows, by table kind
    int currentRow[3] = {};  // grid current rows, by table kind
    QString currentParam[3]; // Param of the tables' current rows
    QWidget* focus = nullptr;
    bool onlyKindRows = true; // every detail row belongs to the visible parpod0.db row
};

} // namespace

class TestSelectionSettingsDialog : public QObject {
    Q_OBJECT

    struct Bench {
        ScopedRecordingDialogs rec;
        CalcTestFolder folder{rec};
        Shown last;
        // Changes made while the dialog is on screen, before it is read.
        std::function<void(SelectionSettingsDialog&)> whileShown;

        Bench() {
            rec.onModal = [this](QDialog* d) {
                auto* f = qobject_cast<SelectionSettingsDialog*>(d);
                if (!f)
                    return int(QDialog::Rejected);
                f->show();
                QCoreApplication::processEvents();
                if (whileShown)
                    whileShown(*f);
                last = read(*f);
                f->hide();
                return int(QDialog::Accepted);
            };
        }
        DataModule& data() { return *folder.data; }
        DataTable& table(const char* name) { return data()[QLatin1String(name)]; }
        SelectionSettingsDialog& form() { return selectionSetupForm(data()); }

        Shown read(SelectionSettingsDialog& f) {
            Shown s;
            s.shown = f.isVisible();
            DataTable& kinds = table("TableParPod0");
            s.kindFilter = kinds.filtered() ? kinds.filter() : QString();
            // Read in place: moving the master would re-read the details.
            const int kodTip = kinds.def().fieldIndex(QStringLiteral("KodTip"));
            for (int r = 0; r < kinds.recordCount(); ++r)
                s.kinds << kinds.valueAt(r, kodTip).toInt();
            const QVariant kod = kinds.value(QStringLiteral("Kod"));
            for (int k = 1; k <= 3; ++k) {
                DataTable& t = *f.table(k);
                s.rows[k - 1] = f.grid(k)->model()->rowCount();
                s.currentRow[k - 1] = f.grid(k)->currentIndex().row();
                s.currentParam[k - 1] = t.asString(QStringLiteral("Param"));
                const int kod0 = t.def().fieldIndex(QStringLiteral("Kod0"));
                for (int r = 0; r < t.recordCount(); ++r)
                    s.onlyKindRows = s.onlyKindRows && t.valueAt(r, kod0) == kod;
            }
            s.focus = f.focusWidget();
            return s;
        }
    };

    // Rows of a detail table belonging to a kind, read from the file apart from the data module.
    static int storedRows(DataTable& like, int kindCode) {
        DataTable kinds(like.master()->def());
        DataTable detail(like.def());
        if (!kinds.open(dataDir()) || !detail.open(dataDir()) ||
            !kinds.locate(QStringLiteral("KodTip"), kindCode))
            return -1;
        const QVariant kod = kinds.value(QStringLiteral("Kod"));
        int n = 0;
        for (detail.first(); !detail.eof(); detail.next())
            n += detail.value(QStringLiteral("Kod0")) == kod;
        return n;
    }

    // A stored value of a kind's parameter, read from the file apart from the data module.
    static QVariant storedValue(DataTable& like, int kindCode, const QString& param, const char* field) {
        DataTable kinds(like.master()->def());
        DataTable detail(like.def());
        if (!kinds.open(dataDir()) || !detail.open(dataDir()) ||
            !kinds.locate(QStringLiteral("KodTip"), kindCode))
            return {};
        if (!detail.locate({QStringLiteral("Kod0"), QStringLiteral("Param")},
                           {kinds.value(QStringLiteral("Kod")), param}))
            return {};
        return detail.value(QLatin1String(field));
    }

private slots:
    void captionHeadingsAndNotes();
    void gridsTitlesAndReadOnlyNames();
    void navigatorsShowEditPostCancelOnly_data();
    void navigatorsShowEditPostCancelOnly();
    void createdOnceAndShownModally();

    void showsTheKindAndLocatesTheName_data();
    void showsTheKindAndLocatesTheName();
    void emptyOrUnknownNameLocatesNothing();
    void anotherKindReplacesTheRows();

    void editedValuesArePosted_data();
    void editedValuesArePosted();
    void closingPostsABufferedEdit();
    void nonNumbersAreRefusedByTheField_data();
    void nonNumbersAreRefusedByTheField();
    void rowsAreNeitherAddedNorDeleted_data();
    void rowsAreNeitherAddedNorDeleted();
};

void TestSelectionSettingsDialog::captionHeadingsAndNotes() {
    Bench b;
    SelectionSettingsDialog& f = b.form();
    QCOMPARE(f.objectName(), QStringLiteral("TParPodFm"));
    QCOMPARE(f.windowTitle(), u"Настройка параметров подбора."_s);
    QCOMPARE(helpContextOf(&f), 60);
    QCOMPARE(f.closeButton()->text(), u"Закрыть"_s);
    QCOMPARE(f.helpButton()->text(), u"Справка..."_s);
    QCOMPARE(labelTexts(f.findChildren<QLabel*>(QStringLiteral("lblHeading"))),
             (QStringList{u"Вещественные параметры с изменяемым шагом."_s,
                          u"Вещественные параметры с изменяемыми диапазоном и шагом."_s,
                          u"Целочисленные параметры с изменяемыми диапазоном и шагом."_s}));
    const QString realChars = u"(допустимые символы: '0' .. '9' и запятая)"_s;
    QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblChars1"))->text(), realChars);
    QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblChars2"))->text(), realChars);
    QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblChars3"))->text(),
             u"(допустимые символы: '0' .. '9')"_s);
    auto* note = f.findChild<QGroupBox*>(QStringLiteral("grpNote"));
    QVERIFY(note);
    QCOMPARE(note->title(), u" Примечание "_s);
    QCOMPARE(labelTexts(note->findChildren<QLabel*>()),
             (QStringList{
                 u"Параметр - наименование параметра подбора."_s, u"Начало - начальное значение параметра."_s,
                 u"Конец - конечное значение параметра."_s, u"Шаг - шаг изменения значения параметра."_s}));
}

void TestSelectionSettingsDialog::gridsTitlesAndReadOnlyNames() {
    Bench b;
    SelectionSettingsDialog& f = b.form();
    const char* const tables[3] = {"TableSParPod1", "TableRParPod1", "TableIParPod1"};
    for (int k = 1; k <= 3; ++k) {
        const QString n = QString::number(k);
        QCOMPARE(f.findChild<TableGrid*>(QStringLiteral("DBGrid") + n), f.grid(k));
        QCOMPARE(f.findChild<TableNavigator*>(QStringLiteral("DBNavigator") + n), f.navigator(k));
        QCOMPARE(f.grid(k)->table(), &b.table(tables[k - 1]));
        QCOMPARE(f.navigator(k)->table(), &b.table(tables[k - 1]));
    }
    QCOMPARE(headers(f.grid(1)), (QStringList{u"Параметр"_s, u"Шаг"_s}));
    const QStringList range = {u"Параметр"_s, u"Начало"_s, u"Конец"_s, u"Шаг"_s};
    QCOMPARE(headers(f.grid(2)), range);
    QCOMPARE(headers(f.grid(3)), range);

    ShowSelectionSetup(b.data(), 101, 1, QString());
    auto editable = [](TableGrid* g, int column) {
        return bool(g->model()->flags(g->model()->index(0, column)) & Qt::ItemIsEditable);
    };
    QVERIFY(!editable(f.grid(1), 0));
    QVERIFY(editable(f.grid(1), 1));
    for (int k = 2; k <= 3; ++k) {
        QVERIFY(!editable(f.grid(k), 0));
        for (int c = 1; c < 4; ++c)
            QVERIFY(editable(f.grid(k), c));
    }
}

void TestSelectionSettingsDialog::navigatorsShowEditPostCancelOnly_data() {
    QTest::addColumn<int>("tableKind");
    QTest::newRow("soil steps") << 1;
    QTest::newRow("real ranges") << 2;
    QTest::newRow("integer ranges") << 3;
}

void TestSelectionSettingsDialog::navigatorsShowEditPostCancelOnly() {
    QFETCH(int, tableKind);
    Bench b;
    SelectionSettingsDialog& f = b.form();
    f.show();
    QStringList visible;
    for (auto* button : f.navigator(tableKind)->findChildren<QToolButton*>())
        if (button->isVisible())
            visible << button->objectName();
    f.hide();
    QCOMPARE(visible,
             (QStringList{QStringLiteral("nbEdit"), QStringLiteral("nbPost"), QStringLiteral("nbCancel")}));
}

void TestSelectionSettingsDialog::createdOnceAndShownModally() {
    Bench b;
    SelectionSettingsDialog* first = &b.form();
    ShowSelectionSetup(b.data(), 4, 2, u"Длина стержня, м"_s);
    ShowSelectionSetup(b.data(), 3, 1, QString());
    QCOMPARE(&b.form(), first);
    QCOMPARE(b.rec.modalWindows, (QList<QDialog*>{first, first}));
    QVERIFY(b.last.shown);
    QVERIFY(!first->isVisible());
}

void TestSelectionSettingsDialog::showsTheKindAndLocatesTheName_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("tableKind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::newRow("pattern, rod length") << 4 << 2 << u"Длина стержня, м"_s << 0;
    QTest::newRow("pattern, coefficient") << 4 << 2 << u"Коэффициент поправки"_s << 1;
    QTest::newRow("standard, horizontal soil")
        << 101 << 1 << u"Удельное сопротивление грунта, Ом м (гориз. электроды)"_s << 1;
    QTest::newRow("standard, rods in a contour")
        << 101 << 3 << u"Кол-во стержней, шт. (размещение по контуру)"_s << 1;
}

void TestSelectionSettingsDialog::showsTheKindAndLocatesTheName() {
    QFETCH(int, kind);
    QFETCH(int, tableKind);
    QFETCH(QString, name);
    QFETCH(int, row);
    Bench b;
    ShowSelectionSetup(b.data(), kind, tableKind, name);
    const Shown& s = b.last;
    QVERIFY(s.shown);
    QCOMPARE(s.kindFilter, QStringLiteral("[KodTip]='%1'").arg(kind));
    QCOMPARE(s.kinds, QList<int>{kind});
    QVERIFY(s.onlyKindRows);
    SelectionSettingsDialog& f = b.form();
    for (int k = 1; k <= 3; ++k)
        QCOMPARE(s.rows[k - 1], storedRows(*f.table(k), kind));
    QVERIFY(s.rows[tableKind - 1] > row);
    QCOMPARE(s.currentRow[tableKind - 1], row);
    QCOMPARE(s.currentParam[tableKind - 1], name);
    QCOMPARE(s.focus, static_cast<QWidget*>(f.grid(tableKind)));
    // The filter stays until the next kind.
    QCOMPARE(b.table("TableParPod0").filter(), QStringLiteral("[KodTip]='%1'").arg(kind));
    QVERIFY(b.table("TableParPod0").filtered());
}

void TestSelectionSettingsDialog::emptyOrUnknownNameLocatesNothing() {
    Bench b;
    SelectionSettingsDialog& f = b.form();
    ShowSelectionSetup(b.data(), 101, 3, u"Кол-во стержней, шт. (размещение по контуру)"_s);
    QCOMPARE(b.last.focus, static_cast<QWidget*>(f.grid(3)));

    // The same kind again with no name: the rows are read afresh and nothing is looked for.
    ShowSelectionSetup(b.data(), 101, 2, QString());
    QCOMPARE(f.handOverName(), QString());
    QCOMPARE(b.last.currentRow[1], 0);
    QCOMPARE(b.last.currentRow[2], 0);
    QVERIFY(b.last.focus != static_cast<QWidget*>(f.grid(2)));

    // A name the table does not hold leaves its first row current.
    ShowSelectionSetup(b.data(), 101, 2, u"Нет такого параметра"_s);
    QCOMPARE(b.last.currentRow[1], 0);
    QCOMPARE(b.last.currentParam[1], u"Поправочный коэффициент (верт. электроды)"_s);
    QVERIFY(b.rec.messages.isEmpty());
}

void TestSelectionSettingsDialog::anotherKindReplacesTheRows() {
    Bench b;
    SelectionSettingsDialog& f = b.form();
    // Kinds 3 and 4 ship with the same names and values: tell them apart by a changed step.
    b.whileShown = [](SelectionSettingsDialog& form) {
        QVERIFY(form.table(2)->locate(QStringLiteral("Param"), u"Коэффициент поправки"_s));
        QVERIFY(form.table(2)->edit());
        QVERIFY(form.table(2)->setText(QStringLiteral("Shag"), QStringLiteral("0,25")));
        QVERIFY(form.table(2)->post());
    };
    ShowSelectionSetup(b.data(), 4, 2, u"Коэффициент поправки"_s);
    QCOMPARE(b.last.kinds, QList<int>{4});

    QString step;
    QString located;
    b.whileShown = [&](SelectionSettingsDialog& form) {
        located = form.table(2)->asString(QStringLiteral("Param"));
        form.table(2)->locate(QStringLiteral("Param"), u"Коэффициент поправки"_s);
        step = form.table(2)->text(QStringLiteral("Shag"));
    };
    ShowSelectionSetup(b.data(), 3, 2, u"Длина стержня, м"_s);
    QCOMPARE(b.last.kindFilter, QStringLiteral("[KodTip]='3'"));
    QCOMPARE(b.last.kinds, QList<int>{3});
    QVERIFY(b.last.onlyKindRows);
    QCOMPARE(b.last.rows[1], storedRows(*f.table(2), 3));
    QCOMPARE(located, u"Длина стержня, м"_s);
    QCOMPARE(step, QStringLiteral("0,1"));
    QCOMPARE(storedValue(*f.table(2), 4, u"Коэффициент поправки"_s, "Shag").toDouble(), 0.25);
}

void TestSelectionSettingsDialog::editedValuesArePosted_data() {
    QTest::addColumn<bool>("throughNavigator");
    QTest::newRow("typed into the cell") << false;
    QTest::newRow("navigator edit and post") << true;
}

void TestSelectionSettingsDialog::editedValuesArePosted() {
    QFETCH(bool, throughNavigator);
    Bench b;
    SelectionSettingsDialog& f = b.form();
    const QString name = u"Коэффициент поправки"_s;
    b.whileShown = [&](SelectionSettingsDialog& form) {
        TableGrid* grid = form.grid(2);
        const QModelIndex cell = grid->model()->index(1, grid->columnOf(QStringLiteral("Shag")));
        if (throughNavigator) {
            TableNavigator* nav = form.navigator(2);
            QTest::mouseClick(nav->button(TableNavigator::Edit), Qt::LeftButton);
            QCOMPARE(form.table(2)->state(), DataTable::State::Edit);
            QVERIFY(form.table(2)->setText(QStringLiteral("Shag"), QStringLiteral("0,05")));
            QVERIFY(nav->button(TableNavigator::Post)->isEnabled());
            QTest::mouseClick(nav->button(TableNavigator::Post), Qt::LeftButton);
        } else {
            grid->setCurrentIndex(cell);
            grid->edit(cell);
            auto* editor = grid->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->setText(QStringLiteral("0,05"));
            QTest::keyClick(editor, Qt::Key_Return);
            // The delegate commits on the next turn of the event loop.
            QCoreApplication::processEvents();
        }
        QCOMPARE(form.table(2)->state(), DataTable::State::Browse);
        QCOMPARE(grid->model()->data(cell).toString(), QStringLiteral("0,05"));
    };
    ShowSelectionSetup(b.data(), 4, 2, name);
    QVERIFY(b.rec.messages.isEmpty());
    QCOMPARE(storedValue(*f.table(2), 4, name, "Shag").toDouble(), 0.05);
    // Only that row changed.
    QCOMPARE(storedValue(*f.table(2), 3, name, "Shag").toDouble(), 0.1);
    QCOMPARE(storedValue(*f.table(2), 4, u"Длина стержня, м"_s, "Shag").toDouble(), 1.0);
}

void TestSelectionSettingsDialog::closingPostsABufferedEdit() {
    Bench b;
    SelectionSettingsDialog& f = b.form();
    const QString name = u"Кол-во стержней, шт. (размещение в ряд)"_s;
    b.whileShown = [&](SelectionSettingsDialog& form) {
        QVERIFY(form.table(3)->edit());
        QVERIFY(form.table(3)->setText(QStringLiteral("EValue"), QStringLiteral("12")));
    };
    ShowSelectionSetup(b.data(), 101, 3, name);
    QCOMPARE(f.table(3)->state(), DataTable::State::Browse);
    QCOMPARE(storedValue(*f.table(3), 101, name, "EValue").toInt(), 12);

    // Still buffered when the next kind is chosen: written before the rows are re-read.
    b.whileShown = nullptr;
    f.show();
    QVERIFY(f.table(3)->locate(QStringLiteral("Param"), name));
    QVERIFY(f.table(3)->edit());
    QVERIFY(f.table(3)->setText(QStringLiteral("Shag"), QStringLiteral("2")));
    f.setVisible(false);
    QCOMPARE(storedValue(*f.table(3), 101, name, "Shag").toInt(), 2);
    QVERIFY(f.table(1)->edit());
    QVERIFY(f.table(1)->setText(QStringLiteral("Shag"), QStringLiteral("5")));
    ShowSelectionSetup(b.data(), 4, 1, QString());
    QCOMPARE(storedValue(*f.table(1), 101, u"Удельное сопротивление грунта, Ом м (верт. электроды)"_s, "Shag")
                 .toDouble(),
             5.0);
    QCOMPARE(b.last.kinds, QList<int>{4});
    QVERIFY(b.last.onlyKindRows);
}

void TestSelectionSettingsDialog::nonNumbersAreRefusedByTheField_data() {
    QTest::addColumn<int>("tableKind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters in a real step") << 2 << u"Длина стержня, м"_s << "Shag"
                                            << "abc";
    QTest::newRow("point in a real start") << 2 << u"Длина стержня, м"_s << "BValue"
                                           << "1.5";
    QTest::newRow("fraction in an integer end")
        << 3 << u"Кол-во стержней, шт. (размещение в ряд)"_s << "EValue"
        << "1,5";
    QTest::newRow("letters in a soil step")
        << 1 << u"Удельное сопротивление грунта, Ом м (верт. электроды)"_s << "Shag"
        << "x";
}

void TestSelectionSettingsDialog::nonNumbersAreRefusedByTheField() {
    QFETCH(int, tableKind);
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    Bench b;
    SelectionSettingsDialog& f = b.form();
    const QVariant before = storedValue(*f.table(tableKind), 101, name, field.toLatin1().constData());
    QVERIFY(before.isValid());
    bool accepted = true;
    b.whileShown = [&](SelectionSettingsDialog& form) {
        TableGrid* grid = form.grid(tableKind);
        const QModelIndex cell = grid->model()->index(grid->currentIndex().row(), grid->columnOf(field));
        accepted = grid->model()->setData(cell, typed);
    };
    ShowSelectionSetup(b.data(), 101, tableKind, name);
    QVERIFY(!accepted);
    QCOMPARE(b.rec.messages.size(), 1);
    QVERIFY2(b.rec.messages.first().startsWith(QLatin1Char('"') + typed +
                                               u"\" - некорректное значение для поля "_s),
             qPrintable(b.rec.messages.first()));
    QCOMPARE(f.table(tableKind)->state(), DataTable::State::Browse);
    QCOMPARE(storedValue(*f.table(tableKind), 101, name, field.toLatin1().constData()), before);
}

void TestSelectionSettingsDialog::rowsAreNeitherAddedNorDeleted_data() {
    QTest::addColumn<int>("tableKind");
    QTest::newRow("soil steps") << 1;
    QTest::newRow("real ranges") << 2;
    QTest::newRow("integer ranges") << 3;
}

void TestSelectionSettingsDialog::rowsAreNeitherAddedNorDeleted() {
    QFETCH(int, tableKind);
    Bench b;
    SelectionSettingsDialog& f = b.form();
    const int stored = storedRows(*f.table(tableKind), 101);
    QVERIFY(stored > 0);
    bool inserted = true;
    bool deleted = true;
    int gridRows = -1;
    b.whileShown = [&](SelectionSettingsDialog& form) {
        inserted = form.table(tableKind)->insert();
        deleted = form.table(tableKind)->remove();
        gridRows = form.grid(tableKind)->model()->rowCount();
    };
    ShowSelectionSetup(b.data(), 101, tableKind, QString());
    QVERIFY(!inserted);
    QVERIFY(!deleted);
    QCOMPARE(b.rec.messages, (QStringList{u"Добавление параметров подбора в таблицу запрещено."_s,
                                          u"Удаление параметров подбора из таблицы запрещено."_s}));
    QCOMPARE(gridRows, stored);
    QCOMPARE(f.table(tableKind)->state(), DataTable::State::Browse);
    QCOMPARE(storedRows(*f.table(tableKind), 101), stored);
}

QTEST_MAIN(TestSelectionSettingsDialog)
#include "tst_selectionsettingsdialog.moc"
