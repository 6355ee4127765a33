#include "../calc/core/CalcTestFolder.h"
#include "widgets/common/DialogService.h"
#include "widgets/reference/TableGrid.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;

using namespace kz;

class TestTableGrid : public QObject {
    Q_OBJECT

    struct Bench {
        ScopedRecordingDialogs& rec;
        CalcTestFolder folder{rec};
        QWidget window;
        TableGrid* grid = new TableGrid(&window);
        TableNavigator* nav = new TableNavigator(&window);
        DataTable& table;
        Bench(ScopedRecordingDialogs& r, const QString& name) : rec(r), table((*folder.data)[name]) {
            table.first();
            nav->setTable(&table);
            grid->setTable(&table);
            grid->setAllEditable();
            window.resize(600, 400);
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
        QToolButton* button(const char* name) { return nav->findChild<QToolButton*>(QLatin1String(name)); }
        QString cell(int row, int column) { return grid->model()->index(row, column).data().toString(); }
    };

private slots:
    void navigatorHints_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("first") << "nbFirst" << u"Первая запись"_s;
        QTest::newRow("prior") << "nbPrior" << u"Предыдущая запись"_s;
        QTest::newRow("next") << "nbNext" << u"Следующая запись"_s;
        QTest::newRow("last") << "nbLast" << u"Последняя запись"_s;
        QTest::newRow("insert") << "nbInsert" << u"Вставка записи"_s;
        QTest::newRow("delete") << "nbDelete" << u"Удаление записи"_s;
        QTest::newRow("edit") << "nbEdit" << u"Редактирование записи"_s;
        QTest::newRow("post") << "nbPost" << u"Сохранение записи"_s;
        QTest::newRow("cancel") << "nbCancel" << u"Отмена изменений"_s;
        QTest::newRow("refresh") << "nbRefresh" << u"Обновление данных"_s;
    }
    void navigatorHints() {
        QFETCH(QString, button);
        QFETCH(QString, hint);
        TableNavigator nav;
        auto* b = nav.findChild<QToolButton*>(button);
        QVERIFY(b);
        QCOMPARE(b->toolTip(), hint);
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    }

    void columnsFromTheSchema() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        QCOMPARE(b.grid->model()->columnCount(), 4);
        QCOMPARE(b.grid->model()->headerData(0, Qt::Horizontal).toString(), u"Грунт"_s);
        QCOMPARE(b.grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("PMin"));
        QCOMPARE(b.grid->horizontalHeader()->defaultAlignment(), Qt::AlignCenter);
        QCOMPARE(b.grid->model()->rowCount(), b.table.recordCount());
        b.grid->setTitle(QStringLiteral("PMin"), u"Минимум"_s);
        QCOMPARE(b.grid->model()->headerData(1, Qt::Horizontal).toString(), u"Минимум"_s);
        QCOMPARE(b.cell(0, 0), b.table.text(QStringLiteral("Grunt")));
    }

    void navigatorMovesTableAndGrid() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        const int last = b.table.recordCount() - 1;
        QVERIFY(last > 2);
        QVERIFY(!b.button("nbFirst")->isEnabled());
        QVERIFY(!b.button("nbPrior")->isEnabled());
        QTest::mouseClick(b.button("nbNext"), Qt::LeftButton);
        QCOMPARE(b.table.recNo(), 1);
        QCOMPARE(b.grid->currentIndex().row(), 1);
        QTest::mouseClick(b.button("nbLast"), Qt::LeftButton);
        QCOMPARE(b.table.recNo(), last);
        QCOMPARE(b.grid->currentIndex().row(), last);
        QVERIFY(!b.button("nbNext")->isEnabled());
        QVERIFY(!b.button("nbLast")->isEnabled());
        QTest::mouseClick(b.button("nbPrior"), Qt::LeftButton);
        QCOMPARE(b.table.recNo(), last - 1);
        QTest::mouseClick(b.button("nbFirst"), Qt::LeftButton);
        QCOMPARE(b.grid->currentIndex().row(), 0);
        QVERIFY(!b.button("nbPost")->isEnabled());
        QVERIFY(!b.button("nbCancel")->isEnabled());
    }

    void clickInGridMovesTable() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        const QRect cell = b.grid->visualRect(b.grid->model()->index(2, 1));
        QTest::mouseClick(b.grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(b.table.recNo(), 2);
        QVERIFY(b.button("nbPrior")->isEnabled());
    }

    void typingInACellPostsIt() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        b.grid->setFocus();
        b.grid->setCurrentIndex(b.grid->model()->index(1, 3));
        // The first key opens the cell's editor, which takes the rest.
        QTest::keyClick(b.grid, '7');
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit*>(editor));
        QTest::keyClicks(editor, QStringLiteral("7,5"));
        QTest::keyClick(editor, Qt::Key_Return);
        // The grid commits the editor once the key is handled.
        QTRY_COMPARE(b.cell(1, 3), QStringLiteral("77,5"));
        QCOMPARE(b.table.state(), DataTable::State::Browse);
        QCOMPARE(b.table.recNo(), 1);
        QCOMPARE(b.table.asFloat(QStringLiteral("PDefault")), 77.5);
        QCOMPARE(b.cell(1, 3), QStringLiteral("77,5"));
        QVERIFY(rec.messages.isEmpty());
    }

    void insertShowsANewRowUntilPosted() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        const int before = b.table.recordCount();
        b.table.moveTo(1);
        QTest::mouseClick(b.button("nbInsert"), Qt::LeftButton);
        QCOMPARE(b.table.state(), DataTable::State::Insert);
        QCOMPARE(b.grid->model()->rowCount(), before + 1);
        QCOMPARE(b.grid->currentIndex().row(), 1);
        QCOMPARE(b.cell(1, 0), QString());
        QCOMPARE(b.cell(2, 0), b.table.valueAt(1, 0).toString());
        QVERIFY(b.button("nbPost")->isEnabled());
        QVERIFY(!b.button("nbDelete")->isEnabled());
        auto* model = b.grid->model();
        QVERIFY(model->setData(model->index(1, 0), u"торф влажный"_s));
        QVERIFY(model->setData(model->index(1, 1), QStringLiteral("10")));
        QVERIFY(model->setData(model->index(1, 2), QStringLiteral("30")));
        QVERIFY(model->setData(model->index(1, 3), QStringLiteral("20")));
        QCOMPARE(b.table.state(), DataTable::State::Insert); // waits for the post
        QTest::mouseClick(b.button("nbPost"), Qt::LeftButton);
        QCOMPARE(b.table.state(), DataTable::State::Browse);
        QCOMPARE(b.table.recordCount(), before + 1);
        QCOMPARE(b.table.asString(QStringLiteral("Grunt")), u"торф влажный"_s);
        QCOMPARE(b.grid->currentIndex().row(), b.table.recNo());
    }

    void cancelledInsertLeavesNothing() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        const int before = b.table.recordCount();
        QTest::mouseClick(b.button("nbInsert"), Qt::LeftButton);
        QTest::mouseClick(b.button("nbCancel"), Qt::LeftButton);
        QCOMPARE(b.grid->model()->rowCount(), before);
        QCOMPARE(b.table.recordCount(), before);
    }

    void refusedPostKeepsTheRowForCorrection() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("Kivz.DB")); // every field required
        const int before = b.table.recordCount();
        QTest::mouseClick(b.button("nbInsert"), Qt::LeftButton);
        auto* model = b.grid->model();
        const int row = b.grid->currentIndex().row();
        QVERIFY(model->setData(model->index(row, 0), u"ряд"_s));
        QTest::mouseClick(b.button("nbPost"), Qt::LeftButton);
        QCOMPARE(rec.messages.size(), 1);
        QCOMPARE(b.table.state(), DataTable::State::Insert);
        QCOMPARE(model->index(row, 0).data().toString(), u"ряд"_s);
        // Moving away is refused too: the grid stays on the row being inserted.
        b.grid->setCurrentIndex(model->index(row + 1, 0));
        QCOMPARE(b.grid->currentIndex().row(), row);
        QCOMPARE(b.table.state(), DataTable::State::Insert);
        QVERIFY(model->setData(model->index(row, 1), QStringLiteral("7")));
        QVERIFY(model->setData(model->index(row, 2), QStringLiteral("2")));
        QVERIFY(model->setData(model->index(row, 3), QStringLiteral("0,5")));
        QTest::mouseClick(b.button("nbPost"), Qt::LeftButton);
        QCOMPARE(b.table.state(), DataTable::State::Browse);
        QCOMPARE(b.table.recordCount(), before + 1);
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<QString>("nameField");
        QTest::addColumn<bool>("named");
        QTest::newRow("plain question") << QString() << false;
        QTest::newRow("named by its soil") << QStringLiteral("Grunt") << true;
    }
    void deleteAsksFirst() {
        QFETCH(QString, nameField);
        QFETCH(bool, named);
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        b.nav->setNameField(nameField);
        const int before = b.table.recordCount();
        const QString first = b.table.text(QStringLiteral("Grunt"));
        const QString second = b.table.valueAt(1, 0).toString();
        const QString question = named ? u"Удалить запись \""_s + first + u"\"?"_s : u"Удалить запись?"_s;

        // Declined (and the default answer, a stray Enter): nothing goes.
        rec.answers << QMessageBox::No;
        QTest::mouseClick(b.button("nbDelete"), Qt::LeftButton);
        QTest::mouseClick(b.button("nbDelete"), Qt::LeftButton);
        QCOMPARE(rec.questions, (QStringList{question, question}));
        QCOMPARE(b.table.recordCount(), before);

        rec.answers << QMessageBox::Yes;
        QTest::mouseClick(b.button("nbDelete"), Qt::LeftButton);
        QCOMPARE(b.table.recordCount(), before - 1);
        QCOMPARE(b.cell(0, 0), second);
    }

    void editThenCancelRestores() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("P_udel.DB"));
        const QString was = b.cell(0, 1);
        QTest::mouseClick(b.button("nbEdit"), Qt::LeftButton);
        QVERIFY(!b.button("nbEdit")->isEnabled());
        QVERIFY(!b.button("nbRefresh")->isEnabled());
        QVERIFY(b.grid->model()->setData(b.grid->model()->index(0, 1), QStringLiteral("1")));
        QCOMPARE(b.cell(0, 1), QStringLiteral("1"));
        QTest::mouseClick(b.button("nbCancel"), Qt::LeftButton);
        QCOMPARE(b.cell(0, 1), was);
    }

    void pickListOffersItsValues() {
        ScopedRecordingDialogs rec;
        Bench b(rec, QStringLiteral("Kivz.DB"));
        b.grid->setPickList(QStringLiteral("Razm"), {u"ряд"_s, u"контур"_s});
        b.grid->setFocus();
        b.grid->setCurrentIndex(b.grid->model()->index(0, 0));
        b.grid->edit(b.grid->currentIndex());
        auto* combo = b.grid->findChild<QComboBox*>(QStringLiteral("PickList"));
        QVERIFY(combo);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(1), u"контур"_s);
    }
};

QTEST_MAIN(TestTableGrid)
#include "tst_tablegrid.moc"
