#include "core/model/SectionSizeCalculator.h"

using namespace Qt::StringLiterals;

namespace kz {

SectionSizeCalculator::SectionSizeCalculator(CalculatorDescriptor description, SectionSizeRules rules)
    : Calculator(std::move(description)), rules_(std::move(rules)) {}

std::optional<CheckFailure> SectionSizeCalculator::checkGeometry(const CalcInputs& in) const {
    const auto size = in.number(rules_.sizeInput);
    if (!in.diameter || *in.diameter <= 0 || !size)
        return CheckFailure{diameterMissingMessage(), {}};
    if (const auto error = rules_.geometryError(*in.diameter, *size))
        return CheckFailure{*error, {}};
    return std::nullopt;
}

std::optional<long double> SectionSizeCalculator::compute(const CalcInputs& in,
                                                          QMap<QString, QString>&) const {
    const auto p0 = in.number(u"EditRo0"_s);
    const auto kp = in.number(u"EditPKV"_s);
    const auto size = in.number(rules_.sizeInput);
    if (!p0 || !kp || !size || !in.diameter)
        return std::nullopt;
    return rules_.resistance(*p0, *kp, *size, *in.diameter);
}

QStringList SectionSizeCalculator::calcOrder(const CalcInputs& in) const {
    return {rules_.orderLine(in.text(u"EditRo"_s), in.text(rules_.sizeInput), in.diameter.value_or(0),
                             in.text(u"EditVS1"_s))};
}

} // namespace kz
