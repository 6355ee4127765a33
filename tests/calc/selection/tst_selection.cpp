#include "core/calculators/rods/BuriedRod.h"
#include "core/selection/Selection.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

SelectionRow r(const QString& name, const QString& start, const QString& end, const QString& step) {
    return {name, start, end, step};
}

SelectionDescriptor rodLength() {
    return {u"Длина стержня, м"_s,
            QStringLiteral("1"),
            QStringLiteral("5"),
            QStringLiteral("1"),
            QStringLiteral("double"),
            QStringLiteral("0,5"),
            QString(),
            u"начальное значение меньше конечного"_s};
}
SelectionDescriptor coefficient() {
    return {u"Коэффициент поправки"_s, QStringLiteral("2"),
            QStringLiteral("1"),       QStringLiteral("0,1"),
            QStringLiteral("double"),  QStringLiteral("1"),
            QStringLiteral("10"),      u"начальное значение больше конечного"_s};
}
SelectionDescriptor rods() {
    return {u"Кол-во стержней, шт."_s, QStringLiteral("2"), QStringLiteral("20"),  QStringLiteral("1"),
            QStringLiteral("integer"), QString(),           QStringLiteral("100"), QString()};
}

// The vertical rod in the ground as a run sees it: p = 100, D = 0,016, To = 0,7, T = L/2 + To
// rounded to hundredths, R = p/(2πL)·[ln(2L/D) + ½·ln((4T+L)/(4T−L))] rounded to hundredths.
struct RodRun {
    long double l = 5;
    long double kp = 1;
    QStringList applied;
    QStringList resistances;
    std::optional<long double> required;
    int stopAfter = -1;

    selection::RunHooks hooks() {
        selection::RunHooks h;
        h.apply = [this](const QString& name, long double v) {
            applied << name.left(1) + formatGeneral(v);
            if (name == u"Длина стержня, м"_s)
                l = v;
            else
                kp = v;
        };
        h.resistance = [this]() -> std::optional<long double> {
            const long double t = roundTo(l / 2 + 0.7L, 2);
            const long double r = buriedrod::ComputeResistance(100, kp, l, 0.016L, t).r;
            resistances << formatGeneral(r);
            return r;
        };
        h.required = [this] { return required; };
        h.breakRequested = [this] { return stopAfter >= 0 && resistances.size() >= stopAfter; };
        return h;
    }
};
} // namespace

class TestSelection : public QObject {
    Q_OBJECT
private slots:
    void hintTexts_data();
    void hintTexts();
    void keysOfRealAndIntegerCells();
    void gridFaults_data();
    void gridFaults();
    void compactWording_data();
    void compactWording();
    void selectionCount_data();
    void selectionCount();
    void singleRunCount_data();
    void singleRunCount();

    void runStopsAtTheFirstLengthMeetingTheRequiredValue();
    void exhaustedRunEndsOnTheLastCombination();
    void firstRowIsTheOutermostLoop();
    void startEqualToEndTriesOneValue();
    void stopRequestEndsAfterTheCurrentCombination();
    void accumulatedStepsAreUsedRounded();
    void inadmissibleCombinationsKeepTheLastResistance();
    void zeroOrWrongSignStepTriesNothing();
};

void TestSelection::hintTexts_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("chars");
    QTest::addColumn<QString>("range");
    QTest::newRow("both limits") << u"double"_s << u"1"_s << u"10"_s << u"0 .. 9 и запятая"_s << u"1 .. 10"_s;
    QTest::newRow("lower only") << u"double"_s << u"0,5"_s << QString() << u"0 .. 9 и запятая"_s
                                << u"больше либо равно 0,5"_s;
    QTest::newRow("upper only") << u"integer"_s << QString() << u"100"_s << u"0 .. 9"_s
                                << u"меньше либо равно 100"_s;
    QTest::newRow("none") << u"integer"_s << QString() << QString() << u"0 .. 9"_s << u"без ограничений"_s;
}

void TestSelection::hintTexts() {
    QFETCH(QString, type);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    SelectionDescriptor d{u"x"_s, {}, {}, {}, type, lower, upper, {}};
    QTEST(selection::allowedCharsText(d), "chars");
    QTEST(selection::rangeText(d), "range");
}

void TestSelection::keysOfRealAndIntegerCells() {
    for (QChar c : QStringLiteral("0123456789")) {
        QVERIFY(selection::acceptsKey(rodLength(), c));
        QVERIFY(selection::acceptsKey(rods(), c));
    }
    QVERIFY(selection::acceptsKey(rodLength(), QLatin1Char(',')));
    QVERIFY(!selection::acceptsKey(rodLength(), QLatin1Char('.')));
    QVERIFY(!selection::acceptsKey(rods(), QLatin1Char(',')));
    QVERIFY(!selection::acceptsKey(rodLength(), QLatin1Char('-')));
    QVERIFY(!selection::acceptsKey(rods(), QLatin1Char('e')));
    QVERIFY(selection::acceptsKey(rods(), QChar(8))); // backspace
}

void TestSelection::gridFaults_data() {
    QTest::addColumn<QList<SelectionRow>>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");
    const QString l = u"Длина стержня, м"_s;
    const QString k = u"Коэффициент поправки"_s;
    const QString n = u"Кол-во стержней, шт."_s;
    QTest::newRow("valid") << QList<SelectionRow>{r(l, u"1"_s, u"5"_s, u"1"_s),
                                                  r(k, u"2"_s, u"1"_s, u"0,1"_s)}
                           << -1 << -1 << QString();
    QTest::newRow("start below the lower limit")
        << QList<SelectionRow>{r(l, u"0,4"_s, u"5"_s, u"1"_s)} << 0 << 1
        << u"Ошибка. Для параметра \"Длина стержня, м\" допускаются значения не менее 0,5."_s;
    QTest::newRow("end outside both limits")
        << QList<SelectionRow>{r(l, u"1"_s, u"5"_s, u"1"_s), r(k, u"2"_s, u"11"_s, u"0,1"_s)} << 1 << 2
        << u"Ошибка. Для параметра \"Коэффициент поправки\" допускаются значения в пределах 1 .. 10."_s;
    QTest::newRow("above the upper limit")
        << QList<SelectionRow>{r(n, u"2"_s, u"101"_s, u"1"_s)} << 0 << 2
        << u"Ошибка. Для параметра \"Кол-во стержней, шт.\" допускаются значения не более 100."_s;
    QTest::newRow("zero step") << QList<SelectionRow>{r(l, u"1"_s, u"5"_s, u"0"_s)} << 0 << 3
                               << u"Ошибка. Допускаются значения больше 0."_s;
    QTest::newRow("a point is no decimal separator")
        << QList<SelectionRow>{r(l, u"1.5"_s, u"5"_s, u"1"_s)} << 0 << 1
        << u"Ошибка. \"1.5\" - недопустимое числовое значение."_s;
    QTest::newRow("empty cell") << QList<SelectionRow>{r(l, u"1"_s, u""_s, u"1"_s)} << 0 << 2
                                << u"Ошибка. \"\" - недопустимое числовое значение."_s;
    // Numbers first, column by column: the second row's start before the first row's end.
    QTest::newRow("column by column")
        << QList<SelectionRow>{r(l, u"1"_s, u"x"_s, u"1"_s), r(k, u"y"_s, u"1"_s, u"0,1"_s)} << 1 << 1
        << u"Ошибка. \"y\" - недопустимое числовое значение."_s;
    // Every number is checked before any limit.
    QTest::newRow("numbers before limits")
        << QList<SelectionRow>{r(l, u"0,4"_s, u"5"_s, u"1"_s), r(k, u"2"_s, u"1"_s, u"0"_s)} << 1 << 3
        << u"Ошибка. Допускаются значения больше 0."_s;
    // Steps are not held to the limits.
    QTest::newRow("step not range-checked")
        << QList<SelectionRow>{r(k, u"2"_s, u"1"_s, u"20"_s)} << -1 << -1 << QString();
}

void TestSelection::gridFaults() {
    QFETCH(QList<SelectionRow>, rows);
    QFETCH(int, row);
    const auto fault = selection::checkGrid(rows, {rodLength(), coefficient(), rods()});
    if (row < 0) {
        QVERIFY2(!fault, fault ? qPrintable(fault->message) : "");
        return;
    }
    QVERIFY(fault);
    QCOMPARE(fault->row, row);
    QTEST(fault->column, "column");
    QTEST(fault->message, "message");
}

// The standard device's dialog: shorter hints, its own limit messages, none without limits.
void TestSelection::compactWording_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("chars");
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("message");
    const QString beginning = u"Ошибка. Для параметра \"x\" допускаются значения "_s;
    QTest::newRow("resistivity") << u"integer"_s << u"40"_s << u"150"_s << u"151"_s << u"0..9"_s
                                 << u"40..150"_s << beginning + u"40..150."_s;
    QTest::newRow("rods") << u"integer"_s << u"2"_s << u"20"_s << u"2"_s << u"0..9"_s << u"2..20"_s
                          << QString();
    QTest::newRow("coefficient") << u"double"_s << u"1"_s << QString() << u"0,9"_s << u"0..9 и запятая"_s
                                 << u"не менее 1"_s << beginning + u"не менее 1."_s;
    QTest::newRow("length") << u"double"_s << QString() << QString() << u"0,1"_s << u"0..9 и запятая"_s
                            << u"больше 0"_s << QString();
}

void TestSelection::compactWording() {
    QFETCH(QString, type);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, start);
    QFETCH(QString, message);
    SelectionDescriptor d{u"x"_s, {}, {}, {}, type, lower, upper, {}};
    d.compactTexts = true;
    QTEST(selection::allowedCharsText(d), "chars");
    QTEST(selection::rangeText(d), "range");
    const auto startFault = selection::checkGrid({SelectionRow{u"x"_s, start, start, u"1"_s}}, {d});
    QCOMPARE(startFault ? startFault->message : QString(), message);
}

void TestSelection::selectionCount_data() {
    QTest::addColumn<QList<SelectionRow>>("rows");
    QTest::addColumn<long long>("count");
    QTest::newRow("L 1..5 by 1 and Kп 2..1 by 0,1")
        << QList<SelectionRow>{r(u"L"_s, u"1"_s, u"5"_s, u"1"_s), r(u"K"_s, u"2"_s, u"1"_s, u"0,1"_s)}
        << 55LL;
    QTest::newRow("start equals end") << QList<SelectionRow>{r(u"L"_s, u"3"_s, u"3"_s, u"1"_s)} << 1LL;
    // 2,5 steps round to 2 (ties to even), 3,5 to 4.
    QTest::newRow("half step, even below") << QList<SelectionRow>{r(u"L"_s, u"0,5"_s, u"3"_s, u"1"_s)} << 3LL;
    QTest::newRow("half step, even above") << QList<SelectionRow>{r(u"L"_s, u"0,5"_s, u"4"_s, u"1"_s)} << 5LL;
    QTest::newRow("resistivity 150..40 by 1")
        << QList<SelectionRow>{r(u"p"_s, u"150"_s, u"40"_s, u"1"_s)} << 111LL;
}

void TestSelection::selectionCount() {
    QFETCH(QList<SelectionRow>, rows);
    QTEST(selection::selectionCount(rows), "count");
}

void TestSelection::singleRunCount_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("step");
    QTest::addColumn<long long>("count");
    QTest::newRow("1..5 by 1") << 1.0 << 5.0 << 1.0 << 5LL;
    QTest::newRow("2..1 by 0,1") << 2.0 << 1.0 << 0.1 << 11LL;
    QTest::newRow("zero step") << 1.0 << 5.0 << 0.0 << 0LL;
}

void TestSelection::singleRunCount() {
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, step);
    QTEST(selection::singleRunCount(start, end, step), "count");
}

void TestSelection::runStopsAtTheFirstLengthMeetingTheRequiredValue() {
    RodRun run;
    run.required = 30;
    const auto result = selection::runSelection({{u"Длина стержня, м"_s, 1, 5, 1}}, run.hooks());
    QCOMPARE(result.outcome, selection::Outcome::Found);
    QCOMPARE(run.applied, (QStringList{u"Д1"_s, u"Д2"_s, u"Д3"_s, u"Д4"_s}));
    // By hand: L = 1 → T 1,2: 100/(2π)·[ln 125 + ½·ln(5,8/3,8)] = 80,21; L = 4 → T 2,7: 26,27.
    QCOMPARE(run.resistances, (QStringList{u"80,21"_s, u"46,35"_s, u"33,33"_s, u"26,27"_s}));
    QCOMPARE(result.combinations, 4);
    QCOMPARE(formatGeneral(*result.r), u"26,27"_s);
    QVERIFY(!result.inadmissible);
}

void TestSelection::exhaustedRunEndsOnTheLastCombination() {
    RodRun run;
    run.required = 4;
    const auto result = selection::runSelection({{u"Длина стержня, м"_s, 1, 5, 1}}, run.hooks());
    QCOMPARE(result.outcome, selection::Outcome::Exhausted);
    QCOMPARE(run.l, 5.0L);
    QCOMPARE(formatGeneral(*result.r), u"21,81"_s);
    QCOMPARE(result.combinations, 5);
}

void TestSelection::firstRowIsTheOutermostLoop() {
    RodRun run;
    run.required = 30;
    // Kп outer from 2 down, L inner: with Kп 2 the best is L 5 (43,61 > 30), with Kп 1,5 L 5 gives
    // 32,71 > 30, with Kп 1,4 L 5 gives 30,53 > 30, with Kп 1,3 L 5 gives 28,35: the first success.
    const auto result = selection::runSelection(
        {{u"Коэффициент поправки"_s, 2, 1, 0.1L}, {u"Длина стержня, м"_s, 1, 5, 1}}, run.hooks());
    QCOMPARE(result.outcome, selection::Outcome::Found);
    QCOMPARE(run.applied.mid(0, 6), (QStringList{u"К2"_s, u"Д1"_s, u"Д2"_s, u"Д3"_s, u"Д4"_s, u"Д5"_s}));
    QCOMPARE(run.applied.mid(6, 2), (QStringList{u"К1,9"_s, u"Д1"_s}));
    QCOMPARE(formatGeneral(run.kp), u"1,3"_s);
    QCOMPARE(run.l, 5.0L);
    QCOMPARE(formatGeneral(*result.r), u"28,35"_s);
    QCOMPARE(result.combinations, 8 * 5);
}

void TestSelection::startEqualToEndTriesOneValue() {
    RodRun run;
    run.required = 1;
    const auto result = selection::runSelection({{u"Длина стержня, м"_s, 3, 3, 1}}, run.hooks());
    QCOMPARE(run.applied, QStringList{u"Д3"_s});
    QCOMPARE(result.outcome, selection::Outcome::Exhausted);
}

void TestSelection::stopRequestEndsAfterTheCurrentCombination() {
    RodRun run;
    run.required = 1;
    run.stopAfter = 2;
    const auto result = selection::runSelection({{u"Длина стержня, м"_s, 1, 5, 1}}, run.hooks());
    QCOMPARE(result.outcome, selection::Outcome::Stopped);
    QCOMPARE(result.combinations, 2);
    QCOMPARE(run.l, 2.0L);
    QCOMPARE(formatGeneral(*result.r), u"46,35"_s);
}

void TestSelection::accumulatedStepsAreUsedRounded() {
    QList<long double> values;
    selection::RunHooks h;
    h.apply = [&](const QString&, long double v) { values << v; };
    h.resistance = [] { return std::optional<long double>(100); };
    h.required = [] { return std::optional<long double>(1); };
    selection::runSelection({{u"Коэффициент поправки"_s, 2, 1, 0.1L}}, h);
    // Ten steps of 0,1 from 2 land beside 1, not on it: whether 1 is tried depends on that.
    QVERIFY(values.size() == 10 || values.size() == 11);
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(formatGeneral(values[i]), formatGeneral(roundTo(2 - 0.1L * i, 1)));
}

void TestSelection::inadmissibleCombinationsKeepTheLastResistance() {
    int calls = 0;
    selection::RunHooks h;
    h.apply = [](const QString&, long double) {};
    // Admissible first (50), then the formula's conditions fail.
    h.resistance = [&]() -> std::optional<long double> {
        return ++calls == 1 ? std::optional<long double>(50) : std::nullopt;
    };
    h.required = [] { return std::optional<long double>(10); };
    QList<bool> admissible;
    h.tried = [&](long double, std::optional<long double> r) { admissible << bool(r); };
    const auto result = selection::runSelection({{u"Длина стержня, м"_s, 1, 3, 1}}, h);
    QCOMPARE(result.outcome, selection::Outcome::Exhausted);
    QVERIFY(result.inadmissible);
    QCOMPARE(formatGeneral(*result.r), u"50"_s);
    QCOMPARE(admissible, (QList<bool>{true, false, false}));
}

void TestSelection::zeroOrWrongSignStepTriesNothing() {
    for (const long double step : {0.0L, -1.0L}) {
        RodRun run;
        run.required = 100;
        const auto result = selection::runSelection({{u"Длина стержня, м"_s, 1, 5, step}}, run.hooks());
        QCOMPARE(result.outcome, selection::Outcome::Exhausted);
        QCOMPARE(result.combinations, 0);
        QVERIFY(run.applied.isEmpty());
        QVERIFY(!result.r);
    }
}

QTEST_GUILESS_MAIN(TestSelection)
#include "tst_selection.moc"
