#include "widgets/reference/FieldEdit.h"

#include "widgets/reference/TableGrid.h"
#include "store/DataTable.h"
#include "core/common/NumberText.h"

namespace kz {

FieldEdit::FieldEdit(DataTable& table, const QString& field, QWidget* parent)
    : QLineEdit(parent), table_(table), field_(field) {
    setObjectName(field);
    reportThroughDialogs(table_);
    connect(&table_, &DataTable::currentChanged, this, &FieldEdit::showValue);
    connect(&table_, &DataTable::stateChanged, this, &FieldEdit::showValue);
    connect(&table_, &DataTable::rowsChanged, this, &FieldEdit::showValue);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!table_.isEditing() && !table_.edit()) {
            showValue();
            return;
        }
        // Half-typed numbers ("-") wait for the leave, where a wrong one is reported.
        if (acceptable(text))
            table_.setText(field_, text);
    });
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (table_.isEditing() && isModified() && !acceptable(text()))
            table_.setText(field_, text());
    });
    showValue();
}

bool FieldEdit::acceptable(const QString& text) const {
    const FieldDef* f = table_.def().field(field_);
    if (!f || f->type == FieldType::String || text.isEmpty())
        return true;
    const auto v = parseNumber(text);
    if (!v)
        return false;
    return f->type == FieldType::Float || *v == static_cast<long double>(static_cast<long long>(*v));
}

void FieldEdit::showValue() {
    const QString shown =
        table_.isOpen() && (!table_.isEmpty() || table_.isEditing()) ? table_.text(field_) : QString();
    // The user's half-typed text stays while the row is being edited.
    if (table_.isEditing() && hasFocus() && isModified())
        return;
    if (text() != shown)
        setText(shown);
    setModified(false);
}

} // namespace kz
