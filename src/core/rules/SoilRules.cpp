#include "core/rules/SoilRules.h"

#include "core/common/NumberText.h"

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// What the step buttons would write: the sum in the general format, read back.
long double shownValue(long double v) {
    return parseNumber(formatGeneral(double(v))).value_or(v);
}

long double roundToDigit(long double v, int digit) {
    return roundTo(v, -digit);
}
} // namespace

QString defaultSoilName() {
    return u"суглинок"_s;
}

QString soilRangeLabel(const QString& minText, const QString& maxText) {
    return QLatin1Char('(') + minText + QStringLiteral(" - ") + maxText + QLatin1Char(')');
}

QString soilRangeMessage(long double min, long double max) {
    return u"Ошибка. Допустимые значения удельного сопротивления грунта: "_s + formatGeneral(min) +
           QStringLiteral(" .. ") + formatGeneral(max) + QLatin1Char('.');
}

QString requiredValueMessage() {
    return u"Ошибка. Ввод значения обязателен."_s;
}

long double calculatedResistivity(long double p0, long double k) {
    return roundTo(p0 * k, 5);
}

int soilStepDigits(double step) {
    if (step >= 1)
        return 0;
    return 2 - int(formatGeneral(step).size());
}

bool soilStepUpAllowed(long double v, double step, long double roMax) {
    const long double next = v + step;
    return roundToDigit(next, soilStepDigits(step)) <= roMax && shownValue(next) <= roMax;
}

bool soilStepDownAllowed(long double v, double step, long double roMin) {
    const long double next = v - step;
    return roundToDigit(next, soilStepDigits(step)) >= roMin && shownValue(next) >= roMin;
}

} // namespace kz
