#include "core/model/ReportModel.h"
#include "core/calculators/plates/BuriedRing.h"
#include "core/calculators/plates/RingAtSurface.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {

QStringList texts(const ReportBuilder& w) {
    QStringList out;
    for (const ReportParagraph& p : w.paragraphs())
        out << p.text();
    return out;
}

ReportSource ringSource() {
    ReportSource s;
    s.picture = false;
    s.texts = {{QStringLiteral("ComboGrunt"), u"суглинок"_s},
               {QStringLiteral("EditPKV"), u"1"_s},
               {QStringLiteral("EditRo"), u"100"_s},
               {QStringLiteral("EditRo0"), u"100"_s},
               {QStringLiteral("cmbSech"), u"сталь круглая"_s},
               {QStringLiteral("cmbDiam"), u"0,01"_s},
               {QStringLiteral("frmSech1.EditDiam"), QString()}};
    s.installation.type = u"напряжением до 1 кВ с заземленной нейтралью"_s;
    s.installation.permissible = u"30"_s;
    return s;
}
} // namespace

// The ring formulas against the handbook, computed by hand to 30 digits (mpmath), and the rules
// around them.
class TestRings : public QObject {
    Q_OBJECT
private slots:
    void buriedFormula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("ringD");
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("t");
        QTest::addColumn<QString>("expected");
        // ln(4π·4 / (0,016·0,7)) · 100 / (4π²) = 21,3006513914... (shown without the trailing 0)
        QTest::newRow("window defaults") << 100.0 << 1.0 << 2.0 << 0.016 << 0.7 << u"21,3"_s;
        // Strip 0,04 wide: d = 0,02; ln(4π·4 / 0,014) · 100 / (4π²) = 20,7354221729...
        QTest::newRow("strip") << 100.0 << 1.0 << 2.0 << 0.02 << 0.7 << u"20,74"_s;
        // p = 50·1,3 = 65; ln(4π·25 / 0,012) · 65 / (10π²) = 6,69964710534...
        QTest::newRow("corrected resistivity") << 50.0 << 1.3 << 5.0 << 0.012 << 1.0 << u"6,7"_s;
        // Angle 0,04: d = 0,038; ln(4π·100 / (0,038·2,5)) · 300 / (20π²) = 14,4231811651...
        QTest::newRow("angle, large ring") << 300.0 << 1.0 << 10.0 << 0.038 << 2.5 << u"14,42"_s;
        // p = 150·1,2 = 180; ln(4π·12,25 / 0,008) · 180 / (7π²) = 25,7019348593...
        QTest::newRow("p 180") << 150.0 << 1.2 << 3.5 << 0.016 << 0.5 << u"25,7"_s;
    }
    void buriedFormula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, ringD);
        QFETCH(double, d);
        QFETCH(double, t);
        QFETCH(QString, expected);
        // The inputs as the window reads them: from their texts.
        const auto n = [](double v) { return *parseNumber(formatGeneral(v)); };
        QCOMPARE(formatGeneral(buriedring::ComputeResistance(n(p0), n(kp), n(ringD), n(d), n(t)).r), expected);
    }

    void surfaceFormula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("ringD");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("expected");
        // ln 500 · 100 / π² = 62,9671448405...
        QTest::newRow("window defaults") << 100.0 << 1.0 << 1.0 << 0.016 << u"62,97"_s;
        // Strip 0,04: d = 0,02; ln 400 · 100 / π² = 60,7062279664...
        QTest::newRow("strip") << 100.0 << 1.0 << 1.0 << 0.02 << u"60,71"_s;
        // ln(80 / 0,038) · 300 / (10π²) = 23,2598859375...
        QTest::newRow("angle, large ring") << 300.0 << 1.0 << 10.0 << 0.038 << u"23,26"_s;
        // Barely larger than the section: ln(0,136 / 0,016) · 100 / (0,017π²) = 1275,49433387...
        QTest::newRow("ring barely wider than thick") << 100.0 << 1.0 << 0.017 << 0.016 << u"1275,49"_s;
    }
    void surfaceFormula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, ringD);
        QFETCH(double, d);
        QFETCH(QString, expected);
        const auto n = [](double v) { return *parseNumber(formatGeneral(v)); };
        QCOMPARE(formatGeneral(ringatsurface::ComputeResistance(n(p0), n(kp), n(ringD), n(d)).r), expected);
    }

    void resistivityIsRoundedToFiveDecimals() {
        // 33,333333 · 1,5 = 49,9999995, to five decimals 50: the formula's p.
        QCOMPARE(formatGeneral(buriedring::ComputeResistance(33.333333L, 1.5L, 2, 0.01L, 0.7L).p), u"50"_s);
        QCOMPARE(formatGeneral(ringatsurface::ComputeResistance(33.333333L, 1.5L, 1, 0.01L).p), u"50"_s);
    }

    void geometryRules_data() {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("ringD");
        QTest::addColumn<double>("t");
        QTest::addColumn<QString>("message");
        const QString diameter =
            u"Ошибка. Большой диаметр кольцевого заземлителя должен быть больше малого."_s;
        const QString depth =
            u"Ошибка. Большой радиус кольцевого заземлителя должен быть больше глубины заложения."_s;
        QTest::newRow("defaults pass") << 0.016 << 2.0 << 0.7 << QString();
        QTest::newRow("radius equal to the depth") << 0.016 << 2.0 << 1.0 << depth;
        QTest::newRow("radius just above") << 0.016 << 2.01 << 1.0 << QString();
        QTest::newRow("section as wide as the ring") << 0.016 << 0.016 << 0.7 << diameter;
        // Both rules broken: the section's is told.
        QTest::newRow("section first") << 0.032 << 0.03 << 0.7 << diameter;
    }
    void geometryRules() {
        QFETCH(double, d);
        QFETCH(double, ringD);
        QFETCH(double, t);
        QFETCH(QString, message);
        const auto error = buriedring::geometryError(d, ringD, t);
        QCOMPARE(error.value_or(QString()), message);
        // The surface ring knows only the section's rule.
        const auto surface = ringatsurface::geometryError(d, ringD);
        QCOMPARE(surface.has_value(), !(d < ringD));
    }

    void rangeLabels_data() {
        QTest::addColumn<QString>("t"); // as typed; empty: no number
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("ringD");
        QTest::addColumn<QString>("labelD");
        QTest::addColumn<QString>("labelT");
        QTest::newRow("defaults") << u"0,7"_s << 0.016 << u"2"_s << u"( D > 1,4 )"_s << u"( T < 1 )"_s;
        // The section is thicker than 2T: d bounds D.
        QTest::newRow("thick section")
            << u"0,01"_s << 0.032 << u"2"_s << u"( D > 0,032 )"_s << u"( T < 1 )"_s;
        // Not rounded for D; T to five decimals: 1,2345678 / 2 = 0,6172839 -> 0,61728.
        QTest::newRow("many digits") << u"0,3333333"_s << 0.016 << u"1,2345678"_s << u"( D > 0,6666666 )"_s
                                     << u"( T < 0,61728 )"_s;
        QTest::newRow("no depth") << QString() << 0.016 << u"2"_s << QString() << u"( T < 1 )"_s;
        QTest::newRow("zero depth") << u"0"_s << 0.016 << u"0"_s << QString() << QString();
    }
    void rangeLabels() {
        QFETCH(QString, t);
        QFETCH(double, d);
        QFETCH(QString, ringD);
        QFETCH(QString, labelD);
        QFETCH(QString, labelT);
        QCOMPARE(buriedring::diameterRangeText(parseNumber(t), d), labelD);
        QCOMPARE(buriedring::depthRangeText(parseNumber(ringD)), labelT);
    }

    void linking_data() {
        QTest::addColumn<QString>("ringD");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("depthAfterD");    // T after the user typed D; empty: unchanged
        QTest::addColumn<QString>("diameterAfterT"); // D after the user typed T; empty: unchanged
        QTest::addColumn<QString>("depthInRun");     // T when a single run applies D
        // 2·0,7 >= 1: T = 1/2 − 0,1 = 0,4; typed T moves D to 2·0,7 + 0,1 = 1,5.
        QTest::newRow("D 1, T 0,7") << u"1"_s << u"0,7"_s << u"0,4"_s << u"1,5"_s << u"0,4"_s;
        QTest::newRow("D 2, T 1,5") << u"2"_s << u"1,5"_s << u"0,9"_s << u"3,1"_s << u"0,9"_s;
        // The rule holds: nothing moves.
        QTest::newRow("D 2, T 0,7") << u"2"_s << u"0,7"_s << QString() << QString() << QString();
        // Equality breaks it: 2T = D.
        QTest::newRow("D 2, T 1") << u"2"_s << u"1"_s << u"0,9"_s << u"2,1"_s << u"0,9"_s;
        // D/2 − 0,1 below 0: T stays.
        QTest::newRow("D 0,1") << u"0,1"_s << u"0,7"_s << QString() << u"1,5"_s << QString();
        QTest::newRow("D 0,2: exactly 0") << u"0,2"_s << u"0,7"_s << QString() << u"1,5"_s << QString();
        // Five decimals in the window, two in the run: 1,2345678/2 − 0,1 = 0,5172839.
        QTest::newRow("digits") << u"1,2345678"_s << u"0,7"_s << u"0,51728"_s << u"1,5"_s << u"0,52"_s;
        // 2·0,1234567 + 0,1 = 0,3469134.
        QTest::newRow("digits of T") << u"0,2"_s << u"0,1234567"_s << QString() << u"0,34691"_s << QString();
    }
    void linking() {
        QFETCH(QString, ringD);
        QFETCH(QString, t);
        QFETCH(QString, depthAfterD);
        QFETCH(QString, diameterAfterT);
        QFETCH(QString, depthInRun);
        const long double dv = *parseNumber(ringD);
        const long double tv = *parseNumber(t);
        const auto text = [](std::optional<long double> v) { return v ? formatGeneral(*v) : QString(); };
        QCOMPARE(text(buriedring::linkedDepth(dv, tv)), depthAfterD);
        QCOMPARE(text(buriedring::linkedDiameter(dv, tv)), diameterAfterT);
        QCOMPARE(text(buriedring::selectionLinkedDepth(dv, tv)), depthInRun);
    }

    void selectionAdmissibility_data() {
        QTest::addColumn<double>("ringD");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<bool>("multi");
        QTest::addColumn<bool>("single");
        QTest::newRow("defaults") << 2.0 << 0.7 << 0.016 << true << true;
        // D/T = 2,000005: above 2, not above 2,00001.
        QTest::newRow("D/T 2,000005") << 2.000005 << 1.0 << 0.016 << true << false;
        QTest::newRow("D/T 2,00002") << 2.00002 << 1.0 << 0.016 << true << true;
        QTest::newRow("D/T 2") << 2.0 << 1.0 << 0.016 << false << false;
        QTest::newRow("section as wide") << 3.0 << 1.0 << 3.0 << false << false;
        QTest::newRow("no depth") << 3.0 << 0.0 << 0.016 << false << false;
    }
    void selectionAdmissibility() {
        QFETCH(double, ringD);
        QFETCH(double, t);
        QFETCH(double, d);
        QFETCH(bool, multi);
        QFETCH(bool, single);
        QCOMPARE(buriedring::selectionAdmissible(ringD, t, d, false), multi);
        QCOMPARE(buriedring::selectionAdmissible(ringD, t, d, true), single);
    }

    void calculationOrderLines() {
        // The section's diameter in the general format: 0,95·0,04.
        QCOMPARE(ringatsurface::calcOrderLine(u"65"_s, u"2,5"_s, 0.95L * 0.04L, u"20"_s),
                 u"R = 65 / (3,14*3,14*2,5) * ln(8*2,5/0,038) = 20 Ом"_s);
    }

    void descriptorsOfBothWindows() {
        const CalculatorDescriptor& b = buriedring::descriptor();
        const CalculatorDescriptor& s = ringatsurface::descriptor();
        QCOMPARE(b.caption, u"Кольцевой заземлитель в земле."_s);
        QCOMPARE(s.caption, u"Кольцевой заземлитель у поверхности земли."_s);
        QCOMPARE(b.history.kindCode, 8);
        QCOMPARE(s.history.kindCode, 7);
        QCOMPARE(b.selection.kindCode, 8);
        QCOMPARE(s.selection.kindCode, 7);
        QCOMPARE(b.history.presetName, u"Кольцевой заземлитель в земле 1."_s);
        QCOMPARE(s.history.presetName, u"Кольцевой заземлитель у поверхности земли 1."_s);
        // The loader's list: the soil and construction, then the ring (and the depth).
        QCOMPARE(b.history.fieldList().mid(10),
                 (QStringList{u"Диаметр кольца, м:"_s, u"D1"_s, u"Глубина заложения, м:"_s, u"T"_s}));
        QCOMPARE(s.history.fieldList().mid(10), (QStringList{u"Диаметр кольца, м:"_s, u"D2"_s}));
        // The run dialog's offer, in its order, with its defaults.
        QStringList names;
        for (const SelectionParameter& p : b.selection.parameters)
            names << p.name + QLatin1Char('|') + p.start + QLatin1Char('|') + p.end + QLatin1Char('|') +
                         p.step + QLatin1Char('|') + p.lower + QLatin1Char('|') + p.upper;
        QCOMPARE(names,
                 (QStringList{u"Диаметр кольца, м|1|5|1|0,5|"_s, u"Коэффициент поправки|2|1|0,1|1|10"_s,
                              u"Удельное сопротивление грунта, Ом м|||1||"_s}));
        QCOMPARE(b.selection.parameters.first().columns.size(), 1);
        QCOMPARE(s.selection.parameters.first().columns.size(), 0);
        QCOMPARE(b.reportSteps, 7);
        QCOMPARE(s.reportSteps, 5);
    }

    void buriedReport() {
        ReportSource s = ringSource();
        s.texts.insert(QStringLiteral("EditDiam"), u"2"_s);
        s.texts.insert(QStringLiteral("EditGlub"), u"0,7"_s);
        s.texts.insert(QStringLiteral("EditVS1"), u"22,49"_s);
        RecordingDialogs messages;
        ReportBuilder w(messages);
        buriedring::report(w, s);
        const QStringList t = texts(w);
        QCOMPARE(t.first(), u"Кольцевой заземлитель в земле."_s);
        const int ring = int(t.indexOf(u"Заземляющее устройство представляет собой кольцевой заземлитель с "
                                       u"диаметром кольца D = 2 м."_s));
        QVERIFY2(ring > 0, qPrintable(t.join(QLatin1Char('\n'))));
        QCOMPARE(t[ring + 1], u"Конструкция заземлителя - сталь круглая диаметром d = 0,01 м."_s);
        QCOMPARE(t[ring + 2], u"Глубина заложения заземлителя Т = 0,7 м."_s);
        QCOMPARE(t[ring + 3], u"Сопротивление растеканию заземлителя:"_s);
        // ρ is the symbol font's "r", squares are raised "2" after a blank.
        QCOMPARE(t[ring + 4], u"R = r / (2*П 2*D) * Ln[4*П*D 2*/ (d*T)], Ом;"_s);
        QCOMPARE(t[ring + 5], u"R = 100/(2*3,14 2*2) * Ln[4*3,14*2 2/ (0,01*0,7)] = 22,49 Ом."_s);
        const QList<ReportParagraph> paragraphs = w.paragraphs();
        QCOMPARE(paragraphs[ring + 4].alignment, ReportParagraph::Alignment::Center);
        QCOMPARE(paragraphs[ring + 5].alignment, ReportParagraph::Alignment::Center);
        int raised = 0;
        for (const ReportRun& run : paragraphs[ring + 5].runs)
            raised += run.position == ReportRun::Position::Superscript;
        QCOMPARE(raised, 2);
        QCOMPARE(
            t.last(),
            u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s);
        QCOMPARE(paragraphs.last().alignment, ReportParagraph::Alignment::Left);
        QCOMPARE(w.progressCount(), 7);
        QVERIFY(messages.messages.isEmpty());
    }

    void surfaceReport() {
        ReportSource s = ringSource();
        s.texts.insert(QStringLiteral("cmbSech"), u"сталь полосовая"_s);
        s.texts.insert(QStringLiteral("cmbDiam"), u"0,04x0,004"_s);
        s.texts.insert(QStringLiteral("frmSech1.EditDiam"), u"0,02"_s);
        // The frame's equivalent diameter under the plain name must not stand in for the ring.
        s.texts.insert(QStringLiteral("EditDiam"), u"1"_s);
        s.texts.insert(QStringLiteral("EditVS1"), u"60,71"_s);
        s.installation.permissible = u"50"_s;
        RecordingDialogs messages;
        ReportBuilder w(messages);
        ringatsurface::report(w, s);
        const QStringList t = texts(w);
        QCOMPARE(t.first(), u"Кольцевой заземлитель у поверхности земли."_s);
        const int ring = int(t.indexOf(u"Заземляющее устройство представляет собой кольцевой заземлитель с "
                                       u"диаметром кольца D = 1 м."_s));
        QVERIFY2(ring > 0, qPrintable(t.join(QLatin1Char('\n'))));
        QCOMPARE(t[ring + 1],
                 u"Конструкция заземлителя - сталь полосовая 0,04x0,004 м с шириной полосы В = 0,04 "
                 u"м, что соответствует диаметру d = 0,5*B = 0,02 м."_s);
        QCOMPARE(t[ring + 2], u"Сопротивление растеканию заземлителя:"_s);
        QCOMPARE(t[ring + 3], u"R = r / (П 2*D) * Ln(8*D/d), Ом;"_s);
        QCOMPARE(t[ring + 4], u"R = 100/(3,14 2*1) * Ln(8*1/0,02) = 60,71 Ом."_s);
        QVERIFY(!t.join(QLatin1Char('\n')).contains(u"Глубина"_s));
        // 60,71 > 50.
        QCOMPARE(
            t.last(),
            u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s);
        QCOMPARE(w.progressCount(), 5);
    }
};

QTEST_MAIN(TestRings)
#include "tst_rings.moc"
