#include "core/model/TwoLayerSoil.h"

#include "core/common/NumberText.h"

using namespace Qt::StringLiterals;

namespace kz::twolayer {

QString lower(const QString& field) {
    return u"pFrame1."_s + field;
}

bool isLowerField(const QString& name) {
    return name.startsWith(u"pFrame1."_s);
}

QList<InputCheck> soilChecks() {
    using K = InputCheck::Kind;
    QList<InputCheck> checks;
    for (const auto& [prefix, layer] : {std::pair{QString(), u" верхнего слоя"_s}, std::pair{u"pFrame1."_s, u" нижнего слоя"_s}})
        checks << InputCheck{K::Positive, prefix + u"EditPKV"_s, u"коэффициента поправки"_s + layer}
               << InputCheck{K::Filled, prefix + u"ComboGrunt"_s, u"типа грунта"_s + layer}
               << InputCheck{K::Positive, prefix + u"EditRo0"_s, u"удельного сопротивления грунта"_s + layer};
    return checks;
}

QList<HistoryCaption> soilCaptions() {
    return {{u"Тип грунта верхнего слоя:"_s, u"Grunt"_s},
            {u"Удельное сопротивление верхнего слоя, Ом м:"_s, u"P"_s},
            {u"Коэффициент поправки:"_s, u"KP"_s},
            {u"Тип грунта нижнего слоя:"_s, u"Construct"_s},
            {u"Удельное сопротивление нижнего слоя, Ом м:"_s, u"D1"_s},
            {u"Коэффициент поправки:"_s, u"T"_s}};
}

QList<SelectionParameter> soilSelections() {
    QList<SelectionParameter> list;
    int layer = 1;
    for (const auto& [prefix, which] : {std::pair{QString(), u"верхнего"_s}, std::pair{u"pFrame1."_s, u"нижнего"_s}}) {
        const QString n = QString::number(layer++);
        SelectionParameter p = soilResistivitySelection();
        p.name = u"Удельное сопротивление "_s + which + u" слоя грунта, Ом м"_s;
        p.input = prefix + u"EditRo0"_s;
        p.heading = u"p"_s + n + u", Ом м"_s;
        p.note = p.heading + u" - удельное сопротивление "_s + which + u" слоя грунта, Ом м"_s;
        SelectionParameter k = correctionSelection();
        k.name = u"Коэффициент поправки "_s + which + u" слоя"_s;
        k.input = prefix + u"EditPKV"_s;
        k.heading = u"Кп"_s + n;
        k.note = k.heading + u" - коэффициент поправки "_s + which + u" слоя"_s;
        list << p << k;
    }
    return list;
}

long double resistivityRatio(long double p1, long double p2) {
    return roundTo(p1 / p2, 2);
}

namespace {
void writeLayer(ReportBuilder& w, const QString& sub, const QString& p0, const QString& kp, const QString& p,
                const QString& end) {
    w.WordText(u" удельное сопротивление "_s);
    w.WordSymbol(u"r"_s);
    w.WordSubscript(sub);
    if (kp == u"1"_s) {
        w.WordText(u" = "_s + p0 + u" Ом м"_s + end);
        return;
    }
    w.WordText(u" = "_s + p0 + u" Ом м;"_s + u" поправочный коэффициент "_s + kp + u"; "_s +
               u"с учетом поправочного коэффициента "_s);
    w.WordSymbol(u"r"_s);
    w.WordSubscript(sub);
    w.WordText(u" = "_s + p0 + u'*' + kp + u" = "_s + p + u" Ом м"_s + end);
}
} // namespace

void writeSoilParagraph(ReportBuilder& w, const ReportSource& s, const QString& thicknessInput) {
    w.WordText(u"Грунт в месте расположения заземляющего устройства:"_s + reportCr + u"- верхний слой: "_s +
               s.text(u"ComboGrunt"_s) + u"; мощность (толщина) Н = "_s + s.text(thicknessInput) + u" м;"_s);
    writeLayer(w, u"1"_s, s.text(u"EditRo0"_s), s.text(u"EditPKV"_s), s.text(u"EditRo"_s), u";"_s);
    w.WordText(reportCr + u"- нижний слой: "_s + s.text(lower(u"ComboGrunt"_s)) + u';');
    writeLayer(w, u"2"_s, s.text(lower(u"EditRo0"_s)), s.text(lower(u"EditPKV"_s)), s.text(lower(u"EditRo"_s)),
               u"."_s);
}

ReportOpening reportOpening(const QString& title, const QString& picture, const QString& thicknessInput) {
    ReportOpening opening{title, picture};
    opening.soil = [thicknessInput](ReportBuilder& w, const ReportSource& s) {
        writeSoilParagraph(w, s, thicknessInput);
    };
    return opening;
}

} // namespace kz::twolayer
