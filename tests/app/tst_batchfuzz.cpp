// Random inputs through the batch mode (no windows), every calculator: whatever is typed, no field shows a
// number that is not one, and a refused case shows no result; no case depends on the one before it, and
// look-ups far beyond their tables find nothing.
#include "CalcTestFolder.h"
#include "core/batch/CaseRunner.h"
#include "core/common/NumberText.h"
#include "core/model/Calculator.h"
#include "core/calculators/CalculatorList.h"
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
    void defaultsDoNotDependOnTheCaseBefore();
    void lookUpsFarBeyondTheirTables();
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

namespace {
// The numeric inputs a case may type into, by their batch names.
QStringList numericInputs(const CalculatorDescriptor& d) {
    QStringList numeric;
    for (const SoilFrameSetup& soil : d.soilFrames)
        numeric << soil.prefix + QStringLiteral("EditRo0") << soil.prefix + QStringLiteral("EditPKV");
    for (const GeometryInput& g : d.geometry)
        if (!g.readOnly && !g.isChoice() && !g.isSpin() && !g.isPictureChoice() && !g.isRadio() &&
            !g.isRowChoice() && !g.isRowGrid())
            numeric << g.name;
    return numeric;
}

// Whether the window's field lets the text be typed: digits and the comma only (a coefficient
// field without the key filter takes anything).
bool typeable(const CalculatorDescriptor& d, const QString& name, const QString& text) {
    if (name.endsWith(QLatin1String("EditPKV")) && !d.coefficientInputChecks)
        return true;
    static const QRegularExpression digits(QStringLiteral("^[0-9,]*$"));
    return digits.match(text).hasMatch();
}

// What no case may show, refused or computed: a field with a number that is not one, or a result
// beside a refusal.
QString shownFault(const QJsonObject& r, const QJsonObject& typed) {
    const QJsonObject out = r.value(QStringLiteral("outputs")).toObject();
    for (auto it = out.begin(); it != out.end(); ++it) {
        // An input shows what was typed into it; what the program writes is checked.
        if (typed.contains(it.key()))
            continue;
        const QString text = it.value().toString();
        if (it.key().startsWith(QLatin1String("Memo")) || it.key() == QLatin1String("EditRaschet")) {
            if (text.contains(QLatin1String("inf"), Qt::CaseInsensitive) ||
                text.contains(QLatin1String("nan"), Qt::CaseInsensitive))
                return it.key() + QStringLiteral(" = ") + text;
            continue;
        }
        if (const QString fault = numberFault(text); !fault.isEmpty())
            return it.key() + QStringLiteral(" = ") + text + QStringLiteral(": ") + fault;
    }
    return {};
}

} // namespace

void TestBatchFuzz::defaultsDoNotDependOnTheCaseBefore() {
    struct : Messenger {
        void showMessage(const QString&) override {}
    } quiet;
    CalcTestFolder folder(quiet);
    const auto opened = [](const Calculator* c) {
        return QJsonObject{{QStringLiteral("calculator"), c->description().className}};
    };
    // Each calculator alone, then after every other one on the same tables: nothing carries over.
    QMap<QString, QJsonObject> alone;
    for (const Calculator* c : builtCalculators()) {
        const StoredFrameData frames(*folder.data);
        CaseRunner runner(frames);
        alone.insert(c->description().className, runner.runCase(opened(c)).toJson());
    }
    for (const Calculator* before : builtCalculators())
        for (const Calculator* c : builtCalculators()) {
            if (c == before)
                continue;
            const StoredFrameData frames(*folder.data);
            CaseRunner runner(frames);
            runner.runCase(opened(before));
            const QJsonObject after = runner.runCase(opened(c)).toJson();
            const QJsonObject& own = alone[c->description().className];
            QVERIFY2(after == own, qPrintable(c->description().className + QStringLiteral(" after ") +
                                              before->description().className + QLatin1Char('\n') +
                                              QString::fromUtf8(QJsonDocument(after).toJson()) +
                                              QString::fromUtf8(QJsonDocument(own).toJson())));
        }
}

void TestBatchFuzz::lookUpsFarBeyondTheirTables() {
    struct : Messenger {
        void showMessage(const QString&) override {}
    } quiet;
    CalcTestFolder folder(quiet);
    // Beyond every table and beyond what a double holds, on either side, typed as the window lets.
    const QStringList far = {QStringLiteral("1") + QString(312, QLatin1Char('0')),
                             QStringLiteral("99999999"),
                             QStringLiteral("0,") + QString(320, QLatin1Char('0')) + QStringLiteral("1")};
    QJsonArray cases;
    for (const Calculator* c : builtCalculators())
        for (const QString& name : numericInputs(c->description()))
            for (const QString& text : far)
                cases.append(QJsonObject{{QStringLiteral("calculator"), c->description().className},
                                         {QStringLiteral("inputs"), QJsonObject{{name, text}}}});
    const StoredFrameData frames(*folder.data);
    CaseRunner runner(frames);
    bool allRan = false;
    const QJsonArray results = runner.run(QJsonDocument(cases).toJson(), &allRan);
    QVERIFY(allRan);
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QJsonObject r = results[i].toObject();
        const QJsonObject typed = cases[i].toObject().value(QStringLiteral("inputs")).toObject();
        const QByteArray where = QJsonDocument(cases[i].toObject()).toJson(QJsonDocument::Compact);
        const QString fault = shownFault(r, typed);
        QVERIFY2(fault.isEmpty(), (where + ' ' + fault.toUtf8()).constData());
        const QJsonArray messages = r.value(QStringLiteral("messages")).toArray();
        const QJsonObject out = r.value(QStringLiteral("outputs")).toObject();
        // The trestle's input resistance is read from its table: beyond it there is none.
        if (r.value(QStringLiteral("calculator")).toString() == QLatin1String("TEstakFm") &&
            typed.contains(QStringLiteral("EditPekv")) &&
            typed.value(QStringLiteral("EditPekv")).toString().size() > 300) {
            QCOMPARE(out.value(QStringLiteral("EditRvh")).toString(), QString());
            QVERIFY2(messages.size() == 1 &&
                         messages[0].toString().endsWith(QStringLiteral("в таблице не определено.")),
                     where.constData());
        }
    }
}

void TestBatchFuzz::randomCases() {
    struct : Messenger {
        void showMessage(const QString&) override {}
    } quiet;
    CalcTestFolder folder(quiet);
    QRandomGenerator random(20261209);

    QJsonArray cases;
    for (const Calculator* c : builtCalculators()) {
        const CalculatorDescriptor& d = c->description();
        const QStringList numeric = numericInputs(d);
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
        const QJsonObject typed = cases[i].toObject().value(QStringLiteral("inputs")).toObject();
        // A text the window's field would not take is an error naming one such input.
        const CalculatorDescriptor& d = findCalculator(r.value(QStringLiteral("calculator")).toString())->description();
        QStringList refused;
        for (auto it = typed.begin(); it != typed.end(); ++it)
            if (!typeable(d, it.key(), it.value().toString()))
                refused << it.key();
        const QString error = r.value(QStringLiteral("error")).toString();
        if (!refused.isEmpty()) {
            QVERIFY2(std::any_of(refused.cbegin(), refused.cend(),
                                 [&](const QString& name) { return error.contains(name); }),
                     (where + ' ' + error.toUtf8()).constData());
            QVERIFY(r.value(QStringLiteral("outputs")).isUndefined());
            continue;
        }
        QVERIFY2(error.isEmpty(), (where + ' ' + error.toUtf8()).constData());
        const QJsonObject out = r.value(QStringLiteral("outputs")).toObject();
        const QString fault = shownFault(r, typed);
        QVERIFY2(fault.isEmpty(), (where + ' ' + fault.toUtf8()).constData());
        const QString result = out.value(QStringLiteral("EditVS1")).toString();
        const bool saidWhy = !r.value(QStringLiteral("messages")).toArray().isEmpty();
        QVERIFY2(!(saidWhy && !result.isEmpty()), where.constData());
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
