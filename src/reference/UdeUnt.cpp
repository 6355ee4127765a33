#include "UdeUnt.h"

#include "TableGrid.h"

namespace kz {

TUdeForm::TUdeForm(DataTable& soils, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TUdeForm"), QString::fromUtf8("Грунты."), 7, QDialog::Accepted,
                      parent) {
    addHeading(QString::fromUtf8("Удельное электрическое сопротивление грунтов, Ом м."));
    grid_ = addGrid(
        &soils,
        {QStringLiteral("Grunt"), QStringLiteral("PMin"), QStringLiteral("PMax"), QStringLiteral("PDefault")},
        QStringLiteral("DBGrid1"), QStringLiteral("DBNavigator1"), &navigator_);
    grid_->setTitle(QStringLiteral("PMin"), QString::fromUtf8("Минимум"));
    grid_->setTitle(QStringLiteral("PMax"), QString::fromUtf8("Максимум"));
    grid_->setTitle(QStringLiteral("PDefault"), QString::fromUtf8("Принятое"));
    grid_->setColumnChars(QStringLiteral("Grunt"), 30);
    navigator_->setNameField(QStringLiteral("Grunt"));
    addNote({QString::fromUtf8("Минимум - минимальное удельное сопротивление грунта, Ом м."),
             QString::fromUtf8("Максимум - максимальное удельное сопротивление грунта, Ом м."),
             QString::fromUtf8("Принятое - удельное сопротивление грунта, принятое по умолчанию, Ом м.")});
    resize(560, 480);
}

} // namespace kz
