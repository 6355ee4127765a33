#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <optional>

// A rectangular plate of width a and length b set on its edge at depth To: a < b < 4a and
// 2To >= a, three linked inputs with their range labels. The calculators in uniform and in
// two-layer earth add their resistivity, descriptor values and report.
namespace kz::edgeplate {

inline const QString lengthName = QStringLiteral("EditDlina");
inline const QString widthName = QStringLiteral("EditShir");
inline const QString depthName = QStringLiteral("EditGlub");

// b, a and To with steps, range labels and history fields; selection colour on b and a.
QList<GeometryInput> geometry(const QString& lengthDefault, const QString& widthDefault, const QString& lengthRange,
                              const QString& widthRange, const QString& lengthField, const QString& widthField,
                              const QString& depthField);
// The positive checks of b, a and To.
QList<InputCheck> geometryChecks();
// Length and width offered to selection, each keeping the other two in the single-parameter table.
QList<SelectionParameter> sizeSelections();

// R = p/(2πb)·[ln(4b/a) + ln((b + √(b² + 4To²))/(2To)) − (√(b² + 4To²) − 2To)/b], to two decimals:
// the plate as a strip of length b with its image in the surface.
long double resistance(long double p, long double width, long double length, long double depth);
// The window's formula label for the resistivity symbol given ("p", "pэ").
QString formulaText(const QString& resistivity);
// "R = p / (2*3,14*b) * [Ln(4*b/a) + …] = R Ом" from the texts on screen.
QString calcOrderLine(const QString& ro, const QString& width, const QString& length, const QString& depth,
                      const QString& r);
// The formula block of the report, centred, for the resistivity symbol given by writeSymbol.
void writeFormula(ReportBuilder& w, const ReportSource& s, void (*writeSymbol)(ReportBuilder&),
                  const QString& resistivityText);

class EdgePlate : public Calculator {
public:
    using Calculator::Calculator;

    std::optional<CheckFailure> checkGeometry(const CalcInputs& in) const override;
    QMap<QString, QString> link(const CalcInputs& in, const QString& changed) const override;
    QString rangeLabel(const CalcInputs& in, const QString& label) const override;
    bool selectionAdmissible(const CalcInputs& in) const override;
    void selectionValueApplied(const CalcInputs& in, const QString& input,
                               QMap<QString, long double>& values) const override;
    QStringList calcOrder(const CalcInputs& in) const override;

protected:
    // The resistivity text the calculation order writes.
    virtual QString resistivityText(const CalcInputs& in) const = 0;
};

} // namespace kz::edgeplate
