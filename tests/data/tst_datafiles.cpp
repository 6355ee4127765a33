#include "core/common/Messenger.h"
#include "core/common/Paths.h"
#include "store/DataFiles.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

void writeText(const QString& path, const QString& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}
struct Recorder : Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs the data build as a command: its exit status and what it said on the error stream.
std::pair<int, QString> runDataBuild(const QString& sources, const QString& data) {
    QProcess tool;
    tool.start(QStringLiteral(KELVOR_BIN_DIR "/kelvorzu2-data"), {sources, data});
    tool.waitForFinished(120000);
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
}

// Whether the journal beside a table is hot: the engine writes its header, and then the table's
// pages, only once the save is being committed. A journal without it is ignored, the file untouched.
bool hotJournal(const QString& journal) {
    static const QByteArray header = QByteArray::fromHex("d9d505f920a163d7");
    QFile f(journal);
    return f.open(QIODevice::ReadOnly) && f.read(header.size()) == header;
}

// Starts a program saving foundation-field sets and kills it while a save is being committed. True
// once a kill left a hot journal of the bolt table behind.
bool killMidSave(const QString& data) {
    const QString journal = QDir(data).filePath(QStringLiteral("histmk1.db-journal"));
    for (int attempt = 0; attempt < 50; ++attempt) {
        QProcess saver;
        saver.start(QCoreApplication::applicationDirPath() + QStringLiteral("/histmk_saver"), {data});
        if (!saver.waitForStarted())
            return false;
        // A set saved whole first, so that there is something to lose.
        if (!saver.waitForReadyRead(60000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!hotJournal(journal) && waited.elapsed() < 10000 && saver.state() == QProcess::Running) {
        }
        saver.kill();
        saver.waitForFinished();
        if (hotJournal(journal))
            return true;
    }
    return false;
}

// What is wrong with the saved foundation-field sets: every set must have all its 3000 bolts, each
// with Xi equal to the set's A (the saver writes them so), and no bolt may be left without a set.
QString boltFieldFaults(const QString& data) {
    const QString name = QStringLiteral("test_bolt_sets");
    QStringList faults;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(QDir(data).filePath(QStringLiteral("histmk0.db")));
        QSqlQuery q(db);
        if (!db.open() ||
            !q.exec(u"ATTACH DATABASE '"_s + QDir(data).filePath(QStringLiteral("histmk1.db")) + u"' AS d"_s))
            faults << u"cannot open: "_s + db.lastError().text() + q.lastError().text();
        const auto count = [&](const QString& sql) {
            return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
        };
        if (faults.isEmpty()) {
            if (const int sets = count(QStringLiteral("SELECT count(*) FROM histmk0")); sets < 1)
                faults << u"sets saved: %1"_s.arg(sets);
            if (const int n = count(QStringLiteral("SELECT count(*) FROM d.histmk1 WHERE Kod0 NOT IN "
                                                   "(SELECT Kod FROM histmk0)")))
                faults << u"bolts without a set: %1"_s.arg(n);
            if (const int n = count(QStringLiteral("SELECT count(*) FROM histmk0 m JOIN d.histmk1 b ON "
                                                   "b.Kod0 = m.Kod WHERE b.Xi <> m.A")))
                faults << u"bolts of another save: %1"_s.arg(n);
            if (const int n = count(QStringLiteral("SELECT count(*) FROM histmk0 m WHERE (SELECT count(*) "
                                                   "FROM d.histmk1 b WHERE b.Kod0 = m.Kod) <> 3000")))
                faults << u"sets with bolts missing: %1"_s.arg(n);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return faults.join(u"; "_s);
}

} // namespace

// Rebuilding the data folder must never wipe what the user saved or edited.
class TestDataFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void readsTheSourceFormat();
    void createsEveryTableAndKeepsThemOnRebuild();
    void rebuildsAnUneditedReferenceTableWhenItsSourceChanges();
    void keepsAReferenceTableTheUserEdited();
    void restoreBringsBackTheShippedRows();
    void neverReplacesHistoryOrSelectionSettings();
    void reportsABadSourceAndLeavesTheOldFile();
    void anEmptySelectionTableGetsTheShippedRows();
    void damagedOrLockedFilesAreReportedAndKept();
    void aReferenceTableLackingAFieldOrEmptiedIsNamedAndKept_data();
    void aReferenceTableLackingAFieldOrEmptiedIsNamedAndKept();
    void aSaveKilledMidwayIsRolledBackNotCalledLost();

private:
    QString soils() const { return QDir(src_->path()).filePath(QStringLiteral("P_udel.DB.tsv")); }
    QString soilRows(const QString& table = QStringLiteral("P_udel.DB")) const;
    std::unique_ptr<QTemporaryDir> src_;
    std::unique_ptr<QTemporaryDir> out_;
};

void TestDataFiles::init() {
    src_ = std::make_unique<QTemporaryDir>();
    out_ = std::make_unique<QTemporaryDir>();
    writeText(soils(),
              u"# soils\nGrunt\tPMin\tPMax\tPDefault\nсуглинок\t40\t150\t100\n\nпесок\t400\t1000\t700\n"_s);
    writeText(QDir(src_->path()).filePath(QStringLiteral("parpod0.db.tsv")),
              QStringLiteral("Kod\tKodTip\n1\t4\n"));
}

QString TestDataFiles::soilRows(const QString& table) const {
    DataTable t(*findTableDef(table));
    if (!t.open(out_->path()))
        return QStringLiteral("<closed>");
    QStringList rows;
    for (t.first(); !t.eof(); t.next()) {
        QStringList cells;
        for (const auto& f : t.def().fields)
            cells << t.text(f.name);
        rows << cells.join(QLatin1Char(' '));
    }
    return rows.join(QLatin1Char('|'));
}

void TestDataFiles::readsTheSourceFormat() {
    SourceTable t;
    QString error;
    QVERIFY(readSourceTable(soils(), t, &error));
    QCOMPARE(t.header, (QStringList{QStringLiteral("Grunt"), QStringLiteral("PMin"), QStringLiteral("PMax"),
                                    QStringLiteral("PDefault")}));
    QCOMPARE(t.rows.size(), 2);
    QCOMPARE(t.rows[1][0], u"песок"_s);
}

void TestDataFiles::createsEveryTableAndKeepsThemOnRebuild() {
    DataBuildReport r = buildDataFolder(src_->path(), out_->path());
    QVERIFY(r.errors.isEmpty());
    QCOMPARE(r.created.size(), dataModuleTables().size() + windowTables().size());
    QCOMPARE(soilRows(), u"суглинок 40 150 100|песок 400 1000 700"_s);
    r = buildDataFolder(src_->path(), out_->path());
    QVERIFY(r.created.isEmpty() && r.rebuilt.isEmpty() && r.keptEdited.isEmpty());
}

void TestDataFiles::rebuildsAnUneditedReferenceTableWhenItsSourceChanges() {
    buildDataFolder(src_->path(), out_->path());
    writeText(soils(), u"Grunt\tPMin\tPMax\tPDefault\nглина\t8\t70\t40\n"_s);
    const DataBuildReport r = buildDataFolder(src_->path(), out_->path());
    QCOMPARE(r.rebuilt, QStringList{QStringLiteral("P_udel.DB")});
    QCOMPARE(soilRows(), u"глина 8 70 40"_s);
}

void TestDataFiles::keepsAReferenceTableTheUserEdited() {
    buildDataFolder(src_->path(), out_->path());
    {
        DataTable t(*findTableDef(QStringLiteral("P_udel.DB")));
        QVERIFY(t.open(out_->path()));
        QVERIFY(t.edit());
        t.setText(QStringLiteral("PDefault"), QStringLiteral("120"));
        QVERIFY(t.post());
    }
    writeText(soils(), u"Grunt\tPMin\tPMax\tPDefault\nглина\t8\t70\t40\n"_s);
    const DataBuildReport r = buildDataFolder(src_->path(), out_->path());
    QCOMPARE(r.keptEdited, QStringList{QStringLiteral("P_udel.DB")});
    QCOMPARE(soilRows(), u"суглинок 40 150 120|песок 400 1000 700"_s);
}

void TestDataFiles::restoreBringsBackTheShippedRows() {
    buildDataFolder(src_->path(), out_->path());
    {
        DataTable t(*findTableDef(QStringLiteral("P_udel.DB")));
        QVERIFY(t.open(out_->path()));
        QVERIFY(t.remove());
    }
    const DataBuildReport r = buildDataFolder(src_->path(), out_->path(), true);
    QVERIFY(r.rebuilt.contains(QStringLiteral("P_udel.DB")));
    QCOMPARE(soilRows(), u"суглинок 40 150 100|песок 400 1000 700"_s);
}

void TestDataFiles::neverReplacesHistoryOrSelectionSettings() {
    buildDataFolder(src_->path(), out_->path());
    {
        DataTable h(*findTableDef(QStringLiteral("hist1.db")));
        QVERIFY(h.open(out_->path()));
        QVERIFY(h.insert());
        h.setText(QStringLiteral("Name"), u"мой расчет"_s);
        QVERIFY(h.post());
    }
    writeText(QDir(src_->path()).filePath(QStringLiteral("parpod0.db.tsv")),
              QStringLiteral("Kod\tKodTip\n1\t5\n"));
    for (bool restore : {false, true}) {
        const DataBuildReport r = buildDataFolder(src_->path(), out_->path(), restore);
        QVERIFY(!r.rebuilt.contains(QStringLiteral("hist1.db")));
        QVERIFY(!r.rebuilt.contains(QStringLiteral("parpod0.db")));
    }
    DataTable h(*findTableDef(QStringLiteral("hist1.db")));
    QVERIFY(h.open(out_->path()));
    QCOMPARE(h.asString(QStringLiteral("Name")), u"мой расчет"_s);
    DataTable p(*findTableDef(QStringLiteral("parpod0.db")));
    QVERIFY(p.open(out_->path()));
    QCOMPARE(p.asInteger(QStringLiteral("KodTip")), 4);
}

void TestDataFiles::reportsABadSourceAndLeavesTheOldFile() {
    buildDataFolder(src_->path(), out_->path());
    writeText(soils(), u"Grunt\tPMin\tPMax\tPDefault\nглина\tмного\t70\t40\n"_s);
    DataBuildReport r = buildDataFolder(src_->path(), out_->path());
    QCOMPARE(r.errors.size(), 1);
    QCOMPARE(soilRows(), u"суглинок 40 150 100|песок 400 1000 700"_s);
    writeText(soils(), u"Grunt\tPMin\tUnknown\nглина\t8\t70\n"_s);
    r = buildDataFolder(src_->path(), out_->path());
    QCOMPARE(r.errors.size(), 1);
    QVERIFY(r.errors[0].contains(QStringLiteral("Unknown")));
}

void TestDataFiles::anEmptySelectionTableGetsTheShippedRows() {
    QFile::remove(QDir(src_->path()).filePath(QStringLiteral("parpod0.db.tsv")));
    buildDataFolder(src_->path(), out_->path()); // an older version shipped no settings
    writeText(QDir(src_->path()).filePath(QStringLiteral("parpod0.db.tsv")),
              QStringLiteral("Kod\tKodTip\n1\t4\n2\t3\n"));
    DataBuildReport r = buildDataFolder(src_->path(), out_->path());
    QCOMPARE(r.rebuilt, QStringList{QStringLiteral("parpod0.db")});
    DataTable p(*findTableDef(QStringLiteral("parpod0.db")));
    QVERIFY(p.open(out_->path()));
    QCOMPARE(p.recordCount(), 2);
    p.close();
    // Filled once: nothing is added again.
    r = buildDataFolder(src_->path(), out_->path());
    QVERIFY(r.rebuilt.isEmpty());
}

void TestDataFiles::damagedOrLockedFilesAreReportedAndKept() {
    QVERIFY(buildDataFolder(src_->path(), out_->path()).errors.isEmpty());
    const QString soilsFile = QDir(out_->path()).filePath(QStringLiteral("P_udel.DB"));
    const QString history = QDir(out_->path()).filePath(QStringLiteral("hist1.db"));
    const QString coefficients = QDir(out_->path()).filePath(QStringLiteral("Kivz.DB"));
    {
        QFile f(soilsFile);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(4096)); // cut short: was "edited in the program and kept"
    }
    writeText(history, QStringLiteral("not a table file")); // was passed without a word
    const auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray soilsBefore = bytes(soilsFile);
    const QByteArray historyBefore = bytes(history);
    // A change of the source asks for a rebuild of the soils, which must not happen.
    writeText(soils(), u"Grunt\tPMin\tPMax\tPDefault\nглина\t10\t20\t15\n"_s);

    const QString lock = QStringLiteral("other_program");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), lock);
        db.setDatabaseName(coefficients);
        QVERIFY(db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        const QByteArray lockedBefore = bytes(coefficients);

        for (const bool restore : {false, true}) {
            const DataBuildReport r = buildDataFolder(src_->path(), out_->path(), restore);
            QVERIFY(r.failed());
            QCOMPARE(r.damaged.size(), 2);
            QVERIFY2(r.damaged[0].contains(soilsFile + u" поврежден"_s), qPrintable(r.damaged[0]));
            QVERIFY2(r.damaged[1].contains(history + u" не является файлом таблицы"_s), qPrintable(r.damaged[1]));
            QCOMPARE(r.locked.size(), 1);
            QVERIFY2(r.locked[0].startsWith(u"Ошибка. Файл "_s + coefficients + u" занят другой программой"_s),
                     qPrintable(r.locked[0]));
            QVERIFY(!r.rebuilt.contains(QStringLiteral("P_udel.DB")) && r.keptEdited.isEmpty());
            QCOMPARE(bytes(soilsFile), soilsBefore);
            QCOMPARE(bytes(history), historyBefore);
            QCOMPARE(bytes(coefficients), lockedBefore);
        }
        // The command says so in Russian and fails the build.
        QProcess tool;
        tool.start(QStringLiteral(KELVOR_BIN_DIR "/kelvorzu2-data"), {src_->path(), out_->path()});
        QVERIFY(tool.waitForFinished());
        QCOMPARE(tool.exitCode(), 1);
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        QVERIFY2(err.contains(soilsFile + u" поврежден"_s) && err.contains(u"оставлен без изменений"_s),
                 qPrintable(err));
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(lock);
}

void TestDataFiles::aReferenceTableLackingAFieldOrEmptiedIsNamedAndKept_data() {
    QTest::addColumn<bool>("emptied");
    QTest::addColumn<QString>("says");
    // Was passed in silence, status 0.
    QTest::newRow("field dropped") << false << u" нет поля PDefault."_s;
    // Was called "edited in the program".
    QTest::newRow("cut to 0 bytes") << true << u" пуст (0 байт)"_s;
}

void TestDataFiles::aReferenceTableLackingAFieldOrEmptiedIsNamedAndKept() {
    QFETCH(bool, emptied);
    QFETCH(QString, says);
    QVERIFY(buildDataFolder(src_->path(), out_->path()).errors.isEmpty());
    const QString soilsFile = QDir(out_->path()).filePath(QStringLiteral("P_udel.DB"));
    if (emptied) {
        QFile f(soilsFile);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.resize(0));
    } else {
        const QString name = QStringLiteral("test_drop");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(soilsFile);
            QVERIFY(db.open() &&
                    QSqlQuery(db).exec(QStringLiteral("ALTER TABLE P_udel DROP COLUMN PDefault")));
        }
        QSqlDatabase::removeDatabase(name);
    }
    const QByteArray before = bytesOf(soilsFile);

    const DataBuildReport r = buildDataFolder(src_->path(), out_->path());
    QVERIFY(r.failed());
    QCOMPARE(r.damaged.size(), 1);
    QVERIFY2(r.damaged[0].startsWith(u"Ошибка. "_s) && r.damaged[0].contains(soilsFile) &&
                 r.damaged[0].contains(says),
             qPrintable(r.damaged[0]));
    QVERIFY(r.keptEdited.isEmpty() && !r.rebuilt.contains(QStringLiteral("P_udel.DB")));
    QCOMPARE(bytesOf(soilsFile), before);

    const auto [status, said] = runDataBuild(src_->path(), out_->path());
    QCOMPARE(status, 1);
    QVERIFY2(said.contains(soilsFile) && said.contains(says) && !said.contains(u"изменен в программе"_s),
             qPrintable(said));
    QCOMPARE(bytesOf(soilsFile), before);
}

void TestDataFiles::aSaveKilledMidwayIsRolledBackNotCalledLost() {
    const QString root = out_->path();
    const QString data = QDir(root).filePath(QStringLiteral("Data"));
    const QString sources = QStringLiteral(KELVOR_SOURCE_DIR "/data/tables");
    const DataBuildReport built = buildDataFolder(sources, data);
    QVERIFY2(!built.failed(), qPrintable(built.errors.join(QLatin1Char('\n'))));

    // The start-up check rolls the cut save back and finds every table readable.
    QVERIFY(killMidSave(data));
    setApplicationFolder(root);
    {
        Recorder said;
        DataModule dm;
        dm.openAll(said);
        QCOMPARE(said.messages, QStringList());
    }
    QVERIFY(!hotJournal(QDir(data).filePath(QStringLiteral("histmk1.db-journal"))));
    QCOMPARE(boltFieldFaults(data), QString());

    // So does the data build, which called both files read-only and advised deleting them.
    QVERIFY(killMidSave(data));
    const auto [status, said] = runDataBuild(sources, data);
    QCOMPARE(said, QString());
    QCOMPARE(status, 0);
    QVERIFY(!hotJournal(QDir(data).filePath(QStringLiteral("histmk1.db-journal"))));
    QCOMPARE(boltFieldFaults(data), QString());
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
