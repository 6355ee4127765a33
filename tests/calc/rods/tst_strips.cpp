#include "core/model/ReportModel.h"
#include "core/calculators/rods/BuriedStrip.h"
#include "core/calculators/rods/StripAtSurface.h"
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

ReportSource stripSource() {
    ReportSource s;
    s.picture = false;
    s.texts = {{u"ComboGrunt"_s, u"суглинок"_s}, {u"EditPKV"_s, u"1"_s},     {u"EditRo"_s, u"100"_s},
               {u"EditRo0"_s, u"100"_s},         {u"cmbSech"_s, u"сталь круглая"_s},
               {u"cmbDiam"_s, u"0,016"_s},       {u"EditDiam"_s, QString()}, {u"EditDlina"_s, u"5"_s}};
    s.installation.type = u"напряжением до 1 кВ с заземленной нейтралью"_s;
    s.installation.permissible = u"30"_s;
    return s;
}

// The inputs as the window reads them: from their texts.
long double n(double v) {
    return *parseNumber(formatGeneral(v));
}
} // namespace

// The strip formulas computed by hand to 30 digits (mpmath), and the rules around them.
class TestStrips : public QObject {
    Q_OBJECT
private slots:
    void buriedFormula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("expected");
        // p = 50·1,3 = 65; ln(36 / 0,02) · 65 / (12π) = 12,9236526414...
        QTest::newRow("corrected resistivity") << 50.0 << 1.3 << 6.0 << 1.0 << 0.02 << u"12,92"_s;
        // Angle 0,04: D = 0,038; ln(400 / 0,019) · 300 / (40π) = 23,7652886877...
        QTest::newRow("angle") << 300.0 << 1.0 << 20.0 << 0.5 << 0.038 << u"23,77"_s;
        // ln(10000 / 0,008) · 250 / (200π) = 5,5858029896...
        QTest::newRow("long strip") << 250.0 << 1.0 << 100.0 << 0.8 << 0.01 << u"5,59"_s;
    }
    void buriedFormula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(double, d);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(buriedstrip::ComputeResistance(n(p0), n(kp), n(l), n(t), n(d)).r), expected);
    }

    void surfaceFormula_data() {
        QTest::addColumn<double>("p0");
        QTest::addColumn<double>("kp");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("d");
        QTest::addColumn<QString>("expected");
        // p = 65; ln 300 · 65 / (3π) = 39,3373575903...
        QTest::newRow("corrected resistivity") << 50.0 << 1.3 << 3.0 << 0.02 << u"39,34"_s;
        // Angle 0,04: ln(100 / 0,038) · 300 / (50π) = 15,0407901474...
        QTest::newRow("angle") << 300.0 << 1.0 << 50.0 << 0.038 << u"15,04"_s;
        // Barely longer than thick: ln 2,5 · 100 / (0,02π) = 1458,3219928706...
        QTest::newRow("barely longer than thick") << 100.0 << 1.0 << 0.02 << 0.016 << u"1458,32"_s;
    }
    void surfaceFormula() {
        QFETCH(double, p0);
        QFETCH(double, kp);
        QFETCH(double, l);
        QFETCH(double, d);
        QFETCH(QString, expected);
        QCOMPARE(formatGeneral(stripatsurface::ComputeResistance(n(p0), n(kp), n(l), n(d)).r), expected);
    }

    void resistivityIsRoundedToFiveDecimals() {
        // 33,333333 · 1,5 = 49,9999995, to five decimals 50.
        QCOMPARE(formatGeneral(buriedstrip::ComputeResistance(33.333333L, 1.5L, 5, 0.7L, 0.02L).p), u"50"_s);
        QCOMPARE(formatGeneral(stripatsurface::ComputeResistance(33.333333L, 1.5L, 10, 0.02L).p), u"50"_s);
    }

    void geometryRules_data() {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<QString>("message");
        const QString diameter = u"Ошибка. Длина горизонтального заземлителя должна быть больше диаметра."_s;
        const QString depth = u"Ошибка. Длина горизонтального заземлителя должна быть больше глубины "
                              u"заложения более чем в 4 раза."_s;
        QTest::newRow("defaults pass") << 0.016 << 5.0 << 0.7 << QString();
        QTest::newRow("L equal to 4T") << 0.016 << 2.8 << 0.7 << depth;
        QTest::newRow("L just above 4T") << 0.016 << 2.81 << 0.7 << QString();
        QTest::newRow("L equal to D") << 0.016 << 0.016 << 0.001 << diameter;
        // Both rules broken: the diameter's is told.
        QTest::newRow("diameter first") << 0.05 << 0.04 << 0.7 << diameter;
    }
    void geometryRules() {
        QFETCH(double, d);
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(QString, message);
        QCOMPARE(buriedstrip::geometryError(n(d), n(l), n(t)).value_or(QString()), message);
    }

    void rangeLabels_data() {
        QTest::addColumn<QString>("t"); // as typed; empty: no number
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("labelL");
        QTest::addColumn<QString>("labelT");
        QTest::newRow("defaults") << u"0,7"_s << u"5"_s << u"( L > 2,8 )"_s << u"( T < 1,25 )"_s;
        // Five decimals: 4·0,1234567 = 0,4938268; 1,2345678 / 4 = 0,30864195.
        QTest::newRow("many digits") << u"0,1234567"_s << u"1,2345678"_s << u"( L > 0,49383 )"_s
                                     << u"( T < 0,30864 )"_s;
        QTest::newRow("no depth") << QString() << u"5"_s << QString() << u"( T < 1,25 )"_s;
        QTest::newRow("zero length") << u"0,5"_s << u"0"_s << u"( L > 2 )"_s << QString();
        QTest::newRow("not a number") << u"0,5,"_s << u"x"_s << QString() << QString();
    }
    void rangeLabels() {
        QFETCH(QString, t);
        QFETCH(QString, l);
        QFETCH(QString, labelL);
        QFETCH(QString, labelT);
        QCOMPARE(buriedstrip::lengthRangeText(parseNumber(t)), labelL);
        QCOMPARE(buriedstrip::depthRangeText(parseNumber(l)), labelT);
    }

    void linking_data() {
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("t");
        QTest::addColumn<QString>("depthAfterL"); // T after the user typed L; empty: unchanged
        QTest::addColumn<QString>("lengthAfterT"); // L after the user typed T; empty: unchanged
        QTest::addColumn<QString>("depthInRun");   // T when a single run applies L
        // 4·0,7 >= 2: T = 2/4 − 0,1 = 0,4; typed T moves L to 4·0,7 + 0,1 = 2,9.
        QTest::newRow("L 2, T 0,7") << u"2"_s << u"0,7"_s << u"0,4"_s << u"2,9"_s << u"0,4"_s;
        // 4·2 + 0,1.
        QTest::newRow("L 5, T 2") << u"5"_s << u"2"_s << u"1,15"_s << u"8,1"_s << u"1,15"_s;
        // The rule holds: nothing moves.
        QTest::newRow("L 5, T 0,7") << u"5"_s << u"0,7"_s << QString() << QString() << QString();
        // Equality breaks it: 4T = L.
        QTest::newRow("L 2,8, T 0,7") << u"2,8"_s << u"0,7"_s << u"0,6"_s << u"2,9"_s << u"0,6"_s;
        // L/4 − 0,1 below 0: T stays.
        QTest::newRow("L 0,3") << u"0,3"_s << u"0,7"_s << QString() << u"2,9"_s << QString();
        QTest::newRow("L 0,4: exactly 0") << u"0,4"_s << u"0,7"_s << QString() << u"2,9"_s << QString();
        // Above 0 before rounding, 0 after: written all the same (its check then refuses it).
        QTest::newRow("L 0,400001") << u"0,400001"_s << u"0,7"_s << u"0"_s << u"2,9"_s << u"0"_s;
        // Five decimals in the window, two in the run: 1,2345678/4 − 0,1 = 0,20864195.
        QTest::newRow("digits") << u"1,2345678"_s << u"0,7"_s << u"0,20864"_s << u"2,9"_s << u"0,21"_s;
        // 4·0,1234567 + 0,1 = 0,5938268.
        QTest::newRow("digits of T") << u"0,3"_s << u"0,1234567"_s << QString() << u"0,59383"_s << QString();
    }
    void linking() {
        QFETCH(QString, l);
        QFETCH(QString, t);
        QFETCH(QString, depthAfterL);
        QFETCH(QString, lengthAfterT);
        QFETCH(QString, depthInRun);
        const long double lv = *parseNumber(l);
        const long double tv = *parseNumber(t);
        const auto text = [](std::optional<long double> v) { return v ? formatGeneral(*v) : QString(); };
        QCOMPARE(text(buriedstrip::linkedDepth(lv, tv)), depthAfterL);
        QCOMPARE(text(buriedstrip::linkedLength(lv, tv)), lengthAfterT);
        QCOMPARE(text(buriedstrip::selectionLinkedDepth(lv, tv)), depthInRun);
    }

    void selectionAdmissibility_data() {
        QTest::addColumn<double>("l");
        QTest::addColumn<double>("t");
        QTest::addColumn<double>("d");
        QTest::addColumn<bool>("admissible");
        QTest::newRow("defaults") << 5.0 << 0.7 << 0.016 << true;
        QTest::newRow("L = 4T") << 2.8 << 0.7 << 0.016 << false;
        QTest::newRow("L just above 4T") << 2.80001 << 0.7 << 0.016 << true;
        QTest::newRow("L = D") << 0.016 << 0.001 << 0.016 << false;
        QTest::newRow("depth rounded to 0") << 0.5 << 0.0 << 0.016 << false;
    }
    void selectionAdmissibility() {
        QFETCH(double, l);
        QFETCH(double, t);
        QFETCH(double, d);
        QFETCH(bool, admissible);
        QCOMPARE(buriedstrip::selectionAdmissible(n(l), n(t), n(d)), admissible);
    }

    void calculationOrderLines() {
        // The section's diameter in the general format: 0,95·0,04.
        QCOMPARE(stripatsurface::calcOrderLine(u"300"_s, u"50"_s, 0.95L * 0.04L, u"15,04"_s),
                 u"R = 300 / (3,14*50) * ln(2*50/0,038) = 15,04 Ом"_s);
    }

    void descriptorsOfBothWindows() {
        const CalculatorDescriptor& b = buriedstrip::descriptor();
        const CalculatorDescriptor& s = stripatsurface::descriptor();
        QCOMPARE(b.className, u"TGorizFm"_s);
        QCOMPARE(s.className, u"TUGorizFm"_s);
        QCOMPARE(b.helpContext, 19);
        QCOMPARE(s.helpContext, 23);
        QCOMPARE(b.history.kindCode, 6);
        QCOMPARE(s.history.kindCode, 5);
        QCOMPARE(b.selection.kindCode, 6);
        QCOMPARE(s.selection.kindCode, 5);
        QCOMPARE(b.history.presetName, u"Горизонтальный заземлитель в земле 1."_s);
        QCOMPARE(s.history.presetName, u"Горизонтальный заземлитель на поверхности земли 1."_s);
        QCOMPARE(b.history.fieldList().mid(10), (QStringList{u"Глубина заложения, м:"_s, u"T"_s,
                                                             u"Длина стержня, м:"_s, u"L"_s}));
        QCOMPARE(s.history.fieldList().mid(10), (QStringList{u"Длина стержня, м:"_s, u"L"_s}));
        QVERIFY(b.linkedParameters);
        QVERIFY(!s.linkedParameters);
        QVERIFY(b.requiredInputs.contains(u"EditGlub"_s));
        QVERIFY(s.requiredInputs.contains(u"EditDlina"_s));
        const auto offer = [](const CalculatorDescriptor& d) {
            QStringList names;
            for (const SelectionParameter& p : d.selection.parameters)
                names << p.name + u'|' + p.start + u'|' + p.end + u'|' + p.step + u'|' + p.lower + u'|' + p.upper;
            return names;
        };
        QCOMPARE(offer(b), (QStringList{u"Длина стержня, м|3|100|1|0,5|"_s, u"Коэффициент поправки|2|1|0,1|1|10"_s,
                                        u"Удельное сопротивление грунта, Ом м|||1||"_s}));
        QCOMPARE(offer(s), (QStringList{u"Длина стержня, м|1|50|1|0,5|"_s, u"Коэффициент поправки|2|1|0,1|1|10"_s,
                                        u"Удельное сопротивление грунта, Ом м|||1||"_s}));
        QCOMPARE(b.selection.parameters.first().columns.size(), 1);
        QCOMPARE(s.selection.parameters.first().columns.size(), 0);
        QCOMPARE(b.reportSteps, 4);
        QCOMPARE(s.reportSteps, 5);
    }

    void buriedReport() {
        ReportSource s = stripSource();
        s.texts.insert(u"EditGlub"_s, u"0,7"_s);
        s.texts.insert(u"EditVS1"_s, u"24,54"_s);
        RecordingDialogs messages;
        ReportBuilder w(messages);
        buriedstrip::report(w, s);
        const QStringList t = texts(w);
        QCOMPARE(t.first(), u"Горизонтальный заземлитель в земле."_s);
        const int strip =
            int(t.indexOf(u"Заземляющее устройство представляет собой горизонтальный заземлитель длиной L = 5 м."_s));
        QVERIFY2(strip > 0, qPrintable(t.join(u'\n')));
        QCOMPARE(t[strip + 1], u"Конструкция заземлителя - сталь круглая диаметром D = 0,016 м."_s);
        QCOMPARE(t[strip + 2], u"Глубина заложения заземлителя: Т = 0,7 м."_s);
        QCOMPARE(t[strip + 3], u"Сопротивление растеканию заземлителя:"_s);
        // ρ is the symbol font's "r"; the square is a raised "2" after a blank.
        QCOMPARE(t[strip + 4], u"R = r / (2*П*L) * Ln[L 2 /(T*D)], Ом;"_s);
        QCOMPARE(t[strip + 5], u"R = 100/(2*3,14*5) * Ln[5 2/(0,7*0,016)] = 24,54 Ом."_s);
        const QList<ReportParagraph> paragraphs = w.paragraphs();
        QCOMPARE(paragraphs[strip + 4].alignment, ReportParagraph::Alignment::Center);
        QCOMPARE(paragraphs[strip + 5].alignment, ReportParagraph::Alignment::Center);
        QCOMPARE(
            t.last(),
            u"Так как R <= Rдоп., то заземлитель можно использовать в качестве заземляющего устройства."_s);
        QCOMPARE(paragraphs.last().alignment, ReportParagraph::Alignment::Left);
        QCOMPARE(w.progressCount(), 4);
        QVERIFY(messages.messages.isEmpty());
    }

    void surfaceReport() {
        ReportSource s = stripSource();
        s.texts.insert(u"cmbSech"_s, u"сталь полосовая"_s);
        s.texts.insert(u"cmbDiam"_s, u"0,04x0,004"_s);
        s.texts.insert(u"EditDiam"_s, u"0,02"_s);
        s.texts.insert(u"EditDlina"_s, u"10"_s);
        s.texts.insert(u"EditVS1"_s, u"21,99"_s);
        s.installation.permissible = u"20"_s;
        RecordingDialogs messages;
        ReportBuilder w(messages);
        stripatsurface::report(w, s);
        const QStringList t = texts(w);
        QCOMPARE(t.first(), u"Горизонтальный заземлитель на поверхности земли."_s);
        const int strip = int(
            t.indexOf(u"Заземляющее устройство представляет собой горизонтальный заземлитель длиной L = 10 м."_s));
        QVERIFY2(strip > 0, qPrintable(t.join(u'\n')));
        QCOMPARE(t[strip + 1], u"Конструкция заземлителя - сталь полосовая 0,04x0,004 м с шириной полосы В = 0,04 "
                               u"м, что соответствует диаметру D = 0,5*B = 0,02 м."_s);
        QCOMPARE(t[strip + 2], u"Сопротивление растеканию заземлителя:"_s);
        QCOMPARE(t[strip + 3], u"R = r / (П*L) * Ln(2*L/D), Ом;"_s);
        QCOMPARE(t[strip + 4], u"R = 100/(3,14*10) * Ln(2*10/0,02) = 21,99 Ом."_s);
        QVERIFY(!t.join(u'\n').contains(u"Глубина"_s));
        // 21,99 > 20.
        QCOMPARE(
            t.last(),
            u"Так как R > Rдоп., то заземлитель нельзя использовать в качестве заземляющего устройства."_s);
        QCOMPARE(w.progressCount(), 5);
    }

    void reportWithoutTheInstallation() {
        ReportSource s = stripSource();
        s.installation.include = false;
        s.texts.insert(u"EditGlub"_s, u"0,7"_s);
        s.texts.insert(u"EditVS1"_s, u"24,54"_s);
        RecordingDialogs messages;
        ReportBuilder w(messages);
        buriedstrip::report(w, s);
        const QStringList t = texts(w);
        QCOMPARE(t.last(), u"R = 100/(2*3,14*5) * Ln[5 2/(0,7*0,016)] = 24,54 Ом."_s);
        QVERIFY(!t.join(u'\n').contains(u"Rдоп"_s));
    }
};

QTEST_MAIN(TestStrips)
#include "tst_strips.moc"
