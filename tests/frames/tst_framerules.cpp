#include "core/rules/SectionRules.h"
#include "core/rules/SoilRules.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

class TestFrameRules : public QObject {
    Q_OBJECT
private slots:
    void rangeMessage();
    void calculatedResistivityRoundsToFiveDecimals_data();
    void calculatedResistivityRoundsToFiveDecimals();
    void stepDigits_data();
    void stepDigits();
    void boundedSteps_data();
    void boundedSteps();
    void constructions();
    void labelsAndHints_data();
    void labelsAndHints();
    void diameters_data();
    void diameters();
    void corrosionQueries();
};

void TestFrameRules::rangeMessage() {
    QCOMPARE(soilRangeMessage(40, 60),
             u"Ошибка. Допустимые значения удельного сопротивления грунта: 40 .. 60."_s);
    QCOMPARE(soilRangeMessage(0.2, 1),
             u"Ошибка. Допустимые значения удельного сопротивления грунта: 0,2 .. 1."_s);
    QCOMPARE(requiredValueMessage(), u"Ошибка. Ввод значения обязателен."_s);
    QCOMPARE(defaultSoilName(), u"суглинок"_s);
}

void TestFrameRules::calculatedResistivityRoundsToFiveDecimals_data() {
    QTest::addColumn<double>("p0");
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("p");
    QTest::newRow("50 x 1,5") << 50.0 << 1.5 << 75.0;
    QTest::newRow("100 x 1") << 100.0 << 1.0 << 100.0;
    QTest::newRow("six decimals cut") << 0.123456 << 1.0 << 0.12346;
    // Binary-exact halves: 1/64 and 3/64 have six decimals ending in 5.
    QTest::newRow("half to even, down") << 0.015625 << 1.0 << 0.01562;
    QTest::newRow("half to even, up") << 0.046875 << 1.0 << 0.04688;
    QTest::newRow("thirds") << 1.0 << 0.333333333 << 0.33333;
}

void TestFrameRules::calculatedResistivityRoundsToFiveDecimals() {
    QFETCH(double, p0);
    QFETCH(double, k);
    QFETCH(double, p);
    QCOMPARE(double(calculatedResistivity(p0, k)), p);
}

void TestFrameRules::stepDigits_data() {
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("digit");
    QTest::newRow("100") << 100.0 << 0;
    QTest::newRow("1") << 1.0 << 0;
    QTest::newRow("1,5 counts as whole") << 1.5 << 0;
    QTest::newRow("0,1") << 0.1 << -1;
    QTest::newRow("0,01") << 0.01 << -2;
    QTest::newRow("0,001") << 0.001 << -3;
    QTest::newRow("0,25") << 0.25 << -2;
}

void TestFrameRules::stepDigits() {
    QFETCH(double, step);
    QFETCH(int, digit);
    QCOMPARE(soilStepDigits(step), digit);
}

void TestFrameRules::boundedSteps_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("allowed");
    // Soil range 40 .. 60.
    QTest::newRow("59,6 +1 leaves") << 59.6 << 1.0 << true << false;
    QTest::newRow("59,6 +0,1") << 59.6 << 0.1 << true << true;
    QTest::newRow("59,9 +0,1 reaches 60") << 59.9 << 0.1 << true << true;
    QTest::newRow("59 +1 reaches 60") << 59.0 << 1.0 << true << true;
    QTest::newRow("60 +0,01 leaves") << 60.0 << 0.01 << true << false;
    QTest::newRow("59,5 +1 rounds to 60 but shows 60,5") << 59.5 << 1.0 << true << false;
    QTest::newRow("40,04 -0,1 leaves") << 40.04 << 0.1 << false << false;
    QTest::newRow("40,04 -0,01") << 40.04 << 0.01 << false << true;
    QTest::newRow("40,1 -0,1 reaches 40") << 40.1 << 0.1 << false << true;
    QTest::newRow("40,5 -1 rounds to 40 but shows 39,5") << 40.5 << 1.0 << false << false;
    QTest::newRow("50 -10") << 50.0 << 10.0 << false << true;
}

void TestFrameRules::boundedSteps() {
    QFETCH(double, value);
    QFETCH(double, step);
    QFETCH(bool, up);
    QFETCH(bool, allowed);
    if (up)
        QCOMPARE(soilStepUpAllowed(value, step, 60), allowed);
    else
        QCOMPARE(soilStepDownAllowed(value, step, 40), allowed);
}

void TestFrameRules::constructions() {
    QCOMPARE(constructionNames(), (QStringList{u"сталь круглая"_s, u"сталь трубчатая"_s, u"сталь угловая"_s,
                                               u"сталь квадратная"_s, u"сталь полосовая"_s}));
    QCOMPARE(constructionOf(u"сталь угловая"_s), int(AngleSteel));
    QCOMPARE(constructionOf(QString()), int(NoConstruction));
    QCOMPARE(constructionOf(u"сталь"_s), int(NoConstruction));
    QVERIFY(usesEquivalentDiameter(AngleSteel));
    QVERIFY(usesEquivalentDiameter(StripSteel));
    QVERIFY(!usesEquivalentDiameter(TubularSteel));
    QVERIFY(!usesEquivalentDiameter(NoConstruction));
    QCOMPARE(steelTableFile(SquareSteel), u"st_kvad.db"_s);
    QCOMPARE(angleSizeText(u"0,04"_s, u"0,004"_s), u"0,04x0,04x0,004"_s);
    QCOMPARE(stripSizeText(u"0,04"_s, u"0,004"_s), u"0,04x0,004"_s);
    QCOMPARE(corrosionStatus(RecommendedSizes), u"рекомендуется"_s);
    QCOMPARE(corrosionStatus(PermittedSizes), u"допускается"_s);
}

void TestFrameRules::labelsAndHints_data() {
    QTest::addColumn<int>("construction");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("hint");
    QTest::newRow("round") << int(RoundSteel) << u"d - диаметр, м:"_s << u"Диаметр круглой стали"_s;
    QTest::newRow("tubular") << int(TubularSteel) << u"d - диаметр, м:"_s
                             << u"Внешний диаметр трубчатой стали"_s;
    QTest::newRow("square") << int(SquareSteel) << u"d - диаметр, м:"_s << u"Сторона квадратной стали"_s;
    QTest::newRow("angle") << int(AngleSteel) << u"B - ширина полки, м:"_s
                           << u"Размеры угловой стали: ширина полки х ширина полки х толщина полки"_s;
    QTest::newRow("strip") << int(StripSteel) << u"B - ширина полосы, м:"_s
                           << u"Размеры полосовой стали: ширина полосы х толщина полосы"_s;
    QTest::newRow("none") << int(NoConstruction) << u"d - диаметр, м:"_s << QString();
}

void TestFrameRules::labelsAndHints() {
    QFETCH(int, construction);
    QFETCH(QString, label);
    QFETCH(QString, hint);
    QCOMPARE(sizeLabel(construction, u"d"_s, u"B"_s), label);
    QCOMPARE(sizeListHint(construction), hint);
    QCOMPARE(equivalentDiameterLabel(u"D"_s), u"D - диаметр, м:"_s);
}

void TestFrameRules::diameters_data() {
    QTest::addColumn<int>("construction");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("diam0");
    QTest::addColumn<QString>("diam");
    QTest::newRow("round") << int(RoundSteel) << u"0,016"_s << u"0,016"_s << QString();
    QTest::newRow("square") << int(SquareSteel) << u"0,012"_s << u"0,012"_s << QString();
    QTest::newRow("strip 0,04x0,004") << int(StripSteel) << u"0,04x0,004"_s << u"0,04"_s << u"0,02"_s;
    QTest::newRow("angle 0,04x0,04x0,004")
        << int(AngleSteel) << u"0,04x0,04x0,004"_s << u"0,04"_s << u"0,038"_s;
    QTest::newRow("angle 0,063 rounds")
        << int(AngleSteel) << u"0,063x0,063x0,005"_s << u"0,063"_s << u"0,06"_s;
    QTest::newRow("strip half to even, down")
        << int(StripSteel) << u"0,025x0,004"_s << u"0,025"_s << u"0,012"_s;
    QTest::newRow("strip half to even, up")
        << int(StripSteel) << u"0,075x0,006"_s << u"0,075"_s << u"0,038"_s;
    QTest::newRow("angle half to even, up")
        << int(AngleSteel) << u"0,05x0,05x0,006"_s << u"0,05"_s << u"0,048"_s;
    QTest::newRow("angle half to even, down")
        << int(AngleSteel) << u"0,09x0,09x0,006"_s << u"0,09"_s << u"0,086"_s;
    QTest::newRow("strip width only") << int(StripSteel) << u"0,05"_s << u"0,05"_s << u"0,025"_s;
    QTest::newRow("strip empty") << int(StripSteel) << QString() << QString() << QString();
    QTest::newRow("angle not a number") << int(AngleSteel) << u"ax0,004"_s << QString() << QString();
}

void TestFrameRules::diameters() {
    QFETCH(int, construction);
    QFETCH(QString, size);
    QFETCH(QString, diam0);
    QFETCH(QString, diam);
    const SectionDiameters d = sectionDiameters(construction, size);
    QCOMPARE(d.size, diam0);
    QCOMPARE(d.equivalent, diam);
}

void TestFrameRules::corrosionQueries() {
    // Both queries bind P at both bounds of the soil class and name the five tables they join.
    const QString constructs = constructQueryLines().join(QLatin1Char('\n'));
    QCOMPARE(constructQueryLines().size(), 4);
    QVERIFY(constructs.contains(QStringLiteral("k0.PMin<:P and k0.PMax>=:P")));
    QVERIFY(constructs.contains(QStringLiteral(":Vid")) && constructs.contains(QStringLiteral(":Status")));
    QCOMPARE(sizeQueryLines().size(), 7);
    QCOMPARE(sizeQueryLines().last(), QStringLiteral("order by k4.Razmer"));
    QVERIFY(sizeQueryLines().join(QLatin1Char('\n')).contains(QStringLiteral("k3.Construct=:Construct")));
}

QTEST_APPLESS_MAIN(TestFrameRules)
#include "tst_framerules.moc"
