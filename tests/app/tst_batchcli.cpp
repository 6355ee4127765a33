#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(fi.fileName());
        if (fi.isDir() ? !copyTree(fi.filePath(), target) : !QFile::copy(fi.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

// The real executable, copied with its folders to another place, run in batch mode.
class TestBatchCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(copyTree(QStringLiteral(KELVOR_BIN_DIR), dir_.path()));
    }

    void runsFromAnotherFolderWithoutADisplay() {
        writeCases(R"([{"calculator": "TNothing"}, [1]])");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")), {QStringLiteral("--batch"), casesPath()});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);                   // not every case ran
        QCOMPARE(programMessages(p), QStringList()); // every table opened
        const QJsonArray results = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QCOMPARE(results.size(), 2);
        QVERIFY(results[0]
                    .toObject()
                    .value(QStringLiteral("error"))
                    .toString()
                    .contains(QStringLiteral("TNothing")));
        QVERIFY(results[1].toObject().contains(QStringLiteral("error")));
    }

    // With no display and no platform named, the batch runs on a core application: nothing asks for
    // a display, and the report's picture is still converted into the document.
    void reportsWithPicturesNeedNoDisplay() {
        writeCases(R"([{"name": "rod", "calculator": "TDVertFm"}])");
        const QString reports = dir_.filePath(QStringLiteral("pictured"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        p.setProcessEnvironment(env);
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), casesPath(), QStringLiteral("--reports"), reports});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(p.readAllStandardError(), QByteArray());
        // The zip's directory names its entries in plain bytes.
        QVERIFY(readFile(reports + QStringLiteral("/rod.docx")).contains("word/media/image1.png"));
        QVERIFY(QDir(reports).removeRecursively());
    }

    void writesToAFileAndReportsAMissingTable() {
        writeCases("[]");
        QVERIFY(QFile::rename(dir_.filePath(QStringLiteral("Data/st_krug.db")),
                              dir_.filePath(QStringLiteral("st_krug.db"))));
        const QString out = dir_.filePath(QStringLiteral("results.json"));
        QProcess p;
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), casesPath(), QStringLiteral("--out"), out});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(QFile::rename(dir_.filePath(QStringLiteral("st_krug.db")),
                              dir_.filePath(QStringLiteral("Data/st_krug.db"))));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(programMessages(p),
                 QStringList{u"Ошибка. Файл "_s + dir_.filePath(QStringLiteral("Data/st_krug.db")) +
                             u" не найден."_s});
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(QJsonDocument::fromJson(f.readAll()).isArray());
    }

    void unreadableCasesAndTablesAreToldInRussian() {
        const QString kipp = dir_.filePath(QStringLiteral("Data/Kipp.DB"));
        QVERIFY(QFile::rename(kipp, dir_.filePath(QStringLiteral("Kipp.DB"))));
        {
            QFile damaged(kipp);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write(QByteArray(1024, 'x'));
        }
        QProcess p;
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), dir_.filePath(QStringLiteral("no such cases.json"))});
        QVERIFY(p.waitForFinished(30000));
        QVERIFY(QFile::remove(kipp));
        QVERIFY(QFile::rename(dir_.filePath(QStringLiteral("Kipp.DB")), kipp));
        QCOMPARE(p.exitCode(), 2);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(u"Ошибка. Файл "_s + kipp + u" не является файлом таблицы"_s), qPrintable(err));
        QVERIFY2(
            err.contains(u"не удается прочитать "_s + dir_.filePath(QStringLiteral("no such cases.json"))),
            qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("cannot")), qPrintable(err));
    }

    void computesRodCases() {
        writeCases(R"([
            {"name": "defaults", "calculator": "TDVertFm",
             "inputs": {"ComboGrunt": "суглинок", "EditRo0": "100", "EditPKV": "1", "cmbSech": "сталь круглая",
                        "cmbDiam": "0,016", "EditDlina": "5", "EditGlub": "0,7"}},
            {"name": "other soil", "calculator": "TDVertFm",
             "inputs": {"ComboGrunt": "глина", "EditPKV": "1,5", "cmbDiam": "0,02", "btnAutoScore": true}},
            {"name": "short rod", "calculator": "TDVertFm", "inputs": {"EditDlina": "3", "EditGlub": "0,5"}},
            {"name": "too shallow", "calculator": "TDVertFm", "inputs": {"EditGlub": "0,49"}},
            {"name": "typo", "calculator": "TDVertFm", "inputs": {"EditDlinna": "3"}},
            {"name": "no such size", "calculator": "TDVertFm", "inputs": {"cmbDiam": "0,0161"}}
        ])");
        QProcess p;
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")), {QStringLiteral("--batch"), casesPath()});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        const QJsonArray r = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QCOMPARE(r.size(), 6);
        const auto out = [&](int i, const char* field) {
            return r[i]
                .toObject()
                .value(QStringLiteral("outputs"))
                .toObject()
                .value(QLatin1String(field))
                .toString();
        };
        const auto messages = [&](int i) {
            return r[i].toObject().value(QStringLiteral("messages")).toArray();
        };
        QCOMPARE(out(0, "EditVS1"), u"21,81"_s);
        QCOMPARE(out(0, "EditT"), u"3,20"_s);
        QCOMPARE(out(0, "EditRaschet"),
                 u"R = 100 / (2*3,14*5) * [Ln(2*5/0,016) + 0,5*Ln((4*3,20+5) / (4*3,20-5))] = 21,81 Ом"_s);
        QVERIFY(messages(0).isEmpty());
        QVERIFY(!out(1, "EditVS1").isEmpty());
        // Nothing of the case before is left: soil, coefficient and size are as the window opened.
        QCOMPARE(out(2, "EditVS1"), u"33,53"_s);
        QCOMPARE(out(2, "EditRo"), u"100"_s);
        QCOMPARE(out(3, "EditVS1"), QString());
        QCOMPARE(messages(3),
                 QJsonArray{u"Ошибка. Глубина заложения должна быть больше либо равна 0,5 м."_s});
        QVERIFY(
            r[4].toObject().value(QStringLiteral("error")).toString().contains(QStringLiteral("EditDlinna")));
        QVERIFY(r[5].toObject().value(QStringLiteral("error")).toString().contains(QStringLiteral("0,0161")));
    }

    void reportsStayInTheirFolderAndReplaceNothing() {
        writeCases(R"([{"name": "a", "calculator": "TDVertFm"}, {"name": "a", "calculator": "TDVertFm"},
                       {"name": "b", "calculator": "TDVertFm"}])");
        QTemporaryDir outside;
        const QString victim = outside.filePath(QStringLiteral("victim.txt"));
        writeFile(victim, "keep");
        const QString reports = dir_.filePath(QStringLiteral("reports"));
        QVERIFY(QDir().mkpath(reports));
        QVERIFY(QFile::link(victim, reports + QStringLiteral("/a.docx")));
        writeFile(reports + QStringLiteral("/b.docx"), "old");
        QProcess p;
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), casesPath(), QStringLiteral("--reports"), reports});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(readFile(victim), QByteArray("keep"));
        QCOMPARE(readFile(reports + QStringLiteral("/b.docx")), QByteArray("old"));
        const QJsonArray r = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QStringList written;
        for (const QJsonValue& c : r) {
            const QString report = c.toObject().value(QStringLiteral("report")).toString();
            QVERIFY(readFile(report).startsWith("PK"));
            written << QFileInfo(report).fileName();
        }
        QCOMPARE(written, (QStringList{u"a (2).docx"_s, u"a (3).docx"_s, u"b (2).docx"_s}));
        QVERIFY(QDir(reports).removeRecursively());
    }

    void aReportNotWrittenSaysWhyAndFails() {
        // A name longer than a file name may be: the report cannot be made, the other one is.
        writeCases("[{\"name\": \"" + QByteArray(300, 'x') +
                   "\", \"calculator\": \"TDVertFm\"}, {\"name\": \"ok\", \"calculator\": \"TDVertFm\"}]");
        const QString reports = dir_.filePath(QStringLiteral("reports"));
        QProcess p;
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), casesPath(), QStringLiteral("--reports"), reports});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(u"Не удалось записать отчеты: 1"_s));
        const QJsonArray r = QJsonDocument::fromJson(p.readAllStandardOutput()).array();
        QVERIFY(!r[0].toObject().contains(QStringLiteral("report")));
        QVERIFY(r[0].toObject().value(QStringLiteral("reportError")).toString().contains(u"Не удалось записать отчет"_s));
        QCOMPARE(QDir(reports).entryList(QDir::Files), QStringList{u"ok.docx"_s});
        QVERIFY(QDir(reports).removeRecursively());
    }

    void resultsThatCouldNotBeWrittenFail_data() {
        QTest::addColumn<bool>("toStdout");
        QTest::newRow("--out /dev/full") << false;
        QTest::newRow("stdout to a full device") << true;
    }

    void resultsThatCouldNotBeWrittenFail() {
        QFETCH(bool, toStdout);
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        writeCases(R"([{"calculator": "TDVertFm"}])");
        QProcess p;
        QStringList arguments{QStringLiteral("--batch"), casesPath()};
        if (toStdout)
            p.setStandardOutputFile(QStringLiteral("/dev/full"));
        else
            arguments << QStringLiteral("--out") << QStringLiteral("/dev/full");
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")), arguments);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(u"Не удалось записать результаты"_s) && err.contains(u"диск заполнен"_s),
                 qPrintable(err));
    }

    // --help, --version and a wrong command line are answered before the toolkit starts: with a
    // platform that cannot start (xcb and no display) the program would abort otherwise.
    void answersTheCommandLineWithoutADisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("onStdout");
        QTest::addColumn<QStringList>("shown");
        const QStringList usage{u"Вызов: kelvorzu2 [ПАРАМЕТРЫ]"_s,
                                u"--batch СЛУЧАИ.json"_s,
                                u"--out ФАЙЛ"_s,
                                u"--reports ПАПКА"_s,
                                u"--verify"_s,
                                u"--report ФАЙЛ.docx"_s,
                                u"--data ПАПКА"_s,
                                u"--help"_s,
                                u"--version"_s};
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << true << usage;
        QTest::newRow("help after other options")
            << QStringList{u"--data"_s, u"/nowhere"_s, u"--help"_s} << 0 << true << usage;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << true
                                 << QStringList{u"kelvorzu2 (Kelvor ZU) 2.0\n"_s};
        QTest::newRow("unknown option") << QStringList{u"--bacth"_s, u"a.json"_s} << 2 << false
                                        << QStringList{u"неизвестный параметр --bacth"_s} + usage;
        QTest::newRow("value missing") << QStringList{u"--batch"_s} << 2 << false
                                       << QStringList{u"после --batch нужно указать СЛУЧАИ.json"_s};
        QTest::newRow("option as the value")
            << QStringList{u"--batch"_s, u"--out"_s, u"r.json"_s} << 2 << false
            << QStringList{u"после --batch нужно указать СЛУЧАИ.json"_s};
        QTest::newRow("out without batch") << QStringList{u"--out"_s, u"r.json"_s} << 2 << false
                                           << QStringList{u"--out используется только вместе с --batch"_s};
        QTest::newRow("stray argument")
            << QStringList{u"cases.json"_s} << 2 << false << QStringList{u"лишний аргумент cases.json"_s};
    }
    void answersTheCommandLineWithoutADisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(bool, onStdout);
        QFETCH(QStringList, shown);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        p.setProcessEnvironment(env);
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")), arguments);
        QVERIFY(p.waitForFinished(30000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), status);
        QVERIFY2((onStdout ? err : out).isEmpty(), qPrintable(onStdout ? err : out));
        for (const QString& text : shown)
            QVERIFY2((onStdout ? out : err).contains(text), qPrintable(text));
    }

    // --data points the batch at another copy of the tables; a folder that is not there stops it.
    void dataOptionChoosesTheTables() {
        QTemporaryDir other;
        QVERIFY(copyTree(dir_.filePath(QStringLiteral("Data")), other.path()));
        QVERIFY(QFile::remove(other.filePath(QStringLiteral("raion.db"))));
        writeCases("[]");
        QProcess p;
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), casesPath(), QStringLiteral("--data"), other.path()});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(
            programMessages(p),
            QStringList{u"Ошибка. Файл "_s + other.filePath(QStringLiteral("raion.db")) + u" не найден."_s});

        const QString missing = other.filePath(QStringLiteral("missing"));
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")),
                {QStringLiteral("--batch"), casesPath(), QStringLiteral("--data"), missing});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 2);
        QCOMPARE(programMessages(p), QStringList{u"Ошибка. Папка данных "_s + missing + u" не найдена."_s});
        QVERIFY(!QFileInfo::exists(missing));
    }

    // A copied folder whose Data/ cannot be written (a shared or read-only copy): the user's own folder
    // is built from the copy's tables/ and used; the copy is left as it was.
    void readOnlyCopyUsesTheUsersFolder() {
        if (geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        QTemporaryDir home;
        const QString data = dir_.filePath(QStringLiteral("Data"));
        const QFile::Permissions was = QFile::permissions(data);
        QVERIFY(QFile::setPermissions(
            data, was & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther)));
        writeCases("[]");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.remove(QStringLiteral("XDG_DATA_HOME"));
        p.setProcessEnvironment(env);
        p.start(dir_.filePath(QStringLiteral("kelvorzu2")), {QStringLiteral("--batch"), casesPath()});
        QVERIFY(p.waitForFinished(60000));
        QFile::setPermissions(data, was);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(programMessages(p), QStringList());
        QVERIFY(QFileInfo::exists(home.filePath(QStringLiteral(".local/share/kelvorzu2/hist1.db"))));
        QVERIFY(QFileInfo::exists(home.filePath(QStringLiteral(".local/share/kelvorzu2/raion.db"))));
    }

private:
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The program's own messages, without the toolkit's warnings.
    static QStringList programMessages(QProcess& p) {
        QStringList lines;
        for (const QString& line : QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n')))
            if (line.startsWith(u"Ошибка"_s))
                lines << line;
        return lines;
    }
    QString casesPath() const { return dir_.filePath(QStringLiteral("cases.json")); }
    void writeCases(const QByteArray& json) {
        QFile f(casesPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(json);
    }
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestBatchCli)
#include "tst_batchcli.moc"
