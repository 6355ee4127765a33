#include "core/rules/PermissibleResistance.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
const QString kUpper = u"Электроустановка выше 1 кВ с изолированной нейтралью:"_s;
const QString kLowerEarthed = u"Электроустановка до 1 кВ с заземленной нейтралью:"_s;
const QString kLowerIsolated = u"Электроустановка до 1 кВ с изолированной нейтралью:"_s;
} // namespace

class TestPermissibleResistance : public QObject {
    Q_OBJECT
private slots:
    void typesInListOrder();
    void inputsUsedByType_data();
    void inputsUsedByType();
    void rules_data();
    void rules();
    void notDerivable_data();
    void notDerivable();
    void fromFrameTexts_data();
    void fromFrameTexts();
};

void TestPermissibleResistance::typesInListOrder() {
    const QStringList names = installationTypeNames();
    QCOMPARE(names.size(), 7);
    QCOMPARE(names.first(), u"напряжением выше 1 кВ с заземленной нейтралью"_s);
    QCOMPARE(names.at(2),
             u"напряжением до 1 кВ с заземленной нейтралью и выше 1 кВ с изолированной нейтралью"_s);
    QCOMPARE(names.last(), u"напряжением до 1 кВ с изолированной нейтралью"_s);
    QCOMPARE(installationTypeIndex(u"напряжением до 1 кВ с заземленной нейтралью (повторные заземлители)"_s),
             5);
    QCOMPARE(installationTypeIndex(u"напряжением до 1 кВ"_s), -1);
    QCOMPARE(installationTypeIndex(QString()), -1);
    QCOMPARE(lineVoltageItems(),
             (QStringList{QStringLiteral("220"), QStringLiteral("380"), QStringLiteral("660")}));
    QCOMPARE(powerItems().size(), 14);
    QCOMPARE(powerItems().first(), QStringLiteral("25"));
    QCOMPARE(powerItems().last(), QStringLiteral("10000"));
}

void TestPermissibleResistance::inputsUsedByType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("current");
    QTest::addColumn<bool>("voltage");
    QTest::addColumn<bool>("power");
    QTest::addColumn<bool>("total");
    QTest::newRow("0") << 0 << false << false << false << false;
    QTest::newRow("1") << 1 << true << false << false << false;
    QTest::newRow("2") << 2 << true << true << false << false;
    QTest::newRow("3") << 3 << true << false << true << false;
    QTest::newRow("4") << 4 << false << true << false << false;
    QTest::newRow("5") << 5 << false << true << false << true;
    QTest::newRow("6") << 6 << false << false << true << false;
    QTest::newRow("none") << -1 << false << false << false << false;
}

void TestPermissibleResistance::inputsUsedByType() {
    QFETCH(int, type);
    QFETCH(bool, current);
    QFETCH(bool, voltage);
    QFETCH(bool, power);
    QFETCH(bool, total);
    QCOMPARE(typeUsesCurrent(type), current);
    QCOMPARE(typeUsesVoltage(type), voltage);
    QCOMPARE(typeUsesPower(type), power);
    QCOMPARE(typeHasRepeatedTotal(type), total);
}

void TestPermissibleResistance::rules_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("izo");
    QTest::addColumn<double>("ulin");
    QTest::addColumn<double>("s");
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("justification");

    const auto row = [](const char* name, int type, double p, double izo, double ulin, double s,
                        const QString& r, const QString& total, const QStringList& just) {
        QTest::newRow(name) << type << p << izo << ulin << s << r << total << just;
    };

    // Above 1 kV, earthed neutral: 500 and 5000 belong to the lower band.
    const QStringList t0a{u"При р<=500 --> R <= 0,5 Ом."_s};
    const QStringList t0b{u"При 500<р<=5000 --> R = p/1000, Ом."_s};
    const QStringList t0c{u"При р>5000 --> R <= 5 Ом."_s};
    row("0: p 100", 0, 100, 0, 0, 0, u"0,5"_s, QString(), t0a);
    row("0: p 500", 0, 500, 0, 0, 0, u"0,5"_s, QString(), t0a);
    row("0: p 501", 0, 501, 0, 0, 0, u"0,50"_s, QString(), t0b);
    row("0: p 2500", 0, 2500, 0, 0, 0, u"2,50"_s, QString(), t0b);
    row("0: p 5000", 0, 5000, 0, 0, 0, u"5,00"_s, QString(), t0b);
    row("0: p 5001", 0, 5001, 0, 0, 0, u"5"_s, QString(), t0c);

    // Above 1 kV, isolated neutral: capped formulas.
    const QStringList t1a{u"При р<=500 --> R = 250/Iзо, но не более 10 Ом."_s};
    const QStringList t1b{u"При 500<р<=5000 --> R = 0,5*p/Iзо, но не более 100 Ом."_s};
    const QStringList t1c{u"При р>5000 --> R = 2500/Iзо, но не более 100 Ом."_s};
    row("1: p 100 I 20 capped", 1, 100, 20, 0, 0, u"10"_s, QString(), t1a);
    row("1: p 100 I 50", 1, 100, 50, 0, 0, u"5,00"_s, QString(), t1a);
    row("1: p 500 I 25 at the cap", 1, 500, 25, 0, 0, u"10,00"_s, QString(), t1a);
    row("1: p 501 I 10", 1, 501, 10, 0, 0, u"25,05"_s, QString(), t1b);
    row("1: p 5000 I 10 capped", 1, 5000, 10, 0, 0, u"100"_s, QString(), t1b);
    row("1: p 5000 I 50", 1, 5000, 50, 0, 0, u"50,00"_s, QString(), t1b);
    row("1: p 5001 I 10 capped", 1, 5001, 10, 0, 0, u"100"_s, QString(), t1c);
    row("1: p 6000 I 50", 1, 6000, 50, 0, 0, u"50,00"_s, QString(), t1c);

    // Up to 1 kV, earthed neutral, by line voltage; 100 and 1000 belong to the lower band.
    row("4: 220 p 100", 4, 100, 0, 220, 0, u"8"_s, QString(), QStringList{u"При р<=100 --> R <= 8 Ом."_s});
    row("4: 220 p 101", 4, 101, 0, 220, 0, u"8,08"_s, QString(),
        QStringList{u"При 100<р<=1000 --> R = 0,08*p, Ом."_s});
    row("4: 220 p 1000", 4, 1000, 0, 220, 0, u"80,00"_s, QString(),
        QStringList{u"При 100<р<=1000 --> R = 0,08*p, Ом."_s});
    row("4: 220 p 1001", 4, 1001, 0, 220, 0, u"80"_s, QString(),
        QStringList{u"При р>1000 --> R <= 80 Ом."_s});
    row("4: 380 p 100", 4, 100, 0, 380, 0, u"4"_s, QString(), QStringList{u"При р<=100 --> R <= 4 Ом."_s});
    row("4: 380 p 600", 4, 600, 0, 380, 0, u"24,00"_s, QString(),
        QStringList{u"При 100<р<=1000 --> R = 0,04*p, Ом."_s});
    row("4: 380 p 1001", 4, 1001, 0, 380, 0, u"40"_s, QString(),
        QStringList{u"При р>1000 --> R <= 40 Ом."_s});
    row("4: 660 p 50", 4, 50, 0, 660, 0, u"2"_s, QString(), QStringList{u"При р<=100 --> R <= 2 Ом."_s});
    row("4: 660 p 1000", 4, 1000, 0, 660, 0, u"20,00"_s, QString(),
        QStringList{u"При 100<р<=1000 --> R = 0,02*p, Ом."_s});
    row("4: 660 p 5000", 4, 5000, 0, 660, 0, u"20"_s, QString(),
        QStringList{u"При р>1000 --> R <= 20 Ом."_s});

    // Repeated groundings, with the total of all of them.
    row("5: 220 p 100", 5, 100, 0, 220, 0, u"60"_s, u"20"_s,
        QStringList{u"При р<=100 --> R <= 60 Ом; общее R <= 20 Ом."_s});
    row("5: 220 p 500", 5, 500, 0, 220, 0, u"300,00"_s, u"100,00"_s,
        QStringList{u"При 100<р<=1000 --> R = 0,6*p, Ом; общее R = 0,2*р, Ом."_s});
    row("5: 220 p 1001", 5, 1001, 0, 220, 0, u"600"_s, u"200"_s,
        QStringList{u"При р>1000 --> R <= 600 Ом; общее R <= 200 Ом."_s});
    row("5: 380 p 50", 5, 50, 0, 380, 0, u"30"_s, u"10"_s,
        QStringList{u"При р<=100 --> R <= 30 Ом; общее R <= 10 Ом."_s});
    row("5: 380 p 1000", 5, 1000, 0, 380, 0, u"300,00"_s, u"100,00"_s,
        QStringList{u"При 100<р<=1000 --> R = 0,3*p, Ом; общее R = 0,1*р, Ом."_s});
    row("5: 380 p 2000", 5, 2000, 0, 380, 0, u"300"_s, u"100"_s,
        QStringList{u"При р>1000 --> R <= 300 Ом; общее R <= 100 Ом."_s});
    row("5: 660 p 100", 5, 100, 0, 660, 0, u"15"_s, u"5"_s,
        QStringList{u"При р<=100 --> R <= 15 Ом; общее R <= 5 Ом."_s});
    row("5: 660 p 200", 5, 200, 0, 660, 0, u"30,00"_s, u"10,00"_s,
        QStringList{u"При 100<р<=1000 --> R = 0,15*p, Ом; общее R <= 0,05*р, Ом."_s});
    row("5: 660 p 1001", 5, 1001, 0, 660, 0, u"150"_s, u"50"_s,
        QStringList{u"При р>1000 --> R <= 150 Ом; общее R <= 50 Ом."_s});

    // Up to 1 kV, isolated neutral: S = 100 counts as small.
    row("6: S 160 p 500", 6, 500, 0, 0, 160, u"4"_s, QString(),
        QStringList{u"При р<=500 и S>100 кВА --> R <= 4 Ом."_s});
    row("6: S 160 p 5000", 6, 5000, 0, 0, 160, u"40,00"_s, QString(),
        QStringList{u"При 500<р<=5000 и S>100 кВА --> R = 0,008*p, Ом."_s});
    row("6: S 160 p 5001", 6, 5001, 0, 0, 160, u"40"_s, QString(),
        QStringList{u"При р>5000 и S>100 кВА --> R <= 40 Ом."_s});
    row("6: S 100 p 500", 6, 500, 0, 0, 100, u"10"_s, QString(),
        QStringList{u"При р<=500 и S<=100 кВА --> R <= 10 Ом."_s});
    row("6: S 100 p 501", 6, 501, 0, 0, 100, u"10,02"_s, QString(),
        QStringList{u"При 500<р<=5000 и S<=100 кВА --> R = 0,02*p, Ом."_s});
    row("6: S 25 p 5001", 6, 5001, 0, 0, 25, u"100"_s, QString(),
        QStringList{u"При р>5000 и S<=100 кВА --> R <= 100 Ом."_s});

    // Both sides of 1 kV: the smaller of the two rules, compared on the shown value.
    row("2: 380 p 100 I 5", 2, 100, 5, 380, 0, u"4"_s, QString(),
        QStringList{kUpper, u"при р<=500 --> R = 125/Iзо = 25,00 Ом."_s, kLowerEarthed,
                    u"при р<=100 --> R <= 4 Ом."_s, u"Окончательно принимается R <= 4 Ом."_s});
    row("2: 220 p 100 I 50 below cap", 2, 100, 50, 220, 0, u"2,50"_s, QString(),
        QStringList{kUpper, u"при р<=500 --> R = 125/Iзо = 2,50 Ом."_s, kLowerEarthed,
                    u"при р<=100 --> R <= 8 Ом."_s, u"Окончательно принимается R <= 2,50 Ом."_s});
    row("2: 220 p 600 I 10", 2, 600, 10, 220, 0, u"15,00"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 15,00 Ом."_s, kLowerEarthed,
                    u"при 100<р<=1000 --> R = 0,08*p = 48,00 Ом."_s,
                    u"Окончательно принимается R <= 15,00 Ом."_s});
    row("2: 380 p 200 I 5", 2, 200, 5, 380, 0, u"8,00"_s, QString(),
        QStringList{kUpper, u"при р<=500 --> R = 125/Iзо = 25,00 Ом."_s, kLowerEarthed,
                    u"при 100<р<=1000 --> R = 0,04*p= 8,00 Ом."_s,
                    u"Окончательно принимается R <= 8,00 Ом."_s});
    row("2: 660 p 1000 I 100", 2, 1000, 100, 660, 0, u"2,50"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 2,50 Ом."_s, kLowerEarthed,
                    u"при 100<р<=1000 --> R = 0,02*p= 20,00 Ом."_s,
                    u"Окончательно принимается R <= 2,50 Ом."_s});
    row("2: 660 p 1001 I 1", 2, 1001, 1, 660, 0, u"20"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 250,25 Ом."_s, kLowerEarthed,
                    u"при р>1000 --> R <= 20 Ом."_s, u"Окончательно принимается R <= 20 Ом."_s});
    row("2: 380 p 6000 I 10", 2, 6000, 10, 380, 0, u"40"_s, QString(),
        QStringList{kUpper, u"при р>5000 --> R = 1250/Iзо = 125,00 Ом."_s, kLowerEarthed,
                    u"при р>1000 --> R <= 40 Ом."_s, u"Окончательно принимается R <= 40 Ом."_s});
    row("2: 220 p 5000 I 1000", 2, 5000, 1000, 220, 0, u"1,25"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 1,25 Ом."_s, kLowerEarthed,
                    u"при р>1000 --> R <= 80 Ом."_s, u"Окончательно принимается R <= 1,25 Ом."_s});

    row("3: S 160 p 500 I 5", 3, 500, 5, 0, 160, u"4"_s, QString(),
        QStringList{kUpper, u"при р<=500 --> R = 125/Iзо = 25,00 Ом."_s, kLowerIsolated,
                    u"при р<=500 и S>100 кВА --> R <= 4 Ом."_s, u"Окончательно принимается R <= 4 Ом."_s});
    row("3: S 100 p 500 I 5", 3, 500, 5, 0, 100, u"10"_s, QString(),
        QStringList{kUpper, u"при р<=500 --> R = 125/Iзо = 25,00 Ом."_s, kLowerIsolated,
                    u"при р<=500 и S<=100 кВА --> R <= 10 Ом."_s, u"Окончательно принимается R <= 10 Ом."_s});
    row("3: S 250 p 1000 I 10", 3, 1000, 10, 0, 250, u"8,00"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 25,00 Ом."_s, kLowerIsolated,
                    u"при 500<р<=5000 и S>100 кВА --> R = 0,008*p = 8,00 Ом."_s,
                    u"Окончательно принимается R <= 8,00 Ом."_s});
    row("3: S 100 p 5000 I 200", 3, 5000, 200, 0, 100, u"6,25"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 6,25 Ом."_s, kLowerIsolated,
                    u"при 500<р<=5000 и S<=100 кВА --> R = 0,02*p = 100,00 Ом."_s,
                    u"Окончательно принимается R <= 6,25 Ом."_s});
    row("3: S 160 p 501 I 1", 3, 501, 1, 0, 160, u"4,01"_s, QString(),
        QStringList{kUpper, u"при 500<р<=5000 --> R = 0,25*p/Iзо = 125,25 Ом."_s, kLowerIsolated,
                    u"при 500<р<=5000 и S>100 кВА --> R = 0,008*p = 4,01 Ом."_s,
                    u"Окончательно принимается R <= 4,01 Ом."_s});
    row("3: S 40 p 5001 I 100", 3, 5001, 100, 0, 40, u"12,50"_s, QString(),
        QStringList{kUpper, u"при р>5000 --> R = 1250/Iзо = 12,50 Ом."_s, kLowerIsolated,
                    u"при р>5000 и S<=100 кВА --> R <= 100 Ом."_s,
                    u"Окончательно принимается R <= 12,50 Ом."_s});
    row("3: S 1000 p 5001 I 1", 3, 5001, 1, 0, 1000, u"40"_s, QString(),
        QStringList{kUpper, u"при р>5000 --> R = 1250/Iзо = 1250,00 Ом."_s, kLowerIsolated,
                    u"при р>5000 и S>100 кВА --> R <= 40 Ом."_s, u"Окончательно принимается R <= 40 Ом."_s});
}

void TestPermissibleResistance::rules() {
    QFETCH(int, type);
    QFETCH(double, p);
    QFETCH(double, izo);
    QFETCH(double, ulin);
    QFETCH(double, s);
    QFETCH(QString, r);
    QFETCH(QString, total);
    QFETCH(QStringList, justification);
    PermissibleInputs in;
    in.p = p;
    in.izo = izo;
    in.ulin = ulin;
    in.s = s;
    const PermissibleResult result = permissibleResistance(type, in);
    QVERIFY(result.valid);
    QCOMPARE(result.r, r);
    QCOMPARE(result.total, total);
    QCOMPARE(result.justification, justification);
}

void TestPermissibleResistance::notDerivable_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("izo");
    QTest::addColumn<double>("ulin");
    QTest::addColumn<double>("s");
    QTest::newRow("no type") << -1 << 100.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("type past the list") << 7 << 100.0 << 5.0 << 380.0 << 100.0;
    QTest::newRow("zero resistivity") << 0 << 0.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("negative resistivity") << 4 << -100.0 << 0.0 << 380.0 << 0.0;
    QTest::newRow("no current") << 1 << 100.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("no power") << 6 << 100.0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("voltage not in the norms") << 4 << 100.0 << 0.0 << 400.0 << 0.0;
    QTest::newRow("no voltage for type 2") << 2 << 100.0 << 5.0 << 0.0 << 0.0;
}

void TestPermissibleResistance::notDerivable() {
    QFETCH(int, type);
    QFETCH(double, p);
    QFETCH(double, izo);
    QFETCH(double, ulin);
    QFETCH(double, s);
    PermissibleInputs in;
    in.p = p;
    in.izo = izo;
    in.ulin = ulin;
    in.s = s;
    const PermissibleResult result = permissibleResistance(type, in);
    QVERIFY(!result.valid);
    QVERIFY(result.r.isEmpty());
    QVERIFY(result.justification.isEmpty());
}

void TestPermissibleResistance::fromFrameTexts_data() {
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("izo");
    QTest::addColumn<QString>("p");
    QTest::addColumn<QString>("s");
    QTest::addColumn<QString>("ulin");
    QTest::addColumn<QString>("r");
    const QStringList t = installationTypeNames();
    QTest::newRow("frame defaults") << t[4] << QString() << u"100"_s << QString() << u"380"_s << u"4"_s;
    QTest::newRow("fractional resistivity")
        << t[4] << QString() << u"150,5"_s << QString() << u"380"_s << u"6,02"_s;
    QTest::newRow("unused texts are not read")
        << t[0] << u"abc"_s << u"500"_s << u"x"_s << u"y"_s << u"0,5"_s;
    QTest::newRow("type 1 without current")
        << t[1] << QString() << u"100"_s << QString() << QString() << QString();
    QTest::newRow("type 1 current not a number")
        << t[1] << u"2,,0"_s << u"100"_s << QString() << QString() << QString();
    QTest::newRow("type 2") << t[2] << u"5"_s << u"100"_s << QString() << u"380"_s << u"4"_s;
    QTest::newRow("type 3") << t[3] << u"10"_s << u"1000"_s << u"250"_s << QString() << u"8,00"_s;
    QTest::newRow("type 5 gives R only") << t[5] << QString() << u"50"_s << QString() << u"380"_s << u"30"_s;
    QTest::newRow("type 6 S typed off the list")
        << t[6] << QString() << u"600"_s << u"150"_s << QString() << u"4,80"_s;
    QTest::newRow("empty resistivity")
        << t[0] << QString() << QString() << QString() << QString() << QString();
    QTest::newRow("unknown type") << u"другой тип"_s << QString() << u"100"_s << QString() << u"380"_s
                                  << QString();
}

void TestPermissibleResistance::fromFrameTexts() {
    QFETCH(QString, type);
    QFETCH(QString, izo);
    QFETCH(QString, p);
    QFETCH(QString, s);
    QFETCH(QString, ulin);
    QFETCH(QString, r);
    QCOMPARE(permissibleResistanceText(type, izo, p, s, ulin), r);
}

QTEST_APPLESS_MAIN(TestPermissibleResistance)
#include "tst_permissibleresistance.moc"
