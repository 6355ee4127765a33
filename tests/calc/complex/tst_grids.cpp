#include "core/calculators/complex/SurfaceGrid.h"
#include "core/calculators/complex/SquareGridWithRods.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

// The square grid with rods: a, N, Lв, To, Nв and the soil.
CalcInputs squareGridInputs(const QStringList& v) {
    CalcInputs in;
    in.texts = {{QStringLiteral("ComboGrunt"), u"суглинок"_s}, {QStringLiteral("EditRo0"), v[0]},
                {QStringLiteral("EditPKV"), QStringLiteral("1")},   {QStringLiteral("EditRo"), v[0]},
                {QStringLiteral("EditDlina"), v[1]},                {QStringLiteral("SpinKolGor"), v[2]},
                {QStringLiteral("EditLv"), v[3]},                   {QStringLiteral("EditTo"), v[4]},
                {QStringLiteral("SpinNv"), v[5]}};
    in.pMax = 1000;
    return in;
}
} // namespace

// The surface grid's geometry and formula, free of the window.
class TestGrids : public QObject {
    Q_OBJECT
private slots:
    // The square grid with perimeter rods: S = a²N², Lг = 2aN(N + 1), Tотн = (Lв + To)/√S,
    // R = K·p/√S + p/(Lг + Nв·Lв).
    void squareGrid_data() {
        QTest::addColumn<QStringList>("inputs"); // p0, a, N, Lв, To, Nв
        QTest::addColumn<QString>("shown");      // S Lг Tотн
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("message");
        // Tотн exactly 0,1 takes K = 0,36: 0,36·100/12 + 100/122,8 = 3,8143
        QTest::newRow("Tотн 0,1")
            << QStringList{u"100"_s, u"3"_s, u"4"_s, u"0,7"_s, u"0,5"_s, u"4"_s} << u"144 120 0,1"_s << u"3,81"_s
            << QString();
        // K = 0,31: 0,31·150/9 + 150/150 = 6,1667
        QTest::newRow("p 150") << QStringList{u"150"_s, u"1,5"_s, u"6"_s, u"2"_s, u"0,7"_s, u"12"_s}
                               << u"81 126 0,3"_s << u"6,17"_s << QString();
        QTest::newRow("Lв 4 without linking")
            << QStringList{u"100"_s, u"2"_s, u"5"_s, u"4"_s, u"2"_s, u"8"_s} << QString() << QString()
            << u"Ошибка. Значение Тотн. должно быть в пределах от 0 до 0,5."_s;
    }
    void squareGrid() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, shown);
        QFETCH(QString, r);
        QFETCH(QString, message);
        const Evaluation e = squaregridwithrods::calculator().evaluate(squareGridInputs(inputs));
        QCOMPARE(e.resultText, r);
        QCOMPARE(e.failure ? e.failure->message : QString(), message);
        if (!shown.isEmpty())
            QCOMPARE(QStringList({e.shown.value(QStringLiteral("EditS")), e.shown.value(QStringLiteral("EditL")),
                                  e.shown.value(QStringLiteral("EditTotn"))})
                         .join(QLatin1Char(' ')),
                     shown);
    }

    // Linking keeps Tотн <= 0,5; the labels say what the other inputs admit.
    void squareGridLinking_data() {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("moved");
        QTest::newRow("Lв 4 enlarges the cell") << u"EditLv"_s
                                                << QStringList{u"100"_s, u"2"_s, u"5"_s, u"4"_s, u"2"_s, u"8"_s}
                                                << u"EditDlina=2,4"_s;
        QTest::newRow("a 1 lowers Lв") << u"EditDlina"_s
                                       << QStringList{u"100"_s, u"1"_s, u"5"_s, u"3"_s, u"2"_s, u"8"_s}
                                       << u"EditLv=0,5"_s;
        QTest::newRow("To 3 enlarges the cell")
            << u"EditTo"_s << QStringList{u"100"_s, u"2"_s, u"5"_s, u"3"_s, u"3"_s, u"8"_s} << u"EditDlina=2,4"_s;
        QTest::newRow("within the bound") << u"SpinKolGor"_s
                                          << QStringList{u"100"_s, u"2"_s, u"6"_s, u"3"_s, u"2"_s, u"8"_s} << QString();
    }
    void squareGridLinking() {
        QFETCH(QString, changed);
        QFETCH(QStringList, inputs);
        QFETCH(QString, moved);
        QStringList written;
        const auto out = squaregridwithrods::calculator().link(squareGridInputs(inputs), changed);
        for (auto it = out.cbegin(); it != out.cend(); ++it)
            written << it.key() + QLatin1Char('=') + it.value();
        QCOMPARE(written.join(QLatin1Char(' ')), moved);
    }

    void squareGridLabels() {
        const CalcInputs in = squareGridInputs({u"100"_s, u"2"_s, u"5"_s, u"3"_s, u"2"_s, u"8"_s});
        const Calculator& c = squaregridwithrods::calculator();
        QCOMPARE(c.rangeLabel(in, QStringLiteral("lblRangeS")), u"( S >= 100 )"_s);
        QCOMPARE(c.rangeLabel(in, QStringLiteral("lblRangeA")), u"( a >= 2 )"_s);
        QCOMPARE(c.rangeLabel(in, QStringLiteral("lblRangeLv")), u"( Lв <= 3 )"_s);
        QCOMPARE(c.rangeLabel(in, QStringLiteral("lblRangeTo")), u"( To <= 2 )"_s);
    }

    void geometry_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<int>("ng");
        QTest::addColumn<int>("nv");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("l");
        // S = 3·2·4·3 = 72; L = 3·4·4 + 2·3·5 = 48 + 30 = 78
        QTest::newRow("defaults") << 3.0 << 2.0 << 4 << 3 << u"72"_s << u"78"_s;
        // one cell: S = 1; L = 1·1·2 + 1·1·2 = 4
        QTest::newRow("one cell") << 1.0 << 1.0 << 1 << 1 << u"1"_s << u"4"_s;
        // S = 5·4·10·8 = 1600; L = 5·10·9 + 4·8·11 = 450 + 352 = 802
        QTest::newRow("large grid") << 5.0 << 4.0 << 10 << 8 << u"1600"_s << u"802"_s;
        // S = 0,33·0,27 = 0,0891 -> 0,09; L = 0,66 + 0,54 = 1,2
        QTest::newRow("area rounded to hundredths") << 0.33 << 0.27 << 1 << 1 << u"0,09"_s << u"1,2"_s;
        // S = 2,5·1,5·3·2 = 22,5; L = 2,5·3·3 + 1,5·2·4 = 22,5 + 12 = 34,5
        QTest::newRow("fractional cells") << 2.5 << 1.5 << 3 << 2 << u"22,5"_s << u"34,5"_s;
    }
    void geometry() {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(int, ng);
        QFETCH(int, nv);
        QFETCH(QString, s);
        QFETCH(QString, l);
        const auto g = surfacegrid::gridGeometry(a, b, ng, nv);
        QCOMPARE(formatGeneral(g.s), s);
        QCOMPARE(formatGeneral(g.l), l);
    }

    void formula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("l");
        QTest::addColumn<QString>("expected");
        // p = 200: 0,444·200/40 + 200/802 = 2,22 + 0,24938 = 2,46938
        QTest::newRow("corrected resistivity, large grid") << 100.0 << 2.0 << 1600.0 << 802.0 << u"2,47"_s;
        // with S as shown (0,09): 44,4/0,3 + 100/1,2 = 148 + 83,3333 = 231,3333; the unrounded
        // area 0,0891 would give 232,08
        QTest::newRow("area as shown") << 100.0 << 1.0 << 0.09 << 1.2 << u"231,33"_s;
    }
    void formula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, s);
        QFETCH(double, l);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(surfacegrid::ComputeResistance(p0, kp, s, l).r), expected);
    }

    void descriptorValues() {
        const CalculatorDescriptor& d = surfacegrid::descriptor();
        QCOMPARE(d.className, QStringLiteral("TSet1_Frm"));
        QCOMPARE(d.helpContext, 27);
        QCOMPARE(d.history.kindCode, 20);
        QCOMPARE(d.history.presetName, u"Сетка из горизонтальных электродов 1."_s);
        QVERIFY(!d.construction);
        QVERIFY(!d.linkedParameters);
        QCOMPARE(d.reportSteps, 7);
        QStringList offered;
        for (const SelectionParameter& p : d.selection.parameters)
            offered << p.name + QLatin1Char('|') + p.type + QLatin1Char('|') + p.lower + QLatin1Char('|') +
                           QString::number(p.settingsTable);
        QCOMPARE(offered, QStringList({u"Длина ячейки, м|double|0,1|2"_s, u"Ширина ячейки, м|double|0,1|2"_s,
                                       u"Количество ячеек по горизонтали, шт.|integer|1|3"_s,
                                       u"Количество ячеек по вертикали, шт.|integer|1|3"_s,
                                       u"Коэффициент поправки|double|1|2"_s,
                                       u"Удельное сопротивление грунта, Ом м|double||1"_s}));
    }
};

QTEST_APPLESS_MAIN(TestGrids)
#include "tst_grids.moc"
