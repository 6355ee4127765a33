// The batch mode's own rules, on the calculators as built and the shipped tables: the order the
// inputs are set in, cases that start afresh, and bad cases that say why without stopping the rest.
#include "../calc/core/CalcTestFolder.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/common/DialogService.h"
#include "app/commands/Batch.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void init() {
        folder_ = std::make_unique<CalcTestFolder>(messages_);
        env_ = std::make_unique<CalculatorEnvironment>(CalculatorEnvironment{*folder_->data});
    }
    void cleanup() {
        env_.reset();
        folder_.reset();
    }

    void setsInputsInTheCalculatorsOrderWithoutLeftovers() {
        // p0 named before its soil: the soil is chosen first, so the typed 500 stands.
        const QByteArray json = R"([
            {"calculator": "TDVertFm", "name": "first", "inputs": {"EditRo0": "500", "ComboGrunt": "песок"}},
            {"calculator": "TDVertFm", "inputs": {"EditDlina": "0"}}
        ])";
        BatchRunner runner(env_->data);
        bool allRan = false;
        const QJsonArray results = runner.run(json, &allRan);
        QVERIFY(allRan);
        const QJsonObject first = results[0].toObject();
        QCOMPARE(first.value(u"name"_s).toString(), u"first"_s);
        QCOMPARE(first.value(u"outputs"_s).toObject().value(u"EditRo"_s).toString(), u"500"_s);
        QVERIFY(first.value(u"messages"_s).toArray().isEmpty());
        // Nothing is carried over: the second case has the default soil's p0 and says what is wrong.
        const QJsonObject second = results[1].toObject();
        QCOMPARE(second.value(u"outputs"_s).toObject().value(u"EditRo"_s).toString(), u"100"_s);
        QCOMPARE(second.value(u"outputs"_s).toObject().value(u"EditVS1"_s).toString(), QString());
        QCOMPARE(second.value(u"messages"_s).toArray(),
                 QJsonArray{u"Значение длины заземлителя должно быть больше 0."_s});
    }

    void badCasesGiveClearErrorsAndTheRestRun_data() {
        QTest::addColumn<QByteArray>("badCase");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("unknown calculator")
            << QByteArray(R"({"calculator": "TNothing", "inputs": {}})") << u"неизвестный калькулятор"_s;
        QTest::newRow("unknown field")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"EditNothing": "1"}})")
            << u"нет поля EditNothing"_s;
        QTest::newRow("ambiguous field")
            << QByteArray(R"({"calculator": "TStandFrm", "inputs": {"cmbSech": "1"}})")
            << u"frmSechV.cmbSech"_s;
        QTest::newRow("not in list")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"ComboGrunt": "мрамор"}})")
            << u"нет в списке ComboGrunt"_s;
        QTest::newRow("output field")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"EditRo": "5"}})")
            << u"не является полем ввода"_s;
        QTest::newRow("number, not text")
            << QByteArray(R"({"calculator": "TDVertFm", "inputs": {"EditDlina": 5}})")
            << u"должно быть строкой"_s;
        QTest::newRow("count out of range")
            << QByteArray(R"({"calculator": "TSet1_Frm", "inputs": {"SpinKolGor": "1000"}})")
            << u"должно быть целым"_s;
        QTest::newRow("size mode by name")
            << QByteArray(R"({"calculator": "TDVertFm", "inputs": {"SizeSetMode": "1"}})") << u"btnRecMat"_s;
        QTest::newRow("not an object") << QByteArray(R"(42)") << u"объектом"_s;
    }

    void badCasesGiveClearErrorsAndTheRestRun() {
        QFETCH(QByteArray, badCase);
        QFETCH(QString, errorPart);
        const QByteArray good = R"({"calculator": "TDVertFm", "inputs": {}})";
        BatchRunner runner(env_->data);
        bool allRan = true;
        const QJsonArray results = runner.run("[" + badCase + "," + good + "]", &allRan);
        QVERIFY(!allRan);
        QCOMPARE(results.size(), 2);
        const QString error = results[0].toObject().value(u"error"_s).toString();
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QVERIFY(
            !results[1].toObject().value(u"outputs"_s).toObject().value(u"EditVS1"_s).toString().isEmpty());
    }

    void textsTheWindowWouldNotTakeAreErrorsNamingTheInput_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        const QString rmax = u"EditRmax"_s;
        const QString length = u"EditDlina"_s;
        QTest::newRow("Rдоп NaN") << rmax << u"NaN"_s;
        QTest::newRow("Rдоп Infinity") << rmax << u"Infinity"_s;
        QTest::newRow("Rдоп abc") << rmax << u"abc"_s;
        QTest::newRow("Rдоп -5") << rmax << u"-5"_s;
        QTest::newRow("Rдоп of 400 digits") << rmax << u"1"_s + QString(399, u'0');
        QTest::newRow("Rдоп empty") << rmax << QString();
        QTest::newRow("length after a tab") << length << u"\t5"_s;
        QTest::newRow("length with an exponent") << length << u"5e0"_s;
        QTest::newRow("length 1e-4000") << length << u"1e-4000"_s;
        QTest::newRow("length with a point") << length << u"5.5"_s;
        QTest::newRow("length longer than an edit line holds") << length << u"5,"_s + QString(32766, u'1');
        QTest::newRow("p0 with a blank") << u"EditRo0"_s << u"100 "_s;
        QTest::newRow("count with a sign") << u"SpinKol"_s << u"+5"_s;
    }

    void textsTheWindowWouldNotTakeAreErrorsNamingTheInput() {
        QFETCH(QString, input);
        QFETCH(QString, text);
        const QString calculator = input == u"SpinKol"_s ? u"TParalFm"_s : u"TDVertFm"_s;
        const QJsonObject c{{u"calculator"_s, calculator}, {u"inputs"_s, QJsonObject{{input, text}}}};
        BatchRunner runner(env_->data);
        bool allRan = true;
        const QJsonArray results = runner.run(QJsonDocument(QJsonArray{c}).toJson(), &allRan);
        QVERIFY(!allRan);
        const QJsonObject r = results[0].toObject();
        const QString error = r.value(u"error"_s).toString();
        QVERIFY2(error.contains(input), qPrintable(error));
        QVERIFY(r.value(u"outputs"_s).isUndefined());
    }

    void gridCellsTakeWhatTheirEditorTakes_data() {
        QTest::addColumn<QJsonValue>("rows");
        QTest::addColumn<QStringList>("errorParts"); // empty: taken
        const auto rows = [](std::initializer_list<QStringList> list) {
            QJsonArray a;
            for (const QStringList& row : list)
                a.append(QJsonArray::fromStringList(row));
            return QJsonValue(a);
        };
        const QString grid = u"StringGrid1"_s;
        QTest::newRow("text form, blanks around cells") << QJsonValue(u" 0,5 ||;| 0,6|"_s) << QStringList();
        QTest::newRow("rows of cells") << rows({{u"0,5"_s, {}, {}}, {{}, u"0,6"_s, {}}}) << QStringList();
        QTest::newRow("letters in Yi") << QJsonValue(u"0,5|abc|"_s)
                                       << QStringList{grid, u"строка 1 (N болта 2)"_s, u"\"Yi, м\""_s};
        QTest::newRow("a point in Xi of the second row")
            << rows({{u"0,5"_s}, {u"0.5"_s}}) << QStringList{grid, u"строка 2 (N болта 3)"_s, u"\"Xi, м\""_s};
        QTest::newRow("a blank inside a listed cell") << rows({{u" 0,5"_s}}) << QStringList{grid, u"\"Xi, м\""_s};
        QTest::newRow("a sign") << rows({{{}, {}, u"-1"_s}}) << QStringList{grid, u"\"Zi, м\""_s};
        QTest::newRow("longer than the cell holds")
            << rows({{QString(32768, u'1')}}) << QStringList{grid, u"\"Xi, м\""_s, u"32767"_s};
        QTest::newRow("Ki, which the program fills")
            << QJsonValue(u"0,5|||0,9"_s) << QStringList{grid, u"строка 1"_s, u"\"Ki\""_s};
        QTest::newRow("a cell beyond the last column")
            << QJsonValue(u"0,5||||1"_s) << QStringList{grid, u"строка 1"_s, u"ячеек больше"_s};
    }

    void gridCellsTakeWhatTheirEditorTakes() {
        QFETCH(QJsonValue, rows);
        QFETCH(QStringList, errorParts);
        const QJsonObject c{{u"calculator"_s, u"TMKFundFm"_s}, {u"inputs"_s, QJsonObject{{u"StringGrid1"_s, rows}}}};
        BatchRunner runner(env_->data);
        bool allRan = false;
        const QJsonArray results = runner.run(QJsonDocument(QJsonArray{c}).toJson(), &allRan);
        const QString error = results[0].toObject().value(u"error"_s).toString();
        QCOMPARE(allRan, errorParts.isEmpty());
        for (const QString& part : errorParts)
            QVERIFY2(error.contains(part), qPrintable(error));
    }

    // Rдоп is a number a double holds (DBL_MAX is about 1,8·10^308, the least normal about 2,2·10^-308):
    // the window lets the field be left with just these.
    void permissibleResistanceIsANumberADoubleHolds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("taken");
        QTest::newRow("0") << u"0"_s << true;
        QTest::newRow("10 to the 308th") << u"1"_s + QString(308, u'0') << true;
        QTest::newRow("2 times 10 to the 308th") << u"2"_s + QString(308, u'0') << false;
        QTest::newRow("400 digits") << u"1"_s + QString(399, u'0') << false;
        QTest::newRow("10 to the -310th, kept without its digits") << u"0,"_s + QString(309, u'0') + u"1"_s << false;
        QTest::newRow("10 to the -401st, kept as 0") << u"0,"_s + QString(400, u'0') + u"1"_s << false;
    }

    void permissibleResistanceIsANumberADoubleHolds() {
        QFETCH(QString, text);
        QFETCH(bool, taken);
        const QJsonObject c{{u"calculator"_s, u"TDVertFm"_s}, {u"inputs"_s, QJsonObject{{u"EditRmax"_s, text}}}};
        BatchRunner runner(env_->data);
        bool allRan = !taken;
        const QJsonArray results = runner.run(QJsonDocument(QJsonArray{c}).toJson(), &allRan);
        QCOMPARE(allRan, taken);
        if (!taken)
            QVERIFY(results[0].toObject().value(u"error"_s).toString().contains(u"EditRmax"_s));
    }

    void typedNumbersAreTaken_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        // 100 / (2·π·3) · [ln(2·3/0,016) + 0,5·ln((4·2,2 + 3) / (4·2,2 − 3))] = 5,3052·(5,9269 + 0,3551).
        QTest::newRow("length 3") << u"EditDlina"_s << u"3"_s << u"33,33"_s;
        QTest::newRow("Rдоп 10") << u"EditRmax"_s << u"10"_s << u"21,81"_s;
        // An emptied field is typed too: the calculator's check says what is missing.
        QTest::newRow("length emptied") << u"EditDlina"_s << QString() << QString();
    }

    void typedNumbersAreTaken() {
        QFETCH(QString, input);
        QFETCH(QString, text);
        const QJsonObject c{{u"calculator"_s, u"TDVertFm"_s}, {u"inputs"_s, QJsonObject{{input, text}}}};
        BatchRunner runner(env_->data);
        bool allRan = false;
        const QJsonArray results = runner.run(QJsonDocument(QJsonArray{c}).toJson(), &allRan);
        QVERIFY(allRan);
        QTEST(results[0].toObject().value(u"outputs"_s).toObject().value(u"EditVS1"_s).toString(), "result");
    }

    void halvesOfCharacterPairsAreReplacedAndSaid() {
        // "\ud800" in the JSON text: half of a pair, which no file name, XML or strict JSON holds.
        const QByteArray json = R"([{"calculator": "TDVertFm", "name": "x\ud800y", "inputs": {}},
                                   {"calculator": "TDVertFm", "name": "plain", "inputs": {}}])";
        QTemporaryDir reports;
        BatchRunner runner(env_->data);
        runner.setReportDir(reports.path());
        bool allRan = false;
        const QByteArray text = runner.runToText(json, &allRan);
        QVERIFY(allRan);
        QVERIFY2(!text.contains("\\ud800") && !text.contains("\\ud"), text.constData());
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8(text);
        QVERIFY(!utf8.hasError());
        const QJsonArray results = QJsonDocument::fromJson(text).array();
        const QJsonObject replaced = results[0].toObject();
        const QString name = u"x"_s + QChar(QChar::ReplacementCharacter) + u"y"_s;
        QCOMPARE(replaced.value(u"name"_s).toString(), name);
        QCOMPARE(replaced.value(u"messages"_s).toArray().first().toString(), invalidTextMessage());
        // The report is named as it was written.
        const QString report = replaced.value(u"report"_s).toString();
        QCOMPARE(QFileInfo(report).fileName(), name + u".docx"_s);
        QVERIFY(QFileInfo::exists(report));
        QVERIFY(results[1].toObject().value(u"messages"_s).toArray().isEmpty());
    }

    void malformedJsonIsOneClearError() {
        BatchRunner runner(env_->data);
        bool allRan = true;
        const QJsonArray results = runner.run("[{\"calculator\": ", &allRan);
        QVERIFY(!allRan);
        QCOMPARE(results.size(), 1);
        QVERIFY(results[0].toObject().value(u"error"_s).toString().startsWith(u"ошибка JSON"_s));
    }

private:
    RecordingDialogs messages_;
    std::unique_ptr<CalcTestFolder> folder_;
    std::unique_ptr<CalculatorEnvironment> env_;
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
