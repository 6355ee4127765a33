// The batch mode's own rules, on the calculators as built and the shipped tables: the order the
// inputs are set in, cases that start afresh, and bad cases that say why without stopping the rest.
#include "../calc/core/CalcTestFolder.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "widgets/common/DialogService.h"
#include "widgets/main/Batch.h"

#include <QJsonArray>
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
        BatchRunner runner(*env_);
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
        BatchRunner runner(*env_);
        bool allRan = true;
        const QJsonArray results = runner.run("[" + badCase + "," + good + "]", &allRan);
        QVERIFY(!allRan);
        QCOMPARE(results.size(), 2);
        const QString error = results[0].toObject().value(u"error"_s).toString();
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QVERIFY(
            !results[1].toObject().value(u"outputs"_s).toObject().value(u"EditVS1"_s).toString().isEmpty());
    }

    void malformedJsonIsOneClearError() {
        BatchRunner runner(*env_);
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
