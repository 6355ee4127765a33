#include "calc/plates/BodyCalc.h"
#include "calc/plates/PrPlastCalc.h"
#include "calc/plates/UKvadCalc.h"
#include "frames/NumberText.h"

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
} // namespace

// Rectangular and square plates on the surface: the formulas against values computed by hand to
// 30 digits (mpmath), the rule a < b < 4a with its labels and linking.
class TestRectPlateCalc : public QObject {
    Q_OBJECT
private slots:
    void rectangle_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        // ln 2 · 100/(0,5π) = 44,1271200305...
        QTest::newRow("handbook example") << u"100"_s << u"1"_s << u"0,5"_s << u"1"_s << u"44,13"_s;
        // Just short of 4a: 0,31910832...
        QTest::newRow("b near 4a") << u"100"_s << u"1"_s << u"0,5"_s << u"1,99"_s << u"0,32"_s;
        // p = 65: 14,3413140099...
        QTest::newRow("corrected resistivity") << u"50"_s << u"1,3"_s << u"1"_s << u"2"_s << u"14,34"_s;
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,3"_s << u"1"_s << u"58,03"_s;
        // p = 180: 28,0986883102...
        QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"2"_s << u"3"_s << u"28,1"_s;
        // The values linking gives: 116,5663841886...; 4,6871371515...
        QTest::newRow("linked a 0,3") << u"100"_s << u"1"_s << u"0,3"_s << u"0,4"_s << u"116,57"_s;
        QTest::newRow("linked a 0,85") << u"100"_s << u"1"_s << u"0,85"_s << u"3"_s << u"4,69"_s;
    }
    void rectangle() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(prplast::ComputeResistance(n(p0), n(kp), n(a), n(b))), expected);
    }

    void square_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        QTest::newRow("handbook example") << u"100"_s << u"1"_s << u"0,5"_s << u"88,8"_s;
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
        QCOMPARE(formatGeneral(ukvad::ComputeResistance(n(p0), n(kp), n(b))), expected);
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
        const auto failure = prplast::calculator().checkGeometry(in);
        QCOMPARE(failure.has_value(), !holds);
        if (failure)
            QCOMPARE(failure->message, u"Ошибка. Длина прямоугольной пластины должна быть больше  ее ширины, но "
                                       u"меньше четырехкратного значения ширины."_s);
        QCOMPARE(prplast::calculator().selectionAdmissible(in), holds);
        QVERIFY(ukvad::calculator().selectionAdmissible(in));
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
        QCOMPARE(prplast::calculator().rangeLabel(in, u"lblRangeB"_s), labelB);
        QCOMPARE(prplast::calculator().rangeLabel(in, u"lblRangeA"_s), labelA);
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
        const auto written = prplast::calculator().link(in, changed);
        QCOMPARE(written.isEmpty() ? QString() : written.firstKey() + u'=' + written.first(), typed);

        QMap<QString, long double> values{{u"EditShir"_s, n(a)}, {u"EditDlina"_s, n(b)}};
        const QMap<QString, long double> before = values;
        CalcInputs run;
        run.run = &values;
        run.singleRun = true;
        run.linking = true;
        prplast::calculator().selectionValueApplied(run, changed, values);
        QString moved;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            if (it.value() != before.value(it.key()))
                moved = it.key() + u'=' + formatGeneral(it.value());
        QCOMPARE(moved, single);
    }

    void calculationOrderLines() {
        QCOMPARE(prplast::calcOrderLine(u"100"_s, u"0,5"_s, u"1"_s, u"44,13"_s),
                 u"R = 100 / (3,14*0,5) * Ln(4*0,5 / 1) = 44,13 Ом"_s);
        QCOMPARE(ukvad::calcOrderLine(u"100"_s, u"0,5"_s, u"88,8"_s), u"R = 0,444 * 100 / 0,5 = 88,8 Ом"_s);
    }
};

QTEST_MAIN(TestRectPlateCalc)
#include "tst_rectplatecalc.moc"
