#include "core/model/GeometryInputs.h"

using namespace Qt::StringLiterals;

namespace kz {

QList<double> metreSteps() {
    return {1, 0.1, 0.01};
}

GeometryInput metreInput(const QString& name, const QString& label, const QString& defaultText,
                         const QString& historyField, const QString& spinPrefix) {
    GeometryInput g;
    g.name = name;
    g.label = label;
    g.defaultText = defaultText;
    g.steps.sizes = metreSteps();
    g.steps.prefix = spinPrefix;
    g.historyField = historyField;
    return g;
}

GeometryInput electrodeLengthInput(const QString& name, const QString& label, const QString& spinPrefix) {
    return metreInput(name, label, u"5"_s, u"L"_s, spinPrefix);
}

GeometryInput electrodeDepthInput(const QString& name, const QString& label) {
    return metreInput(name, label, u"0,7"_s, u"T"_s, u"SpinButtonT"_s);
}

} // namespace kz
