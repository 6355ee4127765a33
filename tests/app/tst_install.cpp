// The program installed as a package installs it: into a temporary root with DESTDIR, run from there.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every file under a folder with its size and time, to see that a run wrote nothing there.
QStringList listing(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        files << u"%1 %2 %3"_s.arg(fi.filePath()).arg(fi.size()).arg(fi.lastModified().toMSecsSinceEpoch());
    }
    files.sort();
    return files;
}

void setWritable(const QString& root, bool writable) {
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList paths{root};
    while (it.hasNext())
        paths << it.next();
    for (const QString& path : std::as_const(paths)) {
        QFile::Permissions p = QFile::permissions(path);
        const QFile::Permissions write = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup;
        QFile::setPermissions(path, writable ? p | write : p & ~write);
    }
}

// Runs one statement on a table file; returns the first column of the rows.
QStringList sql(const QString& file, const QString& statement) {
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("probe"));
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(statement))
                while (q.next())
                    values << q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("probe"));
    return values;
}

const char* const rodCase = R"([{"name": "rod", "calculator": "TDVertFm",
    "inputs": {"ComboGrunt": "суглинок", "EditRo0": "100", "EditPKV": "1", "cmbSech": "сталь круглая",
               "cmbDiam": "0,016", "EditDlina": "5", "EditGlub": "0,7"}}])";

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        QVERIFY(install());
        QFile cases(root_.filePath(QStringLiteral("cases.json")));
        QVERIFY(cases.open(QIODevice::WriteOnly));
        cases.write(rodCase);
    }

    void putsEveryFileWhereDebianExpectsIt_data() {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {"usr/bin/kelvorzu2", "usr/bin/kelvorzu2-data", "usr/share/kelvorzu2/tables/P_udel.DB.tsv",
              "usr/share/kelvorzu2/tables/Kivz.DB.tsv", "usr/share/kelvorzu2/Picture/splash.bmp",
              "usr/share/kelvorzu2/help/10.html", "usr/share/applications/kelvorzu2.desktop",
              "usr/share/icons/hicolor/scalable/apps/kelvorzu2.svg",
              "usr/share/metainfo/kelvorzu2.metainfo.xml", "usr/share/man/man1/kelvorzu2.1.gz"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }
    void putsEveryFileWhereDebianExpectsIt() {
        QFETCH(QString, path);
        QVERIFY(QFileInfo::exists(root_.filePath(path)));
    }

    void installedProgramTellsItsVersion() {
        QProcess p;
        run(p, {QStringLiteral("--version")});
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()), u"kelvorzu2 (Kelvor ZU) 2.0\n"_s);
    }

    // The install is read-only: the tables are built in the user's folder and the case runs on them.
    void computesACaseOnTheUsersOwnTables() {
        const QString share = root_.filePath(QStringLiteral("usr"));
        const QStringList before = listing(share);
        setWritable(share, false);
        QProcess p;
        run(p, {QStringLiteral("--batch"), root_.filePath(QStringLiteral("cases.json"))});
        setWritable(share, true);
        QCOMPARE(p.exitCode(), 0);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(!err.contains(u"Ошибка"_s) && !err.contains(u"Таблица"_s), qPrintable(err));
        // 100 / (2π·5) · [ln(2·5/0,016) + ½·ln((4·3,2+5)/(4·3,2−5))] = 3,1831 · (6,4378 + 0,4125) = 21,81
        const QJsonObject outputs =
            QJsonDocument::fromJson(p.readAllStandardOutput()).array()[0].toObject()[u"outputs"_s].toObject();
        QCOMPARE(outputs[u"EditVS1"_s].toString(), u"21,81"_s);
        QCOMPARE(listing(share), before);
        for (const char* file :
             {"hist1.db", "parpod0.db", "history.DB", "P_udel.DB", "Kivz.DB", "st_krug.db"})
            QVERIFY2(QFileInfo::exists(userFolder() + QLatin1Char('/') + QLatin1String(file)), file);
    }

    // A later version ships new rows: they reach the tables the user left alone; saved history and a
    // table the user edited stay as they are.
    void reinstallKeepsHistoryAndEditsAndBringsNewRows() {
        const QString user = userFolder();
        QVERIFY(QFileInfo::exists(user + u"/hist1.db"_s));
        const QString hist = user + u"/hist1.db"_s;
        const QString histTable = sql(hist, u"SELECT name FROM sqlite_master WHERE type = 'table' "
                                            u"AND name <> '_kelvor_meta'"_s)
                                      .value(0);
        sql(hist, u"INSERT INTO \"%1\" (KodTip, Name) VALUES (4, 'заземлитель цеха 3')"_s.arg(histTable));
        const QString steel = user + u"/st_krug.db"_s;
        const QString steelTable = sql(steel, u"SELECT name FROM sqlite_master WHERE type = 'table' "
                                              u"AND name <> '_kelvor_meta'"_s)
                                       .value(0);
        sql(steel, u"UPDATE \"%1\" SET Massa = 9.99 WHERE Diam = 0.016"_s.arg(steelTable));

        QVERIFY(install());
        const QString tables = root_.filePath(QStringLiteral("usr/share/kelvorzu2/tables/"));
        for (const auto& [file, row] : {std::pair{"P_udel.DB.tsv", "грунт новой версии\t10\t100\t50\n"},
                                        std::pair{"st_krug.db.tsv", "0,5\t1541\n"}}) {
            QFile f(tables + QLatin1String(file));
            QVERIFY(f.open(QIODevice::Append));
            f.write(row);
        }
        QProcess p;
        run(p, {QStringLiteral("--batch"), root_.filePath(QStringLiteral("cases.json"))});
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(QString::fromUtf8(p.readAllStandardError())
                    .contains(u"Таблица st_krug.db изменена в программе"_s));

        QCOMPARE(sql(hist, u"SELECT Name FROM \"%1\""_s.arg(histTable)),
                 QStringList{u"заземлитель цеха 3"_s});
        const QString soil = user + u"/P_udel.DB"_s;
        const QString soilTable = sql(soil, u"SELECT name FROM sqlite_master WHERE type = 'table' "
                                            u"AND name <> '_kelvor_meta'"_s)
                                      .value(0);
        QCOMPARE(
            sql(soil, u"SELECT PDefault FROM \"%1\" WHERE Grunt = 'грунт новой версии'"_s.arg(soilTable)),
            QStringList{u"50"_s});
        QCOMPARE(sql(steel, u"SELECT Massa FROM \"%1\" WHERE Diam = 0.016"_s.arg(steelTable)),
                 QStringList{u"9.99"_s});
        QCOMPARE(sql(steel, u"SELECT count(*) FROM \"%1\" WHERE Diam = 0.5"_s.arg(steelTable)),
                 QStringList{u"0"_s});
    }

private:
    bool install() {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), root_.path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KELVOR_CMAKE_COMMAND),
                {QStringLiteral("--install"), QStringLiteral(KELVOR_BUILD_DIR), QStringLiteral("--prefix"),
                 QStringLiteral("/usr")});
        if (!p.waitForFinished(120000) || p.exitCode() != 0) {
            qWarning().noquote() << p.readAllStandardError();
            return false;
        }
        return true;
    }
    QString userFolder() const { return root_.filePath(QStringLiteral("home/.local/share/kelvorzu2")); }
    void run(QProcess& p, const QStringList& arguments) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        env.insert(QStringLiteral("HOME"), root_.filePath(QStringLiteral("home")));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(root_.path());
        p.start(root_.filePath(QStringLiteral("usr/bin/kelvorzu2")), arguments);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    }
    QTemporaryDir root_;
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
