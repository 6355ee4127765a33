#include "core/calculators/structures/Pipeline.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

// The pipeline's formula and rules, free of the window.
class TestPipeline : public QObject {
    Q_OBJECT
private slots:
    void formula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("expected");
        // 100/(2π·5) = 3,18310; ln(25/(0,7·0,1)) = ln(357,143) = 5,87814; R = 18,71069
        QTest::newRow("edge case of the handbook") << 100.0 << 1.0 << 5.0 << 0.7 << 0.1 << u"18,71"_s;
        // 300/(2π·100) = 0,47746; ln(10000/0,424) = 10,06837; R = 4,80729
        QTest::newRow("long pipeline") << 300.0 << 1.0 << 100.0 << 0.8 << 0.53 << u"4,81"_s;
        // 250/(2π·50) = 0,79577; ln(2500/2,04) = 7,11110; R = 5,65883
        QTest::newRow("largest pipe, deep") << 250.0 << 1.0 << 50.0 << 2.0 << 1.02 << u"5,66"_s;
        // 100/(2π·2,9) = 5,48810; ln(8,41/1,96) = 1,45644; R = 7,99329
        QTest::newRow("length just linked above the diameter")
            << 100.0 << 1.0 << 2.9 << 0.7 << 2.8 << u"7,99"_s;
    }
    void formula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(double, d);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(pipeline::ComputeResistance(p0, kp, l, d, t).r), expected);
    }

    void calculatedResistivityHasFiveDecimals() {
        // 12,345678·1,1 = 13,5802458 -> 13,58025
        QCOMPARE(formatGeneral(pipeline::ComputeResistance(12.345678, 1.1, 5, 0.1, 0.7).p), u"13,58025"_s);
    }

    void geometry_data() {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<QString>("message");
        const QString longer = u"Ошибка. Длина трубопровода должна быть больше диаметра трубы."_s;
        const QString tooShort = u"Ошибка. Длина трубопровода должна быть больше четырехкратной глубины заложения "
                                 u"(L > 4T): при меньшей длине формула неприменима."_s;
        QTest::newRow("length equal to the diameter") << 0.53 << 0.53 << 0.7 << longer;
        QTest::newRow("length below the diameter") << 1.02 << 1.0 << 0.7 << longer;
        QTest::newRow("length above the diameter") << 0.53 << 3.0 << 0.7 << QString();
        // L·L = 0,36 < T·D = 0,371: the logarithm would be negative, and R with it.
        QTest::newRow("short pipe, negative logarithm") << 0.53 << 0.6 << 0.7 << tooShort;
        // L·L = T·D = 0,25: R would be 0.
        QTest::newRow("short pipe, zero logarithm") << 0.25 << 0.5 << 1.0 << tooShort;
        // L 0,2 at T 0,7 gave R 0,4 Ом; at L 0,5 it was 116,83 Ом: R rose as the pipe grew.
        QTest::newRow("short pipe, rising resistance") << 0.057 << 0.5 << 0.7 << tooShort;
        QTest::newRow("length 4T") << 0.057 << 2.8 << 0.7 << tooShort;
        QTest::newRow("just above 4T") << 0.057 << 2.81 << 0.7 << QString();
    }
    void geometry() {
        QFETCH(double, d);
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(QString, message);
        QCOMPARE(pipeline::geometryError(d, l, t).value_or(QString()), message);
        if (message.isEmpty())
            QVERIFY(pipeline::ComputeResistance(100, 1, l, d, t).r > 0);
    }

    void linkedLength_data() {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("l");
        QTest::addColumn<QString>("expected"); // empty: L stays
        QTest::newRow("diameter above the length") << 2.8 << 2.0 << u"2,9"_s;
        QTest::newRow("diameter equal to the length") << 1.02 << 1.02 << u"1,12"_s;
        QTest::newRow("length already above") << 0.1 << 5.0 << QString();
        QTest::newRow("no diameter") << 0.0 << 5.0 << QString();
    }
    void linkedLength() {
        QFETCH(double, d);
        QFETCH(double, l);
        QFETCH(QString, expected);
        const auto linked = pipeline::linkedLength(d, l);
        QCOMPARE(linked ? formatGeneral(*linked) : QString(), expected);
    }

    void rangeLabel() {
        QCOMPARE(pipeline::rangeText(u"0,057"_s, u"0,7"_s), u"( L > 2,8 )"_s);
        QCOMPARE(pipeline::rangeText(u"1,020"_s, u"0,2"_s), u"( L > 1,02 )"_s);
        QCOMPARE(pipeline::rangeText(u"1,020"_s, QString()), u"( L > 1,02 )"_s);
        QCOMPARE(pipeline::rangeText(QString(), u"0,7"_s), QString());
        QCOMPARE(pipeline::rangeText(u"0"_s, u"0,7"_s), QString());
    }

    void calcOrderLineKeepsTheTextsOnScreen() {
        // D before T here, as the handbook's order line has it.
        QCOMPARE(pipeline::calcOrderLine(u"100"_s, u"5"_s, u"0,1"_s, u"0,70"_s, u"18,71"_s),
                 u"R = 100 / (2*3,14*5) * Ln[5*5/ (0,1*0,70)] = 18,71 Ом"_s);
    }

    void descriptorValues() {
        const CalculatorDescriptor& d = pipeline::descriptor();
        QCOMPARE(d.className, QStringLiteral("TTruboFm"));
        QCOMPARE(d.helpContext, 31);
        QCOMPARE(d.history.kindCode, 15);
        QCOMPARE(d.selection.kindCode, 15);
        QCOMPARE(d.history.presetName, u"Трубопровод в земле 1."_s);
        QVERIFY(!d.construction);
        QVERIFY(d.linkedParameters);
        QStringList names;
        for (const SelectionParameter& p : d.selection.parameters)
            names << p.name;
        QCOMPARE(names, QStringList({u"Длина трубопровода, м"_s, u"Коэффициент поправки"_s,
                                     u"Удельное сопротивление грунта, Ом м"_s}));
    }
};

QTEST_APPLESS_MAIN(TestPipeline)
#include "tst_pipeline.moc"
