#include "../core/CalcWindowFixture.h"
#include "../core/CalculatorWindowOf.h"
#include "core/model/Calculator.h"
#include "core/calculators/CalculatorList.h"
#include "core/calculators/rods/TwoLayerStrip.h"
#include "core/calculators/rods/TwoLayerRoundRod.h"
#include "core/common/NumberText.h"
#include "widgets/common/SpinButton.h"

#include <QHash>
#include <QTest>

#include <cmath>

using namespace kz;
using namespace Qt::StringLiterals;

// Worked cases of the rods and the strip in two-layer earth, computed by hand from their
// formulas over small coefficient grids made here.
namespace {

// Grids answering in the field order asked, as the store does.
class GridTables : public CoefficientTables {
public:
    QHash<QString, QPair<QStringList, CoefficientRows>> tables;
    CoefficientRows rows(const QString& table, const QStringList& fields) const override {
        const auto& [header, rows] = tables[table];
        CoefficientRows out;
        for (const CoefficientRow& row : rows) {
            CoefficientRow picked;
            for (const QString& f : fields)
                picked << row[header.indexOf(f)];
            out << picked;
        }
        return out;
    }
};

const GridTables& grids() {
    static const GridTables t = [] {
        GridTables g;
        CoefficientRows rod;
        for (double l : {5.0, 10.0, 20.0})
            for (double h : {1.0, 3.0, 5.0})
                for (double p : {0.5, 1.0, 5.0, 10.0})
                    rod << CoefficientRow{0.02, l, h, p,
                                          0.1 + 0.004 * l + 0.013 * h + 0.0071 * p + 0.00037 * l * h * p};
        g.tables[u"vz2land.DB"_s] = {{u"D"_s, u"L"_s, u"H1"_s, u"P1_P2"_s, u"A"_s}, rod};
        CoefficientRows strip;
        for (double l : {5.0, 100.0})
            for (double h : {1.0, 3.0})
                for (double p : {0.5, 1.0, 10.0})
                    for (double to : {0.5, 0.8})
                        strip << CoefficientRow{l, h, p, to,
                                                0.05 + 0.003 * l + 0.02 * h + 0.011 * p - 0.07 * to +
                                                    0.0004 * l * h};
        g.tables[u"gz2land.DB"_s] = {{u"L"_s, u"H1"_s, u"P1_P2"_s, u"T"_s, u"A"_s}, strip};
        return g;
    }();
    return t;
}

// "name=text|name=text"
QMap<QString, QString> pairs(const QString& list) {
    QMap<QString, QString> m;
    for (const QString& item : list.split(u'|', Qt::SkipEmptyParts)) {
        const qsizetype at = item.indexOf(u'=');
        m.insert(item.left(at), item.mid(at + 1));
    }
    return m;
}

// Both layers 60 Ом м, the calculator's defaults, a round rod of 0,016 where there is a
// construction, then the row's inputs.
CalcInputs inputs(const Calculator& c, const QString& changes, bool tables) {
    CalcInputs in;
    for (const QString& frame : {QString(), u"pFrame1."_s})
        in.texts.insert(frame + u"ComboGrunt"_s, u"суглинок"_s),
            in.texts.insert(frame + u"EditRo0"_s, u"60"_s), in.texts.insert(frame + u"EditPKV"_s, u"1"_s);
    for (const GeometryInput& g : c.description().geometry)
        if (!g.readOnly)
            in.texts.insert(g.name, g.defaultText);
    if (c.description().construction) {
        in.texts.insert(u"cmbSech"_s, u"сталь круглая"_s);
        in.texts.insert(u"cmbDiam"_s, u"0,016"_s);
        in.texts.insert(u"EditDiam0"_s, u"0,016"_s);
        in.diameter = 0.016L;
    }
    const auto changed = pairs(changes);
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        in.texts.insert(it.key(), it.value());
    for (const QString& frame : {QString(), u"pFrame1."_s})
        in.texts.insert(frame + u"EditRo"_s,
                        formatGeneral(*in.number(frame + u"EditRo0"_s) * *in.number(frame + u"EditPKV"_s)));
    in.pMin = in.lowerPMin = 1;
    in.pMax = in.lowerPMax = 10000;
    in.tables = tables ? &grids() : nullptr;
    return in;
}

const QString ratioMessage =
    u"Ошибка. Отношение удельных сопротивлений верхнего и нижнего слоев земли должно быть в пределах 0,5 .. 10."_s;
const QString depthMessage = u"Ошибка. Глубина заложения должна быть в пределах 0,5 .. 0,8."_s;

} // namespace

using TVert2Fm = CalculatorWindowOf<&twolayerroundrod::calculator>;
using TGoriz2Fm = CalculatorWindowOf<&twolayerstrip::calculator>;

class TestTwoLayerRods : public QObject {
    Q_OBJECT
private slots:
    void windowSaysNothingWithoutACoefficient();
    void stepButtonsStopAtTheBoundInTheWindow();
    void evaluates_data();
    void evaluates();
    void stepButtonsKeepToTheRange_data();
    void stepButtonsKeepToTheRange();
};

void TestTwoLayerRods::evaluates_data() {
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QString>("changes");
    QTest::addColumn<bool>("tables");
    QTest::addColumn<QString>("result"); // empty: no result
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    // A(5, 3, 1) = 0,17165 as stored; R = A·60.
    QTest::newRow("table rod on a grid point")
        << u"TVert2Fm"_s << QString() << true << u"10,3"_s << QString() << u"EditA=0,17165|EditP1_P2=1"_s;
    // Between L = 5 and 10: 0,17165 − (0,17165 − 0,1972)·0,5 = 0,184425 → 0,184.
    QTest::newRow("table rod between two lengths")
        << u"TVert2Fm"_s << u"EditL=7,5"_s << true << u"11,04"_s << QString() << u"EditA=0,184"_s;
    // 600,24 / 60 = 10,004 rounds to 10: A(5, 3, 10) = 0,2855.
    QTest::newRow("table rod ratio 10,004") << u"TVert2Fm"_s << u"EditRo0=600,24"_s << true << u"17,13"_s
                                            << QString() << u"EditP1_P2=10|EditA=0,2855"_s;
    QTest::newRow("table rod ratio 10,006")
        << u"TVert2Fm"_s << u"EditRo0=600,36"_s << true << QString() << ratioMessage << QString();
    QTest::newRow("table rod L = 20")
        << u"TVert2Fm"_s << u"EditL=20"_s << true << u"14,9"_s << QString() << u"EditA=0,2483"_s;
    QTest::newRow("table rod L = 20,01")
        << u"TVert2Fm"_s << u"EditL=20,01"_s << true << QString()
        << u"Ошибка. Длина заземлителя должна быть в пределах 5 .. 20 м."_s << QString();
    QTest::newRow("table rod H = 0,99")
        << u"TVert2Fm"_s << u"EditH=0,99"_s << true << QString()
        << u"Ошибка. Толщина (мощность) верхнего слоя земли должна быть в пределах 1 .. 5 м."_s << QString();
    QTest::newRow("table rod, diameter without rows: silence")
        << u"TVert2Fm"_s << u"cmbDiam=0,04"_s << true << QString() << QString() << QString();
    QTest::newRow("table rod, no table: silence")
        << u"TVert2Fm"_s << QString() << false << QString() << QString() << QString();

    // A(5, 3, 1, 0,5) = 0,107.
    QTest::newRow("strip on a grid point")
        << u"TGoriz2Fm"_s << QString() << true << u"6,42"_s << QString() << u"EditA=0,107|EditP1_P2=1"_s;
    QTest::newRow("strip L = 100") << u"TGoriz2Fm"_s << u"EditL=100"_s << true << u"30,36"_s << QString()
                                   << u"EditA=0,506"_s;
    QTest::newRow("strip L = 100,01")
        << u"TGoriz2Fm"_s << u"EditL=100,01"_s << true << QString()
        << u"Ошибка. Длина заземлителя должна быть в пределах 5 .. 100 м."_s << QString();
    QTest::newRow("strip To = 0,8002")
        << u"TGoriz2Fm"_s << u"EditTo=0,8002"_s << true << QString() << depthMessage << QString();
    QTest::newRow("strip To = 0,49") << u"TGoriz2Fm"_s << u"EditTo=0,49"_s << true << QString()
                                     << depthMessage << QString();
    QTest::newRow("strip ratio 0,49")
        << u"TGoriz2Fm"_s << u"pFrame1.EditRo0=123"_s << true << QString() << ratioMessage << QString();
    // L, H and To between grid values, ratio on one (8 rows): To first (t = 0,4), then H (0,5),
    // then L (38,5/95), each stage to 0,001: 0,077 and 0,438, then 0,2233 → 0,223.
    QTest::newRow("strip trilinear") << u"TGoriz2Fm"_s << u"EditL=43,5|EditH=2|EditTo=0,62"_s << true
                                     << u"13,38"_s << QString() << u"EditA=0,223"_s;
    QTest::newRow("strip, no table: silence")
        << u"TGoriz2Fm"_s << QString() << false << QString() << QString() << QString();
}

void TestTwoLayerRods::evaluates() {
    QFETCH(QString, calculator);
    QFETCH(QString, changes);
    QFETCH(bool, tables);
    QFETCH(QString, result);
    QFETCH(QString, message);
    QFETCH(QString, shown);
    const Calculator* c = findCalculator(calculator);
    QVERIFY(c);
    const Evaluation e = c->evaluate(inputs(*c, changes, tables));
    QCOMPARE(e.ok() ? e.resultText : QString(), result);
    QCOMPARE(e.failure ? e.failure->message : QString(), message);
    const auto expected = pairs(shown);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(e.shown.value(it.key()), it.value());
    if (!e.ok())
        QVERIFY(e.shown.isEmpty());
}

void TestTwoLayerRods::stepButtonsKeepToTheRange_data() {
    QTest::addColumn<QString>("calculator");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("step"); // below 0: a step down
    QTest::addColumn<bool>("allowed");

    QTest::newRow("rod L 19 up 1") << u"TVert2Fm"_s << u"EditL"_s << u"19"_s << 1.0 << true;
    QTest::newRow("rod L 19,5 up 1") << u"TVert2Fm"_s << u"EditL"_s << u"19,5"_s << 1.0 << false;
    QTest::newRow("rod L 5,1 down 0,1") << u"TVert2Fm"_s << u"EditL"_s << u"5,1"_s << -0.1 << true;
    QTest::newRow("rod L 5,1 down 1") << u"TVert2Fm"_s << u"EditL"_s << u"5,1"_s << -1.0 << false;
    QTest::newRow("rod H 4,99 up 0,01") << u"TVert2Fm"_s << u"EditH"_s << u"4,99"_s << 0.01 << true;
    QTest::newRow("rod H 1,5 down 1") << u"TVert2Fm"_s << u"EditH"_s << u"1,5"_s << -1.0 << false;
    QTest::newRow("strip L 99,99 up 0,01") << u"TGoriz2Fm"_s << u"EditL"_s << u"99,99"_s << 0.01 << true;
    QTest::newRow("strip L 100 up 0,01") << u"TGoriz2Fm"_s << u"EditL"_s << u"100"_s << 0.01 << false;
    QTest::newRow("strip To 0,7 up 0,1") << u"TGoriz2Fm"_s << u"EditTo"_s << u"0,7"_s << 0.1 << true;
    QTest::newRow("strip To 0,75 up 0,1") << u"TGoriz2Fm"_s << u"EditTo"_s << u"0,75"_s << 0.1 << false;
    QTest::newRow("strip To 0,6 down 0,1") << u"TGoriz2Fm"_s << u"EditTo"_s << u"0,6"_s << -0.1 << true;
    QTest::newRow("rod To 1,2 down 1") << u"TVert2_1F"_s << u"EditGlub"_s << u"1,2"_s << -1.0 << false;
    QTest::newRow("rod To 1,2 down 0,1") << u"TVert2_1F"_s << u"EditGlub"_s << u"1,2"_s << -0.1 << true;
    QTest::newRow("rod To 1,2 up 1") << u"TVert2_1F"_s << u"EditGlub"_s << u"1,2"_s << 1.0 << true;
    QTest::newRow("surface rod L unbounded") << u"TUVert2Fm"_s << u"EditDlina"_s << u"100"_s << 1.0 << true;
}

void TestTwoLayerRods::stepButtonsKeepToTheRange() {
    QFETCH(QString, calculator);
    QFETCH(QString, input);
    QFETCH(QString, text);
    QFETCH(double, step);
    QFETCH(bool, allowed);
    const Calculator* c = findCalculator(calculator);
    QVERIFY(c);
    CalcInputs in;
    in.texts.insert(input, text);
    QCOMPARE(step < 0 ? c->allowStepDown(in, input, -step) : c->allowStepUp(in, input, step), allowed);
}

namespace {
struct Vert2Window : CalcWindowFixture<TVert2Fm> {
    using CalcWindowFixture::close;
    using CalcWindowFixture::combo;
    using CalcWindowFixture::edit;
    using CalcWindowFixture::folder_;
    using CalcWindowFixture::open;
    using CalcWindowFixture::rec_;
    using CalcWindowFixture::score;
    using CalcWindowFixture::win_;
};
} // namespace

void TestTwoLayerRods::windowSaysNothingWithoutACoefficient() {
    Vert2Window f;
    f.open();
    f.score();
    QVERIFY(!f.win_->EditVS1()->text().isEmpty());
    // The table emptied: valid inputs, no coefficient.
    DataTable& table = (*f.folder_->data)[u"TableVZ2Land"_s];
    QVERIFY(table.open(dataDir()));
    while (!table.isEmpty()) {
        table.first();
        table.remove();
    }
    f.combo("cmbDiam")->setCurrentIndex(1);
    f.score();
    QVERIFY2(f.rec_->messages.isEmpty(), qPrintable(f.rec_->messages.join(u'\n')));
    QVERIFY(f.win_->EditVS1()->text().isEmpty());
    QVERIFY(f.edit("EditA")->text().isEmpty());
    QVERIFY(f.edit("EditP1_P2")->text().isEmpty());
    QVERIFY(!f.win_->findChild<QToolButton*>(u"btnReport"_s)->isEnabled());
    f.close();
}

void TestTwoLayerRods::stepButtonsStopAtTheBoundInTheWindow() {
    auto rec = std::make_unique<ScopedRecordingDialogs>();
    CalcTestFolder folder(*rec);
    TGoriz2Fm w(*folder.data);
    w.show();
    auto* length = w.findChild<QLineEdit*>(u"EditL"_s);
    length->setText(u"99,99"_s);
    auto* up = w.findChild<SpinButton*>(u"btnL001"_s);
    QVERIFY(up);
    emit up->upClicked();
    QCOMPARE(length->text(), u"100"_s);
    emit up->upClicked();
    QCOMPARE(length->text(), u"100"_s);
    auto* depth = w.findChild<QLineEdit*>(u"EditTo"_s);
    emit w.findChild<SpinButton*>(u"btnT01"_s)->downClicked();
    QCOMPARE(depth->text(), u"0,5"_s);
}

QTEST_MAIN(TestTwoLayerRods)
#include "tst_twolayerrods.moc"
