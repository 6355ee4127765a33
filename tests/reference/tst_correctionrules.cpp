#include "core/rules/CorrectionRules.h"
#include "core/rules/SteelRules.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using namespace kz;

class TestCorrectionRules : public QObject {
    Q_OBJECT
private slots:
    void fieldOfTheTable_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("longer");
        QTest::addColumn<int>("moisture");
        QTest::addColumn<QString>("field");
        const char* lengths[2][2] = {{"3", "5"}, {"10", "50"}};
        const char* moistures = "psm";
        for (int k = 0; k < 2; ++k)
            for (int l = 0; l < 2; ++l)
                for (int m = 0; m < 3; ++m) {
                    const QString field = QLatin1String(k == 0 ? "V" : "G") + QLatin1String(lengths[k][l]) +
                                          QLatin1Char(moistures[m]);
                    QTest::newRow(qPrintable(field)) << k << bool(l) << m << field;
                }
    }
    void fieldOfTheTable() {
        QFETCH(int, kind);
        QFETCH(bool, longer);
        QFETCH(int, moisture);
        QFETCH(QString, field);
        QCOMPARE(seasonalFieldName(ElectrodeKind(kind), longer, SoilMoisture(moisture)), field);
    }

    void lengthItems() {
        QCOMPARE(electrodeLengthItems(ElectrodeKind::Vertical),
                 (QStringList{u"3 метра"_s, u"5 метров"_s}));
        QCOMPARE(electrodeLengthItems(ElectrodeKind::Horizontal),
                 (QStringList{u"10 метров"_s, u"50 метров"_s}));
    }

    // exp(-0,022*(t-20)) by hand: t=0 -> e^0,44 = 1,5527; t=40 -> e^-0,44 = 0,6440;
    // t=-50 -> e^1,54 = 4,6646; t=50 -> e^-0,66 = 0,5169.
    void coefficientFromTemperature_data() {
        QTest::addColumn<int>("t");
        QTest::addColumn<QString>("text");
        QTest::newRow("20") << 20 << QStringLiteral("1,00");
        QTest::newRow("0") << 0 << QStringLiteral("1,55");
        QTest::newRow("40") << 40 << QStringLiteral("0,64");
        QTest::newRow("-50") << -50 << QStringLiteral("4,66");
        QTest::newRow("50") << 50 << QStringLiteral("0,52");
    }
    void coefficientFromTemperature() {
        QFETCH(int, t);
        QFETCH(QString, text);
        QCOMPARE(temperatureCoefficientText(t), text);
    }

    void steelRowToLocate_data() {
        QTest::addColumn<QString>("construction");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QList<double>>("values");
        const QStringList diam{QStringLiteral("Diam")};
        const QStringList shirTol{QStringLiteral("Shir"), QStringLiteral("Tol")};
        QTest::newRow("round") << u"сталь круглая"_s << QStringLiteral("0,016") << 0 << diam
                               << QList<double>{0.016};
        QTest::newRow("square") << u"сталь квадратная"_s << QStringLiteral("0,02") << 1
                                << QStringList{QStringLiteral("Storona")} << QList<double>{0.02};
        QTest::newRow("strip") << u"сталь полосовая"_s << QStringLiteral("0,04x0,004") << 2
                               << shirTol << QList<double>{0.04, 0.004};
        QTest::newRow("angle") << u"сталь угловая"_s << QStringLiteral("0,05x0,05x0,005") << 3
                               << shirTol << QList<double>{0.05, 0.005};
        QTest::newRow("tube") << u"сталь трубчатая"_s << QStringLiteral("0,06") << 4 << diam
                              << QList<double>{0.06};
        QTest::newRow("pipeline") << u"трубы для трубопроводов"_s << QStringLiteral("0,1")
                                  << 5 << diam << QList<double>{0.1};
        QTest::newRow("no size") << u"сталь полосовая"_s << QString() << 2 << shirTol
                                 << QList<double>{};
        QTest::newRow("unknown") << u"медь"_s << QStringLiteral("1") << -1 << QStringList{}
                                 << QList<double>{};
    }
    void steelRowToLocate() {
        QFETCH(QString, construction);
        QFETCH(QString, size);
        QFETCH(int, item);
        QFETCH(QStringList, fields);
        QFETCH(QList<double>, values);
        const SteelLocation loc = steelLocation(construction, size);
        QCOMPARE(loc.item, item);
        QCOMPARE(loc.fields, fields);
        QCOMPARE(loc.values, values);
        if (item >= 0)
            QVERIFY(!steelMaterialTable(item).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCorrectionRules)
#include "tst_correctionrules.moc"
