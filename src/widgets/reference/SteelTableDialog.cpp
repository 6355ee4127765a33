#include "widgets/reference/SteelTableDialog.h"

#include "widgets/reference/RadioGroup.h"
#include "core/rules/SteelRules.h"
#include "widgets/reference/TableGrid.h"
#include "store/DataModule.h"

using namespace Qt::StringLiterals;

namespace kz {

SteelTableDialog::SteelTableDialog(DataModule& data, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TStalForm"), u"Материалы заземлителей."_s, 8,
                      QDialog::Accepted, parent),
      data_(data) {
    material_ = new RadioGroup(QStringLiteral("rgMaterial"), u" Материал "_s,
                               steelMaterialItems(), 2, this);
    addWidget(material_);
    grid_ = addGrid(data_.table(steelMaterialTable(0)), {}, QStringLiteral("DBGrid1"),
                    QStringLiteral("DBNavigator1"), &navigator_);
    connect(material_, &RadioGroup::itemIndexChanged, this, &SteelTableDialog::bindMaterial);
    resize(620, 520);
}

void SteelTableDialog::bindMaterial() {
    DataTable* table = data_.table(steelMaterialTable(material_->itemIndex()));
    navigator_->setTable(table);
    grid_->setTable(table);
    grid_->setAllEditable();
}

void SteelTableDialog::LocateSteelRow(const QString& construction, const QString& sizeText) {
    const SteelLocation loc = steelLocation(construction, sizeText);
    if (loc.item < 0)
        return;
    material_->setItemIndex(loc.item);
    bindMaterial();
    DataTable* table = data_.table(steelMaterialTable(loc.item));
    if (!table || !table->isOpen() || loc.values.isEmpty())
        return;
    const int fieldA = table->def().fieldIndex(loc.fields.value(0));
    const int fieldB = table->def().fieldIndex(loc.fields.value(1));
    for (int row = 0; row < table->recordCount(); ++row) {
        if (table->valueAt(row, fieldA).toDouble() != loc.values[0])
            continue;
        if (loc.values.size() > 1 && table->valueAt(row, fieldB).toDouble() != loc.values[1])
            continue;
        table->moveTo(row);
        return;
    }
}

} // namespace kz
