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

// R = (ln(4a/b) + a/(2To)) · p/(2πa), to two decimals.
long double resistance(long double p, long double width, long double length, long double depth);
// "R = p / (2*3,14*a) * [Ln(4*a/b) + a/ (2*To)] = R Ом" from the texts on screen.
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
