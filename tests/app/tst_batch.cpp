#include "widgets/main/Batch.h"
#include "widgets/calculator/CalculatorRegistry.h"
#include "store/DataModule.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {


// A calculator-like window: two soil frames with the same input names, a list filled on
// activation, a result that depends on the order the inputs were set in.
class FakeCalculator : public QDialog {
    Q_OBJECT
public:
    explicit FakeCalculator(QWidget* parent) : QDialog(parent) {
        auto* layout = new QVBoxLayout(this);
        soil_ = new QComboBox(this);
        soil_->setObjectName(QStringLiteral("ComboGrunt"));
        layout->addWidget(soil_);
        for (const char* frameName : {"FramePV", "FramePN"}) {
            auto* frame = new QFrame(this);
            frame->setObjectName(QLatin1String(frameName));
            auto* edit = new QLineEdit(frame);
            edit->setObjectName(QStringLiteral("EditRo0"));
            (new QVBoxLayout(frame))->addWidget(edit);
            layout->addWidget(frame);
        }
        length_ = new QLineEdit(this);
        length_->setObjectName(QStringLiteral("EditDlina"));
        layout->addWidget(length_);
        result_ = new QLineEdit(this);
        result_->setObjectName(QStringLiteral("EditVS1"));
        result_->setReadOnly(true);
        layout->addWidget(result_);
        // Choosing a soil resets the resistivity, as the soil frame does.
        connect(soil_, &QComboBox::currentTextChanged, this, [this] {
            findChild<QFrame*>(QStringLiteral("FramePV"))
                ->findChild<QLineEdit*>()
                ->setText(QStringLiteral("100"));
        });
    }
    Q_INVOKABLE void activate() {
        soil_->clear();
        soil_->addItems({u"суглинок"_s, u"песок"_s});
    }
    Q_INVOKABLE void Calculate(bool show) {
        double upper = 0, lower = 0, length = 0;
        const bool ok =
            tryParseNumber(findChild<QFrame*>(QStringLiteral("FramePV"))->findChild<QLineEdit*>()->text(),
                           upper) &&
            tryParseNumber(findChild<QFrame*>(QStringLiteral("FramePN"))->findChild<QLineEdit*>()->text(),
                           lower) &&
            tryParseNumber(length_->text(), length) && length > 0;
        if (!ok) {
            if (show)
                dialogs().showMessage(u"Значение длины заземлителя должно быть больше 0."_s);
            result_->clear();
            return;
        }
        result_->setText(formatGeneral((upper + lower) / length));
    }

private:
    QComboBox* soil_;
    QLineEdit* length_;
    QLineEdit* result_;
};

} // namespace

class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        CalculatorRegistry::instance().setFactory(
            QStringLiteral("TSferaFrm"),
            [](CalculatorEnvironment&, QWidget* p) { return new FakeCalculator(p); });
    }

    void runsCasesInTabOrderWithoutLeftovers() {
        const QByteArray json = R"([
            {"calculator": "TSferaFrm", "name": "first",
             "inputs": {"FramePN.EditRo0": "50", "FramePV.EditRo0": "300", "ComboGrunt": "песок", "EditDlina": "5"}},
            {"calculator": "TSferaFrm", "inputs": {"FramePN.EditRo0": "50"}}
        ])";
        DataModule data;
        CalculatorEnvironment env{data};
        BatchRunner runner(env);
        bool allRan = false;
        const QJsonArray results = runner.run(json, &allRan);
        QVERIFY(allRan);
        QCOMPARE(results.size(), 2);
        // The soil was chosen before p0 was typed, so 300 stands: (300 + 50) / 5.
        const QJsonObject first = results[0].toObject();
        QCOMPARE(first.value(QStringLiteral("name")).toString(), QStringLiteral("first"));
        QCOMPARE(
            first.value(QStringLiteral("outputs")).toObject().value(QStringLiteral("EditVS1")).toString(),
            QStringLiteral("70"));
        QVERIFY(first.value(QStringLiteral("messages")).toArray().isEmpty());
        // Nothing is carried over: the second case has no length, and says so.
        const QJsonObject second = results[1].toObject();
        QCOMPARE(
            second.value(QStringLiteral("outputs")).toObject().value(QStringLiteral("EditVS1")).toString(),
            QString());
        QCOMPARE(second.value(QStringLiteral("messages")).toArray(),
                 QJsonArray{u"Значение длины заземлителя должно быть больше 0."_s});
    }

    void badCasesGiveClearErrorsAndTheRestRun_data() {
        QTest::addColumn<QByteArray>("badCase");
        QTest::addColumn<QString>("errorPart");
        QTest::newRow("unknown calculator")
            << QByteArray(R"({"calculator": "TNothing", "inputs": {}})") << u"неизвестный калькулятор"_s;
        QTest::newRow("not built yet")
            << QByteArray(R"({"calculator": "TKolForm", "inputs": {}})") << u"еще не реализован"_s;
        QTest::newRow("unknown field")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"EditNothing": "1"}})")
            << u"нет поля EditNothing"_s;
        QTest::newRow("ambiguous field")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"EditRo0": "1"}})")
            << u"FramePV.EditRo0"_s;
        QTest::newRow("not in list")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"ComboGrunt": "глина"}})")
            << u"нет в списке ComboGrunt"_s;
        QTest::newRow("output field")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"EditVS1": "5"}})")
            << u"не является полем ввода"_s;
        QTest::newRow("number, not text")
            << QByteArray(R"({"calculator": "TSferaFrm", "inputs": {"EditDlina": 5}})")
            << u"должно быть строкой"_s;
        QTest::newRow("not an object") << QByteArray(R"(42)") << u"объектом"_s;
    }

    void badCasesGiveClearErrorsAndTheRestRun() {
        QFETCH(QByteArray, badCase);
        QFETCH(QString, errorPart);
        const QByteArray good =
            R"({"calculator": "TSferaFrm", "inputs": {"FramePV.EditRo0": "1", "FramePN.EditRo0": "1", "EditDlina": "2"}})";
        DataModule data;
        CalculatorEnvironment env{data};
        BatchRunner runner(env);
        bool allRan = true;
        const QJsonArray results = runner.run("[" + badCase + "," + good + "]", &allRan);
        QVERIFY(!allRan);
        QCOMPARE(results.size(), 2);
        const QString error = results[0].toObject().value(QStringLiteral("error")).toString();
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QCOMPARE(results[1]
                     .toObject()
                     .value(QStringLiteral("outputs"))
                     .toObject()
                     .value(QStringLiteral("EditVS1"))
                     .toString(),
                 QStringLiteral("1"));
    }

    void malformedJsonIsOneClearError() {
        DataModule data;
        CalculatorEnvironment env{data};
        BatchRunner runner(env);
        bool allRan = true;
        const QJsonArray results = runner.run("[{\"calculator\": ", &allRan);
        QVERIFY(!allRan);
        QCOMPARE(results.size(), 1);
        QVERIFY(results[0].toObject().value(QStringLiteral("error")).toString().startsWith(u"ошибка JSON"_s));
    }
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
