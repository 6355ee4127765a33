#include "widgets/frames/PermissibleResistanceDialog.h"

#include "widgets/frames/FrameWidgets.h"
#include "widgets/common/HelpViewer.h"
#include "core/common/NumberText.h"
#include "core/rules/PermissibleResistance.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/SpinButton.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
constexpr int kHelpContext = 9;

// Step pairs beside an input, named as the form names them.
void addSteps(QHBoxLayout* row, QWidget* parent, QWidget* input,
              std::initializer_list<std::pair<const char*, double>> steps, SpinButton** out) {
    int i = 0;
    for (const auto& [name, step] : steps) {
        auto* b = new SpinButton(input, step, parent);
        b->setObjectName(QLatin1String(name));
        b->useDefaultSteps();
        row->addWidget(b);
        if (out)
            out[i++] = b;
    }
}

QLabel* resultLabel(QWidget* parent, const QString& name) {
    auto* l = makeLabel(parent, QString(), name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(80);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}
} // namespace

PermissibleResistanceDialog::PermissibleResistanceDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RForm"));
    setWindowTitle(u"Предельно допустимые сопротивления заземляющих устройств."_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setHelpContext(this, kHelpContext);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a dialog border: not resizable

    typeBox_ = new QGroupBox(u" Тип электроустановки "_s, this);
    typeBox_->setObjectName(QStringLiteral("RadioGroup1"));
    auto* typeLayout = new QVBoxLayout(typeBox_);
    typeLayout->setSpacing(2);
    types_ = new QButtonGroup(this);
    for (int i = 0; i < InstallationTypeCount; ++i) {
        auto* r = new QRadioButton(installationTypeNames().at(i), typeBox_);
        r->setObjectName(QStringLiteral("RadioType%1").arg(i));
        types_->addButton(r, i);
        typeLayout->addWidget(r);
    }
    types_->button(UpToOneKvEarthed)->setChecked(true);
    layout->addWidget(typeBox_);

    auto* params = new QGroupBox(u" Параметры электроустановки "_s, this);
    auto* grid = new QGridLayout(params);
    grid->setVerticalSpacing(3);
    const auto inputRow = [grid](int r, QLabel* label, QWidget* input) {
        grid->addWidget(label, r, 0);
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(input);
        grid->addLayout(row, r, 1);
        return row;
    };
    editPekv_ = makeEdit(params, QStringLiteral("EditPekv"), QStringLiteral("100"));
    editPekv_->setFixedWidth(80);
    auto* pRow = inputRow(0, makeLabel(params, u"Удельное сопротивление грунта p, Ом м:"_s), editPekv_);
    addSteps(pRow, params, editPekv_, {{"btnP100", 100}, {"btnP10", 10}, {"btnP1", 1}}, nullptr);
    pRow->addStretch(1);

    stI_ = makeLabel(params, u"Расчетный ток замыкания на землю Iзо, А:"_s, QStringLiteral("stI"));
    editI_ = makeEdit(params, QStringLiteral("EditI"), QStringLiteral("5"));
    editI_->setFixedWidth(80);
    auto* iRow = inputRow(1, stI_, editI_);
    addSteps(iRow, params, editI_, {{"btnIzo10", 10}, {"btnIzo1", 1}, {"btnIzo01", 0.1}}, izoSteps_);
    iRow->addStretch(1);

    stUlin_ = makeLabel(params, u"Линейное напряжение источника тока Uлин., В:"_s, QStringLiteral("stUlin"));
    comboUlin_ = new QComboBox(params);
    comboUlin_->setObjectName(QStringLiteral("ComboUlin"));
    comboUlin_->addItems(lineVoltageItems());
    comboUlin_->setCurrentIndex(int(lineVoltageItems().indexOf(QStringLiteral("380"))));
    comboUlin_->setFixedWidth(80);
    inputRow(2, stUlin_, comboUlin_)->addStretch(1);

    stS_ = makeLabel(params, u"Суммарная мощность генераторов (трансформаторов) S, кВА:"_s,
                     QStringLiteral("stS"));
    comboS_ = new QComboBox(params);
    comboS_->setObjectName(QStringLiteral("ComboS"));
    comboS_->setEditable(true);
    comboS_->setInsertPolicy(QComboBox::NoInsert);
    comboS_->addItems(powerItems());
    comboS_->setCurrentIndex(int(powerItems().indexOf(QStringLiteral("100"))));
    comboS_->setFixedWidth(80);
    auto* sRow = inputRow(3, stS_, comboS_);
    addSteps(sRow, params, comboS_, {{"btnS100", 100}, {"btnS10", 10}, {"btnS1", 1}}, sSteps_);
    sRow->addStretch(1);
    layout->addWidget(params);

    auto* results = new QGridLayout;
    results->addWidget(makeLabel(this, u"Допустимое сопротивление растеканию, Ом:"_s), 0, 0);
    lblRmax_ = resultLabel(this, QStringLiteral("lblRmax"));
    results->addWidget(lblRmax_, 0, 1);
    lblSR_ = makeLabel(this, u"Общее сопротивление растеканию всех повторных заземлений, Ом:"_s,
                       QStringLiteral("lblSR"));
    results->addWidget(lblSR_, 1, 0);
    lblSRValue_ = resultLabel(this, QStringLiteral("lblSRValue"));
    results->addWidget(lblSRValue_, 1, 1);
    results->setColumnStretch(2, 1);
    layout->addLayout(results);

    layout->addWidget(makeLabel(this, u"Обоснование:"_s));
    memoScore_ = new QPlainTextEdit(this);
    memoScore_->setObjectName(QStringLiteral("MemoScore"));
    memoScore_->setReadOnly(true);
    memoScore_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memoScore_->setFocusPolicy(Qt::ClickFocus);
    memoScore_->setFixedHeight(96);
    setHint(memoScore_, u"Краткое обоснование сделанного выбора"_s);
    layout->addWidget(memoScore_);

    auto* buttons = new QHBoxLayout;
    chkAuto_ = new QCheckBox(u"Автообоснование"_s, this);
    chkAuto_->setObjectName(QStringLiteral("chkAuto"));
    chkAuto_->setChecked(true);
    buttons->addWidget(chkAuto_);
    buttons->addStretch(1);
    const auto button = [this, buttons](const char* text, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    button1_ = button("Обоснование", "Button1");
    setHint(button1_, u"Получение обоснования"_s);
    btnOK_ = button("OK", "btnOK");
    btnOK_->setEnabled(false);
    button2_ = button("Отмена", "Button2");
    button5_ = button("Справка...", "Button5");
    layout->addLayout(buttons);

    makeNumericInput(editPekv_, true, false);
    makeNumericInput(editI_, true, false);
    makeNumericInput(comboS_, true, false);
    connect(editPekv_, &QLineEdit::textChanged, this, &PermissibleResistanceDialog::parameterChanged);
    connect(editI_, &QLineEdit::textChanged, this, &PermissibleResistanceDialog::parameterChanged);
    connect(comboUlin_, &QComboBox::currentTextChanged, this, &PermissibleResistanceDialog::parameterChanged);
    connect(comboS_, &QComboBox::currentTextChanged, this, &PermissibleResistanceDialog::parameterChanged);
    connect(types_, &QButtonGroup::idClicked, this, &PermissibleResistanceDialog::applyInstallationType);
    connect(chkAuto_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            Justify();
    });
    connect(button1_, &QPushButton::clicked, this, &PermissibleResistanceDialog::Justify);
    connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
    connect(button5_, &QPushButton::clicked, this, [] { showHelp(kHelpContext); });

    applyInstallationType();
}

int PermissibleResistanceDialog::typeIndex() const {
    return types_->checkedId();
}

QString PermissibleResistanceDialog::typeText() const {
    const int i = typeIndex();
    return i < 0 ? QString() : installationTypeNames().at(i);
}

QAbstractButton* PermissibleResistanceDialog::typeButton(int index) const {
    return types_->button(index);
}

void PermissibleResistanceDialog::setTypeIndex(int index) {
    if (QAbstractButton* b = types_->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = types_->checkedButton()) {
        // A type text the list does not know leaves no type selected.
        types_->setExclusive(false);
        checked->setChecked(false);
        types_->setExclusive(true);
    }
    applyInstallationType();
}

void PermissibleResistanceDialog::applyInstallationType() {
    const int type = typeIndex();
    const bool current = typeUsesCurrent(type);
    stI_->setEnabled(current);
    editI_->setEnabled(current);
    for (SpinButton* b : izoSteps_)
        b->setEnabled(current);
    const bool voltage = typeUsesVoltage(type);
    stUlin_->setEnabled(voltage);
    comboUlin_->setEnabled(voltage);
    const bool power = typeUsesPower(type);
    stS_->setEnabled(power);
    comboS_->setEnabled(power);
    for (SpinButton* b : sSteps_)
        b->setEnabled(power);
    const bool total = typeHasRepeatedTotal(type);
    lblSR_->setEnabled(total);
    lblSRValue_->setEnabled(total);
    clearResults();
    UpdateRButtons();
    if (chkAuto_->isChecked())
        Justify();
}

void PermissibleResistanceDialog::loadInstallation(const QString& typeText, const QString& izo, const QString& ulin,
                              const QString& s, const QString& p) {
    setTypeIndex(installationTypeIndex(typeText));
    editI_->setEnabled(!izo.isEmpty());
    for (SpinButton* b : izoSteps_)
        b->setEnabled(!izo.isEmpty());
    editI_->setText(izo);
    comboUlin_->setEnabled(!ulin.isEmpty());
    comboUlin_->setCurrentIndex(comboUlin_->findText(ulin));
    comboS_->setEnabled(!s.isEmpty());
    for (SpinButton* b : sSteps_)
        b->setEnabled(!s.isEmpty());
    comboS_->setCurrentIndex(comboS_->findText(s));
    comboS_->setEditText(comboS_->currentIndex() < 0 ? QString() : s);
    editPekv_->setText(p);
}

QString PermissibleResistanceDialog::derivedResistance() const {
    return lblRmax_->text();
}
QString PermissibleResistanceDialog::usedCurrent() const {
    return editI_->isEnabled() ? editI_->text() : QString();
}
QString PermissibleResistanceDialog::usedVoltage() const {
    return comboUlin_->isEnabled() ? comboUlin_->currentText() : QString();
}
QString PermissibleResistanceDialog::usedPower() const {
    return comboS_->isEnabled() ? comboS_->currentText() : QString();
}
QString PermissibleResistanceDialog::resistivity() const {
    return editPekv_->text();
}

void PermissibleResistanceDialog::activate() {
    clearResults();
    Justify();
    UpdateRButtons();
}

void PermissibleResistanceDialog::clearResults() {
    lblRmax_->clear();
    lblSRValue_->clear();
    memoScore_->clear();
}

void PermissibleResistanceDialog::parameterChanged() {
    // A total left beside an emptied R would belong to other inputs.
    clearResults();
    UpdateRButtons();
    if (chkAuto_->isChecked())
        Justify();
}

void PermissibleResistanceDialog::UpdateRButtons() {
    const int type = typeIndex();
    bool filled = type >= 0 && !editPekv_->text().isEmpty();
    if (typeUsesCurrent(type))
        filled = filled && !editI_->text().isEmpty();
    if (typeUsesVoltage(type))
        filled = filled && !comboUlin_->currentText().isEmpty();
    if (typeUsesPower(type))
        filled = filled && !comboS_->currentText().isEmpty();
    button1_->setEnabled(filled);
    btnOK_->setEnabled(filled && !lblRmax_->text().isEmpty());
}

bool PermissibleResistanceDialog::CheckRParam(QWidget* control, const QString& name) {
    // Silent while justifying automatically; otherwise the message and the focus on the input.
    return CheckPositive(control, name, !chkAuto_->isChecked());
}

void PermissibleResistanceDialog::Justify() {
    clearResults();
    const int type = typeIndex();
    const bool ok = type >= 0 && CheckRParam(editPekv_, resistivityParameterName()) &&
                    (!typeUsesCurrent(type) || CheckRParam(editI_, currentParameterName())) &&
                    (!typeUsesVoltage(type) || CheckRParam(comboUlin_, voltageParameterName())) &&
                    (!typeUsesPower(type) || CheckRParam(comboS_, powerParameterName()));
    if (ok) {
        PermissibleInputs in;
        in.p = *parseNumber(editPekv_->text());
        if (typeUsesCurrent(type))
            in.izo = *parseNumber(editI_->text());
        if (typeUsesVoltage(type))
            in.ulin = *parseNumber(comboUlin_->currentText());
        if (typeUsesPower(type))
            in.s = *parseNumber(comboS_->currentText());
        const PermissibleResult r = permissibleResistance(type, in);
        lblRmax_->setText(r.r);
        if (typeHasRepeatedTotal(type))
            lblSRValue_->setText(r.total);
        memoScore_->setPlainText(r.justification.join(QLatin1Char('\n')));
    }
    UpdateRButtons();
}

} // namespace kz
