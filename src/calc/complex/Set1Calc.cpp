#include "Set1Calc.h"

#include "calc/core/CalcCommon.h"
#include "calc/core/CalcOrder.h"
#include "calc/core/HistoryMapping.h"
#include "frames/NumberText.h"

#include <cmath>

namespace kz::set1 {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
QString l1(const char* text) {
    return QString::fromLatin1(text);
}

SelectionParameter realParameter(const char* name, const char* input, const char* heading, const char* note) {
    SelectionParameter p;
    p.name = u(name);
    p.input = l1(input);
    p.start = l1("1");
    p.end = l1("5");
    p.step = l1("1");
    p.lower = l1("0,1");
    p.recommendation = u("начальное значение меньше конечного");
    p.heading = u(heading);
    p.note = u(note);
    return p;
}

SelectionParameter countParameter(const char* name, const char* input, const char* heading,
                                  const char* note) {
    SelectionParameter p = realParameter(name, input, heading, note);
    p.type = l1("integer");
    p.lower = l1("1");
    p.settingsTable = 3;
    return p;
}

CalculatorDescriptor makeDescriptor() {
    CalculatorDescriptor d;
    d.className = l1("TSet1_Frm");
    d.caption = u("Сетка из горизонтальных электродов на поверхности земли.");
    d.helpContext = 27;
    d.pictureFile = l1("Setka1.bmp");
    d.formulaText = u("Расчетная формула:   R = 0,444*p / Корень(S) + р/L, Ом");
    d.descriptionLines = {u("Сложный заземлитель в виде "), u("сетки из горизонтальных электродов "),
                          u("(без вертикальных электродов) на "), u("поверхности земли.")};

    GeometryInput length;
    length.name = l1("EditDlina");
    length.historyField = l1("A");
    length.label = u("A - длина ячейки, м:");
    length.defaultText = l1("3");
    length.steps = {10, 1, 0.1};
    length.spinPrefix = l1("btnL");
    GeometryInput width;
    width.name = l1("EditShir");
    width.historyField = l1("B");
    width.label = u("В - ширина ячейки, м:");
    width.defaultText = l1("2");
    width.steps = {10, 1, 0.1};
    width.spinNames = {l1("SpinButton1"), l1("SpinButton2"), l1("SpinButton3")};
    GeometryInput across;
    across.name = l1("SpinKolGor");
    across.historyField = l1("Gor");
    across.label = u("Nг - количество ячеек по горизонтали, шт.:");
    across.defaultText = l1("4");
    across.spinMinimum = 1;
    across.spinMaximum = 100;
    GeometryInput down;
    down.name = l1("SpinKolVert");
    down.historyField = l1("Vert");
    down.label = u("Nв - количество ячеек по вертикали, шт.:");
    down.defaultText = l1("3");
    down.spinMinimum = 1;
    down.spinMaximum = 100;
    GeometryInput area;
    area.name = l1("EditS");
    area.label = u("S - площадь сетки, м2:");
    area.readOnly = true;
    GeometryInput total;
    total.name = l1("EditL");
    total.label = u("L - длина горизонтальных электродов сетки, м:");
    total.readOnly = true;
    d.geometry = {length, width, across, down, area, total};

    using K = InputCheck::Kind;
    d.checks = {{K::Positive, l1("EditPKV"), u("коэффициента поправки")},
                {K::Filled, l1("ComboGrunt"), u("типа грунта")},
                {K::Positive, l1("EditRo0"), u("удельного сопротивления грунта")},
                {K::Positive, l1("EditDlina"), u("длины ячейки")},
                {K::Positive, l1("EditShir"), u("ширины ячейки")}};

    HistoryLayout& h = d.history;
    h.kindCode = 20;
    h.presetName = u("Сетка из горизонтальных электродов 1.");
    h.captions = {{u("Тип грунта:"), l1("Grunt")},
                  {u("Удельное сопротивление грунта, Ом м:"), l1("P")},
                  {u("Коэффициент поправки:"), l1("KP")},
                  {u("Длина ячейки, м:"), l1("A")},
                  {u("Ширина ячейки, м:"), l1("B")},
                  {u("Количество ячеек по горизонтали, шт.:"), l1("Gor")},
                  {u("Количество ячеек по вертикали, шт.:"), l1("Vert")}};

    d.selection.kindCode = 20;
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
    d.selection.writeBack = {l1("EditRo0"),    l1("EditPKV"),     l1("EditDlina"), l1("EditShir"),
                             l1("SpinKolGor"), l1("SpinKolVert"), l1("EditS"),     l1("EditL")};

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
        const auto g = gridGeometry(values.value(lengthInput), values.value(widthInput), values.value(acrossInput),
                                    values.value(downInput));
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
    return QStringLiteral("R = 0,444*") + roText + u(" / Корень(") + sText + QStringLiteral(") + ") + roText +
           QStringLiteral(" /") + lText + oneLineEnding(rText);
}

void report(ReportBuilder& w, const ReportSource& s) {
    using A = ReportParagraph::Alignment;
    const QString a = s.text(l1("EditDlina"));
    const QString b = s.text(l1("EditShir"));
    const QString ng = s.text(l1("SpinKolGor"));
    const QString nv = s.text(l1("SpinKolVert"));
    const QString area = s.text(l1("EditS"));
    const QString length = s.text(l1("EditL"));
    const QString p = s.text(l1("EditRo"));
    const bool include = s.installation.include;

    w.WordTitle(
        u("Сложный заземлитель в виде сетки из горизонтальных электродов (без вертикальных электродов) на "
          "поверхности земли.") +
        reportCr + reportCr);
    w.progress();
    if (s.picture)
        w.WordPicture(descriptor().pictureFile);
    w.progress();
    if (include)
        w.WordInstallationParagraph(s.installation);
    w.progress();
    w.WordSoilParagraph(s.text(l1("ComboGrunt")), s.text(l1("EditPKV")), p,
                        parseNumber(s.text(l1("EditRo0"))).value_or(0));
    w.progress();
    // "А" and "В" of the cell are Cyrillic here.
    w.WordText(u("Заземляющее устройство представляет собой сетку, состоящую из ячеек длиной А = ") + a +
               u(" м и шириной В = ") + b + u(" м. ") + u("Количество ячеек по горизонтали Nг = ") + ng +
               u(" шт.; количество ячеек по вертикали Nв = ") + nv + u(" шт.") + reportCr);
    w.progress();

    w.WordText(u("Площадь сетки:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u("S = A * B * Nг * Nв, м"));
    w.WordSuperscript(l1("2"));
    w.WordText(QStringLiteral(";") + reportCr);
    w.WordText(l1("S = ") + a + l1(" * ") + b + l1(" * ") + ng + l1(" * ") + nv + l1(" = ") + area + u(" м"));
    w.WordSuperscript(l1("2"));
    w.WordText(QStringLiteral(".") + reportCr);
    w.setAlignment(A::Left);
    // Latin A, Cyrillic В in the electrode length's formula.
    w.WordText(u("Длина горизонтальных электродов:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(u("L = A * Nг * (Nв + 1) + В * Nв * (Nг + 1), м;") + reportCr);
    w.WordText(l1("L = ") + a + l1(" * ") + ng + l1(" * (") + nv + l1(" + 1) + ") + b + l1(" * ") + nv +
               l1(" * (") + ng + l1(" + 1) = ") + length + u(" м.") + reportCr);
    w.setAlignment(A::Left);
    w.progress();

    w.WordText(u("Сопротивление растеканию заземлителя:") + reportCr);
    w.setAlignment(A::Center);
    w.WordText(l1("R = 0,444 * "));
    w.WordSymbol(l1("r"));
    w.WordText(l1(" / (S)"));
    w.WordSuperscript(l1("1/2"));
    w.WordText(l1(" + "));
    w.WordSymbol(l1("r"));
    w.WordText(u(" / L, Ом;") + reportCr);
    w.WordText(l1("R = 0,444 * ") + p + l1(" / (") + area + QLatin1Char(')'));
    w.WordSuperscript(l1("1/2"));
    w.WordText(l1(" + ") + p + l1(" / ") + length + multiLineEnding(s.text(l1("EditVS1"))) + reportCr);
    w.setAlignment(A::Left);
    if (include)
        w.WordVerdict(s.installation, u("заземлитель"), parseNumber(s.text(l1("EditVS1"))).value_or(0));
    w.progress();
}

} // namespace kz::set1
