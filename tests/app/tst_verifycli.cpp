// kelvorzu2 --verify on a copy of the program: passes on the shipped tables, and fails naming the
// cases when a shipped coefficient is edited, whatever the edit.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& fi : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(fi.fileName());
        if (fi.isDir() ? !copyTree(fi.filePath(), target) : !QFile::copy(fi.filePath(), target))
            return false;
    }
    return true;
}

bool execOn(const QString& file, const QString& statement, QString* error) {
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"edit"_s);
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(statement);
            *error = q.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"edit"_s);
    return ok;
}
} // namespace

class TestVerifyCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void passesOnShippedTables();
    void editedCoefficientFailsNamingTheCases_data();
    void editedCoefficientFailsNamingTheCases();
    void reportWithoutAFileIsRefused();

private:
    QProcess* verify(const QStringList& more = {});
    QTemporaryDir dir_;
    QProcess process_;
};

void TestVerifyCli::initTestCase() {
    QVERIFY(copyTree(QStringLiteral(KELVOR_BIN_DIR), dir_.path()));
    // The tables as shipped, whatever was edited in the build's own folder.
    QVERIFY(QDir(dir_.filePath(u"Data"_s)).removeRecursively());
    QProcess build;
    build.start(dir_.filePath(u"kelvorzu2-data"_s),
                {QStringLiteral(KELVOR_SOURCE_DIR "/data/tables"), dir_.filePath(u"Data"_s)});
    QVERIFY(build.waitForFinished(60000));
    QCOMPARE(build.exitCode(), 0);
    QVERIFY(QFile::exists(dir_.filePath(u"Verification/TParalFm.json"_s)));
}

QProcess* TestVerifyCli::verify(const QStringList& more) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"QT_QPA_PLATFORM"_s);
    env.remove(u"DISPLAY"_s);
    process_.setProcessEnvironment(env);
    process_.start(dir_.filePath(u"kelvorzu2"_s), QStringList{u"--verify"_s} + more);
    process_.waitForFinished(120000);
    return &process_;
}

void TestVerifyCli::passesOnShippedTables() {
    const QString report = dir_.filePath(u"проверка.docx"_s);
    QProcess* p = verify({u"--report"_s, report});
    const QString err = QString::fromUtf8(p->readAllStandardError());
    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(p->readAllStandardOutput()), QString());
    QVERIFY2(p->exitCode() == 0, qPrintable(err));
    QVERIFY2(err.contains(u", не прошли проверку: 0."_s), qPrintable(err));
    QFile docx(report);
    QVERIFY(docx.open(QIODevice::ReadOnly));
    QCOMPARE(docx.read(2), QByteArray("PK"));
}

void TestVerifyCli::editedCoefficientFailsNamingTheCases_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("cases"); // the only file whose cases read the table
    const QString strips = u"TParalFm.json"_s;
    QTest::newRow("halved") << u"Kipp.DB"_s << u"UPDATE Kipp SET KI = KI / 2"_s << strips;
    QTest::newRow("zero") << u"Kipp.DB"_s << u"UPDATE Kipp SET KI = 0"_s << strips;
    QTest::newRow("negative") << u"Kipp.DB"_s << u"UPDATE Kipp SET KI = -0.5"_s << strips;
    QTest::newRow("huge") << u"Kipp.DB"_s << u"UPDATE Kipp SET KI = 1e300"_s << strips;
    QTest::newRow("text") << u"Kipp.DB"_s << u"UPDATE Kipp SET KI = 'abc'"_s << strips;
    QTest::newRow("no rows") << u"Kipp.DB"_s << u"DELETE FROM Kipp"_s << strips;
    // The standard device's strip and rods.
    QTest::newRow("strip coefficient")
        << u"KIGZ.DB"_s << u"UPDATE KIGZ SET KI = KI + 0.05"_s << u"TStandFrm.json"_s;
    QTest::newRow("rod coefficient") << u"Kivz.DB"_s << u"UPDATE Kivz SET KI = KI * 0.9"_s
                                     << u"TStandFrm.json"_s;
}

void TestVerifyCli::editedCoefficientFailsNamingTheCases() {
    QFETCH(QString, table);
    QFETCH(QString, edit);
    QFETCH(QString, cases);
    const QString file = table;
    table = dir_.filePath(u"Data/"_s + file);
    const QString shipped = dir_.filePath(file + u".shipped"_s);
    QFile::remove(shipped);
    QVERIFY(QFile::copy(table, shipped));
    QString error;
    QVERIFY2(execOn(table, edit, &error), qPrintable(error));
    QProcess* p = verify();
    QVERIFY(QFile::remove(table));
    QVERIFY(QFile::rename(shipped, table));

    QCOMPARE(p->exitStatus(), QProcess::NormalExit);
    QCOMPARE(p->exitCode(), 1);
    const QStringList lines = QString::fromUtf8(p->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    // Each failure names a case of the calculator that reads the table, and the edited table.
    QFile shippedCases(QStringLiteral(KELVOR_SOURCE_DIR "/tests/cases/") + cases);
    QVERIFY(shippedCases.open(QIODevice::ReadOnly));
    QStringList names;
    for (const QJsonValue& c : QJsonDocument::fromJson(shippedCases.readAll()).array())
        names << c.toObject().value(u"name"_s).toString();
    for (const QString& line : lines) {
        QVERIFY2(std::any_of(
                     names.cbegin(), names.cend(),
                     [&](const QString& name) { return line.startsWith(cases + u": "_s + name + u": "_s); }),
                 qPrintable(line));
        QVERIFY2(line.contains(file + u" (изменена после поставки)"_s), qPrintable(line));
    }
}

void TestVerifyCli::reportWithoutAFileIsRefused() {
    QProcess* p = verify({u"--report"_s});
    QCOMPARE(p->exitCode(), 2);
    QVERIFY(QString::fromUtf8(p->readAllStandardError()).contains(u"после --report нужно указать"_s));
}

QTEST_MAIN(TestVerifyCli)
#include "tst_verifycli.moc"
