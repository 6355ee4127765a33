#pragma once

#include <QString>
#include <QStringList>

// Steel constructions of electrodes: their names, size texts, the diameter the resistance
// formulas use, the texts that go with each, and the corrosion queries that narrow the choice.
namespace kz {

enum Construction { NoConstruction = -1, RoundSteel = 0, TubularSteel, AngleSteel, SquareSteel, StripSteel };

// Size-list modes; this is what history and the copy buffer keep as the size set mode.
enum SizeSetMode { AllSizes = 0, RecommendedSizes = 1, PermittedSizes = 2 };

// "сталь круглая", "сталь трубчатая", "сталь угловая", "сталь квадратная", "сталь полосовая".
const QStringList& constructionNames();
// NoConstruction for an empty or unknown text.
int constructionOf(const QString& text);
// Angle and strip: the size is a width, the formulas use an equivalent diameter.
bool usesEquivalentDiameter(int construction);
// The steel table a construction's sizes come from, and how a row of it is written.
QString steelTableFile(int construction);
QString roundSizeText(const QString& diamText);
QString angleSizeText(const QString& shirText, const QString& tolText); // BxBxt
QString stripSizeText(const QString& shirText, const QString& tolText); // Bxt

// Label beside the chosen size: "D - диаметр, м:", "B - ширина полки, м:", "B - ширина полосы, м:".
QString sizeLabel(int construction, const QString& letterD, const QString& letterB);
// Label of the equivalent diameter (angle and strip only).
QString equivalentDiameterLabel(const QString& letterD);
// Hint of the size list for a construction; empty when there is none to set.
QString sizeListHint(int construction);

struct SectionDiameters {
    QString size;       // the size itself, or the width B for angle and strip
    QString equivalent; // 0,5*B for strip, 0,95*B for angle, rounded to 0,001; empty otherwise
};
// From a size text: for angle and strip B is the number before the first "x". A size that is
// empty or has no number before the "x" gives empty texts.
SectionDiameters sectionDiameters(int construction, const QString& sizeText);

// Status word of the corrosion tables for a mode: "рекомендуется" or "допускается".
QString corrosionStatus(int mode);

// The corrosion queries: constructions (parameters P twice, Vid, Status) and sizes of one
// construction (also Construct), ordered by the size text.
QStringList constructQueryLines();
QStringList sizeQueryLines();

} // namespace kz
