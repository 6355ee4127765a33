// Random inputs through the batch mode (no windows), every calculator: whatever is typed, no field shows a
// number that is not one, and a refused case shows no result.
#include "CalcTestFolder.h"
#include "core/batch/CaseRunner.h"
#include "core/common/NumberText.h"
#include "core/model/Calculator.h"
#include "core/model/CalculatorList.h"
#include "store/StoredFrameData.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace kz;

class TestBatchFuzz : public QObject {
    Q_OBJECT
private slots:
    void randomCases();
};

namespace {
// What a designer, a slip of the hand or a pasted value may put into a numeric input.
const QStringList pool = {QStringLiteral("1"),
                          QStringLiteral("5"),
                          QStringLiteral("0,7"),
                          QStringLiteral("100"),
                          QStringLiteral("0"),
                          QStringLiteral("0,0000001"),
                          QStringLiteral("0,49"),
                          QStringLiteral("0,5"),
                          QStringLiteral("2,5"),
                          QStringLiteral("1000"),
                          QStringLiteral("abc"),
                          QStringLiteral(""),
                          QStringLiteral("1.5"),
                          QStringLiteral("-1"),
                          QStringLiteral("1e400"),
                          QStringLiteral("1E-400"),
                          QStringLiteral("12345678901234567890"),
                          QStringLiteral("1") + QString(100, QLatin1Char('0')),
                          QStringLiteral("0,") + QString(30, QLatin1Char('0')) + QStringLiteral("1"),
                          QStringLiteral("3,333333333333333333"),
                          QStringLiteral("150,000000000000001"),
                          QStringLiteral("99999"),
                          QStringLiteral("0,01"),
                          QStringLiteral("7")};

// A single-line field that holds a number shows it with a comma, at most 17 significant digits.
QString numberFault(const QString& text) {
    static const QRegularExpression numeric(QStringLiteral("^[-+0-9.,eE]+$"));
    if (text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
        text.contains(QLatin1String("nan"), Qt::CaseInsensitive))
        return QStringLiteral("not a number shown");
    if (!numeric.match(text).hasMatch())
        return {};
    if (text.contains(QLatin1Char('.')))
        return QStringLiteral("point as decimal separator");
    QString mantissa = text.section(QLatin1Char('E'), 0, 0).section(QLatin1Char('e'), 0, 0);
    mantissa.remove(QLatin1Char(',')).remove(QLatin1Char('-')).remove(QLatin1Char('+'));
    while (mantissa.startsWith(QLatin1Char('0')))
        mantissa.remove(0, 1);
    while (mantissa.endsWith(QLatin1Char('0')))
        mantissa.chop(1);
    if (mantissa.size() > 17)
        return QStringLiteral("more than 17 significant digits");
    return {};
}
} // namespace

void TestBatchFuzz::randomCases() {
    struct : Messenger {
        void showMessage(const QString&) override {}
    } quiet;
    CalcTestFolder folder(quiet);
    QRandomGenerator random(20261209);

    QJsonArray cases;
    for (const Calculator* c : builtCalculators()) {
        const CalculatorDescriptor& d = c->description();
        QStringList numeric;
        for (const SoilFrameSetup& soil : d.soilFrames)
            numeric << soil.prefix + QStringLiteral("EditRo0") << soil.prefix + QStringLiteral("EditPKV");
        for (const GeometryInput& g : d.geometry)
            if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isPictureChoice() && !g.isRadio() &&
                !g.isRowChoice())
                numeric << g.name;
        for (int i = 0; i < 300; ++i) {
            QJsonObject inputs;
            for (const QString& name : std::as_const(numeric))
                if (random.bounded(3) == 0)
                    inputs.insert(name, pool.at(random.bounded(int(pool.size()))));
            cases.append(QJsonObject{{QStringLiteral("name"), QString::number(i)},
                                     {QStringLiteral("calculator"), d.className},
                                     {QStringLiteral("inputs"), inputs}});
        }
    }
    const StoredFrameData frames(*folder.data);
    CaseRunner runner(frames);
    bool allRan = false;
    const QJsonArray results = runner.run(QJsonDocument(cases).toJson(), &allRan);
    QCOMPARE(results.size(), cases.size());
    int computed = 0;
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QJsonObject r = results[i].toObject();
        const QByteArray where = QJsonDocument(cases[i].toObject()).toJson(QJsonDocument::Compact);
        QVERIFY2(r.value(QStringLiteral("error")).isUndefined(), where.constData());
        const QJsonObject out = r.value(QStringLiteral("outputs")).toObject();
        const QJsonObject typed = cases[i].toObject().value(QStringLiteral("inputs")).toObject();
        for (auto it = out.begin(); it != out.end(); ++it) {
            // An input shows what was typed into it; what the program writes is checked.
            if (typed.contains(it.key()))
                continue;
            const QString text = it.value().toString();
            if (it.key().startsWith(QLatin1String("Memo")) || it.key() == QLatin1String("EditRaschet")) {
                QVERIFY2(!text.contains(QLatin1String("inf"), Qt::CaseInsensitive) &&
                             !text.contains(QLatin1String("nan"), Qt::CaseInsensitive),
                         (where + ' ' + text.toUtf8()).constData());
                continue;
            }
            const QString fault = numberFault(text);
            QVERIFY2(fault.isEmpty(),
                     (where + ' ' + it.key().toUtf8() + " = " + text.toUtf8() + ": " + fault.toUtf8())
                         .constData());
        }
        const QString result = out.value(QStringLiteral("EditVS1")).toString();
        const bool refused = !r.value(QStringLiteral("messages")).toArray().isEmpty();
        QVERIFY2(!(refused && !result.isEmpty()), where.constData());
        if (!result.isEmpty()) {
            ++computed;
            QVERIFY2(parseNumber(result).value_or(0) > 0, (where + " R = " + result.toUtf8()).constData());
        }
    }
    // The pool is no wall of refusals: a good share of the cases computes.
    QVERIFY(computed > results.size() / 10);
}

QTEST_MAIN(TestBatchFuzz)
#include "tst_batchfuzz.moc"
