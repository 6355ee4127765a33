#include "core/model/CalcCommon.h"
#include "core/calculators/rods/RadialElectrode.h"
#include "core/calculators/rods/ParallelStrips.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
// Coefficient tables of the test's own, rows in the field order the calculators ask for.
class Tables : public CoefficientTables {
public:
    QMap<QString, CoefficientRows> byName;
    CoefficientRows rows(const QString& table, const QStringList&) const override {
        return byName.value(table);
    }
};

// Kiluch.DB: N (type), Dlina, KI.
const Tables& radialTables() {
    static const Tables t = [] {
        Tables t;
        t.byName.insert(u"Kiluch.DB"_s, {{1, 10, 0.86},
                                         {1, 20, 0.88},
                                         {1, 40, 0.89},
                                         {2, 10, 0.8},
                                         {2, 20, 0.7},
                                         {3, 10, 0.66},
                                         {3, 40, 0.71},
                                         {4, 10, 0.54},
                                         {4, 20, 0.57},
                                         {4, 40, 0.59}});
        return t;
    }();
    return t;
}

// Kipp.DB: Dlina, N, Ras, KI on a grid of 2 lengths × 3 counts × 2 spacings.
const Tables& parallelTables() {
    static const Tables t = [] {
        Tables t;
        t.byName.insert(u"Kipp.DB"_s, {{15, 2, 1, 0.70},
                                       {15, 2, 5, 0.82},
                                       {15, 5, 1, 0.50},
                                       {15, 5, 5, 0.66},
                                       {15, 8, 1, 0.40},
                                       {15, 8, 5, 0.58},
                                       {25, 2, 1, 0.74},
                                       {25, 2, 5, 0.86},
                                       {25, 5, 1, 0.55},
                                       {25, 5, 5, 0.705},
                                       {25, 8, 1, 0.45},
                                       {25, 8, 5, 0.62}});
        return t;
    }();
    return t;
}

QString text(std::optional<long double> v) {
    return v ? formatGeneral(*v) : u"нет"_s;
}

CalcInputs soil() {
    CalcInputs in;
    in.texts = {{u"ComboGrunt"_s, u"суглинок"_s},
                {u"EditRo0"_s, u"100"_s},
                {u"EditPKV"_s, u"1"_s},
                {u"EditRo"_s, u"100"_s}};
    in.pMin = 40;
    in.pMax = 150;
    return in;
}

CalcInputs radial(const QString& type, const QString& l, const QString& t, double d) {
    CalcInputs in = soil();
    in.texts.insert({{u"cmbSech"_s, u"сталь круглая"_s},
                     {u"cmbDiam"_s, u"0,016"_s},
                     {u"EditDiam0"_s, u"0,016"_s},
                     {u"Tip"_s, type},
                     {u"EditDlina"_s, l},
                     {u"EditGlub"_s, t}});
    in.diameter = d;
    in.tables = &radialTables();
    return in;
}

CalcInputs parallel(const QString& l, const QString& t, const QString& b, const QString& n,
                    const QString& s) {
    CalcInputs in = soil();
    in.texts.insert(
        {{u"EditDlina"_s, l}, {u"EditGlub"_s, t}, {u"cmbDiam"_s, b}, {u"SpinKol"_s, n}, {u"EditRas"_s, s}});
    in.tables = &parallelTables();
    return in;
}

const QString fourDepths = u"Ошибка. Длина луча должна быть больше глубины заложения более чем в 4 раза."_s;
} // namespace

// The radial and parallel arrays: their formula (reference values to 30 digits, mpmath), the
// coefficient look-ups, and their checks in order with their messages.
class TestRadialParallel : public QObject {
    Q_OBJECT
private slots:
    void radialFormula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("k");
        QTest::addColumn<QString>("expected");
        // ln(100 / 0,014) · 100 / (20π) / 3 / 0,8 = 5,8846665753...
        QTest::newRow("three rays") << 100.0 << 1.0 << 10.0 << 0.7 << 0.02 << 3 << 0.8 << u"5,88"_s;
        // p = 65; ln(900 / 0,0456) · 65 / (60π) / 7 / 0,53 = 0,9192745915...
        QTest::newRow("corrected resistivity, angle")
            << 50.0 << 1.3 << 30.0 << 1.2 << 0.038 << 7 << 0.53 << u"0,92"_s;
    }
    void radialFormula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(double, d);
        QFETCH(int, n);
        QFETCH(double, k);
        QFETCH(QString, expected);
        const auto num = [](double v) { return *parseNumber(formatGeneral(v)); };
        QCOMPARE(formatGeneral(radialelectrode::ComputeResistance(num(p0), num(kp), num(l), num(t), num(d), n, num(k))),
                 expected);
    }

    void radialCoefficient_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("l");
        QTest::addColumn<QString>("expected");
        QTest::newRow("between 10 and 20") << 2 << 15.0 << u"0,75"_s;
        QTest::newRow("at a table length") << 2 << 10.0 << u"0,8"_s;
        QTest::newRow("upper table length") << 2 << 20.0 << u"0,7"_s;
        QTest::newRow("to hundredths") << 3 << 22.0 << u"0,68"_s;
        QTest::newRow("own rows only") << 4 << 30.0 << u"0,58"_s;
        QTest::newRow("above the type's rows") << 2 << 25.0 << u"нет"_s;
        QTest::newRow("below the rows") << 1 << 9.99 << u"нет"_s;
        QTest::newRow("type without rows") << 5 << 20.0 << u"нет"_s;
    }
    void radialCoefficient() {
        QFETCH(int, type);
        QFETCH(double, l);
        QFETCH(QString, expected);
        QCOMPARE(text(radialelectrode::coefficient(&radialTables(), type, l)), expected);
    }

    void radialRays() {
        QList<int> rays;
        for (int type = 1; type <= 7; ++type)
            rays << radialelectrode::rays(type);
        QCOMPARE(rays, (QList<int>{2, 3, 4, 6, 7, 2, 4}));
    }

    void radialChecks_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("message");
        QTest::newRow("defaults") << u"1"_s << u"10"_s << u"0,7"_s << 0.016 << QString();
        QTest::newRow("no length") << u"1"_s << QString() << u"0,7"_s << 0.016
                                   << u"Введите значение длины луча."_s;
        QTest::newRow("diameter first") << u"1"_s << u"0,04"_s << u"0,7"_s << 0.05
                                        << u"Ошибка. Длина луча должна быть больше диаметра."_s;
        QTest::newRow("l equal to 4T") << u"3"_s << u"2,8"_s << u"0,7"_s << 0.016 << fourDepths;
        QTest::newRow("40 passes for type 3") << u"3"_s << u"40"_s << u"0,7"_s << 0.016 << QString();
        QTest::newRow("40,1 fails for type 3")
            << u"3"_s << u"40,1"_s << u"0,7"_s << 0.016 << radialelectrode::lengthRangeMessage();
        QTest::newRow("9 fails for type 2")
            << u"2"_s << u"9"_s << u"0,7"_s << 0.016 << radialelectrode::lengthRangeMessage();
        QTest::newRow("type 1 beyond the table")
            << u"1"_s << u"45"_s << u"0,7"_s << 0.016 << radialelectrode::missingCoefficientMessage(1, 45);
    }
    void radialChecks() {
        QFETCH(QString, type);
        QFETCH(QString, l);
        QFETCH(QString, t);
        QFETCH(double, d);
        QFETCH(QString, message);
        const auto failure = radialelectrode::calculator().check(radial(type, l, t, d));
        QCOMPARE(failure ? failure->message : QString(), message);
    }

    void radialMissingCoefficientNamesIt() {
        QCOMPARE(radialelectrode::missingCoefficientMessage(1, 45),
                 u"Ошибка. В таблице коэффициентов использования (Kiluch.DB) нет значений для типа 1, между "
                 u"которыми лежит длина луча l = 45 м. Коэффициент использования не определен."_s);
    }

    void radialResultAndOrder() {
        const Evaluation e = radialelectrode::calculator().evaluate(radial(u"2"_s, u"15"_s, u"0,7"_s, 0.02));
        QVERIFY(e.ok());
        QCOMPARE(e.shown.value(u"EditKI"_s), u"0,75"_s);
        // ln(225 / 0,014) · 100 / (30π) / 3 / 0,75 = 4,5670...
        QCOMPARE(e.resultText, u"4,57"_s);
    }

    void parallelCoefficient_data() {
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("n");
        QTest::addColumn<double>("s");
        QTest::addColumn<QString>("expected");
        // Expected values from the staged interpolation done by hand, each stage to hundredths.
        QTest::newRow("a row: stored value, unrounded") << 25.0 << 5.0 << 5.0 << u"0,705"_s;
        QTest::newRow("N between 5 and 8") << 15.0 << 6.0 << 1.0 << u"0,47"_s;
        QTest::newRow("S off the pick list") << 15.0 << 2.0 << 3.0 << u"0,76"_s;
        QTest::newRow("L between lengths") << 20.0 << 2.0 << 1.0 << u"0,72"_s;
        QTest::newRow("four rows, L on the grid") << 15.0 << 3.0 << 3.0 << u"0,7"_s;
        QTest::newRow("four rows, N on the grid") << 23.0 << 5.0 << 2.0 << u"0,58"_s;
        QTest::newRow("eight rows") << 19.0 << 4.0 << 3.0 << u"0,66"_s;
        QTest::newRow("eight rows again") << 17.0 << 3.0 << 2.0 << u"0,68"_s;
        QTest::newRow("L beyond the table") << 30.0 << 2.0 << 1.0 << u"нет"_s;
        QTest::newRow("N beyond the table") << 15.0 << 9.0 << 1.0 << u"нет"_s;
        QTest::newRow("S below the table") << 15.0 << 2.0 << 0.5 << u"нет"_s;
    }
    void parallelCoefficient() {
        QFETCH(double, l);
        QFETCH(double, n);
        QFETCH(double, s);
        QFETCH(QString, expected);
        QCOMPARE(text(parallelstrips::coefficient(&parallelTables(), l, n, s)), expected);
    }

    void parallelFormula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<int>("n");
        QTest::addColumn<double>("k");
        QTest::addColumn<QString>("expected");
        // ln(2500 / 0,01) · 200 / (100π) / 5 / 0,62 = 2,5524789632...
        QTest::newRow("five strips") << 200.0 << 1.0 << 50.0 << 0.5 << 0.02 << 5 << 0.62 << u"2,55"_s;
        // p = 120; ln(10000 / 0,012) · 120 / (200π) / 10 / 0,37 = 0,7037154874...
        QTest::newRow("corrected resistivity")
            << 80.0 << 1.5 << 100.0 << 0.8 << 0.015 << 10 << 0.37 << u"0,7"_s;
    }
    void parallelFormula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(double, d);
        QFETCH(int, n);
        QFETCH(double, k);
        QFETCH(QString, expected);
        const auto num = [](double v) { return *parseNumber(formatGeneral(v)); };
        QCOMPARE(formatGeneral(parallelstrips::ComputeResistance(num(p0), num(kp), num(l), num(t), num(d), n, num(k))),
                 expected);
    }

    void parallelChecks_data() {
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("message");
        const QString depth = u"Ошибка. Глубина заложения должна быть в пределах 0,3 .. 0,8 м."_s;
        QTest::newRow("defaults") << u"15"_s << u"0,7"_s << u"0,02"_s << u"2"_s << u"1"_s << QString();
        QTest::newRow("no spacing") << u"15"_s << u"0,7"_s << u"0,02"_s << u"2"_s << QString()
                                    << u"Введите значение расстояния между полосами."_s;
        QTest::newRow("T 0,3 passes") << u"15"_s << u"0,3"_s << u"0,02"_s << u"2"_s << u"1"_s << QString();
        QTest::newRow("T 0,8 passes") << u"15"_s << u"0,8"_s << u"0,02"_s << u"2"_s << u"1"_s << QString();
        QTest::newRow("T 0,29") << u"15"_s << u"0,29"_s << u"0,02"_s << u"2"_s << u"1"_s << depth;
        QTest::newRow("T 0,81") << u"15"_s << u"0,81"_s << u"0,02"_s << u"2"_s << u"1"_s << depth;
        QTest::newRow("L 2,8: four depths first")
            << u"2,8"_s << u"0,7"_s << u"0,02"_s << u"2"_s << u"1"_s
            << u"Ошибка. Длина полосы должна быть больше глубины заложения более чем в 4 раза."_s;
        QTest::newRow("L 14") << u"14"_s << u"0,7"_s << u"0,02"_s << u"2"_s << u"1"_s
                              << u"Ошибка. Длина полосы должна быть в пределах 15 .. 200 м."_s;
        QTest::newRow("N 21") << u"15"_s << u"0,7"_s << u"0,02"_s << u"21"_s << u"1"_s
                              << u"Ошибка. Количество полос должно быть в пределах 2 .. 20 шт."_s;
        QTest::newRow("S 15,1") << u"15"_s << u"0,7"_s << u"0,02"_s << u"2"_s << u"15,1"_s
                                << u"Ошибка. Расстояние между полосами должно быть в пределах 1 .. 15 м."_s;
        QTest::newRow("no width") << u"15"_s << u"0,7"_s << QString() << u"2"_s << u"1"_s
                                  << parallelstrips::missingWidthMessage();
        QTest::newRow("beyond the table") << u"30"_s << u"0,7"_s << u"0,02"_s << u"2"_s << u"1"_s
                                          << parallelstrips::missingCoefficientMessage(30, 2, 1);
    }
    void parallelChecks() {
        QFETCH(QString, l);
        QFETCH(QString, t);
        QFETCH(QString, b);
        QFETCH(QString, n);
        QFETCH(QString, s);
        QFETCH(QString, message);
        const auto failure = parallelstrips::calculator().check(parallel(l, t, b, n, s));
        QCOMPARE(failure ? failure->message : QString(), message);
    }

    void parallelResultAndOrder() {
        CalcInputs in = parallel(u"20"_s, u"0,5"_s, u"0,04"_s, u"2"_s, u"1"_s);
        in.texts.insert(u"EditDiam"_s, u"0,02"_s);
        const Evaluation e = parallelstrips::calculator().evaluate(in);
        QVERIFY(e.ok());
        QCOMPARE(e.shown.value(u"EditKI"_s), u"0,72"_s);
        // ln(400 / 0,01) · 100 / (40π) / 2 / 0,72 = 5,8559...
        QCOMPARE(e.resultText, u"5,86"_s);
        QCOMPARE(e.order,
                 QStringList{u"R = [100 / (2*3,14*20) * Ln(20*20/ (0,5*0,02))] / (2*0,72) = 5,86 Ом"_s});
        QCOMPARE(parallelstrips::calculator().derive(in, u"cmbDiam"_s).value(u"EditDiam"_s), u"0,02"_s);
    }
};

QTEST_GUILESS_MAIN(TestRadialParallel)
#include "tst_radialparallel.moc"
