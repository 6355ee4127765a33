#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// What the electrodes without a rolled-steel section share: plates and spheres. The body
// itself is the electrode, so there is no construction frame; the buried ones keep their centre
// deeper than their radius (2T > D) and link the two inputs over that rule.
namespace kz::body {

// The soil's checks that open the list: coefficient, soil type, measured resistivity.
QList<InputCheck> soilChecks(InputCheck::Kind measuredResistivity);
// The loader's captions of the soil fields.
QList<HistoryCaption> soilCaptions();

// A size of the body: steps 1, 0,1, 0,01, marked for selection.
GeometryInput sizeInput(const QString& name, const QString& label, const QString& defaultText,
                        const QString& spinPrefix, const QString& historyField);
// The body's diameter D, default 0,5.
GeometryInput diameterInput(const QString& label, const QString& spinPrefix, const QString& historyField);
// A size's selection parameter: 1 … 5 m in steps of 1, not below lower.
SelectionParameter sizeSelection(const QString& name, const QString& input, const QString& lower,
                                 const QString& heading, const QString& note);
SelectionParameter diameterSelection(const QString& name, const QString& lower, const QString& note);

// What the buried plate and the buried sphere do differently around the same rule.
struct BuriedRules {
    QString depthLetter;  // "To" or "T", as the range label writes it
    int linkDecimals = 5; // values linking writes
    QString depthMessage; // 2T > D fails
};

// Depth input with its range label, and the diameter input's range label: each follows the other.
struct BuriedLabels {
    QString depthLabel;
    QString diameterRange;
    QString diameterHint;
    QString depthRange;
    QString depthHint;
};
void addBuriedGeometry(CalculatorDescriptor& d, GeometryInput diameter, const BuriedLabels& labels);

// The centre lies deeper than the radius.
bool depthRuleHolds(long double diameter, long double depth);
// "( D < 2T )" not rounded; empty without a depth above 0.
QString diameterRangeText(std::optional<long double> depth);
// "( T > D/2 )" to five decimals; empty without a diameter above 0.
QString depthRangeText(const QString& letter, std::optional<long double> diameter);
// After the user broke the rule: the depth D/2 + 0,1, or the diameter 2T − 0,1 while that stays
// above 0; nullopt when nothing moves.
std::optional<long double> linkedDepth(long double diameter, long double depth, int decimals);
std::optional<long double> linkedDiameter(long double diameter, long double depth, int decimals);

// A body buried at a depth: the depth rule, its range labels, linking and the selection hooks.
// A subclass adds only its formula and calculation order.
class BuriedBody : public Calculator {
public:
    BuriedBody(CalculatorDescriptor description, BuriedRules rules);

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override;
    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override;
    QString rangeLabel(const CalcInputs& in, const QString& label) const override;
    bool selectionAdmissible(const CalcInputs& in) const override;
    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override;

private:
    BuriedRules rules_;
};

// A body at the surface whose resistance follows from p0, Kп and its one diameter D; the
// calculation order is one line from the texts of p, D and R.
class SurfaceBody : public Calculator {
public:
    using Formula = long double (*)(long double p0, long double kp, long double diameter);
    using OrderLine = QString (*)(const QString& ro, const QString& diameter, const QString& r);
    SurfaceBody(CalculatorDescriptor description, Formula formula, OrderLine orderLine);

    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override;
    QStringList calcOrder(const CalcInputs& in) const override;

private:
    Formula formula_;
    OrderLine orderLine_;
};

// A rectangular plate of width a and length b keeps a < b < 4a; the plates on the surface and
// those set on edge link the two over that rule.
bool rectangleRuleHolds(long double width, long double length);
// "( a < b < 4a )" not rounded; empty without a width above 0.
QString lengthRangeText(std::optional<long double> width);
// "( b/4 < a < b )", b/4 to five decimals; empty without a length above 0.
QString widthRangeText(std::optional<long double> length);
// After the user changed the length: the width b − 0,1 when b ≤ a, then b/4 + 0,1 when 4a ≤ b.
// keepPositive: b − 0,1 only while it stays above 0 (typing; a selection run does not ask).
// nullopt when the width stays.
std::optional<long double> linkedWidth(long double width, long double length, int decimals,
                                       bool keepPositive);
// After the user changed the width: the length a + 0,1 when b ≤ a, then 4a − 0,1 when 4a ≤ b.
std::optional<long double> linkedLength(long double width, long double length, int decimals,
                                        bool keepPositive);

// The report's closing after the centred formula lines: alignment back to left, the verdict (one step).
void reportClosing(ReportBuilder& w, const ReportSource& s);

} // namespace kz::body
