#include "core/common/Messenger.h"
#include "core/common/Paths.h"
#include "core/rules/SectionRules.h"
#include "store/DataFiles.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "store/Schema.h"
#include "store/SqlQuery.h"
#include "store/TableProcedures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

struct Recorder : Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

void writeTable(const QString& dir, const QString& file, const QStringList& header,
                const QList<QStringList>& rows) {
    SourceTable src{header, rows};
    QString error;
    QVERIFY2(writeTableFile(*findTableDef(file), &src, QDir(dir).filePath(file), &error), qPrintable(error));
}

// Runs statements on a file through a connection of its own, as another program would.
void runOn(const QString& path, const QStringList& statements) {
    const QString name = QStringLiteral("test_other_program");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const auto& s : statements)
            QVERIFY2(q.exec(s), qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
}

// Holds a file locked against readers, as a program writing it does, until destroyed.
class FileLock {
public:
    explicit FileLock(const QString& path) : name_(QStringLiteral("test_lock_%1").arg(++count_)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        locked_ = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~FileLock() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    bool locked() const { return locked_; }

private:
    static inline int count_ = 0;
    QString name_;
    bool locked_ = false;
};

} // namespace

class TestDataTable : public QObject {
    Q_OBJECT
private slots:
    void init();

    void schemaHasEveryTableInOpeningOrder();
    void schemaFieldsMatchTheirDefinitions_data();
    void schemaFieldsMatchTheirDefinitions();

    void opensAndReadsTypedValues();
    void missingOrForeignFilesAreReported_data();
    void missingOrForeignFilesAreReported();
    void navigatesAndLocates();
    void filtersOnEquality_data();
    void filtersOnEquality();
    void detailFollowsItsMaster();
    void switchesIndexOrder();
    void insertAssignsKeyAndDetailLink();
    void editPostAndCancel();
    void textAssignmentUsesDecimalComma();
    void requiredFieldsAndDuplicateKeysAreRefused();
    void deletingAMasterWithDetailsIsRefused();
    void hooksCanAbortSilently();
    void postErrorHookRewritesTheMessage();
    void readOnlyFolderIsReportedAndNothingIsLost();
    void queryBindsParametersOverSeveralFiles();
    void queryKeepsValuesOutOfTheStatement();
    void dataModuleReportsAMissingFileOnceAndOpensTheRest();
    void fillsListsInTableOrder();

    void tableLackingAFieldStaysClosedAndNamesIt_data();
    void tableLackingAFieldStaysClosedAndNamesIt();
    void unreadableFilesAreNamedInRussian_data();
    void unreadableFilesAreNamedInRussian();
    void queryOverATableLackingAFieldNamesFileAndField();
    void lockedTablesAreListedOnceAndTakenUpWhenFree();
    void windowTablesJoinTheStartUpCheck_data();
    void windowTablesJoinTheStartUpCheck();
    void aLockedTableCostsOneWait_data();
    void aLockedTableCostsOneWait();
    void aFullDiskIsNamedInRussian();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    Recorder rec_;
};

void TestDataTable::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    rec_.messages.clear();
}

void TestDataTable::schemaHasEveryTableInOpeningOrder() {
    const QStringList expected = {
        QStringLiteral("raion.db"),     QStringLiteral("P_udel.DB"),    QStringLiteral("KIGZ.DB"),
        QStringLiteral("Kivz.DB"),      QStringLiteral("Kipp.DB"),      QStringLiteral("st_krug.db"),
        QStringLiteral("st_kvad.db"),   QStringLiteral("st_polos.db"),  QStringLiteral("st_truba.db"),
        QStringLiteral("st_uglov.db"),  QStringLiteral("hist1.db"),     QStringLiteral("truboprov.DB"),
        QStringLiteral("histmk0.db"),   QStringLiteral("histmk1.db"),   QStringLiteral("Z05.db"),
        QStringLiteral("Z075.db"),      QStringLiteral("Z15.db"),       QStringLiteral("m.DB"),
        QStringLiteral("Kiluch.DB"),    QStringLiteral("sv_fund.db"),   QStringLiteral("sb_fund.db"),
        QStringLiteral("kifund.db"),    QStringLiteral("parpod0.db"),   QStringLiteral("sparpod1.DB"),
        QStringLiteral("iparpod1.DB"),  QStringLiteral("rparpod1.DB"),  QStringLiteral("ro_inc.db"),
        QStringLiteral("vz2land.DB"),   QStringLiteral("gz2land.DB"),   QStringLiteral("korgrunt0.db"),
        QStringLiteral("korgrunt1.DB"), QStringLiteral("korgrunt2.DB"), QStringLiteral("korgrunt3.DB"),
        QStringLiteral("korgrunt4.DB")};
    QStringList actual;
    for (const auto& t : dataModuleTables())
        actual << t.fileName;
    QCOMPARE(actual, expected);
    QStringList window;
    for (const auto& t : windowTables())
        window << t.fileName;
    QCOMPARE(window, (QStringList{QStringLiteral("history.DB"), QStringLiteral("podbor0.DB"),
                                  QStringLiteral("podbor1.DB")}));
}

void TestDataTable::schemaFieldsMatchTheirDefinitions_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("required");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("width");
    const int S = int(FieldType::String), I = int(FieldType::Integer), F = int(FieldType::Float),
              A = int(FieldType::AutoInc);
    QTest::newRow("soil name") << "P_udel.DB"
                               << "Grunt" << S << 20 << false << u"Грунт"_s << 0;
    QTest::newRow("kivz placement") << "Kivz.DB"
                                    << "Razm" << S << 10 << true << u"Размещение"_s << 0;
    QTest::newRow("kivz ratio") << "Kivz.DB"
                                << "Otnosh" << I << 0 << true << u"Отношение"_s << 0;
    QTest::newRow("kigz count") << "KIGZ.DB"
                                << "N" << I << 0 << true << QString() << 0;
    QTest::newRow("kigz coefficient") << "KIGZ.DB"
                                      << "KI" << F << 0 << false << u"КИ"_s << 0;
    QTest::newRow("round steel mass, Latin M")
        << "st_krug.db"
        << "Massa" << F << 0 << false << QStringLiteral("M") + u"асса 1 м, кг"_s << 0;
    QTest::newRow("tube wall") << "st_truba.db"
                               << "Tol" << F << 0 << false << u"Толщина стенки, мм"_s << 0;
    QTest::newRow("history key") << "hist1.db"
                                 << "Kod" << A << 0 << false << QString() << 12;
    QTest::newRow("history name") << "hist1.db"
                                  << "Name" << S << 150 << false << u"Наименование"_s << 0;
    QTest::newRow("history soil") << "hist1.db"
                                  << "Grunt" << S << 30 << false << u"Тип грунта"_s << 17;
    QTest::newRow("history coefficient") << "hist1.db"
                                         << "KP" << F << 0 << false << u"Коэф. поправки"_s << 16;
    QTest::newRow("history area") << "hist1.db"
                                  << "S" << F << 0 << false << u"S, м2"_s << 0;
    QTest::newRow("pile diameter, Cyrillic") << "sv_fund.db"
                                             << "Diam" << F << 0 << false << u"\u0441, м"_s << 5;
    QTest::newRow("slab column, Latin") << "sb_fund.db"
                                        << "DiamSt" << F << 0 << false << QStringLiteral("c, ") + u"м"_s << 5;
    QTest::newRow("slab length, Cyrillic") << "sb_fund.db"
                                           << "DlinaPl" << F << 0 << false << u"\u0430, м"_s << 5;
    QTest::newRow("selection caption") << "sparpod1.DB"
                                       << "Param" << S << 100 << false << QString() << 0;
    QTest::newRow("integer selection") << "iparpod1.DB"
                                       << "BValue" << I << 0 << false << QString() << 0;
    QTest::newRow("two-layer ratio") << "vz2land.DB"
                                     << "P1_P2" << F << 0 << true << QString() << 0;
    QTest::newRow("corrosion class") << "korgrunt0.db"
                                     << "Name" << S << 30 << false << QString() << 0;
    QTest::newRow("standard device name") << "history.DB"
                                          << "Name" << S << 100 << true << QString() << 0;
    QTest::newRow("standard device size") << "history.DB"
                                          << "RazmerV" << S << 30 << false << QString() << 0;
    QTest::newRow("selection set") << "podbor1.DB"
                                   << "BValue" << F << 0 << false << u"Начало"_s << 0;
}

void TestDataTable::schemaFieldsMatchTheirDefinitions() {
    QFETCH(QString, file);
    QFETCH(QString, field);
    QFETCH(int, type);
    QFETCH(int, size);
    QFETCH(bool, required);
    QFETCH(QString, label);
    QFETCH(int, width);
    const TableDef* def = findTableDef(file);
    QVERIFY(def);
    const FieldDef* f = def->field(field);
    QVERIFY(f);
    QCOMPARE(f->name, field);
    QCOMPARE(int(f->type), type);
    if (f->type == FieldType::String)
        QCOMPARE(f->size, size);
    QCOMPARE(f->required, required);
    QCOMPARE(f->label, label);
    QCOMPARE(f->width, width);
}

void TestDataTable::opensAndReadsTypedValues() {
    writeTable(
        dir_->path(), QStringLiteral("P_udel.DB"),
        {QStringLiteral("Grunt"), QStringLiteral("PMin"), QStringLiteral("PMax"), QStringLiteral("PDefault")},
        {{u"суглинок"_s, QStringLiteral("40"), QStringLiteral("150"), QStringLiteral("100")},
         {u"песок"_s, QStringLiteral("400"), QStringLiteral("1000"), QStringLiteral("700,5")}});
    DataTable t(*findTableDef(QStringLiteral("P_udel.DB")));
    QVERIFY(t.open(dir_->path()));
    QCOMPARE(t.recordCount(), 2);
    QCOMPARE(t.asString(QStringLiteral("Grunt")), u"суглинок"_s);
    t.next();
    QCOMPARE(t.asFloat(QStringLiteral("PDefault")), 700.5);
    QCOMPARE(t.text(QStringLiteral("PDefault")), QStringLiteral("700,5"));
    t.close();
    t.close(); // closing twice is harmless
    QVERIFY(!t.isOpen());
}

void TestDataTable::missingOrForeignFilesAreReported_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("missing") << QByteArray() << u"Ошибка. Файл "_s;
    QTest::newRow("not a database") << QByteArray("this is not a table file at all, just text")
                                    << u"Ошибка. Файл "_s;
}

void TestDataTable::missingOrForeignFilesAreReported() {
    QFETCH(QByteArray, content);
    QFETCH(QString, messageStart);
    const QString path = QDir(dir_->path()).filePath(QStringLiteral("raion.db"));
    if (!content.isEmpty()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    DataTable t(*findTableDef(QStringLiteral("raion.db")));
    t.setReporter(&rec_);
    QVERIFY(!t.open(dir_->path()));
    QVERIFY(!t.isOpen());
    QCOMPARE(rec_.messages.size(), 1);
    QVERIFY(rec_.messages[0].startsWith(messageStart));
    QVERIFY(rec_.messages[0].contains(QStringLiteral("raion.db")));
    if (content.isEmpty())
        QCOMPARE(rec_.messages[0], u"Ошибка. Файл "_s + path + u" не найден."_s);
    // A closed table is empty, not a crash.
    QCOMPARE(t.recordCount(), 0);
    QVERIFY(t.value(QStringLiteral("Raion")).isNull());
    t.first();
    QVERIFY(t.eof());
}

void TestDataTable::navigatesAndLocates() {
    writeTable(dir_->path(), QStringLiteral("Kivz.DB"),
               {QStringLiteral("Razm"), QStringLiteral("N"), QStringLiteral("Otnosh"), QStringLiteral("KI")},
               {{u"ряд"_s, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0,85")},
                {u"ряд"_s, QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("0,91")},
                {u"контур"_s, QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("0,69")}});
    DataTable t(*findTableDef(QStringLiteral("Kivz.DB")));
    QVERIFY(t.open(dir_->path()));
    int visited = 0;
    for (t.first(); !t.eof(); t.next())
        ++visited;
    QCOMPARE(visited, 3);
    QVERIFY(t.locate({QStringLiteral("Razm"), QStringLiteral("Otnosh")}, {u"ряд"_s, 2}));
    QCOMPARE(t.asFloat(QStringLiteral("KI")), 0.91);
    QVERIFY(!t.locate(QStringLiteral("Razm"), u"звезда"_s));
    QCOMPARE(t.asFloat(QStringLiteral("KI")), 0.91); // a failed locate does not move
}

void TestDataTable::filtersOnEquality_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("count");
    QTest::newRow("bare number") << QStringLiteral("[N]=1") << 2;
    QTest::newRow("quoted number") << QStringLiteral("[N]='2'") << 1;
    QTest::newRow("no match") << QStringLiteral("[N]=7") << 0;
}

void TestDataTable::filtersOnEquality() {
    QFETCH(QString, filter);
    QFETCH(int, count);
    writeTable(dir_->path(), QStringLiteral("Kiluch.DB"),
               {QStringLiteral("N"), QStringLiteral("Dlina"), QStringLiteral("KI")},
               {{QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("0,9")},
                {QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("0,85")},
                {QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("0,8")}});
    DataTable t(*findTableDef(QStringLiteral("Kiluch.DB")));
    QVERIFY(t.open(dir_->path()));
    QCOMPARE(t.recordCount(), 2); // design-time filter [N]=1 is on
    t.setFilter(filter);
    QCOMPARE(t.recordCount(), count);
    t.setFiltered(false);
    QCOMPARE(t.recordCount(), 3);
}

void TestDataTable::detailFollowsItsMaster() {
    writeTable(
        dir_->path(), QStringLiteral("korgrunt0.db"),
        {QStringLiteral("Kod"), QStringLiteral("Name"), QStringLiteral("Pmin"), QStringLiteral("Pmax")},
        {{QStringLiteral("1"), u"высокая"_s, QStringLiteral("0"), QStringLiteral("20")},
         {QStringLiteral("2"), u"низкая"_s, QStringLiteral("20"), QStringLiteral("100000")}});
    writeTable(dir_->path(), QStringLiteral("korgrunt1.DB"),
               {QStringLiteral("Kod"), QStringLiteral("Kod0"), QStringLiteral("Vid")},
               {{QStringLiteral("1"), QStringLiteral("1"), u"вертикальный"_s},
                {QStringLiteral("2"), QStringLiteral("1"), u"горизонтальный"_s},
                {QStringLiteral("3"), QStringLiteral("2"), u"вертикальный"_s}});
    writeTable(dir_->path(), QStringLiteral("korgrunt2.DB"),
               {QStringLiteral("Kod"), QStringLiteral("Kod0"), QStringLiteral("Status")},
               {{QStringLiteral("1"), QStringLiteral("1"), u"рекомендуется"_s},
                {QStringLiteral("2"), QStringLiteral("3"), u"допускается"_s}});
    DataTable k0(*findTableDef(QStringLiteral("korgrunt0.db")));
    DataTable k1(*findTableDef(QStringLiteral("korgrunt1.DB")));
    DataTable k2(*findTableDef(QStringLiteral("korgrunt2.DB")));
    k1.setMaster(&k0);
    k2.setMaster(&k1);
    QVERIFY(k0.open(dir_->path()) && k1.open(dir_->path()) && k2.open(dir_->path()));
    QCOMPARE(k1.recordCount(), 2);
    QCOMPARE(k2.asString(QStringLiteral("Status")), u"рекомендуется"_s);
    k0.next();
    QCOMPARE(k1.recordCount(), 1);
    QCOMPARE(k2.asString(QStringLiteral("Status")), u"допускается"_s);
    k0.first();
    k1.next(); // горизонтальный has no statuses
    QCOMPARE(k2.recordCount(), 0);
}

void TestDataTable::switchesIndexOrder() {
    writeTable(dir_->path(), QStringLiteral("Kivz.DB"),
               {QStringLiteral("Razm"), QStringLiteral("N"), QStringLiteral("Otnosh"), QStringLiteral("KI")},
               {{u"ряд"_s, QStringLiteral("4"), QStringLiteral("1"), QStringLiteral("0,77")},
                {u"ряд"_s, QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("0,91")},
                {u"ряд"_s, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0,85")}});
    DataTable t(*findTableDef(QStringLiteral("Kivz.DB")));
    QVERIFY(t.open(dir_->path()));
    auto order = [&] {
        QList<double> ki;
        for (t.first(); !t.eof(); t.next())
            ki << t.asFloat(QStringLiteral("KI"));
        return ki;
    };
    QCOMPARE(order(), (QList<double>{0.85, 0.91, 0.77})); // Razm, N, Otnosh
    t.setIndexName(QStringLiteral("iOtnosh"));
    QCOMPARE(order(), (QList<double>{0.77, 0.85, 0.91})); // Razm, Otnosh, then stored order
    t.setIndexName(QString());
    QCOMPARE(order(), (QList<double>{0.85, 0.91, 0.77}));
}

void TestDataTable::insertAssignsKeyAndDetailLink() {
    writeTable(dir_->path(), QStringLiteral("parpod0.db"), {QStringLiteral("Kod"), QStringLiteral("KodTip")},
               {{QStringLiteral("7"), QStringLiteral("4")}});
    writeTable(dir_->path(), QStringLiteral("rparpod1.DB"), {QStringLiteral("Param")}, {});
    DataTable master(*findTableDef(QStringLiteral("parpod0.db")));
    DataTable detail(*findTableDef(QStringLiteral("rparpod1.DB")));
    detail.setMaster(&master);
    QVERIFY(master.open(dir_->path()) && detail.open(dir_->path()));
    QVERIFY(detail.insert());
    QCOMPARE(detail.asInteger(QStringLiteral("Kod0")), 7);
    QVERIFY(detail.setText(QStringLiteral("Param"), u"Длина стержня, м"_s));
    QVERIFY(detail.setText(QStringLiteral("BValue"), QStringLiteral("2,5")));
    QVERIFY(detail.post());
    QCOMPARE(detail.recordCount(), 1);
    QVERIFY(detail.asInteger(QStringLiteral("Kod")) > 0);
    QCOMPARE(detail.asFloat(QStringLiteral("BValue")), 2.5);
    QVERIFY(master.insert());
    QVERIFY(master.setValue(QStringLiteral("KodTip"), 3));
    QVERIFY(master.post());
    QCOMPARE(master.asInteger(QStringLiteral("Kod")), 8);
    QCOMPARE(detail.recordCount(), 0); // the new master row has no details
}

void TestDataTable::editPostAndCancel() {
    writeTable(dir_->path(), QStringLiteral("st_krug.db"), {QStringLiteral("Diam"), QStringLiteral("Massa")},
               {{QStringLiteral("0,016"), QStringLiteral("1,58")}});
    DataTable t(*findTableDef(QStringLiteral("st_krug.db")));
    QVERIFY(t.open(dir_->path()));
    QVERIFY(t.edit());
    QVERIFY(t.setText(QStringLiteral("Massa"), QStringLiteral("2")));
    QCOMPARE(t.text(QStringLiteral("Massa")), QStringLiteral("2"));
    t.cancel();
    QCOMPARE(t.text(QStringLiteral("Massa")), QStringLiteral("1,58"));
    QVERIFY(t.edit());
    QVERIFY(t.setText(QStringLiteral("Massa"), QStringLiteral("1,6")));
    QVERIFY(t.post());
    DataTable again(*findTableDef(QStringLiteral("st_krug.db")));
    QVERIFY(again.open(dir_->path()));
    QCOMPARE(again.text(QStringLiteral("Massa")), QStringLiteral("1,6"));
}

void TestDataTable::textAssignmentUsesDecimalComma() {
    writeTable(dir_->path(), QStringLiteral("st_krug.db"), {QStringLiteral("Diam")}, {});
    DataTable t(*findTableDef(QStringLiteral("st_krug.db")));
    t.setReporter(&rec_);
    QVERIFY(t.open(dir_->path()));
    QVERIFY(t.insert());
    QVERIFY(!t.setText(QStringLiteral("Diam"), QStringLiteral("0.016")));
    QCOMPARE(rec_.messages.size(), 1);
    QVERIFY(t.setText(QStringLiteral("Diam"), QStringLiteral("0,016")));
    QCOMPARE(t.asFloat(QStringLiteral("Diam")), 0.016);
    QVERIFY(t.setText(QStringLiteral("Diam"), QString()));
    QVERIFY(t.isNull(QStringLiteral("Diam")));
}

void TestDataTable::requiredFieldsAndDuplicateKeysAreRefused() {
    writeTable(dir_->path(), QStringLiteral("Kivz.DB"),
               {QStringLiteral("Razm"), QStringLiteral("N"), QStringLiteral("Otnosh"), QStringLiteral("KI")},
               {{u"ряд"_s, QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0,85")}});
    DataTable t(*findTableDef(QStringLiteral("Kivz.DB")));
    t.setReporter(&rec_);
    t.onPostError = [](DataTable&, StoreError& e) { TranslateDbError(e); };
    QVERIFY(t.open(dir_->path()));
    QVERIFY(t.insert());
    t.setText(QStringLiteral("Razm"), u"ряд"_s);
    t.setText(QStringLiteral("N"), QStringLiteral("2"));
    t.setText(QStringLiteral("Otnosh"), QStringLiteral("1"));
    QVERIFY(!t.post());
    QCOMPARE(t.lastError().kind, StoreError::Kind::RequiredField);
    QCOMPARE(t.state(), DataTable::State::Insert); // still editable
    t.setText(QStringLiteral("KI"), QStringLiteral("0,8"));
    QVERIFY(!t.post());
    QCOMPARE(t.lastError().kind, StoreError::Kind::DuplicateKey);
    QCOMPARE(rec_.messages.last(), u"Нарушение первичного ключа."_s);
    QCOMPARE(t.state(), DataTable::State::Insert);
    t.cancel();
    QCOMPARE(t.recordCount(), 1);
}

void TestDataTable::deletingAMasterWithDetailsIsRefused() {
    writeTable(dir_->path(), QStringLiteral("histmk0.db"), {QStringLiteral("Kod"), QStringLiteral("Name")},
               {{QStringLiteral("1"), QStringLiteral("a")}});
    writeTable(dir_->path(), QStringLiteral("histmk1.db"), {QStringLiteral("Kod0"), QStringLiteral("Xi")},
               {{QStringLiteral("1"), QStringLiteral("5")}});
    DataTable m(*findTableDef(QStringLiteral("histmk0.db")));
    DataTable d(*findTableDef(QStringLiteral("histmk1.db")));
    d.setMaster(&m);
    m.setReporter(&rec_);
    m.onPostError = [](DataTable&, StoreError& e) { TranslateDbError(e); };
    QVERIFY(m.open(dir_->path()) && d.open(dir_->path()));
    QVERIFY(!m.remove());
    QCOMPARE(m.lastError().kind, StoreError::Kind::MasterHasDetails);
    QCOMPARE(rec_.messages.last(), u"Запись главной таблицы имеет подчиненные записи в в других таблицах. "
                                   u"Ее удаление или изменение запрещено"_s);
    QVERIFY(d.remove());
    QVERIFY(m.remove());
    QCOMPARE(m.recordCount(), 0);
}

void TestDataTable::hooksCanAbortSilently() {
    writeTable(dir_->path(), QStringLiteral("hist1.db"), {QStringLiteral("Name")}, {{QStringLiteral("one")}});
    DataTable t(*findTableDef(QStringLiteral("hist1.db")));
    t.setReporter(&rec_);
    QVERIFY(t.open(dir_->path()));
    int calls = 0;
    t.beforeInsert = [&](DataTable&) { return ++calls, false; };
    t.beforeEdit = [&](DataTable&) { return ++calls, false; };
    t.beforeDelete = [&](DataTable&) { return ++calls, false; };
    QVERIFY(!t.insert());
    QVERIFY(!t.edit());
    QVERIFY(!t.remove());
    QCOMPARE(calls, 3);
    QCOMPARE(t.state(), DataTable::State::Browse);
    QCOMPARE(t.recordCount(), 1);
    QVERIFY(rec_.messages.isEmpty());
    t.beforeEdit = nullptr;
    t.beforePost = [&](DataTable&) { return false; };
    QVERIFY(t.edit());
    t.setText(QStringLiteral("Name"), QStringLiteral("two"));
    QVERIFY(!t.post());
    QCOMPARE(t.state(), DataTable::State::Edit); // refused post keeps the edit
}

void TestDataTable::postErrorHookRewritesTheMessage() {
    writeTable(dir_->path(), QStringLiteral("Kipp.DB"), {QStringLiteral("Dlina")}, {});
    DataTable t(*findTableDef(QStringLiteral("Kipp.DB")));
    t.setReporter(&rec_);
    t.onPostError = [](DataTable&, StoreError& e) { e.message = QStringLiteral("replaced"); };
    QVERIFY(t.open(dir_->path()));
    QVERIFY(t.insert());
    QVERIFY(!t.post());
    QCOMPARE(rec_.messages, QStringList{QStringLiteral("replaced")});
}

void TestDataTable::readOnlyFolderIsReportedAndNothingIsLost() {
    writeTable(dir_->path(), QStringLiteral("hist1.db"), {QStringLiteral("Name")},
               {{QStringLiteral("kept")}});
    const QString path = QDir(dir_->path()).filePath(QStringLiteral("hist1.db"));
    // The superuser ignores permission bits; an immutable file refuses him too.
    const bool root = geteuid() == 0;
    if (root) {
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) != 0)
            QSKIP("cannot make a file read-only for the superuser here");
    } else {
        QFile::setPermissions(path, QFile::ReadOwner);
    }
    const auto restore = qScopeGuard([&] {
        if (root)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    });
    DataTable t(*findTableDef(QStringLiteral("hist1.db")));
    t.setReporter(&rec_);
    QVERIFY(t.open(dir_->path()));
    QVERIFY(t.insert());
    t.setText(QStringLiteral("Name"), QStringLiteral("new"));
    QVERIFY(!t.post());
    QCOMPARE(t.lastError().kind, StoreError::Kind::ReadOnly);
    QCOMPARE(rec_.messages.size(), 1);
    QVERIFY(rec_.messages[0].contains(path));
    t.cancel();
    t.refresh();
    QCOMPARE(t.recordCount(), 1);
    QCOMPARE(t.asString(QStringLiteral("Name")), QStringLiteral("kept"));
}

void TestDataTable::queryBindsParametersOverSeveralFiles() {
    writeTable(
        dir_->path(), QStringLiteral("korgrunt0.db"),
        {QStringLiteral("Kod"), QStringLiteral("Name"), QStringLiteral("Pmin"), QStringLiteral("Pmax")},
        {{QStringLiteral("1"), u"высокая"_s, QStringLiteral("0"), QStringLiteral("20")},
         {QStringLiteral("2"), u"средняя"_s, QStringLiteral("20"), QStringLiteral("50")}});
    writeTable(dir_->path(), QStringLiteral("korgrunt1.DB"),
               {QStringLiteral("Kod"), QStringLiteral("Kod0"), QStringLiteral("Vid")},
               {{QStringLiteral("1"), QStringLiteral("1"), u"вертикальный"_s},
                {QStringLiteral("2"), QStringLiteral("2"), u"вертикальный"_s},
                {QStringLiteral("3"), QStringLiteral("2"), u"горизонтальный"_s}});
    SqlQuery q(dir_->path());
    q.setText({QStringLiteral("select k0.Name, k1.Vid from KorGrunt0 k0, KorGrunt1 k1"),
               QStringLiteral("where k0.Kod = k1.Kod0 and k0.Pmin < :P and k0.Pmax >= :P and k1.Vid = :Vid"),
               QStringLiteral("order by k1.Vid")});
    q.bindValue(QStringLiteral("P"), 30.0);
    q.bindValue(QStringLiteral(":Vid"), u"вертикальный"_s);
    QVERIFY2(q.open(), qPrintable(q.lastError()));
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.value(QStringLiteral("Name")).toString(), u"средняя"_s);
    // Aggregates and nested Max sub-queries, with a quoted number compared as a number.
    SqlQuery agg(dir_->path());
    agg.setText(QStringLiteral("select count(*) as C, max(Pmax) as M from korgrunt0 "
                               "where Pmax = (select max(Pmax) from korgrunt0 where Pmax <= '50')"));
    QVERIFY2(agg.open(), qPrintable(agg.lastError()));
    QCOMPARE(agg.value(QStringLiteral("C")).toInt(), 1);
    QCOMPARE(agg.value(QStringLiteral("M")).toDouble(), 50.0);
    // The files were detached: a second run works the same.
    QVERIFY(q.open());
    QCOMPARE(q.recordCount(), 1);
}

void TestDataTable::queryKeepsValuesOutOfTheStatement() {
    writeTable(dir_->path(), QStringLiteral("hist1.db"), {QStringLiteral("Name")},
               {{QStringLiteral("a'; drop table hist1; --")}, {QStringLiteral("b")}});
    SqlQuery q(dir_->path());
    q.setText(QStringLiteral("select Name from hist1 where Name = :N"));
    q.bindValue(QStringLiteral("N"), QStringLiteral("a'; drop table hist1; --"));
    QVERIFY(q.open());
    QCOMPARE(q.recordCount(), 1);
    SqlQuery all(dir_->path());
    all.setText(QStringLiteral("select count(*) from hist1"));
    QVERIFY(all.open());
    QCOMPARE(all.value(0).toInt(), 2);
    SqlQuery missing(dir_->path());
    missing.setText(QStringLiteral("select * from kipp"));
    QVERIFY(!missing.open());
    QVERIFY(missing.lastError().contains(QStringLiteral("Kipp.DB")));
}

void TestDataTable::dataModuleReportsAMissingFileOnceAndOpensTheRest() {
    const QString data = dir_->path() + QStringLiteral("/Data");
    const DataBuildReport built = buildDataFolder(QStringLiteral(KELVOR_SOURCE_DIR "/data/tables"), data);
    QVERIFY2(built.errors.isEmpty(), qPrintable(built.errors.join(QLatin1Char('\n'))));
    QVERIFY(QFile::remove(QDir(data).filePath(QStringLiteral("Kipp.DB"))));
    setApplicationFolder(dir_->path());
    DataModule dm;
    dm.openAll(rec_);
    QCOMPARE(rec_.messages,
             QStringList{u"Ошибка. Файл "_s + dataDir() + QStringLiteral("Kipp.DB") + u" не найден."_s});
    int open = 0;
    for (const auto& t : dm.tables())
        open += t->isOpen() ? 1 : 0;
    QCOMPARE(open, 33);
    QVERIFY(!dm[QStringLiteral("KippTable")].isOpen());
    QVERIFY(dm[QStringLiteral("TableUde")].locate(QStringLiteral("Grunt"), u"суглинок"_s));
    dm.closeAll();
    for (const auto& t : dm.tables())
        QVERIFY(!t->isOpen());
}

void TestDataTable::fillsListsInTableOrder() {
    writeTable(dir_->path(), QStringLiteral("P_udel.DB"), {QStringLiteral("Grunt")},
               {{u"суглинок"_s}, {u"песок"_s}, {u"глина"_s}});
    writeTable(dir_->path(), QStringLiteral("raion.db"), {QStringLiteral("Raion")},
               {{QStringLiteral("I")}, {QStringLiteral("II")}});
    DataTable soils(*findTableDef(QStringLiteral("P_udel.DB")));
    DataTable regions(*findTableDef(QStringLiteral("raion.db")));
    QStringList list{QStringLiteral("stale")};
    FillGruntList(list, soils); // closed: cleared, nothing added
    QVERIFY(list.isEmpty());
    QVERIFY(soils.open(dir_->path()) && regions.open(dir_->path()));
    FillGruntList(list, soils);
    QCOMPARE(list, (QStringList{u"суглинок"_s, u"песок"_s, u"глина"_s}));
    FillRaionList(list, regions);
    QCOMPARE(list, (QStringList{QStringLiteral("I"), QStringLiteral("II")}));
}

void TestDataTable::tableLackingAFieldStaysClosedAndNamesIt_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("field");
    // Read as it was, the soil table gave every soil the default resistivity 0.
    QTest::newRow("soil default") << QStringLiteral("P_udel.DB") << QStringLiteral("PDefault");
    // The history table failed only at the first save.
    QTest::newRow("history coefficient") << QStringLiteral("hist1.db") << QStringLiteral("KP");
}

void TestDataTable::tableLackingAFieldStaysClosedAndNamesIt() {
    QFETCH(QString, file);
    QFETCH(QString, field);
    writeTable(dir_->path(), file, {findTableDef(file)->fields.last().name}, {});
    const QString path = QDir(dir_->path()).filePath(file);
    runOn(path, {QStringLiteral("ALTER TABLE \"%1\" DROP COLUMN \"%2\"").arg(findTableDef(file)->sqlName(), field)});
    DataTable t(*findTableDef(file));
    t.setReporter(&rec_);
    QVERIFY(!t.open(dir_->path()));
    QVERIFY(!t.isOpen());
    QCOMPARE(rec_.messages, QStringList{u"Ошибка. В файле "_s + path + u" нет поля "_s + field + u"."_s});
}

void TestDataTable::unreadableFilesAreNamedInRussian_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("says");
    QTest::newRow("cut short") << QStringLiteral("cut") << u" поврежден"_s;
    QTest::newRow("not a table file") << QStringLiteral("text") << u" не является файлом таблицы"_s;
    QTest::newRow("another table inside") << QStringLiteral("other") << u" нет таблицы raion"_s;
}

void TestDataTable::unreadableFilesAreNamedInRussian() {
    QFETCH(QString, damage);
    QFETCH(QString, says);
    const QString path = QDir(dir_->path()).filePath(QStringLiteral("raion.db"));
    if (damage == QStringLiteral("cut")) {
        QList<QStringList> rows;
        for (int i = 0; i < 400; ++i)
            rows << QStringList{u"район %1"_s.arg(i)};
        writeTable(dir_->path(), QStringLiteral("raion.db"), {QStringLiteral("Raion")}, rows);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(f.size() / 2));
    } else if (damage == QStringLiteral("text")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2048, 'x'));
    } else {
        runOn(path, {QStringLiteral("CREATE TABLE other (a)")});
    }
    DataTable t(*findTableDef(QStringLiteral("raion.db")));
    t.setReporter(&rec_);
    QVERIFY(!t.open(dir_->path()));
    QCOMPARE(rec_.messages.size(), 1);
    const QString m = rec_.messages.first();
    QVERIFY2(m.startsWith(u"Ошибка. "_s), qPrintable(m));
    QVERIFY2(m.contains(path), qPrintable(m));
    QVERIFY2(m.contains(says), qPrintable(m));
    // The engine's English may follow, in parentheses only.
    const qsizetype afterPath = m.indexOf(says) + says.size();
    const qsizetype english = m.indexOf(QRegularExpression(QStringLiteral("[A-Za-z]{3,}")), afterPath);
    QVERIFY2(english < 0 || m.lastIndexOf(QLatin1Char('('), english) >= afterPath, qPrintable(m));
}

void TestDataTable::queryOverATableLackingAFieldNamesFileAndField() {
    writeTable(dir_->path(), QStringLiteral("korgrunt3.DB"),
               {QStringLiteral("Kod"), QStringLiteral("Kod0"), QStringLiteral("Construct")},
               {{QStringLiteral("1"), QStringLiteral("1"), u"сталь круглая"_s}});
    const QString path = QDir(dir_->path()).filePath(QStringLiteral("korgrunt3.DB"));
    runOn(path, {QStringLiteral("ALTER TABLE korgrunt3 DROP COLUMN Construct")});
    SqlQuery q(dir_->path());
    q.setText(QStringLiteral("select Kod from korgrunt3 where Kod0 = :K"));
    q.bindValue(QStringLiteral("K"), 1);
    QVERIFY(!q.open());
    QCOMPARE(q.lastError(), u"Ошибка. В файле "_s + path + u" нет поля Construct."_s);
}

void TestDataTable::lockedTablesAreListedOnceAndTakenUpWhenFree() {
    const QString data = dir_->path() + QStringLiteral("/Data");
    const DataBuildReport built = buildDataFolder(QStringLiteral(KELVOR_SOURCE_DIR "/data/tables"), data);
    QVERIFY2(built.errors.isEmpty(), qPrintable(built.errors.join(QLatin1Char('\n'))));
    setApplicationFolder(dir_->path());
    const QStringList files{QStringLiteral("raion.db"), QStringLiteral("P_udel.DB"), QStringLiteral("hist1.db")};
    auto soilLock = std::make_unique<FileLock>(QDir(data).filePath(files[1]));
    FileLock raionLock(QDir(data).filePath(files[0]));
    FileLock histLock(QDir(data).filePath(files[2]));
    QVERIFY(soilLock->locked() && raionLock.locked() && histLock.locked());
    QVERIFY(QFile::remove(QDir(data).filePath(QStringLiteral("Kipp.DB"))));

    DataModule dm;
    dm.openAll(rec_);
    QCOMPARE(rec_.messages.size(), 1);
    const QString& m = rec_.messages.first();
    for (const auto& f : files)
        QVERIFY2(m.contains(dataDir() + f + u" занят другой программой"_s), qPrintable(m));
    QVERIFY2(m.contains(dataDir() + QStringLiteral("Kipp.DB") + u" не найден."_s), qPrintable(m));
    QVERIFY2(m.startsWith(u"Не удалось открыть таблицы (4)"_s), qPrintable(m));

    // Still locked: asked for, it stays closed and says nothing more.
    rec_.messages.clear();
    QVERIFY(!dm[QStringLiteral("TableUde")].isOpen());
    QVERIFY(rec_.messages.isEmpty());
    // Let go of: the next use opens it; a missing file stays closed.
    soilLock.reset();
    QVERIFY(dm[QStringLiteral("TableUde")].isOpen());
    QVERIFY(dm[QStringLiteral("TableUde")].locate(QStringLiteral("Grunt"), u"суглинок"_s));
    QVERIFY(!dm[QStringLiteral("KippTable")].isOpen());
    QVERIFY(!dm[QStringLiteral("TableRaion")].isOpen());
    QVERIFY(rec_.messages.isEmpty());
}

void TestDataTable::windowTablesJoinTheStartUpCheck_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("says");
    // Each was said nothing of at start-up.
    QTest::newRow("standard device's history missing") << u"history.DB"_s << u"remove"_s << u" не найден."_s;
    QTest::newRow("selection sets not a table file")
        << u"podbor0.DB"_s << u"text"_s << u" не является файлом таблицы"_s;
    QTest::newRow("selection rows lacking a field") << u"podbor1.DB"_s << u"drop"_s << u" нет поля Shag."_s;
}

void TestDataTable::windowTablesJoinTheStartUpCheck() {
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(QString, says);
    const QString data = dir_->path() + QStringLiteral("/Data");
    QVERIFY(!buildDataFolder(QStringLiteral(KELVOR_SOURCE_DIR "/data/tables"), data).failed());
    const QString path = QDir(data).filePath(file);
    if (damage == u"remove"_s) {
        QVERIFY(QFile::remove(path));
    } else if (damage == u"text"_s) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(2048, 'x'));
    } else {
        runOn(path, {QStringLiteral("ALTER TABLE podbor1 DROP COLUMN Shag")});
    }
    setApplicationFolder(dir_->path());
    DataModule dm;
    dm.openAll(rec_);
    QCOMPARE(rec_.messages.size(), 1);
    QVERIFY2(rec_.messages[0].startsWith(u"Ошибка. "_s) && rec_.messages[0].contains(dataDir() + file + says),
             qPrintable(rec_.messages[0]));
}

void TestDataTable::aLockedTableCostsOneWait_data() {
    QTest::addColumn<bool>("foundAtStartUp");
    // Three look-ups waited 5 s each, the recommended sizes of every case.
    QTest::newRow("found by a look-up") << false;
    QTest::newRow("found at start-up") << true;
}

void TestDataTable::aLockedTableCostsOneWait() {
    QFETCH(bool, foundAtStartUp);
    const QString data = dir_->path() + QStringLiteral("/Data");
    QVERIFY(!buildDataFolder(QStringLiteral(KELVOR_SOURCE_DIR "/data/tables"), data).failed());
    const QString path = QDir(data).filePath(QStringLiteral("korgrunt0.db"));
    auto lock = std::make_unique<FileLock>(path);
    QVERIFY(lock->locked());
    const auto lookUp = [&] {
        SqlQuery q(data);
        q.setText(constructQueryLines());
        q.bindValue(QStringLiteral("P"), 100.0);
        q.bindValue(QStringLiteral("Vid"), u"вертикальный"_s);
        q.bindValue(QStringLiteral("Status"), u"рекомендуется"_s);
        return q.open() ? QString() : q.lastError();
    };
    DataTable classes(*findTableDef(QStringLiteral("korgrunt0.db")));
    if (foundAtStartUp)
        QVERIFY(!classes.open(data));

    QElapsedTimer took;
    took.start();
    const QString first = lookUp();
    QVERIFY2(first.startsWith(u"Ошибка. Файл "_s + path + u" занят другой программой"_s), qPrintable(first));
    if (foundAtStartUp)
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
    for (int again = 0; again < 2; ++again) {
        took.restart();
        QCOMPARE(lookUp(), first);
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
    }
    // Let go of: the next look-up reads it.
    lock.reset();
    QCOMPARE(lookUp(), QString());
}

void TestDataTable::aFullDiskIsNamedInRussian() {
    writeTable(dir_->path(), QStringLiteral("hist1.db"), {QStringLiteral("Name")}, {});
    DataTable hist(*findTableDef(QStringLiteral("hist1.db")));
    hist.setReporter(&rec_);
    QVERIFY(hist.open(dir_->path()));
    // No page may be added to the file, as on a full disk: the engine says "database or disk is full".
    for (const QString& name : QSqlDatabase::connectionNames())
        if (QSqlDatabase db = QSqlDatabase::database(name, false); db.databaseName() == hist.filePath()) {
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("PRAGMA page_count")) && q.next());
            const int pages = q.value(0).toInt();
            QVERIFY(q.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)));
        }
    bool saved = true;
    for (int i = 0; saved && i < 1000; ++i) {
        QVERIFY(hist.append());
        hist.setValue(QStringLiteral("KodTip"), 4);
        hist.setText(QStringLiteral("Name"), QString::number(i) + QString(140, QLatin1Char('x')));
        saved = hist.post();
    }
    QVERIFY(!saved);
    QCOMPARE(rec_.messages.size(), 1);
    QVERIFY2(rec_.messages[0].startsWith(u"Ошибка. Запись в файл "_s + hist.filePath() +
                                         u" невозможна: на диске нет свободного места"_s),
             qPrintable(rec_.messages[0]));
    hist.cancel();
}

QTEST_GUILESS_MAIN(TestDataTable)
#include "tst_datatable.moc"
