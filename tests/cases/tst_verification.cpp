// The verification of worked cases: the comparison rule on its own, then a folder of cases run
// against the shipped tables.
#include "CalcTestFolder.h"
#include "core/verification/Verification.h"
#include "store/Schema.h"
#include "store/StoredFrameData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QJsonObject json(const char* text) {
    return QJsonDocument::fromJson(text).object();
}

struct SaidMessages : kz::Messenger {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

// Round steel 0,016 m, 5 m long at 0,7 m in 100 Ом·м: R = 100/(2π·5)·ln(25/(0,7·0,016)) = 24,54 Ом.
const char* const rod = R"("calculator": "TGorizFm", "inputs": {"EditRo0": "100", "EditPKV": "1",
    "cmbSech": "сталь круглая", "cmbDiam": "0,016", "EditDlina": "5", "EditGlub": "0,7"})";
} // namespace

class TestVerification : public QObject {
    Q_OBJECT
private slots:
    void comparison_data();
    void comparison();
    void folderOfCases();
    void stopsMidway();
};

void TestVerification::comparison_data() {
    QTest::addColumn<QByteArray>("workedCase");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<bool>("passed");
    QTest::addColumn<QString>("error");
    QTest::addColumn<double>("deviation"); // of the first output; NaN: none

    const double none = qQNaN();
    const QByteArray r = R"x({"outputs": {"EditVS1": "24,54", "lblRange": "( L > 2 )"}, "messages": []})x";
    QTest::newRow("equal text") << QByteArray(R"({"expect": {"EditVS1": "24,54", "messages": []}})") << r
                                << true << QString() << 0.0;
    // (24,54 − 25) / 25 = −1,84 %
    QTest::newRow("other number") << QByteArray(R"({"expect": {"EditVS1": "25"}})") << r << false << QString()
                                  << -1.84;
    QTest::newRow("equal number, other text")
        << QByteArray(R"({"expect": {"EditVS1": "24,540"}})") << r << false << QString() << 0.0;
    QTest::newRow("other label") << QByteArray(R"x({"expect": {"lblRange": "( L > 3 )"}})x") << r << false
                                 << QString() << none;
    QTest::newRow("message expected")
        << QByteArray(R"({"expect": {"messages": ["Ошибка."]}})") << r << false << QString() << none;
    QTest::newRow("no such output") << QByteArray(R"({"expect": {"EditVS2": "1"}})") << r << false
                                    << QString() << none;
    // 24 · 0,94 = 22,56 … 24 · 1,15 = 27,6; 24,54 is +2,25 %.
    QTest::newRow("inside the band") << QByteArray(R"({"expect": {"EditVS1": "24"}, "within": [-6, 15]})")
                                     << r << true << QString() << 2.25;
    QTest::newRow("above the band") << QByteArray(R"({"expect": {"EditVS1": "24"}, "within": [-1, 1]})") << r
                                    << false << QString() << 2.25;
    // 26,1 · 0,94 = 24,534: just inside; 26,2 · 0,94 = 24,628: out.
    QTest::newRow("low edge inside") << QByteArray(R"({"expect": {"EditVS1": "26,1"}, "within": [-6, 15]})")
                                     << r << true << QString() << -5.977;
    QTest::newRow("below the band") << QByteArray(R"({"expect": {"EditVS1": "26,2"}, "within": [-6, 15]})")
                                    << r << false << QString() << -6.336;
    // 24,54 / 1,15 = 21,339…: 21,34 · 1,15 = 24,541 holds it.
    QTest::newRow("high edge inside") << QByteArray(R"({"expect": {"EditVS1": "21,34"}, "within": [-6, 15]})")
                                      << r << true << QString() << 14.995;
    QTest::newRow("band over a text")
        << QByteArray(R"x({"expect": {"lblRange": "( L > 2 )"}, "within": [-6, 15]})x") << r << false
        << QString() << none;
    QTest::newRow("messages exact in a band")
        << QByteArray(R"({"expect": {"messages": [], "EditVS1": "24"}, "within": [-6, 15]})") << r << true
        << QString() << 2.25;
    QTest::newRow("band the wrong way") << QByteArray(R"({"expect": {"EditVS1": "24"}, "within": [15, -6]})")
                                        << r << false << u"within"_s << none;
    QTest::newRow("band of one number")
        << QByteArray(R"({"expect": {"EditVS1": "24"}, "within": [5]})") << r << false << u"within"_s << none;
    QTest::newRow("nothing expected") << QByteArray(R"({"expect": {}})") << r << false << u"expect"_s << none;
    QTest::newRow("case did not run")
        << QByteArray(R"({"expect": {"EditVS1": "24,54"}})") << QByteArray(R"({"error": "нет поля EditX"})")
        << false << u"EditX"_s << none;
}

void TestVerification::comparison() {
    QFETCH(QByteArray, workedCase);
    QFETCH(QByteArray, result);
    QFETCH(bool, passed);
    QFETCH(QString, error);
    QFETCH(double, deviation);
    const kz::CaseComparison c = kz::compareWithExpected(json(workedCase), json(result));
    QCOMPARE(c.passed(), passed);
    if (!error.isEmpty()) {
        QVERIFY2(c.error.contains(error), qPrintable(c.error));
        return;
    }
    QVERIFY(c.error.isEmpty());
    const kz::OutputCheck& first =
        c.outputs.last().output == u"messages"_s ? c.outputs.first() : c.outputs.last();
    if (qIsNaN(deviation))
        QVERIFY(!first.deviation);
    else
        QVERIFY2(first.deviation && std::fabs(*first.deviation - deviation) < 0.001,
                 qPrintable(QString::number(first.deviation.value_or(-1))));
}

namespace {
// A program folder with a verification folder of these files.
struct CaseFolder {
    SaidMessages said;
    CalcTestFolder folder{said};
    QString cases = folder.path() + u"/Verification"_s;

    explicit CaseFolder(const QList<std::pair<QString, QByteArray>>& files) {
        QDir().mkpath(cases);
        for (const auto& [name, text] : files) {
            QFile f(cases + u'/' + name);
            if (f.open(QIODevice::WriteOnly))
                f.write(text);
        }
    }
};

const QList<std::pair<QString, QByteArray>> someCases = {
    {u"TGorizFm.json"_s, QByteArray("[{\"name\": \"24,54\", \"source\": \"hand calculation\", ") + rod +
                             R"(, "expect": {"EditVS1": "24,54", "messages": []}},
          {"name": "25", "source": "hand calculation", )" +
                             rod + R"(, "expect": {"EditVS1": "25"}},
          {"name": "within", "source": "independent model: none", )" +
                             rod +
                             R"(, "expect": {"EditVS1": "24"}, "within": [-6, 15]},
          {"name": "no source", )" +
                             rod + R"(, "expect": {"EditVS1": "24,54"}}])"},
    // Two strips: the utilisation coefficient comes from Kipp.DB.
    {u"TParalFm.json"_s, R"([{"calculator": "TParalFm", "name": "coefficient", "source": "hand calculation",
       "inputs": {"EditRo0": "100", "cmbDiam": "0,02", "SpinKol": "2"}, "expect": {"EditKI": "0,7"}}])"},
    {u"broken.json"_s, "[{"},
    {u"notes.txt"_s, "not a case file"},
};
} // namespace

void TestVerification::folderOfCases() {
    CaseFolder f(someCases);
    const kz::StoredFrameData frames(*f.folder.data);
    kz::VerificationOptions options;
    options.changedTables = {{u"Kipp.DB"_s, u"изменена после поставки"_s}};
    options.tableFile = kz::tableFileName;
    QList<std::pair<int, int>> progress;
    options.progress = [&](int done, int total) { progress.append({done, total}); };
    const kz::VerificationRun run = kz::runVerification(f.cases, frames, options);

    QCOMPARE(run.total, 6);
    QCOMPARE(run.rows.size(), 6);
    QCOMPARE(progress.size(), 6);
    QCOMPARE(progress.last(), std::make_pair(6, 6));
    QVERIFY(!run.stopped);
    QCOMPARE(run.failures(), 3);
    QVERIFY(!run.allPassed());

    QStringList order, passed;
    for (const kz::VerificationRow& r : run.rows) {
        order << r.file + u':' + r.name;
        passed << (r.passed ? u"+"_s : u"-"_s);
    }
    QCOMPARE(order,
             QStringList({u"TGorizFm.json:24,54"_s, u"TGorizFm.json:25"_s, u"TGorizFm.json:within"_s,
                          u"TGorizFm.json:no source"_s, u"TParalFm.json:coefficient"_s, u"broken.json:"_s}));
    QCOMPARE(passed, QStringList({u"+"_s, u"-"_s, u"+"_s, u"+"_s, u"-"_s, u"-"_s}));

    const kz::VerificationRow& rodRow = run.rows[1];
    QCOMPARE(rodRow.caption, u"Горизонтальный заземлитель в земле."_s);
    QCOMPARE(rodRow.source, u"hand calculation"_s);
    QCOMPARE(rodRow.expectedText(), u"25"_s);
    QCOMPARE(rodRow.obtainedText(), u"24,54"_s);
    QVERIFY(rodRow.failureText().startsWith(u"EditVS1: ожидалось 25, получено 24,54 (-1,84 %)"_s));
    // The rod reads no table of coefficients, and none of its frames' tables changed.
    QCOMPARE(rodRow.dependsOn, QStringList());
    QCOMPARE(run.rows[0].expectedText(), u"EditVS1 = 24,54; messages = []"_s);
    QVERIFY(run.rows[0].warnings.isEmpty());
    QCOMPARE(run.rows[3].warnings.size(), 1);

    const kz::VerificationRow& strips = run.rows[4];
    QCOMPARE(strips.obtainedText(), u"0,68"_s);
    // The changed table first; the strip widths' table as well, as the store names its file.
    QCOMPARE(strips.dependsOn, QStringList({u"Kipp.DB (изменена после поставки)"_s, u"st_polos.db"_s}));
    QVERIFY(strips.failureText().contains(u"Kipp.DB"_s));

    QVERIFY2(run.rows[5].error.contains(u"JSON"_s), qPrintable(run.rows[5].error));

    // An empty folder is no verification at all.
    const kz::VerificationRun none = kz::runVerification(f.folder.path() + u"/Data"_s, frames);
    QVERIFY(!none.problem.isEmpty());
    QVERIFY(!none.allPassed());
}

void TestVerification::stopsMidway() {
    CaseFolder f(someCases);
    const kz::StoredFrameData frames(*f.folder.data);
    kz::VerificationOptions options;
    int asked = 0;
    options.stopRequested = [&] { return ++asked > 2; };
    const kz::VerificationRun run = kz::runVerification(f.cases, frames, options);
    QVERIFY(run.stopped);
    QCOMPARE(run.rows.size(), 2);
    QCOMPARE(run.total, 6);
    QVERIFY(!run.allPassed());
}

QTEST_MAIN(TestVerification)
#include "tst_verification.moc"
