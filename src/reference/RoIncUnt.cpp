#include "RoIncUnt.h"

#include "TableGrid.h"

namespace kz {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}
} // namespace

TRoIncFrm::TRoIncFrm(DataTable& steps, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TRoIncFrm"),
                      u("Настройка шагов изменения удельного сопротивления грунта."), 57, QDialog::Accepted,
                      parent) {
    grid_ = addGrid(&steps,
                    {QStringLiteral("MinValue"), QStringLiteral("MaxValue"), QStringLiteral("Inc1"),
                     QStringLiteral("Inc2"), QStringLiteral("Inc3")},
                    QStringLiteral("DBGrid1"), QStringLiteral("DBNavigator1"), &navigator_);
    grid_->setTitle(QStringLiteral("MinValue"), u("Минимум"));
    grid_->setTitle(QStringLiteral("MaxValue"), u("Максимум"));
    grid_->setTitle(QStringLiteral("Inc1"), u("Шаг 1"));
    grid_->setTitle(QStringLiteral("Inc2"), u("Шаг 2"));
    grid_->setTitle(QStringLiteral("Inc3"), u("Шаг 3"));
    addNote({u("Минимум - нижний предел максимального удельного сопротивления грунта, Ом м."),
             u("Максимум - верхний предел максимального удельного сопротивления грунта, Ом м."),
             u("Шаг 1 - максимальный шаг изменения удельного сопротивления грунта, Ом м."),
             u("Шаг 2 - средний шаг изменения удельного сопротивления грунта, Ом м."),
             u("Шаг 3 - минимальный шаг изменения удельного сопротивления грунта, Ом м.")});
    resize(560, 480);
}

} // namespace kz
