#pragma once

#include "core/session/FrameData.h"

#include <QHash>
#include <QMap>

// The frames' reference values read from the data module's tables. Kept, each table is read once:
// a batch run sees the tables as they stood when it first needed them. Live, every read goes to
// the tables: a window sees what the dictionaries changed.
namespace kz {

class DataModule;
class DataTable;

class StoredFrameData : public FrameData {
public:
    enum class Reading { Kept, Live };
    explicit StoredFrameData(DataModule& data, Reading reading = Reading::Kept);

    QStringList soilNames() const override;
    std::optional<SoilType> soil(const QString& name) const override;
    std::optional<std::array<double, 3>> resistivitySteps(double max) const override;
    QStringList sizes(int construction) const override;
    QStringList corrosionConstructions(double p, const QString& kind, int mode,
                                       QString* error) const override;
    QStringList corrosionSizes(double p, const QString& kind, int mode, const QString& construction,
                               QString* error) const override;
    QStringList choiceTexts(const GeometryInput& input) const override;
    std::optional<QList<ChoiceRow>> choiceRows(const RowChoice& choice, const RowTable& table) const override;
    const CoefficientTables* coefficients() const override;

private:
    void readSoils() const;
    // A live reading forgets what it read before.
    void fresh() const;

    DataModule& data_;
    Reading reading_;
    mutable bool soilsRead_ = false;
    mutable QStringList soilNames_;
    mutable QHash<QString, SoilType> soils_;
    mutable QHash<int, QStringList> sizes_;
    mutable QHash<QString, QStringList> corrosion_;
    mutable QHash<QString, QStringList> choices_;
    mutable QHash<QString, std::optional<QList<ChoiceRow>>> rows_;
};

// The texts of a table field a drop-down list offers, within the input's bounds, without repeats.
QStringList choiceTexts(const DataTable& table, const GeometryInput& input);
// One of the corrosion queries (SectionRules.h) for a resistivity, electrode kind and size-list
// mode, narrowed to a construction unless it is null: the values of column. error is set when the
// query cannot run (a table file missing).
QStringList corrosionQuery(const QStringList& lines, double p, const QString& kind, int mode,
                           const QString& construction, const QString& column, QString* error);

} // namespace kz
