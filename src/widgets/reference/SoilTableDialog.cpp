#include "widgets/reference/SoilTableDialog.h"

#include "widgets/reference/TableGrid.h"

using namespace Qt::StringLiterals;

namespace kz {

SoilTableDialog::SoilTableDialog(DataTable& soils, QWidget* parent)
    : ReferenceDialog(QStringLiteral("TUdeForm"), u"Грунты."_s, 7, QDialog::Accepted,
                      parent) {
    addHeading(u"Удельное электрическое сопротивление грунтов, Ом м."_s);
    grid_ = addGrid(
        &soils,
        {QStringLiteral("Grunt"), QStringLiteral("PMin"), QStringLiteral("PMax"), QStringLiteral("PDefault")},
        QStringLiteral("DBGrid1"), QStringLiteral("DBNavigator1"), &navigator_);
    grid_->setTitle(QStringLiteral("PMin"), u"Минимум"_s);
    grid_->setTitle(QStringLiteral("PMax"), u"Максимум"_s);
    grid_->setTitle(QStringLiteral("PDefault"), u"Принятое"_s);
    grid_->setColumnChars(QStringLiteral("Grunt"), 30);
    navigator_->setNameField(QStringLiteral("Grunt"));
    addNote({u"Минимум - минимальное удельное сопротивление грунта, Ом м."_s,
             u"Максимум - максимальное удельное сопротивление грунта, Ом м."_s,
             u"Принятое - удельное сопротивление грунта, принятое по умолчанию, Ом м."_s});
    resize(560, 480);
}

} // namespace kz
