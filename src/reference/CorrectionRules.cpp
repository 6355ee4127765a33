#include "CorrectionRules.h"

#include "frames/NumberText.h"

#include <cmath>

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
        return {QString::fromUtf8("3 метра"), QString::fromUtf8("5 метров")};
    return {QString::fromUtf8("10 метров"), QString::fromUtf8("50 метров")};
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
