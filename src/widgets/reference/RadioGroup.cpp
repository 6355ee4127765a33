#include "widgets/reference/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace kz {

RadioGroup::RadioGroup(const QString& objectName, const QString& title, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)) {
    setObjectName(objectName);
    auto* grid = new QGridLayout(this);
    const int perColumn = (int(items.size()) + columns - 1) / std::max(columns, 1);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName + QString::number(i));
        group_->addButton(b, i);
        grid->addWidget(b, i % std::max(perColumn, 1), i / std::max(perColumn, 1));
    }
    if (!items.isEmpty())
        group_->button(0)->setChecked(true);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            emit itemIndexChanged(id);
    });
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (QAbstractButton* b = group_->button(index))
        b->setChecked(true);
}

void RadioGroup::setItemText(int index, const QString& text) {
    if (QAbstractButton* b = group_->button(index))
        b->setText(text);
}

QString RadioGroup::itemText() const {
    const QAbstractButton* b = group_->checkedButton();
    return b ? b->text() : QString();
}

bool RadioGroup::chooseItem(const QString& textOrIndex) {
    for (QAbstractButton* b : group_->buttons())
        if (b->text() == textOrIndex) {
            b->setChecked(true);
            return true;
        }
    bool ok = false;
    const int index = textOrIndex.toInt(&ok);
    if (!ok || !group_->button(index))
        return false;
    group_->button(index)->setChecked(true);
    return true;
}

int RadioGroup::count() const {
    return int(group_->buttons().size());
}

QRadioButton* RadioGroup::item(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}

} // namespace kz
