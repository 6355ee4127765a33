#include "core/model/CalcOrder.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

InstallationValues defaultInstallation() {
    InstallationValues eu;
    eu.type = u"напряжением до 1 кВ с заземленной нейтралью"_s;
    eu.voltage = QStringLiteral("380");
    eu.resistivity = QStringLiteral("100");
    eu.permissible = QStringLiteral("4");
    return eu;
}
} // namespace

class TestCalcOrder : public QObject {
    Q_OBJECT
private slots:
    void installationLines_data();
    void installationLines();
    void verdict_data();
    void verdict();
    void verdictNeedsANumberToCompareWith();
    void endings();
    void builderFollowsTheConventions();
    void coefficientOfOneIsLeftOut();
    void installationOnlyWhenIncluded();
    void triplesHoldTheTextBuiltLast();
};

void TestCalcOrder::installationLines_data() {
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("voltage");
    QTest::addColumn<QString>("power");
    QTest::addColumn<QString>("resistivity");
    QTest::addColumn<QStringList>("expected");
    const QString type = u"Тип электроустановки: напряжением до 1 кВ с заземленной нейтралью."_s;
    const QString rdop = u"Допустимое сопротивление растеканию: Rдоп. = 4 Ом."_s;
    const QString izo = u"Расчетный ток замыкания на землю: Iзо = 5 А."_s;
    const QString ulin = u"Линейное напряжение источника тока: Uлин. = 380 В."_s;
    const QString s = u"Суммарная мощность генераторов (трансформаторов): S = 100 кВА."_s;
    const QString p = u"Удельное сопротивление грунта: р = 100 Ом м."_s;
    QTest::newRow("nothing optional")
        << QString() << QString() << QString() << QString() << QStringList{type, rdop};
    QTest::newRow("voltage and p") << QString() << QStringLiteral("380") << QString() << QStringLiteral("100")
                                   << QStringList{type, ulin, p, rdop};
    QTest::newRow("all") << QStringLiteral("5") << QStringLiteral("380") << QStringLiteral("100")
                         << QStringLiteral("100") << QStringList{type, izo, ulin, s, p, rdop};
    QTest::newRow("current and power") << QStringLiteral("5") << QString() << QStringLiteral("100")
                                       << QString() << QStringList{type, izo, s, rdop};
}

void TestCalcOrder::installationLines() {
    QFETCH(QString, current);
    QFETCH(QString, voltage);
    QFETCH(QString, power);
    QFETCH(QString, resistivity);
    QFETCH(QStringList, expected);
    InstallationValues eu = defaultInstallation();
    eu.current = current;
    eu.voltage = voltage;
    eu.power = power;
    eu.resistivity = resistivity;
    QStringList memo{QStringLiteral("before")};
    AddInstallationLines(eu, memo);
    QCOMPARE(memo, QStringList{QStringLiteral("before")} + expected);
    // The soil letter is the Cyrillic "р".
    if (!resistivity.isEmpty())
        QVERIFY(memo.join(QLatin1Char('\n')).contains(QChar(0x0440) + QStringLiteral(" = 100")));
}

void TestCalcOrder::verdict_data() {
    QTest::addColumn<QString>("rdop");
    QTest::addColumn<double>("r");
    QTest::addColumn<QString>("line");
    const QString yes =
        u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s;
    const QString no =
        u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s;
    QTest::newRow("below") << QStringLiteral("4") << 3.99 << yes;
    QTest::newRow("equal counts as usable") << QStringLiteral("4") << 4.0 << yes;
    QTest::newRow("equal with decimals") << QStringLiteral("21,81") << 21.81 << yes;
    QTest::newRow("above") << QStringLiteral("4") << 4.01 << no;
}

void TestCalcOrder::verdict() {
    QFETCH(QString, rdop);
    QFETCH(double, r);
    QFETCH(QString, line);
    InstallationValues eu = defaultInstallation();
    eu.permissible = rdop;
    QStringList memo;
    QVERIFY(AddVerdictLine(eu, u"заземлитель"_s, QStringLiteral("R"), memo, r));
    QCOMPARE(memo, QStringList{line});
}

void TestCalcOrder::verdictNeedsANumberToCompareWith() {
    InstallationValues eu = defaultInstallation();
    eu.permissible.clear();
    QStringList memo;
    QVERIFY(!AddVerdictLine(eu, u"заземлитель"_s, QStringLiteral("R"), memo, 1));
    QVERIFY(memo.isEmpty());
}

void TestCalcOrder::endings() {
    QCOMPARE(oneLineEnding(QStringLiteral("21,81")), u" = 21,81 Ом"_s);
    QCOMPARE(multiLineEnding(QStringLiteral("21,81")), u" = 21,81 Ом."_s);
}

void TestCalcOrder::builderFollowsTheConventions() {
    ParameterTriples triples;
    triples.add(QStringLiteral("old"), QStringLiteral("o"), QStringLiteral("1"));
    CalcOrderText text(triples);
    text.begin();
    QCOMPARE(triples.count(), 0);
    text.heading(u"Грунты"_s);
    text.data(u"Удельное сопротивление грунта"_s, u"р"_s, QStringLiteral("100"), u"Ом м"_s);
    text.data(u"Длина стержня"_s, QStringLiteral("L"), QStringLiteral("5"), u"м"_s);
    text.blank();
    text.formula(u"Сопротивление растеканию стержня"_s, u"R = p / (2*П*L) * Ln(2*L/D)"_s,
                 u"R = 100 / (2*3,14*5) * Ln(2*5/0,016)"_s);
    text.appendToLast(multiLineEnding(QStringLiteral("20,49")));
    QCOMPARE(text.lines(),
             QStringList({u"Грунты."_s, u"Удельное сопротивление грунта: р = 100 Ом м."_s,
                          u"Длина стержня: L = 5 м."_s, QString(), u"Сопротивление растеканию стержня:"_s,
                          u"R = p / (2*П*L) * Ln(2*L/D);"_s,
                          u"R = 100 / (2*3,14*5) * Ln(2*5/0,016) = 20,49 Ом."_s}));
    QCOMPARE(triples.strings(),
             QStringList({u"Удельное сопротивление грунта"_s, u"р"_s, QStringLiteral("100"),
                          u"Длина стержня"_s, QStringLiteral("L"), QStringLiteral("5")}));
    QCOMPARE(triples.count(), 2);
    QCOMPARE(triples.designation(1), QStringLiteral("L"));
}

void TestCalcOrder::coefficientOfOneIsLeftOut() {
    ParameterTriples triples;
    CalcOrderText text(triples);
    text.begin();
    text.corrected(u"Коэффициент поправки"_s, u"Kп"_s, QStringLiteral("1"),
                   u"Расчетное удельное сопротивление"_s, u"р"_s, QStringLiteral("100"), u"Ом м"_s);
    QVERIFY(text.lines().isEmpty());
    // "1,0" is not the text "1": the rule compares the texts on screen.
    text.corrected(u"Коэффициент поправки"_s, u"Kп"_s, QStringLiteral("1,5"),
                   u"Расчетное удельное сопротивление"_s, u"р"_s, QStringLiteral("150"), u"Ом м"_s);
    QCOMPARE(text.lines(), QStringList({u"Коэффициент поправки: Kп = 1,5."_s,
                                        u"Расчетное удельное сопротивление: р = 150 Ом м."_s}));
    QCOMPARE(triples.count(), 2);
}

void TestCalcOrder::installationOnlyWhenIncluded() {
    ParameterTriples triples;
    CalcOrderText text(triples);
    InstallationValues eu = defaultInstallation();
    eu.include = false;
    QVERIFY(!text.installation(eu));
    QVERIFY(text.lines().isEmpty());
    eu.include = true;
    QVERIFY(text.installation(eu));
    QCOMPARE(text.lines().size(), 4);
    QVERIFY(text.verdict(eu, u"заземлитель"_s, QStringLiteral("R"), 4.0));
    QVERIFY(text.lines().last().contains(u"можно использовать"_s));
}

void TestCalcOrder::triplesHoldTheTextBuiltLast() {
    CalcOrderText first;
    first.begin();
    first.data(QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("1"), u"м"_s);
    CalcOrderText second;
    second.begin();
    second.data(QStringLiteral("B"), QStringLiteral("b"), QStringLiteral("2"), u"м"_s);
    QCOMPARE(parameterTriples().strings(),
             QStringList({QStringLiteral("B"), QStringLiteral("b"), QStringLiteral("2")}));
}

QTEST_APPLESS_MAIN(TestCalcOrder)
#include "tst_calcorder.moc"
