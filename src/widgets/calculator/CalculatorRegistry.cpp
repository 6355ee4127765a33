#include "widgets/calculator/CalculatorRegistry.h"

#include "core/calculators/CalculatorList.h"
#include "core/model/Calculator.h"

using namespace Qt::StringLiterals;

namespace kz {

namespace {
QString submenuCaption(MenuGroup group) {
    switch (group) {
    case MenuGroup::SingleElectrodes:
        return u"Одиночные заземлители"_s;
    case MenuGroup::ComplexDevices:
        return u"Сложные заземляющие устройства"_s;
    case MenuGroup::BuildingStructures:
        return u"Заземляющие свойства строительных конструкций"_s;
    }
    return {};
}
} // namespace

CalculatorRegistry& CalculatorRegistry::instance() {
    static CalculatorRegistry registry;
    return registry;
}

CalculatorRegistry::CalculatorRegistry() {
    for (const Calculator* c : builtCalculators()) {
        const CalculatorDescriptor& d = c->description();
        items_.append({d.className,
                       d.caption,
                       d.menuCaption,
                       {u"Расчеты"_s, submenuCaption(d.menuGroup)},
                       d.helpContext,
                       d.kindCode,
                       {}});
    }
}

const CalculatorInfo* CalculatorRegistry::find(const QString& className) const {
    for (const auto& i : items_)
        if (i.className == className)
            return &i;
    return nullptr;
}

void CalculatorRegistry::setFactory(const QString& className, CalculatorFactory factory) {
    for (auto& i : items_)
        if (i.className == className)
            i.factory = std::move(factory);
}

} // namespace kz
