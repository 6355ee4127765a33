#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>

// What the rods and the strip in two-layer earth share beyond the soil: the upper layer's
// thickness H, the length and thickness offered to selection, the split of a rod between the
// layers with its equivalent resistivity, and the calculators whose coefficient A comes from a
// table (R = A·p2), which say nothing when the table holds no coefficient.
namespace kz::twolayerrods {

inline const QString thicknessName = QStringLiteral("EditH");
inline const QString ratioName = QStringLiteral("EditP1_P2");
inline const QString coefficientName = QStringLiteral("EditA");
inline const QString upperPartName = QStringLiteral("EditL1");
inline const QString lowerPartName = QStringLiteral("EditL2");
inline const QString equivalentName = QStringLiteral("EditPekv");

// H, default 3, steps 1, 0,1, 0,01 kept in history field A.
GeometryInput thicknessInput();
// The ratio p1/p2 (design text 1) and, for the table calculators, the coefficient A.
GeometryInput ratioValue();
GeometryInput coefficientValue();

// The six parameters every two-layer rod offers: both layers' soil, the length (5 … lengthEnd)
// and H (5 … 1).
QList<SelectionParameter> selections(const QString& lengthInput, const QString& lengthEnd);
QStringList selectionWriteBack(const QString& lengthInput);

// Lengths of a rod in the upper and lower layer.
struct Split {
    long double upper = 0; // L1
    long double lower = 0; // L2
};
// A rod whose top lies at To under the boundary at depth H.
Split splitInGround(long double h, long double to, long double l);
// A rod whose top is at the surface.
Split splitAtSurface(long double h, long double l);
// pэ = L / (L1/p1 + L2/p2), to two decimals.
long double equivalentResistivity(long double l, const Split& split, long double p1, long double p2);

// The rods of steel from the construction frame split between the layers: the checks up to the
// length (both soils, construction, size, diameter, length) and the loader's captions (both
// soils, construction, size, H, length).
QList<InputCheck> splitRodChecks(const QString& lengthInput);
QList<HistoryCaption> splitRodCaptions();
// L1, L2 and pэ shown while the user types; pэ only while both soils give a resistivity.
void showSplit(const CalcInputs& in, long double l, const Split& split, QMap<QString, QString>& shown);

// The calculated resistivities of both layers from their p0 and Kп (a run's values first).
struct Layers {
    long double p1 = 0;
    long double p2 = 0;
};
std::optional<Layers> layers(const CalcInputs& in);

// What a table calculator (R = A·p2) states of its own; the rest of its description is shared:
// the length 5 … lengthEnd, H 1 … 5, the ratio and A, the tab "Таблица коэффициентов A", the
// checks, the loader's captions and the selection.
struct TableCalculatorParts {
    QString className;
    QString caption;
    int helpContext = 0;
    QString menuCaption;
    QString pictureFile;
    QStringList conditionLines;
    QString table; // data module table of A
    QList<TableColumn> columns;
    QString thirdNote; // the tab's note on the table's own column
    int lengthEnd = 0;
    GeometryInput third; // the input after H: the diameter or the depth
    QString thirdSubject;
    QString thirdCaption;
    QList<GeometryInput> after; // inputs shown after A
    int kindCode = 0;
    QString presetName;
    int windowTop = 0;
    ReportWriter report;
};
CalculatorDescriptor tableCalculatorDescriptor(const TableCalculatorParts& parts);
// The length within 5 … lengthEnd, H within 1 … 5 and p1/p2 within 0,5 … 10, in that order;
// an empty failure when one of them is no number, nullopt when all pass.
std::optional<CheckFailure> checkLengthThicknessRatio(const CalcInputs& in, const QString& lengthInput,
                                                      int lengthEnd);

// R = A·p2 with A from a coefficient table.
class TableCoefficientCalculator : public Calculator {
public:
    using Calculator::Calculator;

    // The ratio follows both layers' resistivities while the user types.
    QMap<QString, QString> derive(const CalcInputs& in, const QString& changed) const override;
    std::optional<long double> compute(const CalcInputs& in, QMap<QString, QString>& shown) const override;
    // "R = A * p2 = R Ом" from the texts on screen.
    QStringList calcOrder(const CalcInputs& in) const override;

protected:
    // The table's coefficient for these inputs and the ratio; none when the table holds none.
    virtual std::optional<double> coefficient(const CalcInputs& in, double ratio) const = 0;
    // No coefficient: the result fields are emptied without a message.
    QString noResultMessage() const override { return {}; }
};

// ρ with its subscript ("1", "2", "э").
void writeRho(ReportBuilder& w, const QString& sub);
// The report's opening: title, picture, installation, the two-layer soil and the description
// "...представляет собой <device> длиной L = ..."; three gauge steps.
void writeOpening(ReportBuilder& w, const ReportSource& s, const CalculatorDescriptor& d,
                  const QString& title, const QString& device, const QString& lengthInput);
// The ratio and coefficient lines of the table calculators, the formula block R = A·p2 and the
// verdict; three gauge steps.
void writeTableClosing(ReportBuilder& w, const ReportSource& s);
// The construction paragraph and pэ of the rods split between the layers; returns the diameter
// the construction paragraph gave. Two gauge steps.
std::optional<long double> writeEquivalentResistivity(ReportBuilder& w, const ReportSource& s,
                                                      const QString& lengthInput);
// The verdict with "заземлитель" when the installation is included.
void writeVerdict(ReportBuilder& w, const ReportSource& s);

} // namespace kz::twolayerrods
