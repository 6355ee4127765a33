#pragma once

#include "core/model/Calculator.h"

// A calculator whose device is a steel section of one size of its own (a ring or a rod at the
// surface): the diameter comes from the construction frame, the size from one input, and the
// calculator adds only its condition, its formula and its one-line calculation order.
namespace kz {

struct SectionSizeRules {
    QString sizeInput; // "EditDiam", "EditDlina"
    // The formula's condition on the section's diameter and the size; nullopt when it holds.
    std::optional<QString> (*geometryError)(long double d, long double size) = nullptr;
    long double (*resistance)(long double p0, long double kp, long double size, long double d) = nullptr;
    QString (*orderLine)(const QString& roText, const QString& sizeText, long double d,
                         const QString& rText) = nullptr;
};

class SectionSizeCalculator : public Calculator {
public:
    SectionSizeCalculator(CalculatorDescriptor description, SectionSizeRules rules);

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override;
    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override;
    QStringList calcOrder(const CalcInputs& in) const override;

private:
    SectionSizeRules rules_;
};

} // namespace kz
