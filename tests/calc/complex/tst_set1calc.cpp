#include "calc/complex/Set1Calc.h"
#include "frames/NumberText.h"

#include <QTest>

using namespace kz;

namespace {
QString u(const char* s) {
    return QString::fromUtf8(s);
}
} // namespace

// The surface grid's geometry and formula, free of the window.
class TestSet1Calc : public QObject {
    Q_OBJECT
private slots:
    void geometry_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<int>("ng");
        QTest::addColumn<int>("nv");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("l");
        // S = 3·2·4·3 = 72; L = 3·4·4 + 2·3·5 = 48 + 30 = 78
        QTest::newRow("defaults") << 3.0 << 2.0 << 4 << 3 << u("72") << u("78");
        // one cell: S = 1; L = 1·1·2 + 1·1·2 = 4
        QTest::newRow("one cell") << 1.0 << 1.0 << 1 << 1 << u("1") << u("4");
        // S = 5·4·10·8 = 1600; L = 5·10·9 + 4·8·11 = 450 + 352 = 802
        QTest::newRow("large grid") << 5.0 << 4.0 << 10 << 8 << u("1600") << u("802");
        // S = 0,33·0,27 = 0,0891 -> 0,09; L = 0,66 + 0,54 = 1,2
        QTest::newRow("area rounded to hundredths") << 0.33 << 0.27 << 1 << 1 << u("0,09") << u("1,2");
        // S = 2,5·1,5·3·2 = 22,5; L = 2,5·3·3 + 1,5·2·4 = 22,5 + 12 = 34,5
        QTest::newRow("fractional cells") << 2.5 << 1.5 << 3 << 2 << u("22,5") << u("34,5");
    }
    void geometry() {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(int, ng);
        QFETCH(int, nv);
        QFETCH(QString, s);
        QFETCH(QString, l);
        const auto g = set1::gridGeometry(a, b, ng, nv);
        QCOMPARE(formatGeneral(g.s), s);
        QCOMPARE(formatGeneral(g.l), l);
    }

    void formula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("s");
        QTest::addColumn<double>("l");
        QTest::addColumn<QString>("expected");
        // 0,444·100/√72 + 100/78 = 5,23259 + 1,28205 = 6,51464
        QTest::newRow("defaults") << 100.0 << 1.0 << 72.0 << 78.0 << u("6,51");
        // 44,4 + 25 = 69,4
        QTest::newRow("one cell") << 100.0 << 1.0 << 1.0 << 4.0 << u("69,4");
        // p = 200: 0,444·200/40 + 200/802 = 2,22 + 0,24938 = 2,46938
        QTest::newRow("corrected resistivity, large grid") << 100.0 << 2.0 << 1600.0 << 802.0 << u("2,47");
        // with S as shown (0,09): 44,4/0,3 + 100/1,2 = 148 + 83,3333 = 231,3333; the unrounded
        // area 0,0891 would give 232,08
        QTest::newRow("area as shown") << 100.0 << 1.0 << 0.09 << 1.2 << u("231,33");
    }
    void formula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, s);
        QFETCH(double, l);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(set1::ComputeResistance(p0, kp, s, l).r), expected);
    }

    void calcOrderLine() {
        // No blank between " /" and L.
        QCOMPARE(set1::calcOrderLine(u("100"), u("72"), u("78"), u("6,51")),
                 u("R = 0,444*100 / Корень(72) + 100 /78 = 6,51 Ом"));
    }

    void descriptorValues() {
        const CalculatorDescriptor& d = set1::descriptor();
        QCOMPARE(d.className, QStringLiteral("TSet1_Frm"));
        QCOMPARE(d.helpContext, 27);
        QCOMPARE(d.history.kindCode, 20);
        QCOMPARE(d.history.presetName, u("Сетка из горизонтальных электродов 1."));
        QVERIFY(!d.construction);
        QVERIFY(!d.linkedParameters);
        QCOMPARE(d.reportSteps, 7);
        QStringList offered;
        for (const SelectionParameter& p : d.selection.parameters)
            offered << p.name + QLatin1Char('|') + p.type + QLatin1Char('|') + p.lower + QLatin1Char('|') +
                           QString::number(p.settingsTable);
        QCOMPARE(offered, QStringList({u("Длина ячейки, м|double|0,1|2"), u("Ширина ячейки, м|double|0,1|2"),
                                       u("Количество ячеек по горизонтали, шт.|integer|1|3"),
                                       u("Количество ячеек по вертикали, шт.|integer|1|3"),
                                       u("Коэффициент поправки|double|1|2"),
                                       u("Удельное сопротивление грунта, Ом м|double||1")}));
    }
};

QTEST_APPLESS_MAIN(TestSet1Calc)
#include "tst_set1calc.moc"
