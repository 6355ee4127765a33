#include "core/rules/CorrectionRules.h"

#include "core/common/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

QString seasonalFieldName(ElectrodeKind kind, bool longer, SoilMoisture moisture) {
    const bool vertical = kind == ElectrodeKind::Vertical;
    QString name = vertical ? QStringLiteral("V") : QStringLiteral("G");
    if (vertical)
        name += longer ? QStringLiteral("5") : QStringLiteral("3");
    else
        name += longer ? QStringLiteral("50") : QStringLiteral("10");
    switch (moisture) {
    case SoilMoisture::High:
        return name + QLatin1Char('p');
    case SoilMoisture::Medium:
        return name + QLatin1Char('s');
    case SoilMoisture::Low:
        break;
    }
    return name + QLatin1Char('m');
}

QStringList electrodeLengthItems(ElectrodeKind kind) {
    if (kind == ElectrodeKind::Vertical)
        return {u"3 метра"_s, u"5 метров"_s};
    return {u"10 метров"_s, u"50 метров"_s};
}

double temperatureCoefficient(int celsius) {
    return std::exp(-0.022 * (celsius - 20));
}

QString temperatureCoefficientText(int celsius) {
    return formatMask(temperatureCoefficient(celsius), QStringLiteral("0.00"));
}

QString defaultClimateRegion() {
    return QStringLiteral("III");
}

} // namespace kz
