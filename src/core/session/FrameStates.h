#pragma once

#include "core/rules/SectionRules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// What the soil and construction frames hold and how it changes, over the reference values of
// FrameData: the window's frames show these states and the calculator session keeps them, so that
// a rule of a frame is written once.
namespace kz {

class FrameData;

// The soil frame: the soil (or water) type with its range, the measured resistivity p0, the
// seasonal coefficient Kп and the calculated resistivity p = p0·Kп the formulas use.
struct SoilState {
    QString name;
    double min = 0;
    double max = 0;
    QString rangeText; // "(40 - 60)", empty for a soil the tables lack
    QString measured = QStringLiteral("0");
    QString coefficient = QStringLiteral("1");
    QString calculated;
    // The steps of p0's buttons, after the soil's upper bound; a soil no steps row covers keeps the
    // last ones (none at first).
    std::array<double, 3> steps = {0, 0, 0};

    // A soil type chosen: its range, its default p0 and its steps; a soil the tables lack has no
    // range, and p0 0.
    void chooseType(const QString& type, const FrameData& data);
    // p = p0·Kп; left as it stands while either is no positive number.
    void updateCalculated();
    // What a user does in a frame with no calculator behind it: a soil type chosen (ComboGrunt), p0
    // (EditRo0) or Kп (EditPKV) typed; p follows.
    void edit(const QString& field, const QString& text, const FrameData& data);
};

// The soil a frame shows over the soils listed now: the one it had while that is still listed,
// otherwise the default soil, none when that is not listed either.
QString listedSoil(const QString& had, const QStringList& names);

// The construction frame: the size-list mode, the constructions and sizes it offers, the ones
// chosen and the diameters shown (the size itself, and the equivalent one for angle and strip).
struct SectionState {
    int mode = AllSizes;
    QStringList constructions;
    QStringList sizes;
    QString construction;
    QString size;
    QString shownSize;  // EditDiam0
    QString equivalent; // EditDiam

    // The constructions offered in the mode, the first one chosen. Outside the all-sizes mode they
    // depend on the soil's calculated resistivity (its text) and the electrode's kind; a
    // resistivity that is not a number, or a table that cannot be read, is said in said and leaves
    // the lists as they were (false).
    // Without a soil frame (no resistivity) the lists stay as they were, and nothing is said.
    bool refresh(const FrameData& data, const std::optional<QString>& resistivity, const QString& kind,
                 QStringList* said);
    // A construction chosen: its sizes, the first one chosen.
    bool chooseConstruction(const FrameData& data, const std::optional<QString>& resistivity,
                            const QString& kind, QStringList* said);
    // A size chosen: the diameters shown.
    void chooseSize();
    // The diameter the formulas use: the equivalent one for angle and strip steel.
    QString diameterText() const;
};

// The resistivity a corrosion query runs with, or what is said when the text is no number.
std::optional<double> queryResistivity(const std::optional<QString>& text, QStringList* said);

} // namespace kz
