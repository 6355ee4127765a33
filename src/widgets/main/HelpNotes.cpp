#include "widgets/main/HelpNotes.h"

#include "widgets/calculator/CalculatorRegistry.h"

using namespace Qt::StringLiterals;

namespace kz {

QString calculatorHelpNote(int context) {
    for (const CalculatorInfo& info : CalculatorRegistry::instance().all())
        if (info.helpContext == context && !info.factory)
            return u"<b>Этот расчет в данной версии программы еще не выполняется</b>: пункт меню "
                   u"«%1» недоступен. Страница описывает заземлитель и исходные данные расчета, "
                   u"который появится в следующих версиях."_s.arg(info.menuCaption.toHtmlEscaped());
    return QString();
}

} // namespace kz
