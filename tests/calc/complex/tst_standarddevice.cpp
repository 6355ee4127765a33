#include "../core/CalcWindowFixture.h"
#include "CalculatorWindowOf.h"
#include "core/calculators/complex/StandardDevice.h"
#include "store/DataTable.h"
#include "widgets/calculator/HistoryLoadDialog.h"
#include "widgets/frames/CalculatorToolbar.h"
#include "core/common/Messenger.h"
#include "core/model/ReportModel.h"
#include "core/selection/Selection.h"
#include "core/common/NumberText.h"
#include <limits>

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {
// The shipped rows of Kivz.DB and KIGZ.DB (N, Otnosh, KI by placement).
class Tables : public CoefficientTables {
public:
    QMap<QString, CoefficientRows> byKey;
    CoefficientRows rows(const QString&, const QStringList&) const override { return {}; }
    CoefficientRows rowsWhere(const QString& table, const QStringList&, const QString&,
                              const QString& value) const override {
        return byKey.value(table + u'|' + value);
    }
};

CoefficientRows grid(const QList<double>& ns, const QList<QList<double>>& ki) {
    CoefficientRows rows;
    for (qsizetype i = 0; i < ns.size(); ++i)
        for (int o = 0; o < 3; ++o)
            rows << CoefficientRow{ns[i], double(o + 1), ki[i][o]};
    return rows;
}

const Tables& shipped() {
    static const Tables t = [] {
        Tables t;
        t.byKey.insert(u"Kivz.DB|ряд"_s, grid({2, 4, 6, 10, 20}, {{0.85, 0.91, 0.94},
                                                                  {0.73, 0.83, 0.89},
                                                                  {0.65, 0.77, 0.85},
                                                                  {0.59, 0.74, 0.81},
                                                                  {0.48, 0.67, 0.76}}));
        t.byKey.insert(u"Kivz.DB|контур"_s, grid({4, 6, 10, 20, 40, 60, 100}, {{0.69, 0.78, 0.85},
                                                                               {0.61, 0.73, 0.8},
                                                                               {0.56, 0.68, 0.76},
                                                                               {0.47, 0.63, 0.71},
                                                                               {0.41, 0.58, 0.66},
                                                                               {0.39, 0.55, 0.64},
                                                                               {0.36, 0.52, 0.62}}));
        t.byKey.insert(u"KIGZ.DB|ряд"_s, grid({2, 4, 6, 10, 20}, {{0.82, 0.94, 0.96},
                                                                 {0.77, 0.89, 0.92},
                                                                 {0.72, 0.84, 0.88},
                                                                 {0.62, 0.75, 0.82},
                                                                 {0.42, 0.56, 0.68}}));
        return t;
    }();
    return t;
}

// The window's defaults: round rods 0,016, strip 0,04x0,004 (D 0,02), both soils 100 Ом м.
CalcInputs inputs(const QString& l, const QString& s, const QString& n, const QString& to = u"0,7"_s,
                  const QString& placement = u"ряд"_s) {
    CalcInputs in;
    for (const QString& frame : {u"FramePV."_s, u"FramePG."_s}) {
        in.texts.insert(frame + u"ComboGrunt"_s, u"Суглинок"_s);
        in.texts.insert(frame + u"EditRo0"_s, u"100"_s);
        in.texts.insert(frame + u"EditPKV"_s, u"1"_s);
        in.texts.insert(frame + u"EditRo"_s, u"100"_s);
        in.soilRanges.insert(frame, {40, 150});
    }
    in.texts.insert(u"frmSechV.cmbSech"_s, u"сталь круглая"_s);
    in.texts.insert(u"frmSechV.cmbDiam"_s, u"0,016"_s);
    in.texts.insert(u"frmSechV.EditDiam0"_s, u"0,016"_s);
    in.texts.insert(u"frmSechG.cmbSech"_s, u"сталь полосовая"_s);
    in.texts.insert(u"frmSechG.cmbDiam"_s, u"0,04x0,004"_s);
    in.texts.insert(u"frmSechG.EditDiam0"_s, u"0,02"_s);
    in.diameters.insert(u"frmSechV."_s, 0.016L);
    in.diameters.insert(u"frmSechG."_s, 0.02L);
    in.texts.insert(u"EditDlinaV"_s, l);
    in.texts.insert(u"EditRasSt"_s, s);
    in.texts.insert(u"SpinNV"_s, n);
    in.texts.insert(u"EditGlub"_s, to);
    in.texts.insert(u"ComboRazm"_s, placement);
    in.tables = &shipped();
    return in;
}
} // namespace

using TStandFrm = CalculatorWindowOf<&standarddevice::calculator>;

class TestStandardDevice : public QObject, CalcWindowFixture<TStandFrm> {
    Q_OBJECT
private slots:
    void cleanup() { close(); } // the window test opens its own
    void lookup_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("placement");
        QTest::addColumn<double>("n");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("ki");
        QTest::newRow("exact row") << u"Kivz.DB"_s << u"ряд"_s << 4.0 << 1.0 << 0.73;
        // N between rows 4 and 6, ratio between columns 1 and 2: 0,755 and 0,68, then half-way.
        QTest::newRow("four rows") << u"Kivz.DB"_s << u"ряд"_s << 5.0 << 1.25 << 0.72;
        // N a row of the table, the ratio between two columns: 0,73 + 0,1·0,2.
        QTest::newRow("two rows by ratio") << u"Kivz.DB"_s << u"ряд"_s << 4.0 << 1.2 << 0.75;
        QTest::newRow("two rows by count") << u"Kivz.DB"_s << u"ряд"_s << 5.0 << 2.0 << 0.80;
        // A point beyond the table is not moved to its edge: not found.
        QTest::newRow("ratio past the table") << u"Kivz.DB"_s << u"ряд"_s << 20.0 << 3.5 << 0.0;
        QTest::newRow("count below the table") << u"Kivz.DB"_s << u"контур"_s << 3.0 << 1.0 << 0.0;
        QTest::newRow("ratio beyond a double") << u"Kivz.DB"_s << u"ряд"_s << 4.0 << std::numeric_limits<double>::infinity() << 0.0;
        QTest::newRow("strip") << u"KIGZ.DB"_s << u"ряд"_s << 6.0 << 1.0 << 0.72;
        QTest::newRow("no rows") << u"KIGZ.DB"_s << u"контур"_s << 6.0 << 1.0 << 0.0;
    }
    void lookup() {
        QFETCH(QString, table);
        QFETCH(QString, placement);
        QFETCH(double, n);
        QFETCH(double, ratio);
        QFETCH(double, ki);
        QCOMPARE(standarddevice::lookupKI(&shipped(), table, placement, n, ratio), ki);
    }

    // Index letters of the report's length and depth lines are subscript runs.
    void reportIndices() {
        struct Quiet : Messenger {
            void showMessage(const QString&) override {}
        } quiet;
        ReportSource source;
        source.texts = {{u"EditGlub"_s, u"0,7"_s}, {u"EditDlinaV"_s, u"3"_s}, {u"EditRas"_s, u"2,2"_s},
                        {u"ComboRazm"_s, u"ряд"_s}, {u"SpinNV"_s, u"5"_s}, {u"EditRasSt"_s, u"3"_s},
                        {u"EditDlinaG"_s, u"12"_s}};
        source.picture = false;
        ReportBuilder w(quiet);
        standarddevice::report(w, source);
        for (const ReportParagraph& p : w.paragraphs()) {
            if (!p.text().startsWith(u"Глубина заложения вертикального стержня"_s))
                continue;
            // A subscript run begins with a space, as every report writes it.
            QCOMPARE(p.text(), u"Глубина заложения вертикального стержня: Т в = Т о + L в / 2 = 0,7+3 / 2 = 2,2 м."_s);
            QStringList subscripts;
            for (const ReportRun& r : p.runs)
                if (r.position == ReportRun::Position::Subscript)
                    subscripts << r.text;
            QCOMPARE(subscripts, (QStringList{u" в"_s, u" о"_s, u" в"_s}));
            return;
        }
        QFAIL("no depth line");
    }

    void countLimits() {
        QCOMPARE(standarddevice::countLimits(&shipped(), u"ряд"_s), std::pair(2, 20));
        QCOMPARE(standarddevice::countLimits(&shipped(), u"контур"_s), std::pair(4, 100));
        const Tables empty;
        QCOMPARE(standarddevice::countLimits(&empty, u"контур"_s), std::pair(2, 20));
    }

    void stripLength() {
        QCOMPARE(double(standarddevice::stripLength(u"ряд"_s, 5, 3)), 12.0);
        QCOMPARE(double(standarddevice::stripLength(u"контур"_s, 5, 3)), 15.0);
    }

    void fullResult() {
        // Tв 2,2; rв 33,33; Kив 0,65; Rв 8,55; Lг 15; rг 10,28; Kиг 0,72; Rг 14,28; Rо 5,35.
        const Evaluation e = standarddevice::calculator().evaluate(inputs(u"3"_s, u"3"_s, u"6"_s));
        QVERIFY2(e.ok(), qPrintable(e.failure ? e.failure->message : QString()));
        QCOMPARE(e.shown.value(u"EditRas"_s), u"2,2"_s);
        QCOMPARE(e.shown.value(u"EditRV1"_s), u"33,33"_s);
        QCOMPARE(e.shown.value(u"EditKIV"_s), u"0,65"_s);
        QCOMPARE(e.shown.value(u"EditRV"_s), u"8,55"_s);
        QCOMPARE(e.shown.value(u"EditDlinaG"_s), u"15"_s);
        QCOMPARE(e.shown.value(u"EditRG1"_s), u"10,28"_s);
        QCOMPARE(e.shown.value(u"EditKIG"_s), u"0,72"_s);
        QCOMPARE(e.shown.value(u"EditRG"_s), u"14,28"_s);
        QCOMPARE(e.resultText, u"5,35"_s);
        QVERIFY(e.order.contains(u"Rо = 8,55*14,28/(8,55+14,28) = 5,35 Ом."_s));
        QVERIFY(e.order.contains(u"Длина горизонтального заземлителя: Lг = (Nв - 1) * S = (6 - 1) * 3 = 15 м."_s));
    }

    void checks_data() {
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("n");
        QTest::addColumn<QString>("message");
        const QString ratio = u"Ошибка. Отношение расстояния между вертикальными электродами к их длине должно быть в "
                              u"пределах от 1 до 3."_s;
        QTest::newRow("S/L = 3 passes") << u"1"_s << u"3"_s << u"5"_s << QString();
        QTest::newRow("S/L = 3,0001 fails") << u"1"_s << u"3,0001"_s << u"5"_s << ratio;
        QTest::newRow("S below L") << u"2"_s << u"1,5"_s << u"5"_s << ratio;
        // Lг from the inputs now: (2 − 1)·1 = 1 ≤ 4·0,7.
        QTest::newRow("strip short for its depth")
            << u"1"_s << u"1"_s << u"2"_s
            << u"Ошибка. Длина горизонтального заземлителя должна быть больше глубины заложения более чем в 4 раза."_s;
    }
    void checks() {
        QFETCH(QString, l);
        QFETCH(QString, s);
        QFETCH(QString, n);
        QFETCH(QString, message);
        const auto failure = standarddevice::calculator().check(inputs(l, s, n));
        QCOMPARE(failure ? failure->message : QString(), message);
    }

    void notFound() {
        CalcInputs in = inputs(u"3"_s, u"3"_s, u"6"_s, u"0,7"_s, u"контур"_s);
        const Evaluation e = standarddevice::calculator().evaluate(in);
        QVERIFY(!e.ok());
        QCOMPARE(e.failure->message,
                 u"Коэффициент использования горизонтального электрода не найден. Расчет невозможен"_s);
        // During a run the calculation says nothing: the combination is only inadmissible.
        const QMap<QString, long double> run;
        in.run = &run;
        QVERIFY(standarddevice::calculator().evaluate(in).failure->message.isEmpty());
        QVERIFY(!standarddevice::calculator().selectionRefusal(in));
    }

    void linking_data() {
        QTest::addColumn<QString>("l");
        QTest::addColumn<QString>("s");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("moved");
        QTest::addColumn<QString>("to");
        QTest::newRow("S 10 lifts L") << u"3"_s << u"10"_s << u"EditRasSt"_s << u"EditDlinaV"_s << u"3,34"_s;
        QTest::newRow("L 4 pushes S") << u"4"_s << u"3"_s << u"EditDlinaV"_s << u"EditRasSt"_s << u"4"_s;
        QTest::newRow("L 1 pulls S") << u"1"_s << u"9"_s << u"EditDlinaV"_s << u"EditRasSt"_s << u"3"_s;
    }
    void linking() {
        QFETCH(QString, l);
        QFETCH(QString, s);
        QFETCH(QString, changed);
        QFETCH(QString, moved);
        QFETCH(QString, to);
        const auto m = standarddevice::calculator().link(inputs(l, s, u"5"_s), changed);
        QCOMPARE(m.value(moved), to);
    }

    void depthSteps() {
        const CalcInputs in = inputs(u"3"_s, u"3"_s, u"5"_s, u"0,55"_s);
        QVERIFY(!standarddevice::calculator().allowStepDown(in, u"EditGlub"_s, 0.1));
        QVERIFY(standarddevice::calculator().allowStepDown(in, u"EditGlub"_s, 0.01));
        QVERIFY(!standarddevice::calculator().allowStepDown(in, u"EditGlub"_s, 1));
    }

    void rangeLabels() {
        const CalcInputs in = inputs(u"3"_s, u"10"_s, u"5"_s, u"0,7"_s, u"контур"_s);
        QCOMPARE(standarddevice::calculator().rangeLabel(in, u"lblRangeLv"_s), u"( 3,33333 <= Lв <= 10 )"_s);
        QCOMPARE(standarddevice::calculator().rangeLabel(in, u"lblRangeS"_s), u"( 3 <= S <= 9 )"_s);
        QCOMPARE(standarddevice::calculator().rangeLabel(in, u"lblRangeNv"_s), u"( 4 .. 100 )"_s);
    }

    // A combination the checks refuse stops the run with the check's message.
    void refusalStopsTheRun() {
        const Calculator& c = standarddevice::calculator();
        QMap<QString, long double> values;
        CalcInputs in = inputs(u"1"_s, u"1"_s, u"4"_s);
        in.run = &values;
        selection::RunHooks hooks;
        hooks.apply = [&](const QString&, long double v) { values.insert(u"SpinNV"_s, v); };
        hooks.refusal = [&]() -> std::optional<QString> {
            return c.selectionAdmissible(in) ? c.selectionRefusal(in) : std::nullopt;
        };
        hooks.resistance = [&]() -> std::optional<long double> {
            QMap<QString, QString> shown;
            return c.selectionAdmissible(in) ? c.compute(in, shown) : std::nullopt;
        };
        hooks.required = [] { return std::optional<long double>(0.1L); };
        // N 4 passes the checks (Lг 3 > 2,8); N 3 gives Lг 2.
        const auto result = selection::runSelection({{u"N"_s, 4, 2, 1}}, hooks);
        QCOMPARE(int(result.outcome), int(selection::Outcome::Refused));
        QCOMPARE(result.combinations, 2);
        QCOMPARE(result.refusal,
                 u"Ошибка. Длина горизонтального заземлителя должна быть больше глубины заложения более чем в 4 раза."_s);
    }

    // The device keeps its sets in history.DB of its own and brings them back through THistForm,
    // whose fields stand under the headings of their groups.
    void aSavedSetComesBackThroughItsLoader() {
        open();
        win_->setInputText(u"EditDlinaV"_s, u"2"_s);
        win_->calculate(true);
        rec_->inputs << std::optional<QString>(u"Подстанция"_s);
        win_->ButtonFrame1()->btnSave()->click();
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.join(u'\n')));
        QCOMPARE(rec_->prompts.size(), 1);
        QVERIFY(rec_->prompts.first().endsWith(u"|Заземляющее устройство 1"_s));

        win_->setInputText(u"EditDlinaV"_s, u"3"_s);
        QStringList seen;
        DataTable* shown = nullptr;
        rec_->onModal = [&seen, &shown](QDialog* d) {
            auto* loader = qobject_cast<HistoryLoadDialog*>(d);
            if (!loader)
                return int(QDialog::Rejected);
            loader->show();
            shown = &loader->table();
            seen << loader->objectName() << loader->btnOK()->text() << loader->label(1)->text()
                 << loader->label(9)->text() << loader->dbEdit(9)->text();
            for (const QLabel* label : loader->findChildren<QLabel*>())
                if (label->text().startsWith(u"Заземляющие"_s))
                    seen << label->text();
            // A heading is bold and has no field.
            if (!loader->label(1)->font().bold() || loader->dbEdit(1)->isVisible() ||
                !loader->btnOK()->isEnabled())
                seen << u"wrong"_s;
            loader->hide();
            return int(QDialog::Accepted);
        };
        win_->ButtonFrame1()->btnLoad()->click();
        QCOMPARE(seen, (QStringList{u"THistForm"_s, u"OK"_s, u" Параметры вертикального заземлителя "_s,
                                    u"L - длина стержня, м:"_s, u"2"_s, u"Заземляющие устройства."_s}));
        QCOMPARE(win_->inputText(u"EditDlinaV"_s), u"2"_s);
        // history.DB is the loader's own: closed once it has done.
        QVERIFY(shown && !shown->isOpen());
    }
};

QTEST_MAIN(TestStandardDevice)
#include "tst_standarddevice.moc"
