#include "widgets/reference/EquivalentResistivityDialog.h"

#include "core/common/NumberText.h"
#include "core/rules/SoilRules.h"
#include "store/DataModule.h"
#include "store/StoredFrameData.h"
#include "widgets/common/DialogService.h"
#include "widgets/common/FormProcedures.h"
#include "widgets/common/HelpViewer.h"
#include "widgets/common/SpinButton.h"
#include "widgets/frames/FrameWidgets.h"
#include "widgets/frames/SoilFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace kz {

EquivalentResistivityDialog::EquivalentResistivityDialog(DataModule& data, QWidget* parent)
    : QDialog(parent), reference_(std::make_unique<StoredFrameData>(data, StoredFrameData::Reading::Live)) {
    setObjectName(QStringLiteral("TPekvForm"));
    setWindowTitle(u"Эквивалентное удельное сопротивление грунта."_s);
    setHelpContext(this, 13);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    upper_ = new SoilFrame(pages_);
    upper_->setObjectName(QStringLiteral("pFrame1"));
    lower_ = new SoilFrame(pages_);
    lower_->setObjectName(QStringLiteral("pFrame2"));
    for (int i = 0; i < 2; ++i)
        connect(frame(i), &SoilFrame::edited, this, [this, i](const QString& field, const QString& text) {
            layers_[i].edit(field, text, *reference_);
            frame(i)->showState(layers_[i], soilNames_);
        });
    pages_->addTab(upper_, u"Верхний слой грунта"_s);
    pages_->addTab(lower_, u"Нижний слой грунта"_s);
    layout->addWidget(pages_);

    auto* hRow = new QHBoxLayout;
    auto* label =
        makeLabel(this, u"H - толщина (мощность) верхнего слоя земли, м:"_s, QStringLiteral("lblH"));
    editH_ = makeEdit(this, QStringLiteral("EditH"), QStringLiteral("2"));
    editH_->setFixedWidth(70);
    label->setBuddy(editH_);
    makeNumericInput(editH_);
    hRow->addWidget(label);
    hRow->addWidget(editH_);
    const struct {
        const char* name;
        double step;
    } spins[] = {{"SpinButton1", 1}, {"SpinButton2", 0.1}, {"SpinButton001", 0.01}};
    for (const auto& s : spins) {
        auto* pair = new SpinButton(editH_, s.step, this);
        pair->setObjectName(QString::fromLatin1(s.name));
        pair->useDefaultSteps();
        hRow->addWidget(pair);
    }
    hRow->addStretch(1);
    layout->addLayout(hRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton(u"ОК"_s, this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(u"Отмена"_s, this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto* help = new QPushButton(u"Справка..."_s, this);
    help->setObjectName(QStringLiteral("btnHelp"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelp(13); });
}

EquivalentResistivityDialog::~EquivalentResistivityDialog() = default;

void EquivalentResistivityDialog::activate() {
    soilNames_ = reference_->soilNames();
    for (int i = 0; i < 2; ++i) {
        SoilState& layer = layers_[i];
        const SoilState& kept = confirmed_[i];
        layer.chooseType(listedSoil(kept.name, soilNames_), *reference_);
        if (!kept.name.isEmpty() && layer.name == kept.name) {
            if (!kept.measured.isEmpty())
                layer.measured = kept.measured;
            if (!kept.coefficient.isEmpty())
                layer.coefficient = kept.coefficient;
        }
        layer.updateCalculated();
    }
    pages_->setCurrentIndex(0);
    if (!restore_ || restore_->size() < 7) {
        for (SoilState& layer : layers_)
            layer.edit(u"EditPKV"_s, u"1"_s, *reference_);
    } else {
        const PekvTexts& t = *restore_;
        for (int i = 0; i < 2; ++i) {
            SoilState& layer = layers_[i];
            // A soil since removed from the dictionary leaves the layer without one.
            layer.chooseType(soilNames_.contains(t[3 * i]) ? t[3 * i] : QString(), *reference_);
            layer.measured = t[3 * i + 1];
            layer.coefficient = t[3 * i + 2];
            layer.updateCalculated();
        }
        editH_->setText(t[6]);
    }
    showLayers();
}

void EquivalentResistivityDialog::showLayers() {
    for (int i = 0; i < 2; ++i)
        frame(i)->showState(layers_[i], soilNames_);
}

PekvTexts EquivalentResistivityDialog::currentTexts() const {
    return {layers_[0].name,     layers_[0].measured,    layers_[0].coefficient, layers_[1].name,
            layers_[1].measured, layers_[1].coefficient, editH_->text()};
}

bool EquivalentResistivityDialog::checkBeforeClosing() {
    for (const SoilState& layer : layers_)
        if (layer.coefficient.isEmpty() || layer.name.isEmpty() || layer.measured.isEmpty()) {
            dialogs().showMessage(pekv::fillAllMessage());
            return false;
        }
    for (int i = 0; i < 2; ++i) {
        const SoilState& layer = layers_[i];
        const auto p0 = parseNumber(layer.measured);
        if (!p0 || *p0 < layer.min || *p0 > layer.max) {
            pages_->setCurrentWidget(frame(i));
            dialogs().showMessage(soilRangeMessage(layer.min, layer.max));
            return false;
        }
    }
    const auto rho1 = parseNumber(layers_[0].calculated);
    const auto rho2 = parseNumber(layers_[1].calculated);
    if (!rho1 || !rho2 || !pekv::layersDifferEnough(*rho1, *rho2)) {
        dialogs().showMessage(pekv::layersMessage());
        return false;
    }
    return true;
}

void EquivalentResistivityDialog::done(int result) {
    if (result == QDialog::Accepted && !checkBeforeClosing())
        return;
    if (result == QDialog::Accepted)
        confirmed_ = layers_;
    QDialog::done(result);
}

EquivalentResistivityDialog& sharedEquivalentResistivityDialog(DataModule& data, QWidget* calculator) {
    static QPointer<EquivalentResistivityDialog> form;
    // Guarded, not a plain address: a new data module may be made where a destroyed one stood, and
    // the dialog's frames must not outlive the tables they were made over.
    static QPointer<DataModule> of;
    if (form && of != &data)
        delete form;
    if (!form) {
        QWidget* owner = calculator && calculator->parentWidget() ? calculator->parentWidget() : calculator;
        form = new EquivalentResistivityDialog(data, owner);
        of = &data;
    }
    return *form;
}

bool EquivalentResistivityLink::run(QWidget* calculator, const Size& sizeOf) {
    EquivalentResistivityDialog& form = sharedEquivalentResistivityDialog(data_, calculator);
    form.setHandOver(saved_.value(0).isEmpty() ? std::nullopt : std::optional<PekvTexts>(saved_));
    form.activate();
    if (dialogs().execModal(&form) != QDialog::Accepted)
        return false;
    const auto rho1 = parseNumber(form.layer(0).calculated);
    const auto rho2 = parseNumber(form.layer(1).calculated);
    const auto h = parseNumber(form.EditH()->text());
    // The layers are kept whatever follows: nothing the user chose is lost.
    saved_ = form.currentTexts();
    layers_ = {form.layer(0).calculated, form.layer(1).calculated, form.EditH()->text()};
    const auto size = sizeOf ? sizeOf() : std::nullopt;
    const auto rho = rho1 && rho2 && h && size ? pekv::equivalentResistivity(form_, *rho1, *rho2, *h, *size)
                                               : std::nullopt;
    resistivity_.clear();
    if (!rho) {
        dialogs().showMessage(pekv::thicknessMessage());
        return false;
    }
    resistivity_ = pekv::equivalentResistivityText(*rho);
    return true;
}

} // namespace kz
