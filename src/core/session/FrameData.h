#pragma once

#include "core/model/CalculatorDescriptor.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// What the soil and construction frames, choice lists and chosen rows of a calculator read from the
// reference tables, as plain values: the batch mode runs a calculator on them without any window.
namespace kz {

class CoefficientTables;

struct SoilType {
    double min = 0;
    double max = 0;
    QString defaultText; // the measured resistivity a newly chosen soil starts from
    QString minText;     // the bounds as the table writes them
    QString maxText;
};

// A row a grid's choice may take: its key, its code and its values by the names the calculator
// reads them under (numbers in the general format, empty when the field is empty).
struct ChoiceRow {
    QString key;
    QString code;
    QMap<QString, QString> values;
};

class FrameData {
public:
    virtual ~FrameData();
    // The soil types in the soil list's order.
    virtual QStringList soilNames() const = 0;
    virtual std::optional<SoilType> soil(const QString& name) const = 0;
    // The three steps of the measured resistivity's buttons for a soil whose range ends at max;
    // nullopt where no row of the steps table covers it.
    virtual std::optional<std::array<double, 3>> resistivitySteps(double max) const;
    // Every size of a construction, as the size list shows it.
    virtual QStringList sizes(int construction) const = 0;
    // The recommended or permitted constructions for a resistivity, and their sizes; error is
    // set when the corrosion tables cannot be read.
    virtual QStringList corrosionConstructions(double p, const QString& kind, int mode,
                                               QString* error) const = 0;
    virtual QStringList corrosionSizes(double p, const QString& kind, int mode, const QString& construction,
                                       QString* error) const = 0;
    // The texts a drop-down list of a table field offers (GeometryInput::choiceTable).
    virtual QStringList choiceTexts(const GeometryInput& input) const = 0;
    // The rows of a chosen-row table in table order; nullopt when the table cannot be read.
    virtual std::optional<QList<ChoiceRow>> choiceRows(const RowChoice& choice,
                                                       const RowTable& table) const = 0;
    virtual const CoefficientTables* coefficients() const = 0;
};

} // namespace kz
