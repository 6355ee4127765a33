#include "store/StoredFrameData.h"

#include "core/common/NumberText.h"
#include "core/common/Paths.h"
#include "core/rules/SectionRules.h"
#include "store/DataModule.h"
#include "store/DataTable.h"
#include "store/SqlQuery.h"
#include "store/TableProcedures.h"

using namespace Qt::StringLiterals;

namespace kz {

StoredFrameData::StoredFrameData(DataModule& data, Reading reading) : data_(data), reading_(reading) {}

void StoredFrameData::fresh() const {
    if (reading_ == Reading::Kept)
        return;
    soilsRead_ = false;
    soilNames_.clear();
    soils_.clear();
    sizes_.clear();
    corrosion_.clear();
    choices_.clear();
    rows_.clear();
}

void StoredFrameData::readSoils() const {
    if (soilsRead_)
        return;
    soilsRead_ = true;
    const DataTable* table = data_.table(u"P_udel.DB"_s);
    if (!table || !table->isOpen())
        return;
    const TableDef& def = table->def();
    const int name = def.fieldIndex(u"Grunt"_s);
    const int min = def.fieldIndex(u"PMin"_s);
    const int max = def.fieldIndex(u"PMax"_s);
    const int preset = def.fieldIndex(u"PDefault"_s);
    if (name < 0 || min < 0 || max < 0 || preset < 0)
        return;
    for (int row = 0; row < table->recordCount(); ++row) {
        const QString soil = table->valueAt(row, name).toString();
        if (soilNames_.contains(soil))
            continue;
        soilNames_ << soil;
        soils_.insert(soil,
                      SoilType{table->valueAt(row, min).toDouble(), table->valueAt(row, max).toDouble(),
                               DataTable::displayText(def.fields[preset], table->valueAt(row, preset)),
                               DataTable::displayText(def.fields[min], table->valueAt(row, min)),
                               DataTable::displayText(def.fields[max], table->valueAt(row, max))});
    }
}

QStringList StoredFrameData::soilNames() const {
    fresh();
    readSoils();
    return soilNames_;
}

std::optional<SoilType> StoredFrameData::soil(const QString& name) const {
    fresh();
    readSoils();
    if (const auto it = soils_.constFind(name); it != soils_.cend())
        return *it;
    return std::nullopt;
}

std::optional<std::array<double, 3>> StoredFrameData::resistivitySteps(double max) const {
    const DataTable* table = data_.table(u"ro_inc.db"_s);
    if (!table || !table->isOpen())
        return std::nullopt;
    const TableDef& def = table->def();
    const int low = def.fieldIndex(u"MinValue"_s);
    const int high = def.fieldIndex(u"MaxValue"_s);
    const int steps[3] = {def.fieldIndex(u"Inc1"_s), def.fieldIndex(u"Inc2"_s), def.fieldIndex(u"Inc3"_s)};
    if (low < 0 || high < 0 || steps[0] < 0 || steps[1] < 0 || steps[2] < 0)
        return std::nullopt;
    // The steps follow the soil's upper bound, not the value typed.
    for (int row = 0; row < table->recordCount(); ++row)
        if (table->valueAt(row, low).toDouble() < max && max <= table->valueAt(row, high).toDouble())
            return std::array<double, 3>{table->valueAt(row, steps[0]).toDouble(),
                                         table->valueAt(row, steps[1]).toDouble(),
                                         table->valueAt(row, steps[2]).toDouble()};
    return std::nullopt;
}

QStringList StoredFrameData::sizes(int construction) const {
    fresh();
    if (const auto it = sizes_.constFind(construction); it != sizes_.cend())
        return *it;
    QStringList list;
    if (DataTable* table = data_.table(steelTableFile(construction)))
        FillSizeList(list, *table, construction);
    sizes_.insert(construction, list);
    return list;
}

QStringList StoredFrameData::corrosionConstructions(double p, const QString& kind, int mode,
                                                    QString* error) const {
    return corrosionSizes(p, kind, mode, QString(), error);
}

QStringList StoredFrameData::corrosionSizes(double p, const QString& kind, int mode,
                                            const QString& construction, QString* error) const {
    fresh();
    const QString key = QString::number(p, 'g', 17) + u'|' + kind + u'|' + QString::number(mode) + u'|' +
                        (construction.isNull() ? u"\x01"_s : construction);
    if (const auto it = corrosion_.constFind(key); it != corrosion_.cend())
        return *it;
    const QStringList values =
        construction.isNull()
            ? corrosionQuery(constructQueryLines(), p, kind, mode, QString(), u"Construct"_s, error)
            : corrosionQuery(sizeQueryLines(), p, kind, mode, construction, u"Razmer"_s, error);
    if (error->isEmpty())
        corrosion_.insert(key, values);
    return values;
}

QStringList StoredFrameData::choiceTexts(const GeometryInput& input) const {
    if (!input.isChoice())
        return {};
    fresh();
    // Kept by what the list is made of: calculators name different lists alike (cmbDiam).
    const auto bound = [](const std::optional<double>& b) {
        return b ? QString::number(*b, 'g', 17) : QString();
    };
    const QString key = input.choice->table + u'|' + input.choice->field + u'|' + bound(input.choice->minimum) +
                        u'|' + bound(input.choice->maximum);
    if (const auto it = choices_.constFind(key); it != choices_.cend())
        return *it;
    const DataTable* table = data_.table(input.choice->table);
    const QStringList texts = table ? kz::choiceTexts(*table, input) : QStringList();
    choices_.insert(key, texts);
    return texts;
}

std::optional<QList<ChoiceRow>> StoredFrameData::choiceRows(const RowChoice& choice,
                                                            const RowTable& t) const {
    fresh();
    // Kept by the table and the fields read from it: two choices may read one table differently.
    QString key = t.table + u'|' + choice.keyField + u'|' + choice.codeField;
    for (const auto& [name, field] : t.values)
        key += u'|' + name + u'=' + field;
    if (const auto it = rows_.constFind(key); it != rows_.cend())
        return *it;
    const DataTable* table = data_.table(t.table);
    std::optional<QList<ChoiceRow>> rows;
    if (table && table->isOpen()) {
        rows.emplace();
        const TableDef& def = table->def();
        const int key = def.fieldIndex(choice.keyField);
        const int code = def.fieldIndex(choice.codeField);
        for (int row = 0; row < table->recordCount(); ++row) {
            ChoiceRow r;
            r.key = table->valueAt(row, key).toString();
            if (const QVariant c = table->valueAt(row, code); !c.isNull())
                r.code = QString::number(c.toInt());
            for (const auto& [name, field] : t.values) {
                const QVariant v = table->valueAt(row, def.fieldIndex(field));
                r.values.insert(name, v.isNull() ? QString() : formatGeneral(v.toDouble()));
            }
            rows->append(r);
        }
    }
    rows_.insert(key, rows);
    return rows;
}

const CoefficientTables* StoredFrameData::coefficients() const {
    return &data_.coefficients();
}

QStringList choiceTexts(const DataTable& table, const GeometryInput& g) {
    QStringList texts;
    if (!table.isOpen())
        return texts;
    const int field = table.def().fieldIndex(g.choice->field);
    if (field < 0)
        return texts;
    for (int row = 0; row < table.recordCount(); ++row) {
        const QVariant value = table.valueAt(row, field);
        // Bounds compare numbers, with the tolerance of a stored decimal.
        if (g.choice->minimum && !(value.toDouble() >= *g.choice->minimum - 1e-9))
            continue;
        if (g.choice->maximum && !(value.toDouble() <= *g.choice->maximum + 1e-9))
            continue;
        const QString text = DataTable::displayText(table.def().fields[field], value);
        if (!text.isEmpty() && !texts.contains(text))
            texts << text;
    }
    return texts;
}

QStringList corrosionQuery(const QStringList& lines, double p, const QString& kind, int mode,
                           const QString& construction, const QString& column, QString* error) {
    SqlQuery q(dataDir());
    q.setText(lines);
    q.bindValue(u"P"_s, p);
    q.bindValue(u"Vid"_s, kind);
    q.bindValue(u"Status"_s, corrosionStatus(mode));
    if (!construction.isNull())
        q.bindValue(u"Construct"_s, construction);
    QStringList values;
    if (!q.open()) {
        *error = q.lastError();
        return values;
    }
    for (q.first(); !q.eof(); q.next())
        values << q.value(column).toString();
    q.close();
    return values;
}

} // namespace kz
