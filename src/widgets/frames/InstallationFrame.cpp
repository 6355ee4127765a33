#include "widgets/frames/InstallationFrame.h"

#include "core/model/CalcOrder.h"

#include "core/rules/PermissibleResistance.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/frames/PermissibleResistanceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// Hints whose short and long forms are the same text.
QString both(const QString& hint) {
    return hint + u'|' + hint;
}
} // namespace

InstallationFrame::InstallationFrame(QWidget* parent)
    : QGroupBox(u" Характеристика электроустановки "_s, parent) {
    setObjectName(QStringLiteral("frmEU1"));
    setHint(this, u"Панель характеристики электроустановки"_s);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);

    const InstallationValues opening = openingInstallation();
    grid->addWidget(makeLabel(this, u"Тип:"_s), 0, 0);
    editTip_ = makeDisplayField(this, QStringLiteral("EditTip"));
    editTip_->setText(opening.type);
    setHint(editTip_, both(u"Тип электроустановки"_s));
    editTip_->setMinimumWidth(420);
    grid->addWidget(editTip_, 0, 1, 1, 7);

    auto* rmaxRow = new QHBoxLayout;
    rmaxRow->setSpacing(2);
    rmaxRow->addWidget(makeLabel(this, u"Rдоп., Ом:"_s));
    editRmax_ = makeEdit(this, QStringLiteral("EditRmax"), opening.permissible,
                         both(u"Допустимое значение сопротивления растеканию"_s));
    editRmax_->setFixedWidth(70);
    rmaxRow->addWidget(editRmax_);
    btnR1_ = new SpinButton(editRmax_, 1, this);
    btnR1_->setObjectName(QStringLiteral("btnR1"));
    btnR01_ = new SpinButton(editRmax_, 0.1, this);
    btnR01_->setObjectName(QStringLiteral("btnR01"));
    for (SpinButton* b : {btnR1_, btnR01_}) {
        b->useDefaultSteps();
        rmaxRow->addWidget(b);
    }
    grid->addLayout(rmaxRow, 0, 8, 1, 2);

    const auto field = [this, grid](int column, const char* label, const char* name, const QString& text,
                                    const char* hint) {
        grid->addWidget(makeLabel(this, QString::fromUtf8(label)), 1, column);
        QLineEdit* e = makeDisplayField(this, QLatin1String(name), true);
        e->setText(text);
        e->setFixedWidth(60);
        setHint(e, QString::fromUtf8(hint));
        grid->addWidget(e, 1, column + 1);
        return e;
    };
    editIzo_ = field(0, "Iзо, А:", "EditIzo", opening.current, "Расчетный ток замыкания на землю Iзо, А");
    editUlin_ =
        field(2, "Uлин., В:", "EditUlin", opening.voltage, "Линейное напряжение источника тока Uлин., В");
    editS_ = field(4, "S, кВА:", "EditS", opening.power,
                   "Суммарная мощность генераторов (трансформаторов) S, кВА");
    editP_ = field(6, "р, Ом м:", "EditP", opening.resistivity, "Удельное сопротивление грунта p, Ом м");

    chkInclude_ = new QCheckBox(u"Включить в отчет"_s, this);
    chkInclude_->setObjectName(QStringLiteral("chkInclude"));
    chkInclude_->setChecked(opening.include);
    grid->addWidget(chkInclude_, 1, 8);
    button4_ = new QPushButton(u"Изменить..."_s, this);
    button4_->setObjectName(QStringLiteral("Button4"));
    setHint(button4_, both(u"Изменить тип (параметры) электроустановки"_s));
    grid->addWidget(button4_, 1, 9);
    grid->setColumnStretch(7, 1);

    // Rдоп is kept as typed and compared with every result: it must be a number a double holds, as
    // the batch requires of it.
    makeNumericInput(editRmax_, true, false);
    onUserLeave(editRmax_, [this] { CheckKeptNumberOnExit(editRmax_); });
    connect(editRmax_, &QLineEdit::textChanged, this, &InstallationFrame::rmaxChanged);
    connect(button4_, &QPushButton::clicked, this, &InstallationFrame::choosePermissibleResistance);
}

void InstallationFrame::choosePermissibleResistance() {
    if (!dialog_)
        dialog_ = new PermissibleResistanceDialog(window());
    PermissibleResistanceDialog& d = *dialog_;
    d.loadInstallation(editTip_->text(), editIzo_->text(), editUlin_->text(), editS_->text(), editP_->text());
    d.activate();
    if (dialogs().execModal(&d) != QDialog::Accepted)
        return;
    editTip_->setText(d.typeText());
    editRmax_->setText(d.derivedResistance());
    editIzo_->setText(d.usedCurrent());
    editUlin_->setText(d.usedVoltage());
    editS_->setText(d.usedPower());
    editP_->setText(d.resistivity());
    emit installationChanged();
}

} // namespace kz
