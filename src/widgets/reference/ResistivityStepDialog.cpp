#include "widgets/reference/ResistivityStepDialog.h"

#include "widgets/reference/TableGrid.h"

using namespace Qt::StringLiterals;

namespace kz {

ResistivityStepDialog::ResistivityStepDialog(DataTable& steps, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TRoIncFrm"),
                      u"Настройка шагов изменения удельного сопротивления грунта."_s, 57, QDialog::Accepted,
                      parent) {
    grid_ = addGrid(&steps,
                    {QStringLiteral("MinValue"), QStringLiteral("MaxValue"), QStringLiteral("Inc1"),
                     QStringLiteral("Inc2"), QStringLiteral("Inc3")},
                    QStringLiteral("DBGrid1"), QStringLiteral("DBNavigator1"), &navigator_);
    grid_->setTitle(QStringLiteral("MinValue"), u"Минимум"_s);
    grid_->setTitle(QStringLiteral("MaxValue"), u"Максимум"_s);
    grid_->setTitle(QStringLiteral("Inc1"), u"Шаг 1"_s);
    grid_->setTitle(QStringLiteral("Inc2"), u"Шаг 2"_s);
    grid_->setTitle(QStringLiteral("Inc3"), u"Шаг 3"_s);
    addNote({u"Минимум - нижний предел максимального удельного сопротивления грунта, Ом м."_s,
             u"Максимум - верхний предел максимального удельного сопротивления грунта, Ом м."_s,
             u"Шаг 1 - максимальный шаг изменения удельного сопротивления грунта, Ом м."_s,
             u"Шаг 2 - средний шаг изменения удельного сопротивления грунта, Ом м."_s,
             u"Шаг 3 - минимальный шаг изменения удельного сопротивления грунта, Ом м."_s});
    resize(560, 480);
}

} // namespace kz
