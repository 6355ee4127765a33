#include "core/session/FrameStates.h"

#include "core/common/NumberText.h"
#include "core/rules/SoilRules.h"
#include "core/session/FrameData.h"

using namespace Qt::StringLiterals;

namespace kz {

namespace {

std::optional<long double> positive(const QString& text) {
    const auto v = parseNumber(text);
    return v && *v > 0 ? v : std::nullopt;
}

} // namespace

void SoilState::chooseType(const QString& type, const FrameData& data) {
    name = type;
    if (const auto soil = type.isEmpty() ? std::nullopt : data.soil(type)) {
        min = soil->min;
        max = soil->max;
        rangeText = soilRangeLabel(soil->minText, soil->maxText);
        measured = soil->defaultText;
        if (const auto s = data.resistivitySteps(max))
            steps = *s;
    } else {
        min = max = 0;
        rangeText.clear();
        measured = u"0"_s;
    }
}

void SoilState::updateCalculated() {
    const auto p0 = positive(measured);
    const auto k = positive(coefficient);
    if (p0 && k)
        calculated = formatGeneral(calculatedResistivity(*p0, *k));
}

void SoilState::edit(const QString& field, const QString& text, const FrameData& data) {
    if (field == u"ComboGrunt"_s)
        chooseType(text, data);
    else if (field == u"EditRo0"_s)
        measured = text;
    else if (field == u"EditPKV"_s)
        coefficient = text;
    updateCalculated();
}

QString listedSoil(const QString& had, const QStringList& names) {
    if (!had.isEmpty() && names.contains(had))
        return had;
    return names.contains(defaultSoilName()) ? defaultSoilName() : QString();
}

std::optional<double> queryResistivity(const std::optional<QString>& text, QStringList* said) {
    if (!text)
        return std::nullopt;
    if (const auto p = parseNumber(*text))
        return double(*p);
    const QString subject = u"удельного сопротивления грунта"_s;
    *said << (text->isEmpty()
                  ? u"Введите значение "_s + subject + u'.'
                  : u'"' + echoedText(*text) + u"\" - некорректное значение для "_s + subject + u'.');
    return std::nullopt;
}

bool SectionState::refresh(const FrameData& data, const std::optional<QString>& resistivity,
                           const QString& kind, QStringList* said) {
    if (mode == AllSizes) {
        constructions = constructionNames();
    } else {
        const auto p = queryResistivity(resistivity, said);
        if (!p)
            return false;
        QString error;
        constructions = data.corrosionConstructions(*p, kind, mode, &error);
        if (!error.isEmpty())
            *said << error;
    }
    construction = constructions.value(0);
    return chooseConstruction(data, resistivity, kind, said);
}

bool SectionState::chooseConstruction(const FrameData& data, const std::optional<QString>& resistivity,
                                      const QString& kind, QStringList* said) {
    const int chosen = constructionOf(construction);
    if (mode == AllSizes) {
        sizes = data.sizes(chosen);
    } else {
        const auto p = queryResistivity(resistivity, said);
        if (!p)
            return false;
        QString error;
        sizes = data.corrosionSizes(*p, kind, mode, construction, &error);
        if (!error.isEmpty())
            *said << error;
    }
    if (usesEquivalentDiameter(chosen))
        equivalent = u"0.00"_s;
    size = sizes.value(0);
    chooseSize();
    return true;
}

void SectionState::chooseSize() {
    const int chosen = constructionOf(construction);
    if (!usesEquivalentDiameter(chosen)) {
        shownSize = size;
        return;
    }
    const SectionDiameters d = sectionDiameters(chosen, size);
    shownSize = d.size;
    equivalent = d.equivalent;
}

QString SectionState::diameterText() const {
    return usesEquivalentDiameter(constructionOf(construction)) ? equivalent : size;
}

} // namespace kz
