#pragma once

#include "core/model/Calculator.h"
#include "core/model/ReportModel.h"

#include <QString>
#include <functional>
#include <optional>

// The horizontal electrode (a strip, rod or any rolled profile laid flat) buried at depth T in
// uniform soil. Its length and depth bound each other (L > 4T). The pieces the surface strip
// shares with it live here too.
namespace kz::buriedstrip {

const Calculator& calculator();
const CalculatorDescriptor& descriptor();

struct Resistance {
    long double p = 0; // p0·Kп rounded to five decimals
    long double r = 0; // rounded to two decimals
};

// R = p / (2·π·L) · ln(L² / (T·D)); the radial and parallel arrays use it too.
Resistance ComputeResistance(long double p0, long double kp, long double l, long double t, long double d);

// The geometric conditions after the input checks: D < L, then L > 4T (L = 4T fails).
std::optional<QString> geometryError(long double d, long double l, long double t);
QString diameterMessage();
QString depthMessage();

// The range labels: L above 4T, T below L/4, to five decimals. Empty without a number above 0 in
// the input they follow.
QString lengthRangeText(std::optional<long double> t, const QString& letter = QStringLiteral("L"));
QString depthRangeText(std::optional<long double> l);

// The linked length (EditDlina) and depth (EditGlub) of a strip: what linking moves after the
// user changed one of them, and the texts of their range labels lblRangeL and lblRangeT (nullopt
// for another label). The radial electrode shares them, with its length called l.
QMap<QString, QString> linkLengthAndDepth(const CalcInputs& in, const QString& changed);
std::optional<QString> lengthAndDepthRange(const CalcInputs& in, const QString& label,
                                           const QString& letter = QStringLiteral("L"));

// Linking, after the user changed L (or T) so that 4T >= L: the depth L/4 − 0,1, or the length
// 4T + 0,1, to five decimals; nullopt when nothing moves (the rule holds, or the depth would not
// stay above 0).
std::optional<long double> linkedDepth(long double l, long double t);
std::optional<long double> linkedLength(long double l, long double t);
// The same move of the depth in a single-parameter run over L, to hundredths.
std::optional<long double> selectionLinkedDepth(long double l, long double t);

// Whether a selection run may compute the combination: L > D and L > 4T.
bool selectionAdmissible(long double l, long double t, long double d);

// "Длина стержня, м" from start to end by 1, lower limit 0,5.
SelectionParameter lengthSelection(const QString& start, const QString& end);

QString calcOrderLine(const QString& roText, const QString& lText, const QString& tText, long double d,
                      const QString& rText);

// The report of either strip: title, picture, installation, soil, length, section, the depth when
// there is one, the formula block the caller writes, the verdict.
struct ReportShape {
    QString caption;
    QString picture;
    bool depthLine = true;
    bool progressAfterTitle = false; // the surface strip's gauge counts one step more
    std::function<void(ReportBuilder&, const ReportSource&, long double d)> formula;
};
void writeReport(ReportBuilder& w, const ReportSource& s, const ReportShape& shape);
void report(ReportBuilder& w, const ReportSource& s);

} // namespace kz::buriedstrip
