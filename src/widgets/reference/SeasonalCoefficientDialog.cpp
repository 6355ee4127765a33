#include "widgets/reference/SeasonalCoefficientDialog.h"

#include "store/ClimateRegions.h"
#include "core/rules/CorrectionRules.h"
#include "widgets/reference/RadioGroup.h"
#include "store/DataTable.h"
#include "widgets/common/DialogService.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"
#include "store/TableProcedures.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

SeasonalCoefficientDialog::SeasonalCoefficientDialog(DataTable& raion, QWidget* parent) : QDialog(parent), raion_(raion) {
    setObjectName(QStringLiteral("TPoprForm"));
    setWindowTitle(u"Выбор коэффициента поправки к р."_s);
    setHelpContext(this, 10);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    rdgKrit_ = new RadioGroup(QStringLiteral("rdgKrit"), u" Выбор критерия "_s,
                              {u"климатический район:"_s, u"температура, град.:"_s}, 1, this);
    comboRaion_ = new QComboBox(this);
    comboRaion_->setObjectName(QStringLiteral("ComboRaion"));
    comboRaion_->addItems(
        {QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III"), QStringLiteral("IV")});
    spinTemp_ = new QSpinBox(this);
    spinTemp_->setObjectName(QStringLiteral("SpinTemp"));
    spinTemp_->setRange(-50, 50);
    spinTemp_->setSingleStep(1);
    spinTemp_->setValue(20);
    spinTemp_->setEnabled(false);
    // Digits only: a negative temperature is reached with the arrows.
    makeNumericInput(spinTemp_, true, false);
    {
        auto* grid = qobject_cast<QGridLayout*>(rdgKrit_->layout());
        grid->addWidget(comboRaion_, 0, 1);
        grid->addWidget(spinTemp_, 1, 1);
    }

    rdgVid_ = new RadioGroup(QStringLiteral("rdgVid"), u" Вид заземлителей "_s,
                             {u"вертикальные"_s, u"горизонтальные"_s}, 1, this);
    rdgVlaga_ = new RadioGroup(QStringLiteral("rdgVlaga"), u" Влажность земли во время измерений "_s,
                               {u"повышенная"_s, u"средняя"_s, u"малая"_s}, 1, this);
    rdgVlaga_->setItemIndex(1);
    rdgDlina_ = new RadioGroup(QStringLiteral("rdgDlina"), u" Длина электрода "_s,
                               electrodeLengthItems(ElectrodeKind::Vertical), 1, this);

    editPKV_ = makeEdit(this, QStringLiteral("EditPKV"), QStringLiteral("1"));
    makeNumericInput(editPKV_);
    const double steps[3] = {1, 0.1, 0.01};
    const char* stepNames[3] = {"SpinButton1", "SpinButton2", "SpinButton001"};
    auto* pkvRow = new QHBoxLayout;
    pkvRow->addWidget(makeLabel(this, u"Коэффициент поправки:"_s));
    pkvRow->addWidget(editPKV_);
    for (int i = 0; i < 3; ++i) {
        steps_[i] = new SpinButton(editPKV_, steps[i], this);
        steps_[i]->setObjectName(QLatin1String(stepNames[i]));
        steps_[i]->useDefaultSteps();
        pkvRow->addWidget(steps_[i]);
    }
    pkvRow->addStretch();

    button1_ = new QPushButton(u"ОК"_s, this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setDefault(true);
    button2_ = new QPushButton(u"Отмена"_s, this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button5_ = new QPushButton(u"Справка..."_s, this);
    button5_->setObjectName(QStringLiteral("Button5"));
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(button5_, &QPushButton::clicked, this, [] { showHelp(10); });

    auto* groups = new QHBoxLayout;
    groups->addWidget(rdgVid_);
    groups->addWidget(rdgVlaga_);
    groups->addWidget(rdgDlina_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1_);
    buttons->addWidget(button2_);
    buttons->addWidget(button5_);
    auto* main = new QVBoxLayout(this);
    main->addWidget(rdgKrit_);
    main->addLayout(groups);
    main->addLayout(pkvRow);
    main->addLayout(buttons);

    connect(rdgKrit_, &RadioGroup::itemIndexChanged, this, &SeasonalCoefficientDialog::criterionChanged);
    connect(rdgVid_, &RadioGroup::itemIndexChanged, this, &SeasonalCoefficientDialog::kindChanged);
    connect(rdgVlaga_, &RadioGroup::itemIndexChanged, this, &SeasonalCoefficientDialog::pickFromTable);
    connect(rdgDlina_, &RadioGroup::itemIndexChanged, this, &SeasonalCoefficientDialog::pickFromTable);
    connect(comboRaion_, &QComboBox::currentIndexChanged, this, &SeasonalCoefficientDialog::pickFromTable);
    connect(spinTemp_, &QSpinBox::valueChanged, this, [this] {
        if (!spinTemp_->cleanText().isEmpty())
            pickFromTemperature();
    });
}

void SeasonalCoefficientDialog::activate() {
    QStringList regions;
    FillRaionList(regions, raion_);
    {
        const QSignalBlocker block(comboRaion_);
        comboRaion_->clear();
        comboRaion_->addItems(regions);
        comboRaion_->setCurrentIndex(comboRaion_->findText(defaultClimateRegion()));
    }
    pickFromTable();
}

std::optional<QString> SeasonalCoefficientDialog::choose() {
    activate();
    if (dialogs().execModal(this) != QDialog::Accepted)
        return std::nullopt;
    return editPKV_->text();
}

void SeasonalCoefficientDialog::pickFromTable() {
    if (rdgKrit_->itemIndex() != 0)
        return;
    const QString field = seasonalFieldName(ElectrodeKind(rdgVid_->itemIndex()), rdgDlina_->itemIndex() == 1,
                                            SoilMoisture(rdgVlaga_->itemIndex()));
    const QString region = comboRaion_->currentIndex() >= 0 ? comboRaion_->currentText() : QString();
    editPKV_->setText(seasonalCoefficientText(raion_, region, field));
}

void SeasonalCoefficientDialog::pickFromTemperature() {
    editPKV_->setText(temperatureCoefficientText(spinTemp_->value()));
}

void SeasonalCoefficientDialog::criterionChanged() {
    const bool byRegion = rdgKrit_->itemIndex() == 0;
    comboRaion_->setEnabled(byRegion);
    rdgVid_->setEnabled(byRegion);
    rdgVlaga_->setEnabled(byRegion);
    rdgDlina_->setEnabled(byRegion);
    spinTemp_->setEnabled(!byRegion);
    if (byRegion)
        pickFromTable();
    else
        pickFromTemperature();
}

void SeasonalCoefficientDialog::kindChanged() {
    const QStringList lengths = electrodeLengthItems(ElectrodeKind(rdgVid_->itemIndex()));
    for (int i = 0; i < lengths.size(); ++i)
        rdgDlina_->setItemText(i, lengths[i]);
    pickFromTable();
}

} // namespace kz
