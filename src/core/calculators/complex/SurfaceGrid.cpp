#include "core/calculators/complex/SurfaceGrid.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"
#include "core/model/CalcOrder.h"
#include "core/model/HistoryMapping.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::surfacegrid {

namespace {
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

SelectionParameter realParameter(const char* name, const char* input, const char* heading, const char* note) {
    SelectionParameter p;
    p.name = QString::fromUtf8(name);
    p.input = l1(input);
    p.start = u"1"_s;
    p.end = u"5"_s;
    p.step = u"1"_s;
    p.lower = u"0,1"_s;
    p.recommendation = u"начальное значение меньше конечного"_s;
    p.heading = QString::fromUtf8(heading);
    p.note = QString::fromUtf8(note);
    return p;
}

SelectionParameter countParameter(const char* name, const char* input, const char* heading,
                                  const char* note) {
    SelectionParameter p = realParameter(name, input, heading, note);
    p.type = u"integer"_s;
    p.lower = u"1"_s;
    p.settingsTable = 3;
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = u"TSet1_Frm"_s;
    d.caption = u"Сетка из горизонтальных электродов на поверхности земли."_s;
    d.helpContext = 27;
    d.kindCode = 20;
    d.menuGroup = MenuGroup::ComplexDevices;
    d.menuCaption = u"Сетка из горизонтальных электродов на поверхности земли..."_s;
    d.pictureFile = u"Setka1.bmp"_s;
    d.formulaText = u"Расчетная формула:   R = 0,444*p / Корень(S) + р/L, Ом"_s;
    d.descriptionLines = {u"Сложный заземлитель в виде "_s, u"сетки из горизонтальных электродов "_s,
                          u"(без вертикальных электродов) на "_s, u"поверхности земли."_s};

    GeometryInput length;
    length.name = u"EditDlina"_s;
    length.historyField = u"A"_s;
    length.label = u"A - длина ячейки, м:"_s;
    length.defaultText = u"3"_s;
    length.steps.sizes = {10, 1, 0.1};
    length.steps.prefix = u"btnL"_s;
    GeometryInput width;
    width.name = u"EditShir"_s;
    width.historyField = u"B"_s;
    width.label = u"В - ширина ячейки, м:"_s;
    width.defaultText = u"2"_s;
    width.steps.sizes = {10, 1, 0.1};
    width.steps.names = {u"SpinButton1"_s, u"SpinButton2"_s, u"SpinButton3"_s};
    GeometryInput across;
    across.name = u"SpinKolGor"_s;
    across.historyField = u"Gor"_s;
    across.label = u"Nг - количество ячеек по горизонтали, шт.:"_s;
    across.defaultText = u"4"_s;
    across.spin.emplace();
    across.spin->minimum = 1;
    across.spin->maximum = 100;
    GeometryInput down;
    down.name = u"SpinKolVert"_s;
    down.historyField = u"Vert"_s;
    down.label = u"Nв - количество ячеек по вертикали, шт.:"_s;
    down.defaultText = u"3"_s;
    down.spin.emplace();
    down.spin->minimum = 1;
    down.spin->maximum = 100;
    GeometryInput area;
    area.name = u"EditS"_s;
    area.label = u"S - площадь сетки, м2:"_s;
    area.readOnly = true;
    GeometryInput total;
    total.name = u"EditL"_s;
    total.label = u"L - длина горизонтальных электродов сетки, м:"_s;
    total.readOnly = true;
    d.geometry = {length, width, across, down, area, total};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, u"EditPKV"_s, u"коэффициента поправки"_s},
                {K::Filled, u"ComboGrunt"_s, u"типа грунта"_s},
                {K::Positive, u"EditRo0"_s, u"удельного сопротивления грунта"_s},
                {K::Positive, u"EditDlina"_s, u"длины ячейки"_s},
                {K::Positive, u"EditShir"_s, u"ширины ячейки"_s}};

    HistoryLayout& h = d.history;
    h.presetName = u"Сетка из горизонтальных электродов 1."_s;
    h.captions = {{u"Тип грунта:"_s, u"Grunt"_s},
                  {u"Удельное сопротивление грунта, Ом м:"_s, u"P"_s},
                  {u"Коэффициент поправки:"_s, u"KP"_s},
                  {u"Длина ячейки, м:"_s, u"A"_s},
                  {u"Ширина ячейки, м:"_s, u"B"_s},
                  {u"Количество ячеек по горизонтали, шт.:"_s, u"Gor"_s},
                  {u"Количество ячеек по вертикали, шт.:"_s, u"Vert"_s}};

    // "В" of the width is Cyrillic.
    d.selection.parameters = {
        realParameter("Длина ячейки, м", "EditDlina", "A, м", "A, м - длина ячейки, м"),
        realParameter("Ширина ячейки, м", "EditShir", "В, м", "В, м - ширина ячейки, м"),
        countParameter("Количество ячеек по горизонтали, шт.", "SpinKolGor", "Nг, шт.",
                       "Nг, шт. - количество ячеек по горизонтали, шт."),
        countParameter("Количество ячеек по вертикали, шт.", "SpinKolVert", "Nв, шт.",
                       "Nв, шт. - количество ячеек по вертикали, шт."),
        correctionSelection(),
        soilResistivitySelection()};
    d.selection.writeBack = {u"EditRo0"_s,    u"EditPKV"_s,     u"EditDlina"_s, u"EditShir"_s,
                             u"SpinKolGor"_s, u"SpinKolVert"_s, u"EditS"_s,     u"EditL"_s};

    d.report = report;
    d.reportSteps = 7;
    return d;
}
} // namespace

namespace {
const QString lengthInput = QStringLiteral("EditDlina");
const QString widthInput = QStringLiteral("EditShir");
const QString acrossInput = QStringLiteral("SpinKolGor");
const QString downInput = QStringLiteral("SpinKolVert");
const QString areaField = QStringLiteral("EditS");
const QString totalField = QStringLiteral("EditL");

class SurfaceGrid : public Calculator {
public:
    SurfaceGrid() : Calculator(makeDescriptor()) {}

    QMap<QString, QString> derive(const CalcInputs& in, const QString&) const override {
        const auto a = in.positive(lengthInput);
        const auto b = in.positive(widthInput);
        const auto ng = in.number(acrossInput);
        const auto nv = in.number(downInput);
        if (!a || !b || !ng || !nv)
            return {{areaField, QString()}, {totalField, QString()}};
        const auto g = gridGeometry(*a, *b, *ng, *nv);
        return {{areaField, formatGeneral(g.s)}, {totalField, formatGeneral(g.l)}};
    }

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override {
        // The counts' own limits keep them above 0; a run's values are checked the same way.
        const auto ng = in.number(acrossInput);
        const auto nv = in.number(downInput);
        if (!ng || !nv || *ng <= 0 || *nv <= 0)
            return CheckFailure{};
        return std::nullopt;
    }

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override {
        CalcInputs now = in;
        if (!in.selectionRunning()) {
            shown = derive(in, {});
            for (auto it = shown.cbegin(); it != shown.cend(); ++it)
                now.texts.insert(it.key(), it.value());
        }
        const auto p0 = now.number(QStringLiteral("EditRo0"));
        const auto kp = now.number(QStringLiteral("EditPKV"));
        const auto s = now.number(areaField);
        const auto l = now.number(totalField);
        if (!p0 || !kp || !s || !l)
            return std::nullopt;
        // A grid too small for two decimals has S = 0: no number to show, the window says so.
        return ComputeResistance(*p0, *kp, *s, *l).r;
    }

    QStringList calcOrder(const CalcInputs& in) const override {
        return {calcOrderLine(in.text(QStringLiteral("EditRo")), in.text(areaField), in.text(totalField),
                              in.text(QStringLiteral("EditVS1")))};
    }

    void deriveSelectionValues(QMap<QString, long double>& values) const override {
        if (!values.contains(lengthInput) || !values.contains(widthInput) || !values.contains(acrossInput) ||
            !values.contains(downInput))
            return;
        const auto g = gridGeometry(values.value(lengthInput), values.value(widthInput),
                                    values.value(acrossInput), values.value(downInput));
        values.insert(areaField, g.s);
        values.insert(totalField, g.l);
    }
};
} // namespace

const Calculator& calculator() {
    static const SurfaceGrid c;
    return c;
}

const CalculatorDescriptor& descriptor() {
    return calculator().description();
}

GridGeometry gridGeometry(long double a, long double b, long double ng, long double nv) {
    GridGeometry g;
    g.s = roundTo(a * b * ng * nv, 2);
    g.l = roundTo(a * ng * (nv + 1) + b * nv * (ng + 1), 2);
    return g;
}

Resistance ComputeResistance(long double p0, long double kp, long double s, long double l) {
    Resistance out;
    out.p = calculatedResistivity(p0, kp);
    out.r = roundResistance(0.444L * out.p / std::sqrt(s) + out.p / l);
    return out;
}

QString calcOrderLine(const QString& roText, const QString& sText, const QString& lText,
                      const QString& rText) {
    return QStringLiteral("R = 0,444*") + roText + u" / Корень("_s + sText + QStringLiteral(") + ") + roText +
           QStringLiteral(" /") + lText + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString a = s.text(u"EditDlina"_s);
    const QString b = s.text(u"EditShir"_s);
    const QString ng = s.text(u"SpinKolGor"_s);
    const QString nv = s.text(u"SpinKolVert"_s);
    const QString area = s.text(u"EditS"_s);
    const QString length = s.text(u"EditL"_s);
    const QString p = s.text(u"EditRo"_s);
    const bool include = s.installation.include;

    writeReportOpening(w, s,
                       {.title = u"Сложный заземлитель в виде сетки из горизонтальных электродов (без "
                                 u"вертикальных электродов) на "
                                 u"поверхности земли."_s,
                        .picture = descriptor().pictureFile,
                        .progressBeforeSoil = true});
    // "А" and "В" of the cell are Cyrillic here.
    w.WordText(u"Заземляющее устройство представляет собой сетку, состоящую из ячеек длиной А = "_s + a +
               u" м и шириной В = "_s + b + u" м. "_s + u"Количество ячеек по горизонтали Nг = "_s + ng +
               u" шт.; количество ячеек по вертикали Nв = "_s + nv + u" шт."_s + reportCr);
    w.progress();

    w.WordText(u"Площадь сетки:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"S = A * B * Nг * Nв, м"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(QStringLiteral(";") + reportCr);
    w.WordText(u"S = "_s + a + u" * "_s + b + u" * "_s + ng + u" * "_s + nv + u" = "_s + area + u" м"_s);
    w.WordSuperscript(u"2"_s);
    w.WordText(QStringLiteral(".") + reportCr);
    w.setAlignment(A::Left);
    // Latin A, Cyrillic В in the electrode length's formula.
    w.WordText(u"Длина горизонтальных электродов:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"L = A * Nг * (Nв + 1) + В * Nв * (Nг + 1), м;"_s + reportCr);
    w.WordText(u"L = "_s + a + u" * "_s + ng + u" * ("_s + nv + u" + 1) + "_s + b + u" * "_s + nv +
               u" * ("_s + ng + u" + 1) = "_s + length + u" м."_s + reportCr);
    w.setAlignment(A::Left);
    w.progress();

    w.WordText(u"Сопротивление растеканию заземлителя:"_s + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u"R = 0,444 * "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / (S)"_s);
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" + "_s);
    w.WordSymbol(u"r"_s);
    w.WordText(u" / L, Ом;"_s + reportCr);
    w.WordText(u"R = 0,444 * "_s + p + u" / ("_s + area + QLatin1Char(')'));
    w.WordSuperscript(u"1/2"_s);
    w.WordText(u" + "_s + p + u" / "_s + length + multiLineEnding(s.text(u"EditVS1"_s)) + reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u"заземлитель"_s, parseNumber(s.text(u"EditVS1"_s)).value_or(0));
    w.progress();
}

} // namespace kz::surfacegrid
