#include "core/model/CalcCommon.h"
#include "core/calculators/rods/BuriedRod.h"
#include "core/common/NumberText.h"

#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

using namespace kz;

class TestBuriedRod : public QObject {
    Q_OBJECT
private slots:
    void resistance_data();
    void resistance();
    void resistivityIsRoundedToFiveDecimals_data();
    void resistivityIsRoundedToFiveDecimals();
    void middleDepthShowsTwoDecimals_data();
    void middleDepthShowsTwoDecimals();
    void geometry_data();
    void geometry();
    void depthStepDown_data();
    void depthStepDown();
    void calcOrderLineWritesDiameterInGeneralFormat();
    void checksRunInTheirOrderWithTheirSubjects();
    void historyAndCopyMappings();
    void soilRange_data();
    void soilRange();
    void hugeInputsGiveNoShowableResult();
};

// Expected values worked out from the formula with 30-digit arithmetic, independently of the code:
// p = p0·Kп, T = L/2 + To, R = p/(2πL)·(ln(2L/D) + 0,5·ln((4T+L)/(4T−L))).
void TestBuriedRod::resistance_data() {
    QTest::addColumn<double>("p0");
    QTest::addColumn<double>("kp");
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("r");
    // The opening values and the 3 m rod at 0,5 are worked cases of the window.
    // p = 75, R = 16,35386...
    QTest::newRow("coefficient 1,5") << 50.0 << 1.5 << 5.0 << 0.016 << 0.7 << 75.0 << 16.35;
    // T = 2,05, R = 37,15535...
    QTest::newRow("2,5 m rod, D 0,02") << 100.0 << 1.0 << 2.5 << 0.02 << 0.8 << 100.0 << 37.16;
    // p = 390, R = 116,44427...
    QTest::newRow("p 390") << 300.0 << 1.3 << 3.0 << 0.032 << 0.5 << 390.0 << 116.44;
    // L barely above D: R = 736,96295...
    QTest::newRow("rod just longer than its diameter")
        << 100.0 << 1.0 << 0.02 << 0.016 << 0.5 << 100.0 << 736.96;
    // p = 1700, T = 6, R = 181,53594...
    QTest::newRow("long rod in rock") << 1000.0 << 1.7 << 10.0 << 0.038 << 1.0 << 1700.0 << 181.54;
    // p = 0,5, R = 0,44195...
    QTest::newRow("sea water") << 0.5 << 1.0 << 1.0 << 0.01 << 0.5 << 0.5 << 0.44;
}

void TestBuriedRod::resistance() {
    QFETCH(double, p0);
    QFETCH(double, kp);
    QFETCH(double, l);
    QFETCH(double, d);
    QFETCH(double, to);
    QFETCH(double, p);
    QFETCH(double, r);
    const auto res = buriedrod::ComputeResistance(p0, kp, l, d, buriedrod::middleDepth(l, to));
    QCOMPARE(double(res.p), p);
    QCOMPARE(double(res.r), r);
}

void TestBuriedRod::resistivityIsRoundedToFiveDecimals_data() {
    QTest::addColumn<double>("p0");
    QTest::addColumn<double>("kp");
    QTest::addColumn<double>("p");
    QTest::newRow("123,456789 x 1,1") << 123.456789 << 1.1 << 135.80247;     // 135,8024679
    QTest::newRow("0,333333 x 0,333333") << 0.333333 << 0.333333 << 0.11111; // 0,111110888889
    QTest::newRow("exact") << 80.0 << 1.25 << 100.0;
}

void TestBuriedRod::resistivityIsRoundedToFiveDecimals() {
    QFETCH(double, p0);
    QFETCH(double, kp);
    QFETCH(double, p);
    QCOMPARE(double(buriedrod::ComputeResistance(p0, kp, 5, 0.016, 3.2).p), p);
    QCOMPARE(double(calculatedResistivity(p0, kp)), p);
}

void TestBuriedRod::middleDepthShowsTwoDecimals_data() {
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("to");
    QTest::addColumn<QString>("text");
    QTest::newRow("defaults") << 5.0 << 0.7 << QStringLiteral("3,20");
    QTest::newRow("3 and 0,5") << 3.0 << 0.5 << QStringLiteral("2,00");
    QTest::newRow("2,5 and 0,8") << 2.5 << 0.8 << QStringLiteral("2,05");
    QTest::newRow("7,333 and 1") << 7.333 << 1.0 << QStringLiteral("4,67"); // 4,6665
    QTest::newRow("0,01 and 0,5") << 0.01 << 0.5 << QStringLiteral("0,51");
}

void TestBuriedRod::middleDepthShowsTwoDecimals() {
    QFETCH(double, l);
    QFETCH(double, to);
    QFETCH(QString, text);
    QCOMPARE(buriedrod::middleDepthText(l, to), text);
}

void TestBuriedRod::geometry_data() {
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("to");
    QTest::addColumn<QString>("message");
    const QString diameter = u"Ошибка. Длина вертикального стержня должна быть больше диаметра."_s;
    const QString depth = u"Ошибка. Глубина заложения должна быть больше либо равна 0,5 м."_s;
    QTest::newRow("defaults pass") << 0.016 << 5.0 << 0.7 << QString();
    QTest::newRow("To 0,5 passes") << 0.016 << 5.0 << 0.5 << QString();
    QTest::newRow("To 0,49 refused") << 0.016 << 5.0 << 0.49 << depth;
    QTest::newRow("L equal to D refused") << 0.016 << 0.016 << 0.7 << diameter;
    QTest::newRow("L below D refused") << 0.05 << 0.04 << 0.7 << diameter;
    QTest::newRow("diameter is checked first") << 0.05 << 0.04 << 0.1 << diameter;
}

void TestBuriedRod::geometry() {
    QFETCH(double, d);
    QFETCH(double, l);
    QFETCH(double, to);
    QFETCH(QString, message);
    QCOMPARE(buriedrod::geometryError(d, l, to).value_or(QString()), message);
}

void TestBuriedRod::depthStepDown_data() {
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("1,2 by 1") << 1.2 << 1.0 << false;
    QTest::newRow("1,2 by 0,1") << 1.2 << 0.1 << true;
    QTest::newRow("1,5 by 1 reaches 0,5") << 1.5 << 1.0 << true;
    QTest::newRow("0,6 by 0,1 reaches 0,5") << 0.6 << 0.1 << true;
    QTest::newRow("0,51 by 0,01 reaches 0,5") << 0.51 << 0.01 << true;
    QTest::newRow("0,5 by 0,01") << 0.5 << 0.01 << false;
    QTest::newRow("0,55 by 0,1") << 0.55 << 0.1 << false;
}

void TestBuriedRod::depthStepDown() {
    QFETCH(double, to);
    QFETCH(double, step);
    QFETCH(bool, allowed);
    QCOMPARE(buriedrod::canStepDownDepth(to, step), allowed);
}

void TestBuriedRod::calcOrderLineWritesDiameterInGeneralFormat() {
    // The equivalent diameter of a 0,04 strip, 0,02, is written as a number, not as on screen.
    QCOMPARE(buriedrod::calcOrderLine(QStringLiteral("75"), QStringLiteral("2,5"), 0.5 * 0.04,
                                  QStringLiteral("2,05"), QStringLiteral("30")),
             u"R = 75 / (2*3,14*2,5) * [Ln(2*2,5/0,02) + 0,5*Ln((4*2,05+2,5) / (4*2,05-2,5))] = 30 Ом"_s);
}

void TestBuriedRod::checksRunInTheirOrderWithTheirSubjects() {
    const auto& checks = buriedrod::descriptor().checks;
    QStringList got;
    for (const auto& c : checks)
        got << c.input + QLatin1Char('|') + c.subject +
                   (c.kind == InputCheck::Kind::Filled ? QStringLiteral("|filled")
                                                       : QStringLiteral("|positive"));
    const QStringList expected = {
        u"EditPKV|коэффициента поправки|positive"_s,
        u"ComboGrunt|типа грунта|filled"_s,
        u"EditRo0|удельного сопротивления грунта|positive"_s,
        u"cmbSech|конструкции заземлителя|filled"_s,
        u"cmbDiam|размеров заземлителя|filled"_s,
        u"EditDiam0|диаметра заземлителя|positive"_s,
        u"EditDlina|длины заземлителя|positive"_s,
        u"EditGlub|глубины заложения|positive"_s,
    };
    QCOMPARE(got, expected);
}

void TestBuriedRod::historyAndCopyMappings() {
    const auto& d = buriedrod::descriptor();
    QCOMPARE(d.history.kindCode, 4);
    QCOMPARE(d.history.presetName, u"Вертикальный заземлитель в земле 1."_s);
    const InputTexts inputs{{QStringLiteral("ComboGrunt"), u"суглинок"_s},
                            {QStringLiteral("EditRo0"), QStringLiteral("100")},
                            {QStringLiteral("EditPKV"), QStringLiteral("1,5")},
                            {QStringLiteral("cmbSech"), u"сталь круглая"_s},
                            {QStringLiteral("cmbDiam"), QStringLiteral("0,016")},
                            {QStringLiteral("EditDlina"), QStringLiteral("5")},
                            {QStringLiteral("EditGlub"), QStringLiteral("0,7")},
                            {QStringLiteral("SizeSetMode"), QStringLiteral("1")},
                            {QStringLiteral("EditVS1"), QStringLiteral("21,81")}};
    const auto record = d.history.recordFromInputs(inputs);
    QCOMPARE(record.value(QStringLiteral("T")), QStringLiteral("0,7")); // To, not the derived depth
    QCOMPARE(record.value(QStringLiteral("L")), QStringLiteral("5"));
    QCOMPARE(record.value(QStringLiteral("N")), QStringLiteral("1"));
    QCOMPARE(record.value(QStringLiteral("R")), QStringLiteral("21,81"));
    QCOMPARE(record.value(QStringLiteral("Razmer")), QStringLiteral("0,016"));
    QCOMPARE(record.size(), 9);
    // The result is kept but never put back into an input.
    const auto back = d.history.inputsFromRecord(record);
    QVERIFY(!back.contains(QStringLiteral("EditVS1")));
    QCOMPARE(back.size(), 8);
    QCOMPARE(back.value(QStringLiteral("EditGlub")), QStringLiteral("0,7"));

    QCOMPARE(
        d.history.fieldList(),
        QStringList({u"Тип грунта:"_s, QStringLiteral("Grunt"), u"Удельное сопротивление грунта, Ом м:"_s,
                     QStringLiteral("P"), u"Коэффициент поправки:"_s, QStringLiteral("KP"),
                     u"Конструкция заземлителя:"_s, QStringLiteral("Construct"), u"Размер стержня, м:"_s,
                     QStringLiteral("Razmer"), u"Расстояние от поверхности земли до заземлителя, м:"_s,
                     QStringLiteral("T"), u"Длина стержня, м:"_s, QStringLiteral("L")}));
    // Soil type before p0 (its change handling resets p0), mode and construction before the size.
    const auto& order = d.inputOrder;
    QVERIFY(order.indexOf(QStringLiteral("ComboGrunt")) < order.indexOf(QStringLiteral("EditRo0")));
    QVERIFY(order.indexOf(QStringLiteral("SizeSetMode")) < order.indexOf(QStringLiteral("cmbSech")));
    QVERIFY(order.indexOf(QStringLiteral("cmbSech")) < order.indexOf(QStringLiteral("cmbDiam")));
    for (const QString& input : d.copyInputs)
        QVERIFY2(order.contains(input), qPrintable(input));
}

void TestBuriedRod::soilRange_data() {
    QTest::addColumn<QString>("p0");
    QTest::addColumn<double>("pMin");
    QTest::addColumn<double>("pMax");
    QTest::addColumn<bool>("inside");
    QTest::newRow("lower bound") << u"40"_s << 40.0 << 60.0 << true;
    QTest::newRow("upper bound") << u"60"_s << 40.0 << 60.0 << true;
    QTest::newRow("below") << u"39,99"_s << 40.0 << 60.0 << false;
    QTest::newRow("above") << u"70"_s << 40.0 << 60.0 << false;
    // Typed texts read in extended precision against the table's fractional bounds.
    QTest::newRow("fractional lower bound") << u"0,2"_s << 0.2 << 1.0 << true;
    QTest::newRow("fractional upper bound") << u"0,3"_s << 0.1 << 0.3 << true;
    QTest::newRow("shown as the bound") << u"150,000000000000001"_s << 100.0 << 150.0 << true;
    QTest::newRow("just below a fractional bound") << u"0,19"_s << 0.2 << 1.0 << false;
}

void TestBuriedRod::soilRange() {
    QFETCH(QString, p0);
    QFETCH(double, pMin);
    QFETCH(double, pMax);
    QFETCH(bool, inside);
    const auto error = soilRangeError(*parseNumber(p0), pMin, pMax);
    QCOMPARE(!error.has_value(), inside);
    if (error && pMin == 40)
        QCOMPARE(*error, u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 60."_s);
    QCOMPARE(soilRangeMessage(0.5, 1000),
             u"Ошибка. Допустимые значения удельного сопротивления грунта: 0,5 .. 1000."_s);
}

void TestBuriedRod::hugeInputsGiveNoShowableResult() {
    // A coefficient typed as 1e4900 overflows the rounding of p.
    const auto res = buriedrod::ComputeResistance(100, 1e4900L, 5, 0.016, 3.2);
    QVERIFY(!isShowableResult(res.r));
    QVERIFY(isShowableResult(21.81L));
    QVERIFY(!isShowableResult(1e400L)); // fits the working precision, not a shown double
}

QTEST_APPLESS_MAIN(TestBuriedRod)
#include "tst_buriedrod.moc"
