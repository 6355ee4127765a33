#include "widgets/frames/SoilFrame.h"

#include "core/common/NumberText.h"
#include "core/rules/SoilRules.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/FrameWidgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {

QHBoxLayout* row(QVBoxLayout* into) {
    auto* h = new QHBoxLayout;
    h->setSpacing(2);
    into->addLayout(h);
    return h;
}
} // namespace

SoilFrame::SoilFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pFrame"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    setHint(panel, u"Панель выбора удельного сопротивления грунта (воды)"_s);
    outer->addWidget(panel);
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(6, 4, 6, 4);
    rows->setSpacing(3);

    auto* r0 = row(rows);
    r0->addWidget(makeLabel(panel, u"Тип грунта (воды):"_s));
    comboGrunt_ = new QComboBox(panel);
    comboGrunt_->setObjectName(QStringLiteral("ComboGrunt"));
    comboGrunt_->setMaxVisibleItems(25);
    comboGrunt_->setMinimumContentsLength(22);
    setHint(comboGrunt_, u"Тип грунта (воды)|Тип грунта (воды|"_s);
    r0->addWidget(comboGrunt_, 1);
    btnParamShag_ = makeToolButton(panel, QStringLiteral("btnParamShag"), QStringLiteral("steps"),
                                   u"Настройка шагов изменения удельного сопротивления грунта"_s);
    btnParamShag_->setEnabled(false);
    r0->addWidget(btnParamShag_);

    auto* lblRo0 = makeLabel(
        panel, u"р - удельное сопротивление грунта (воды), Ом м (при температуре 20 град. Цельсия):"_s);
    lblRo0->setWordWrap(true);
    rows->addWidget(lblRo0);
    auto* r1 = row(rows);
    editRo0_ = makeEdit(panel, QStringLiteral("EditRo0"), QStringLiteral("0"));
    editRo0_->setFixedWidth(90);
    r1->addWidget(editRo0_);
    const double defaultSteps[3] = {1, 0.1, 0.01};
    for (int i = 0; i < 3; ++i) {
        shag_[i] = new SpinButton(editRo0_, defaultSteps[i], panel);
        shag_[i]->setObjectName(QStringLiteral("btnShag%1").arg(i + 1));
        connect(shag_[i], &SpinButton::upClicked, this, [this, i] { stepUp(i); });
        connect(shag_[i], &SpinButton::downClicked, this, [this, i] { stepDown(i); });
        r1->addWidget(shag_[i]);
    }
    lblRMinMax_ = makeLabel(panel, QStringLiteral("(40 - 60)"), QStringLiteral("lblRMinMax"));
    setHint(lblRMinMax_, u"Допустимый диапазон изменения удельного сопротивления данного типа грунта"_s);
    r1->addSpacing(6);
    r1->addWidget(lblRMinMax_);
    r1->addStretch(1);

    auto* r2 = row(rows);
    r2->addWidget(makeLabel(panel, u"Коэффициент поправки:"_s));
    editPKV_ = makeEdit(panel, QStringLiteral("EditPKV"), QStringLiteral("1"),
                        u"Значение коэффициента поправки|Значение коэффициента поправки"_s);
    editPKV_->setFixedWidth(70);
    r2->addWidget(editPKV_);
    const char* pkvNames[3] = {"btnPKV1", "btnPKV01", "btnPKV001"};
    for (int i = 0; i < 3; ++i) {
        pkv_[i] = new SpinButton(editPKV_, defaultSteps[i], panel);
        pkv_[i]->setObjectName(QLatin1String(pkvNames[i]));
        pkv_[i]->useDefaultSteps();
        r2->addWidget(pkv_[i]);
    }
    speedButton2_ = makeToolButton(panel, QStringLiteral("SpeedButton2"), QStringLiteral("coef"),
                                   u"Выбор коэффициента поправки к р"_s);
    speedButton2_->setEnabled(false);
    r2->addWidget(speedButton2_);
    r2->addStretch(1);

    auto* r3 = row(rows);
    r3->addWidget(makeLabel(panel, u"р - расчетное удельное сопротивление грунта (воды), Ом м:"_s,
                            QStringLiteral("lblRo")));
    editRo_ = makeDisplayField(panel, QStringLiteral("EditRo"));
    editRo_->setFixedWidth(90);
    r3->addWidget(editRo_);
    r3->addStretch(1);

    makeNumericInput(editRo0_, true, false);
    onUserLeave(editRo0_, [this] { checkMeasuredOnLeave(); });
    pkvChecks_ = makeNumericInput(editPKV_);

    connect(comboGrunt_, &QComboBox::currentIndexChanged, this,
            [this] { emit edited(u"ComboGrunt"_s, comboGrunt_->currentText()); });
    connect(editRo0_, &QLineEdit::textChanged, this, [this] { emit edited(u"EditRo0"_s, editRo0_->text()); });
    connect(editPKV_, &QLineEdit::textChanged, this, [this] { emit edited(u"EditPKV"_s, editPKV_->text()); });
    connect(btnParamShag_, &QToolButton::clicked, this, [this] {
        if (stepSettingsDialog_)
            stepSettingsDialog_();
    });
    connect(speedButton2_, &QToolButton::clicked, this, [this] {
        if (!correctionDialog_)
            return;
        if (const auto k = correctionDialog_())
            editPKV_->setText(*k);
    });
}

SoilFrame::~SoilFrame() = default;

void SoilFrame::showState(const SoilState& state, const QStringList& soils) {
    const bool newSteps = state.steps != state_.steps;
    state_ = state;
    {
        const QSignalBlocker block(comboGrunt_);
        if (comboGrunt_->count() != soils.size() ||
            (comboGrunt_->currentIndex() >= 0 && comboGrunt_->currentText() != state.name) || [&] {
                for (int i = 0; i < soils.size(); ++i)
                    if (comboGrunt_->itemText(i) != soils[i])
                        return true;
                return false;
            }()) {
            comboGrunt_->clear();
            comboGrunt_->addItems(soils);
        }
        comboGrunt_->setCurrentIndex(int(soils.indexOf(state.name)));
    }
    lblRMinMax_->setText(state.rangeText);
    for (const auto& [edit, text] :
         {std::pair{editRo0_, state.measured}, std::pair{editPKV_, state.coefficient},
          std::pair{editRo_, state.calculated}})
        if (edit->text() != text) {
            const QSignalBlocker block(edit);
            edit->setText(text);
        }
    if (newSteps)
        for (int i = 0; i < 3; ++i)
            if (state.steps[i] > 0)
                shag_[i]->setStep(state.steps[i]);
}

void SoilFrame::setCoefficientChecks(bool keyFilter, bool exitCheck) {
    delete pkvChecks_;
    pkvChecks_ = (keyFilter || exitCheck) ? makeNumericInput(editPKV_, keyFilter, exitCheck) : nullptr;
}

void SoilFrame::setCorrectionDialog(std::function<std::optional<QString>()> open) {
    correctionDialog_ = std::move(open);
    speedButton2_->setEnabled(bool(correctionDialog_));
}

void SoilFrame::setStepSettingsDialog(std::function<void()> open) {
    stepSettingsDialog_ = std::move(open);
    btnParamShag_->setEnabled(bool(stepSettingsDialog_));
}

void SoilFrame::checkMeasuredOnLeave() {
    if (editRo0_->text().isEmpty()) {
        dialogs().showMessage(requiredValueMessage());
        focusIfPossible(editRo0_);
        return;
    }
    const auto v = numberOrReport(editRo0_);
    if (v && *v >= state_.min && *v <= state_.max)
        return;
    if (v)
        dialogs().showMessage(soilRangeMessage(state_.min, state_.max));
    focusIfPossible(editRo0_);
}

void SoilFrame::stepUp(int i) {
    const double s = state_.steps[i];
    if (s <= 0)
        return;
    if (const auto v = numberOrReport(editRo0_); v && soilStepUpAllowed(*v, s, state_.max))
        SpinStepUp(shag_[i], s);
}

void SoilFrame::stepDown(int i) {
    const double s = state_.steps[i];
    if (s <= 0)
        return;
    if (const auto v = numberOrReport(editRo0_); v && soilStepDownAllowed(*v, s, state_.min))
        SpinStepDown(shag_[i], s);
}

} // namespace kz
