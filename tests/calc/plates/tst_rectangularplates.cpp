#include "core/calculators/plates/BodyElectrodes.h"
#include "core/calculators/plates/EdgePlateTwoLayer.h"
#include "core/calculators/plates/BuriedEdgePlate.h"
#include "core/calculators/plates/EdgePlate.h"
#include "core/calculators/plates/RectangularPlateAtSurface.h"
#include "core/calculators/plates/SquarePlateAtSurface.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
long double n(const QString& text) {
    return *parseNumber(text);
}

CalcInputs plate(const QString& a, const QString& b) {
    CalcInputs in;
    in.texts = {{u"EditShir"_s, a}, {u"EditDlina"_s, b}};
    return in;
}

// A plate on edge with both soil frames filled; the lower layer is read only in two-layer earth.
CalcInputs edgePlateInputs(const QString& p1, const QString& p2, const QString& a, const QString& b, const QString& to,
                     const QString& h) {
    CalcInputs in;
    for (const auto& [frame, p0] : {std::pair{QString(), p1}, std::pair{u"pFrame1."_s, p2}}) {
        in.texts.insert(frame + u"ComboGrunt"_s, u"суглинок"_s);
        in.texts.insert(frame + u"EditRo0"_s, p0);
        in.texts.insert(frame + u"EditPKV"_s, u"1"_s);
        in.texts.insert(frame + u"EditRo"_s, p0);
    }
    in.texts.insert(u"EditShir"_s, a);
    in.texts.insert(u"EditDlina"_s, b);
    in.texts.insert(u"EditGlub"_s, to);
    in.texts.insert(u"EditH"_s, h);
    in.pMax = in.lowerPMax = 1000;
    return in;
}
} // namespace

// Rectangular and square plates on the surface: the formulas against values computed by hand to
// 30 digits (mpmath), the rule a < b < 4a with its labels and linking.
class TestRectangularPlates : public QObject {
    Q_OBJECT
private slots:
    void rectangle_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        // Just short of 4a, R no longer falls to 0: ln 15,92 · 100/(1,99π) = 44,268686...
        QTest::newRow("b near 4a") << u"100"_s << u"1"_s << u"0,5"_s << u"1,99"_s << u"44,27"_s;
        // p = 65: ln 8 · 65/(2π) = 21,511971...
        QTest::newRow("corrected resistivity") << u"50"_s << u"1,3"_s << u"1"_s << u"2"_s << u"21,51"_s;
        // ln(13,333) · 300/π = 247,352294...
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,3"_s << u"1"_s << u"247,35"_s;
        // p = 180: ln 6 · 180/(3π) = 34,220085...
        QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"2"_s << u"3"_s << u"34,22"_s;
        // The values linking gives: 133,210812...; 28,090058...
        QTest::newRow("linked a 0,3") << u"100"_s << u"1"_s << u"0,3"_s << u"0,4"_s << u"133,21"_s;
        QTest::newRow("linked a 0,85") << u"100"_s << u"1"_s << u"0,85"_s << u"3"_s << u"28,09"_s;
    }
    void rectangle() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(rectangularplateatsurface::ComputeResistance(n(p0), n(kp), n(a), n(b))), expected);
    }

    void square_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        QTest::newRow("corrected resistivity") << u"50"_s << u"1,3"_s << u"2"_s << u"14,43"_s;
        // 190,2857142857...
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,7"_s << u"190,29"_s;
        QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"1,6"_s << u"49,95"_s;
        QTest::newRow("side 0,3") << u"100"_s << u"1"_s << u"0,3"_s << u"148"_s;
    }
    void square() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, b);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(squareplateatsurface::ComputeResistance(n(p0), n(kp), n(b))), expected);
    }

    void rule_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("holds");
        QTest::newRow("defaults") << u"0,5"_s << u"1"_s << true;
        QTest::newRow("b = 4a") << u"0,5"_s << u"2"_s << false;
        QTest::newRow("b just below 4a") << u"0,5"_s << u"1,99"_s << true;
        QTest::newRow("a = b") << u"1"_s << u"1"_s << false;
        QTest::newRow("a above b") << u"2"_s << u"1"_s << false;
    }
    void rule() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, holds);
        const CalcInputs in = plate(a, b);
        const auto failure = rectangularplateatsurface::calculator().checkGeometry(in);
        QCOMPARE(failure.has_value(), !holds);
        if (failure)
            QCOMPARE(failure->message, u"Ошибка. Длина прямоугольной пластины должна быть больше  ее ширины, но "
                                       u"меньше четырехкратного значения ширины."_s);
        QCOMPARE(rectangularplateatsurface::calculator().selectionAdmissible(in), holds);
        QVERIFY(squareplateatsurface::calculator().selectionAdmissible(in));
    }

    void rangeLabels_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("labelB");
        QTest::addColumn<QString>("labelA");
        QTest::newRow("defaults") << u"0,5"_s << u"1"_s << u"( 0,5 < b < 2 )"_s << u"( 0,25 < a < 1 )"_s;
        // 4a not rounded; b/4 to five decimals: 0,30864195 -> 0,30864.
        QTest::newRow("many digits") << u"0,1234567"_s << u"1,2345678"_s << u"( 0,1234567 < b < 0,4938268 )"_s
                                     << u"( 0,30864 < a < 1,2345678 )"_s;
        QTest::newRow("no numbers") << u"0"_s << QString() << QString() << QString();
    }
    void rangeLabels() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, labelB);
        QFETCH(QString, labelA);
        const CalcInputs in = plate(a, b);
        QCOMPARE(rectangularplateatsurface::calculator().rangeLabel(in, u"lblRangeB"_s), labelB);
        QCOMPARE(rectangularplateatsurface::calculator().rangeLabel(in, u"lblRangeA"_s), labelA);
    }

    void linking_data() {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("typed");  // "input=text" written; empty: nothing moves
        QTest::addColumn<QString>("single"); // the single-parameter run's apply hook, to hundredths
        QTest::newRow("b 0,4 with a 0,5") << u"EditDlina"_s << u"0,5"_s << u"0,4"_s << u"EditShir=0,3"_s
                                          << u"EditShir=0,3"_s;
        QTest::newRow("b 3 with a 0,5") << u"EditDlina"_s << u"0,5"_s << u"3"_s << u"EditShir=0,85"_s
                                        << u"EditShir=0,85"_s;
        QTest::newRow("a 2 with b 1") << u"EditShir"_s << u"2"_s << u"1"_s << u"EditDlina=2,1"_s
                                      << u"EditDlina=2,1"_s;
        QTest::newRow("a 0,2 with b 1") << u"EditShir"_s << u"0,2"_s << u"1"_s << u"EditDlina=0,7"_s
                                        << u"EditDlina=0,7"_s;
        // 4a − 0,1 is not positive: typing leaves b, the run does not ask.
        QTest::newRow("a 0,02 with b 1") << u"EditShir"_s << u"0,02"_s << u"1"_s << QString()
                                         << u"EditDlina=-0,02"_s;
        // b − 0,1 is not positive: typing leaves a (4·0,5 > 0,08); the run writes −0,02, which then
        // breaks 4a > b and gives b/4 + 0,1.
        QTest::newRow("b 0,08 with a 0,5") << u"EditDlina"_s << u"0,5"_s << u"0,08"_s << QString()
                                           << u"EditShir=0,12"_s;
        QTest::newRow("rule holds") << u"EditDlina"_s << u"0,5"_s << u"1"_s << QString() << QString();
        // Five decimals typed, two in a run: 1,2345678/4 + 0,1 = 0,40864195.
        QTest::newRow("digits of b") << u"EditDlina"_s << u"0,2"_s << u"1,2345678"_s << u"EditShir=0,40864"_s
                                     << u"EditShir=0,41"_s;
    }
    void linking() {
        QFETCH(QString, changed);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, typed);
        QFETCH(QString, single);
        const CalcInputs in = plate(a, b);
        const auto written = rectangularplateatsurface::calculator().link(in, changed);
        QCOMPARE(written.isEmpty() ? QString() : written.firstKey() + u'=' + written.first(), typed);

        QMap<QString, long double> values{{u"EditShir"_s, n(a)}, {u"EditDlina"_s, n(b)}};
        const QMap<QString, long double> before = values;
        CalcInputs run;
        run.run = &values;
        run.singleRun = true;
        run.linking = true;
        rectangularplateatsurface::calculator().selectionValueApplied(run, changed, values);
        QString moved;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            if (it.value() != before.value(it.key()))
                moved = it.key() + u'=' + formatGeneral(it.value());
        QCOMPARE(moved, single);
    }

    // The plate set on edge: R = p/(2πb)·[ln(4b/a) + ln((b + s)/(2To)) − (s − 2To)/b], s = √(b² + 4To²),
    // the strip and its image in the surface; in two-layer earth with
    // pэ = a/(a1/p1 + a2/p2) for the part a1 of the width above the boundary at depth H.
    void edgePlate_data() {
        QTest::addColumn<bool>("twoLayers");
        QTest::addColumn<QStringList>("inputs"); // p1, p2, a, b, To, H
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("split"); // a1, a2, pэ
        QTest::addColumn<QString>("message");
        const QString depthMessage =
            u"Ошибка. Двойное значение глубины заложения должно быть больше либо равно ширине пластины."_s;
        // 2To < a is said before the length rule is looked at.
        QTest::newRow("uniform, too shallow")
            << false << QStringList{u"100"_s, {}, u"0,5"_s, u"3"_s, u"0,2"_s, {}} << QString() << QString() << depthMessage;
        QTest::newRow("uniform, b = 4a")
            << false << QStringList{u"100"_s, {}, u"0,5"_s, u"2"_s, u"0,7"_s, {}} << QString() << QString()
            << u"Ошибка. Длина прямоугольной пластины должна быть больше  ее ширины, но меньше четырехкратного "
               u"значения ширины."_s;
        // H ≤ To: the plate lies in the lower layer, pэ = p2; 10,795732...
        QTest::newRow("two layers, H = To")
            << true << QStringList{u"100"_s, u"50"_s, u"1"_s, u"2"_s, u"0,7"_s, u"0,7"_s} << u"10,8"_s
            << u"0 1 50"_s << QString();
        QTest::newRow("two layers, H 0,5")
            << true << QStringList{u"100"_s, u"50"_s, u"1"_s, u"2"_s, u"0,7"_s, u"0,5"_s} << u"10,8"_s
            << u"0 1 50"_s << QString();
        // H = To + a: wholly in the upper layer, pэ = p1; 21,591464...
        QTest::newRow("two layers, H = To + a")
            << true << QStringList{u"100"_s, u"50"_s, u"1"_s, u"2"_s, u"0,7"_s, u"1,7"_s} << u"21,59"_s
            << u"1 0 100"_s << QString();
        // Half in each: pэ = 1/(0,5/300 + 0,5/60) = 100; R = 19,480203...
        QTest::newRow("two layers, halves")
            << true << QStringList{u"300"_s, u"60"_s, u"1"_s, u"2,5"_s, u"0,7"_s, u"1,2"_s} << u"19,48"_s
            << u"0,5 0,5 100"_s << QString();
        QTest::newRow("two layers, too shallow")
            << true << QStringList{u"100"_s, u"50"_s, u"1"_s, u"2"_s, u"0,4"_s, u"1"_s} << QString() << QString()
            << depthMessage;
    }
    void edgePlate() {
        QFETCH(bool, twoLayers);
        QFETCH(QStringList, inputs);
        QFETCH(QString, r);
        QFETCH(QString, split);
        QFETCH(QString, message);
        const CalcInputs in = edgePlateInputs(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5]);
        const Calculator& c = twoLayers ? edgeplatetwolayer::calculator() : buriededgeplate::calculator();
        const Evaluation e = c.evaluate(in);
        QCOMPARE(e.resultText, r);
        QCOMPARE(e.failure ? e.failure->message : QString(), message);
        if (!split.isEmpty())
            QCOMPARE(QStringList({e.shown.value(u"EditA1"_s), e.shown.value(u"EditA2"_s), e.shown.value(u"EditPekv"_s)})
                         .join(u' '),
                     split);
        // While the user types, the split follows the inputs alone.
        if (twoLayers && !split.isEmpty()) {
            const auto shown = c.derive(in, u"EditH"_s);
            QCOMPARE(shown.value(u"EditA1"_s) + u' ' + shown.value(u"EditA2"_s), split.section(u' ', 0, 1));
        }
    }

    // Physics, over the admissible plates: a larger plate spreads the current better, so R falls as
    // either side grows (by 5 %, well above the rounding) and as the plate on edge goes deeper.
    void resistanceFallsAsThePlateGrows() {
        for (long double a = 0.2L; a < 3; a *= 1.3L) {
            for (long double b = a * 1.01L; b * 1.05L < 4 * a; b *= 1.1L) {
                const auto surface = [](long double w, long double l) { return rectangularplateatsurface::ComputeResistance(100, 1, w, l); };
                QVERIFY(surface(a, b * 1.05L) < surface(a, b));
                if (b > a * 1.05L)
                    QVERIFY(surface(a * 1.05L, b) < surface(a, b));
                for (long double to = a / 2; to < 5; to *= 1.7L) {
                    const auto edge = [to](long double w, long double l, long double t) {
                        return edgeplate::resistance(100, w, l, t);
                    };
                    QVERIFY(edge(a, b * 1.05L, to) < edge(a, b, to));
                    if (b > a * 1.05L && a * 1.05L <= 2 * to)
                        QVERIFY(edge(a * 1.05L, b, to) < edge(a, b, to));
                    QVERIFY(edge(a, b, to * 1.05L) <= edge(a, b, to));
                }
            }
        }
    }

    // The three linked inputs of the plate on edge: b and a keep a < b < 4a, To keeps 2To >= a.
    void edgePlateLinking_data() {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QStringList>("abt");
        QTest::addColumn<QString>("moved");
        QTest::newRow("a 2 with b 1, To 0,7") << u"EditShir"_s << QStringList{u"2"_s, u"1"_s, u"0,7"_s}
                                              << u"EditDlina=2,1 EditGlub=1"_s;
        QTest::newRow("To 0,2 with a 0,5, b 1") << u"EditGlub"_s << QStringList{u"0,5"_s, u"1"_s, u"0,2"_s}
                                                << u"EditShir=0,4"_s;
        QTest::newRow("To 0,1 with a 0,5, b 1") << u"EditGlub"_s << QStringList{u"0,5"_s, u"1"_s, u"0,1"_s}
                                                << u"EditDlina=0,7 EditShir=0,2"_s;
        QTest::newRow("b 5 with a 1, To 0,6") << u"EditDlina"_s << QStringList{u"1"_s, u"5"_s, u"0,6"_s}
                                              << u"EditGlub=0,675 EditShir=1,35"_s;
        QTest::newRow("rules hold") << u"EditDlina"_s << QStringList{u"0,5"_s, u"1"_s, u"0,7"_s} << QString();
    }
    void edgePlateLinking() {
        QFETCH(QString, changed);
        QFETCH(QStringList, abt);
        QFETCH(QString, moved);
        const CalcInputs in = edgePlateInputs(u"100"_s, u"100"_s, abt[0], abt[1], abt[2], u"1"_s);
        QStringList written;
        const auto out = buriededgeplate::calculator().link(in, changed);
        for (auto it = out.cbegin(); it != out.cend(); ++it)
            written << it.key() + u'=' + it.value();
        QCOMPARE(written.join(u' '), moved);
        QCOMPARE(buriededgeplate::calculator().rangeLabel(in, u"lblRangeTo"_s),
                 u"( T >= "_s + formatGeneral(n(abt[0]) / 2) + u" )"_s);
    }

};

QTEST_MAIN(TestRectangularPlates)
#include "tst_rectangularplates.moc"
