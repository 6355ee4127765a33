// The named selection sets of the standard device: save, overwrite, delete, all or nothing.
#include "store/SelectionSets.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace kz;

namespace {
const QList<SelectionSetRow> lengthAndRods = {{u"Длина стержня, м"_s, 1, 6, 1},
                                              {u"Кол-во стержней, шт."_s, 2, 20, 1}};
const QList<SelectionSetRow> coefficient = {{u"Поправочный коэффициент (верт. электроды)"_s, 2, 1, 0.1}};

// Makes the engine refuse a statement on one of the files, as a broken table would.
void refuse(const QString& path, const QString& trigger) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"broken"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(trigger));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"broken"_s);
}
} // namespace

class TestSelectionSets : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        sets_ = std::make_unique<SelectionSets>(dir_->path());
    }

    void missingFilesAreCreatedEmpty() {
        QVERIFY(!QFile::exists(sets_->masterPath()));
        QString error;
        QVERIFY(sets_->all(&error).isEmpty());
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(QFile::exists(sets_->masterPath()));
        QVERIFY(QFile::exists(sets_->detailPath()));
    }

    void saveAppendsAndOverwritesByNameInAnyCase_data() {
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<int>("sets");
        QTest::newRow("same name") << u"Подбор 1"_s << 1;
        QTest::newRow("other letter case") << u"пОДБОР 1"_s << 1;
        QTest::newRow("other name") << u"Подбор 2"_s << 2;
    }
    void saveAppendsAndOverwritesByNameInAnyCase() {
        QFETCH(QString, secondName);
        QFETCH(int, sets);
        const auto first = sets_->save(u"Подбор 1"_s, 30, lengthAndRods);
        QVERIFY(first);
        const auto second = sets_->save(secondName, 4.5, coefficient);
        QVERIFY(second);
        const QList<SelectionSet> all = sets_->all();
        QCOMPARE(all.size(), sets);
        const SelectionSet& last = all.last();
        QCOMPARE(last.kod, *second);
        QCOMPARE(last.name, secondName);
        QCOMPARE(last.r, 4.5);
        QCOMPARE(last.rows.size(), 1);
        QCOMPARE(last.rows[0].param, coefficient[0].param);
        QCOMPARE(last.rows[0].step, 0.1);
        if (sets == 2) {
            QCOMPARE(all[0].rows.size(), 2);
            QCOMPARE(all[0].rows[1].end, 20.0);
        } else {
            QCOMPARE(*second, *first);
        }
    }

    void removeTakesTheRowsWithTheSet() {
        const auto a = sets_->save(u"А"_s, 10, lengthAndRods);
        const auto b = sets_->save(u"Б"_s, 20, coefficient);
        QVERIFY(a && b);
        QVERIFY(sets_->remove(*a));
        const QList<SelectionSet> all = sets_->all();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].name, u"Б"_s);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(sets_->detailPath());
        QVERIFY(db.open());
        {
            QSqlQuery q(db);
            QVERIFY(q.exec(u"SELECT count(*) FROM podbor1"_s) && q.next());
            QCOMPARE(q.value(0).toInt(), 1);
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(u"check"_s);
    }

    // A failure midway leaves neither the set nor its rows changed.
    void failedRowLeavesTheSetAsItWas_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("new set") << u"Подбор 2"_s;
        QTest::newRow("overwritten set") << u"подбор 1"_s;
    }
    void failedRowLeavesTheSetAsItWas() {
        QFETCH(QString, name);
        QVERIFY(sets_->save(u"Подбор 1"_s, 30, lengthAndRods));
        refuse(sets_->detailPath(), u"CREATE TRIGGER refuse BEFORE INSERT ON podbor1 WHEN NEW.Param = 'x' "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s);
        QString error;
        QVERIFY(!sets_->save(name, 7, coefficient + QList<SelectionSetRow>{{u"x"_s, 1, 2, 1}}, &error));
        QVERIFY2(error.contains(u"podbor1.DB"_s), qPrintable(error));
        const QList<SelectionSet> all = sets_->all();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].name, u"Подбор 1"_s);
        QCOMPARE(all[0].r, 30.0);
        QCOMPARE(all[0].rows.size(), 2);
        QCOMPARE(all[0].rows[0].param, lengthAndRods[0].param);
    }

    void failedDeletionKeepsTheRows() {
        const auto kod = sets_->save(u"Подбор 1"_s, 30, lengthAndRods);
        QVERIFY(kod);
        refuse(sets_->masterPath(), u"CREATE TRIGGER refuse BEFORE DELETE ON podbor0 "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s);
        QString error;
        QVERIFY(!sets_->remove(*kod, &error));
        QVERIFY2(error.contains(u"podbor0.DB"_s), qPrintable(error));
        const QList<SelectionSet> all = sets_->all();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].rows.size(), 2);
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SelectionSets> sets_;
};

QTEST_GUILESS_MAIN(TestSelectionSets)
#include "tst_selectionsets.moc"
