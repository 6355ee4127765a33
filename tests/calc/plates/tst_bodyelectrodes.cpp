#include "core/model/ReportModel.h"
#include "core/calculators/plates/BodyElectrodes.h"
#include "core/calculators/plates/BuriedDisc.h"
#include "core/calculators/plates/HemisphereAtSurface.h"
#include "core/calculators/plates/BuriedSphere.h"
#include "core/calculators/plates/DiscAtSurface.h"
#include "widgets/common/DialogService.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
QStringList texts(const ReportBuilder& w) {
    QStringList out;
    for (const ReportParagraph& p : w.paragraphs())
        out << p.text();
    return out;
}

// The inputs as the window reads them: from their texts.
long double n(const QString& text) {
    return *parseNumber(text);
}

ReportSource bodySource(const QString& diameter, const QString& depth, const QString& r) {
    ReportSource s;
    s.picture = false;
    s.texts = {{u"ComboGrunt"_s, u"суглинок"_s},
               {u"EditPKV"_s, u"1"_s},
               {u"EditRo"_s, u"100"_s},
               {u"EditRo0"_s, u"100"_s},
               {u"EditDiam"_s, diameter},
               {u"EditGlub"_s, depth},
               {u"EditVS1"_s, r}};
    s.installation.type = u"напряжением до 1 кВ с заземленной нейтралью"_s;
    s.installation.permissible = u"50"_s;
    return s;
}

// The report's lines from the body's description to the end.
QStringList reportTail(void (*report)(ReportBuilder&, const ReportSource&), const ReportSource& s,
                       int* steps = nullptr) {
    RecordingDialogs messages;
    ReportBuilder w(messages);
    report(w, s);
    if (steps)
        *steps = w.progressCount();
    const QStringList t = texts(w);
    for (qsizetype k = 0; k < t.size(); ++k)
        if (t[k].startsWith(u"Заземляющее устройство"_s))
            return t.mid(k);
    return t;
}
} // namespace

// Plates and spheres: the formulas against values computed by hand to 30 digits (mpmath), the
// rule 2T > D with its labels and linking, and the texts around them.
class TestBodyElectrodes : public QObject {
    Q_OBJECT
private slots:
    void buriedPlate_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("expected");
        // p = 65, s = 1/√10: 9,78926621318...
        QTest::newRow("corrected resistivity") << u"50"_s << u"1,3"_s << u"2"_s << u"1,5"_s << u"9,79"_s;
        // s = 0,438424: 120,836818588...
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,8"_s << u"0,41"_s << u"120,84"_s;
        // p = 180, s = 0,441320: 48,4117127906...
        QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"1,2"_s << u"0,61"_s << u"48,41"_s;
        // Just deeper than the radius: s = 0,433294, 64,2648976010...
        QTest::newRow("depth just past the radius")
            << u"100"_s << u"1"_s << u"0,5"_s << u"0,26"_s << u"64,26"_s;
        // Deep: s = 0,0747899, 8,73047716007...
        QTest::newRow("deep") << u"100"_s << u"1"_s << u"3"_s << u"10"_s << u"8,73"_s;
    }
    void buriedPlate() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, d);
        QFETCH(QString, t);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(burieddisc::ComputeResistance(n(p0), n(kp), n(d), n(t)).r), expected);
    }

    void surfacePlate_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("expected");
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,7"_s << u"214,29"_s;
        QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"1,6"_s << u"56,25"_s;
    }
    void surfacePlate() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, d);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(discatsurface::ComputeResistance(n(p0), n(kp), n(d))), expected);
    }

    void sphere_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("expected");
        // 65/(4π)·(1 + 2/6) = 6,8967142006...
        QTest::newRow("corrected resistivity") << u"50"_s << u"1,3"_s << u"2"_s << u"1,5"_s << u"6,9"_s;
        // 300/(0,6π)·1,15 = 183,028184555...
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,3"_s << u"0,5"_s << u"183,03"_s;
        // 180/(1,6π)·1,1 = 39,3908484152...
        QTest::newRow("p 180") << u"150"_s << u"1,2"_s << u"0,8"_s << u"2"_s << u"39,39"_s;
        // Linked values of the window: D 1, T 0,4: 100/(2π)·1,625 = 25,8626782524...
        QTest::newRow("D 1, T 0,4") << u"100"_s << u"1"_s << u"1"_s << u"0,4"_s << u"25,86"_s;
    }
    void sphere() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, d);
        QFETCH(QString, t);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(buriedsphere::ComputeResistance(n(p0), n(kp), n(d), n(t))), expected);
    }

    void hemisphere_data() {
        QTest::addColumn<QString>("p0");
        QTest::addColumn<QString>("kp");
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("expected");
        // 300/(0,3π) = 318,309886183...
        QTest::newRow("p 300") << u"300"_s << u"1"_s << u"0,3"_s << u"318,31"_s;
    }
    void hemisphere() {
        QFETCH(QString, p0);
        QFETCH(QString, kp);
        QFETCH(QString, d);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(hemisphereatsurface::ComputeResistance(n(p0), n(kp), n(d))), expected);
    }

    void resistivityIsRoundedToFiveDecimals() {
        // 33,333333·1,5 = 49,9999995, to five decimals 50.
        QCOMPARE(formatGeneral(burieddisc::ComputeResistance(33.333333L, 1.5L, 0.5L, 0.7L).p), u"50"_s);
        // 50/2/0,00001 = 2500000; the unrounded p would give 2499999,98.
        QCOMPARE(formatGeneral(discatsurface::ComputeResistance(33.333333L, 1.5L, 0.00001L)), u"2500000"_s);
    }

    void depthRule_data() {
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("t");
        QTest::addColumn<bool>("holds");
        QTest::newRow("defaults") << u"0,5"_s << u"0,7"_s << true;
        QTest::newRow("2T = D") << u"1,4"_s << u"0,7"_s << false;
        QTest::newRow("2T just above") << u"1,4"_s << u"0,71"_s << true;
        QTest::newRow("shallow") << u"2"_s << u"0,7"_s << false;
    }
    void depthRule() {
        QFETCH(QString, d);
        QFETCH(QString, t);
        QFETCH(bool, holds);
        QCOMPARE(body::depthRuleHolds(n(d), n(t)), holds);
        CalcInputs in;
        in.texts = {{u"EditDiam"_s, d}, {u"EditGlub"_s, t}};
        const auto plate = burieddisc::calculator().checkGeometry(in);
        const auto sphere = buriedsphere::calculator().checkGeometry(in);
        QCOMPARE(plate.has_value(), !holds);
        QCOMPARE(sphere.has_value(), !holds);
        if (!holds) {
            QCOMPARE(plate->message,
                     u"Ошибка. Глубина заложения должна быть больше радиуса круглой пластины."_s);
            QCOMPARE(sphere->message,
                     u"Ошибка. Глубина заложения должна быть больше радиуса сферического заземлителя."_s);
        }
        // Selection runs keep to the same rule; the surface bodies have none.
        QCOMPARE(burieddisc::calculator().selectionAdmissible(in), holds);
        QCOMPARE(buriedsphere::calculator().selectionAdmissible(in), holds);
        QVERIFY(discatsurface::calculator().selectionAdmissible(in));
        QVERIFY(hemisphereatsurface::calculator().selectionAdmissible(in));
    }

    void rangeLabels_data() {
        QTest::addColumn<QString>("d"); // as typed
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("labelD");
        QTest::addColumn<QString>("plateT");
        QTest::addColumn<QString>("sphereT");
        QTest::newRow("defaults") << u"0,5"_s << u"0,7"_s << u"( D < 1,4 )"_s << u"( To > 0,25 )"_s
                                  << u"( T > 0,25 )"_s;
        // 2T not rounded; D/2 to five decimals: 0,6172839 -> 0,61728.
        QTest::newRow("many digits") << u"1,2345678"_s << u"0,3333333"_s << u"( D < 0,6666666 )"_s
                                     << u"( To > 0,61728 )"_s << u"( T > 0,61728 )"_s;
        QTest::newRow("no numbers") << QString() << u"0"_s << QString() << QString() << QString();
        QTest::newRow("malformed") << u"1,,2"_s << u","_s << QString() << QString() << QString();
    }
    void rangeLabels() {
        QFETCH(QString, d);
        QFETCH(QString, t);
        QFETCH(QString, labelD);
        QFETCH(QString, plateT);
        QFETCH(QString, sphereT);
        CalcInputs in;
        in.texts = {{u"EditDiam"_s, d}, {u"EditGlub"_s, t}};
        QCOMPARE(burieddisc::calculator().rangeLabel(in, u"lblRangeD"_s), labelD);
        QCOMPARE(buriedsphere::calculator().rangeLabel(in, u"lblRangeD"_s), labelD);
        QCOMPARE(burieddisc::calculator().rangeLabel(in, u"lblRangeT"_s), plateT);
        QCOMPARE(buriedsphere::calculator().rangeLabel(in, u"lblRangeT"_s), sphereT);
    }

    void linking_data() {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("d");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("plate"); // "input=text" written; empty: nothing moves
        QTest::addColumn<QString>("sphere");
        QTest::newRow("D 2 with T 0,7")
            << u"EditDiam"_s << u"2"_s << u"0,7"_s << u"EditGlub=1,1"_s << u"EditGlub=1,1"_s;
        QTest::newRow("T 0,3 with D 1")
            << u"EditGlub"_s << u"1"_s << u"0,3"_s << u"EditDiam=0,5"_s << u"EditDiam=0,5"_s;
        // 2·0,04 − 0,1 < 0: D stays.
        QTest::newRow("T 0,04 with D 1") << u"EditGlub"_s << u"1"_s << u"0,04"_s << QString() << QString();
        QTest::newRow("T 0,05: exactly 0") << u"EditGlub"_s << u"1"_s << u"0,05"_s << QString() << QString();
        // The rule holds: nothing moves.
        QTest::newRow("D 1 with T 0,7") << u"EditDiam"_s << u"1"_s << u"0,7"_s << QString() << QString();
        // 2T = D breaks it.
        QTest::newRow("D 1,4 with T 0,7")
            << u"EditDiam"_s << u"1,4"_s << u"0,7"_s << u"EditGlub=0,8"_s << u"EditGlub=0,8"_s;
        // Five decimals for the plate, two for the sphere: 1,2345678/2 + 0,1 = 0,7172839.
        QTest::newRow("digits of D") << u"EditDiam"_s << u"1,2345678"_s << u"0,1"_s << u"EditGlub=0,71728"_s
                                     << u"EditGlub=0,72"_s;
        // 2·0,1234567 − 0,1 = 0,1469134.
        QTest::newRow("digits of T") << u"EditGlub"_s << u"2"_s << u"0,1234567"_s << u"EditDiam=0,14691"_s
                                     << u"EditDiam=0,15"_s;
        QTest::newRow("no depth") << u"EditDiam"_s << u"2"_s << QString() << QString() << QString();
    }
    void linking() {
        QFETCH(QString, changed);
        QFETCH(QString, d);
        QFETCH(QString, t);
        QFETCH(QString, plate);
        QFETCH(QString, sphere);
        CalcInputs in;
        in.texts = {{u"EditDiam"_s, d}, {u"EditGlub"_s, t}};
        const auto joined = [](const QMap<QString, QString>& m) {
            QStringList out;
            for (auto it = m.cbegin(); it != m.cend(); ++it)
                out << it.key() + u'=' + it.value();
            return out.join(u';');
        };
        QCOMPARE(joined(burieddisc::calculator().link(in, changed)), plate);
        QCOMPARE(joined(buriedsphere::calculator().link(in, changed)), sphere);
    }

    void singleRunMovesTheDepthToHundredths_data() {
        QTest::addColumn<double>("d");
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("linking");
        QTest::addColumn<QString>("depth");
        // 3/2 + 0,1 = 1,6.
        QTest::newRow("breaks the rule") << 3.0 << true << true << u"1,6"_s;
        // 1,4321/2 + 0,1 = 0,81605.
        QTest::newRow("to hundredths") << 1.4321 << true << true << u"0,82"_s;
        QTest::newRow("keeps the rule") << 1.0 << true << true << u"0,7"_s;
        QTest::newRow("without linking") << 3.0 << true << false << u"0,7"_s;
        QTest::newRow("nested run") << 3.0 << false << true << u"0,7"_s;
    }
    void singleRunMovesTheDepthToHundredths() {
        QFETCH(double, d);
        QFETCH(bool, single);
        QFETCH(bool, linking);
        QFETCH(QString, depth);
        for (const Calculator* c : {&burieddisc::calculator(), &buriedsphere::calculator()}) {
            QMap<QString, long double> values{{u"EditDiam"_s, d}, {u"EditGlub"_s, 0.7L}};
            CalcInputs in;
            in.run = &values;
            in.singleRun = single;
            in.linking = linking;
            c->selectionValueApplied(in, u"EditDiam"_s, values);
            QCOMPARE(formatGeneral(values.value(u"EditGlub"_s)), depth);
        }
    }

    void descriptors() {
        struct Expected {
            const Calculator* c;
            int kind;
            QString preset;
            QString diameterCaption;
            bool depth;
            QString lower;
            int steps;
        };
        const QList<Expected> all = {
            {&burieddisc::calculator(), 11, u"Круглая пластина в земле 1."_s, u"Диаметр пластины, м:"_s, true,
             u"0,5"_s, 5},
            {&discatsurface::calculator(), 12, u"Круглая пластина на поверхности земли 1."_s,
             u"Диаметр пластины, м:"_s, false, u"0,5"_s, 5},
            {&buriedsphere::calculator(), 1, u"Сферический заземлитель в земле 1."_s, u"Диаметр сферы, м:"_s, true,
             u"0,1"_s, 5},
            {&hemisphereatsurface::calculator(), 2, u"Полусферический заземлитель на поверхности земли 1."_s,
             u"Диаметр сферы, м:"_s, false, u"0,1"_s, 4},
        };
        for (const Expected& e : all) {
            const CalculatorDescriptor& d = e.c->description();
            QVERIFY(!d.construction);
            QCOMPARE(d.linkedParameters, e.depth);
            QCOMPARE(d.history.kindCode, e.kind);
            QCOMPARE(d.selection.kindCode, e.kind);
            QCOMPARE(d.history.presetName, e.preset);
            QStringList list{u"Тип грунта:"_s,
                             u"Grunt"_s,
                             u"Удельное сопротивление грунта, Ом м:"_s,
                             u"P"_s,
                             u"Коэффициент поправки:"_s,
                             u"KP"_s,
                             e.diameterCaption,
                             u"D1"_s};
            if (e.depth)
                list << u"Глубина заложения, м:"_s << u"T"_s;
            QCOMPARE(d.history.fieldList(), list);
            QStringList copied{u"ComboGrunt"_s, u"EditRo0"_s, u"EditPKV"_s, u"EditDiam"_s};
            if (e.depth)
                copied << u"EditGlub"_s;
            QCOMPARE(d.copyInputs, copied);
            QCOMPARE(d.requiredInputs, copied);
            QCOMPARE(d.selection.parameters.size(), 3);
            const SelectionParameter& p = d.selection.parameters.first();
            QCOMPARE(p.start + u'|' + p.end + u'|' + p.step + u'|' + p.lower + u'|' + p.upper,
                     u"1|5|1|"_s + e.lower + u'|');
            QCOMPARE(p.columns.size(), e.depth ? 1 : 0);
            QCOMPARE(d.selection.parameters[1].name, u"Коэффициент поправки"_s);
            QCOMPARE(d.selection.parameters[2].name, u"Удельное сопротивление грунта, Ом м"_s);
            QCOMPARE(d.reportSteps, e.steps);
            QCOMPARE(d.conditionLines.isEmpty(), !e.depth);
        }
        QCOMPARE(burieddisc::descriptor().conditionCaption, u" Условие применения формулы "_s);
        QCOMPARE(burieddisc::descriptor().selection.parameters.first().columns.first().note,
                 u"Tо, м - глубина заложения, м"_s);
        QCOMPARE(burieddisc::descriptor().resultMask, u"0.00"_s);
        QVERIFY(buriedsphere::descriptor().resultMask.isEmpty());
    }

    void buriedPlateReport() {
        int steps = 0;
        const QStringList t = reportTail(burieddisc::report, bodySource(u"0,5"_s, u"0,7"_s, u"55,62"_s), &steps);
        QCOMPARE(
            t,
            (QStringList{
                u"Заземляющее устройство представляет собой круглую пластину диаметром D = 0,5 м."_s,
                u"Глубина заложения заземлителя Т = 0,7 м."_s, u"Сопротивление растеканию заземлителя:"_s,
                // ρ is the symbol font's "r", raised runs follow a blank.
                u"R = r / (4*D) * [1 + 2/П * arcsin(D / (16*To 2 + D 2 ) 1/2 )], Ом;"_s,
                u"R = 100/(4*0,5) * [1 + 2/3,14 * arcsin(0,5 / (16*0,7 2 +0,5 2 ) 1/2 )] = 55,62 Ом."_s,
                u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s}));
        QCOMPARE(steps, 5);
    }

    void surfacePlateReport() {
        int steps = 0;
        const QStringList t = reportTail(discatsurface::report, bodySource(u"0,5"_s, QString(), u"100"_s), &steps);
        QCOMPARE(
            t,
            (QStringList{
                u"Заземляющее устройство представляет собой круглую пластину диаметром D = 0,5 м."_s,
                u"Сопротивление растеканию заземлителя:"_s, u"R = r / (2*D), Ом;"_s,
                u"R = 100/(2*0,5) = 100 Ом."_s,
                u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s}));
        QCOMPARE(steps, 5);
    }

    void sphereReport() {
        int steps = 0;
        const QStringList t = reportTail(buriedsphere::report, bodySource(u"0,5"_s, u"0,7"_s, u"37,52"_s), &steps);
        QCOMPARE(
            t,
            (QStringList{
                u"Заземляющее устройство представляет собой сферический заземлитель диаметром D = 0,5 м."_s,
                u"Глубина заложения заземлителя: Т = 0,7 м."_s, u"Сопротивление растеканию заземлителя:"_s,
                u"R = r / (2*П*D) * [1+D / (4*T)], Ом;"_s,
                u"R = 100/(2*3,14*0,5) * [1 + 0,5/(4*0,7)] = 37,52 Ом."_s,
                u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s}));
        QCOMPARE(steps, 5);
    }

    void hemisphereReport() {
        int steps = 0;
        ReportSource s = bodySource(u"0,5"_s, QString(), u"63,66"_s);
        s.installation.include = false;
        const QStringList t = reportTail(hemisphereatsurface::report, s, &steps);
        // Without the installation there is no verdict.
        QCOMPARE(
            t,
            (QStringList{
                u"Заземляющее устройство представляет собой полусферический заземлитель диаметром D = 0,5 м."_s,
                u"Сопротивление растеканию заземлителя:"_s, u"R = r / (П*D), Ом;"_s,
                u"R = 100/(3,14*0,5) = 63,66 Ом."_s}));
        QCOMPARE(steps, 4);
    }
};

QTEST_MAIN(TestBodyElectrodes)
#include "tst_bodyelectrodes.moc"
