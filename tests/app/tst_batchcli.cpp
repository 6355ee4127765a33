#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString u(const char* s) {
    return QString::fromUtf8(s);
}

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
                 QStringList{u("Ошибка. Файл ") + dir_.filePath(QStringLiteral("Data/st_krug.db")) +
                             u(" не найден.")});
        QFile f(out);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(QJsonDocument::fromJson(f.readAll()).isArray());
    }

private:
    // The program's own messages, without the toolkit's warnings.
    static QStringList programMessages(QProcess& p) {
        QStringList lines;
        for (const QString& line : QString::fromUtf8(p.readAllStandardError()).split(QLatin1Char('\n')))
            if (line.startsWith(u("Ошибка")))
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
