#pragma once

#include "core/model/CalculatorDescriptor.h"
#include "core/model/ReportModel.h"

#include <QList>
#include <QString>

// What every calculator over two-layer earth shares: the upper layer in the soil frame `pFrame`,
// the lower one in `pFrame1` (its fields reached as "pFrame1.EditRo0"), their checks, history
// captions, selection parameters and the report's soil paragraph.
namespace kz::twolayer {

// The lower frame's field by its plain name: "EditRo0" → "pFrame1.EditRo0".
QString lower(const QString& field);
bool isLowerField(const QString& name);

// The six checks: coefficient, soil type and p0 of the upper layer, then of the lower one.
QList<InputCheck> soilChecks();
// The loader's captions of both layers' soil fields.
QList<HistoryCaption> soilCaptions();
// Resistivity and coefficient of the upper layer, then of the lower one.
QList<SelectionParameter> soilSelections();

// The ratio p1/p2 of the calculated resistivities, rounded to hundredths.
long double resistivityRatio(long double p1, long double p2);

// "Грунт в месте расположения заземляющего устройства:" with both layers, the upper one with its
// thickness from the input named.
void writeSoilParagraph(ReportBuilder& w, const ReportSource& s, const QString& thicknessInput);
// The shared report opening with both layers in its soil paragraph.
ReportOpening reportOpening(const QString& title, const QString& picture, const QString& thicknessInput);

} // namespace kz::twolayer
