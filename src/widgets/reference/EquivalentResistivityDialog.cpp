#include "widgets/reference/EquivalentResistivityDialog.h"

#include "core/common/NumberText.h"
#include "core/rules/SoilRules.h"
#include "store/DataModule.h"
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

EquivalentResistivityDialog::EquivalentResistivityDialog(DataModule& data, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPekvForm"));
    setWindowTitle(u"Эквивалентное удельное сопротивление грунта."_s);
    setHelpContext(this, 13);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    upper_ = new SoilFrame(data, pages_);
    upper_->setObjectName(QStringLiteral("pFrame1"));
    lower_ = new SoilFrame(data, pages_);
    lower_->setObjectName(QStringLiteral("pFrame2"));
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

void EquivalentResistivityDialog::restoreFrame(SoilFrame* frame, const QString& soil, const QString& p0, const QString& kp) {
    QComboBox* combo = frame->ComboGrunt();
    const int index = combo->findText(soil, Qt::MatchExactly | Qt::MatchCaseSensitive);
    // A soil since removed from the dictionary leaves the frame without one.
    if (index == combo->currentIndex() && index >= 0)
        frame->applySoilType();
    else
        combo->setCurrentIndex(index);
    frame->EditRo0()->setText(p0);
    frame->EditPKV()->setText(kp);
}

void EquivalentResistivityDialog::activate() {
    upper_->InitSoil();
    lower_->InitSoil();
    pages_->setCurrentIndex(0);
    if (!restore_ || restore_->size() < 7) {
        upper_->EditPKV()->setText(QStringLiteral("1"));
        lower_->EditPKV()->setText(QStringLiteral("1"));
        return;
    }
    const PekvTexts& t = *restore_;
    restoreFrame(upper_, t[0], t[1], t[2]);
    restoreFrame(lower_, t[3], t[4], t[5]);
    editH_->setText(t[6]);
}

PekvTexts EquivalentResistivityDialog::currentTexts() const {
    return {upper_->ComboGrunt()->currentText(),
            upper_->EditRo0()->text(),
            upper_->EditPKV()->text(),
            lower_->ComboGrunt()->currentText(),
            lower_->EditRo0()->text(),
            lower_->EditPKV()->text(),
            editH_->text()};
}

bool EquivalentResistivityDialog::checkBeforeClosing() {
    for (const SoilFrame* f : {upper_, lower_})
        if (f->EditPKV()->text().isEmpty() || f->ComboGrunt()->currentText().isEmpty() ||
            f->EditRo0()->text().isEmpty()) {
            dialogs().showMessage(pekv::fillAllMessage());
            return false;
        }
    for (SoilFrame* f : {upper_, lower_}) {
        const auto p0 = parseNumber(f->EditRo0()->text());
        if (!p0 || *p0 < f->RoMin() || *p0 > f->RoMax()) {
            pages_->setCurrentWidget(f);
            dialogs().showMessage(soilRangeMessage(f->RoMin(), f->RoMax()));
            return false;
        }
    }
    const auto rho1 = parseNumber(upper_->EditRo()->text());
    const auto rho2 = parseNumber(lower_->EditRo()->text());
    if (!rho1 || !rho2 || !pekv::layersDifferEnough(*rho1, *rho2)) {
        dialogs().showMessage(pekv::layersMessage());
        return false;
    }
    return true;
}

void EquivalentResistivityDialog::done(int result) {
    if (result == QDialog::Accepted && !checkBeforeClosing())
        return;
    if (result == QDialog::Accepted) {
        upper_->SaveSoilState();
        lower_->SaveSoilState();
    }
    QDialog::done(result);
}

EquivalentResistivityDialog& pekvForm(DataModule& data, QWidget* calculator) {
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
    EquivalentResistivityDialog& form = pekvForm(data_, calculator);
    form.setHandOver(saved_.value(0).isEmpty() ? std::nullopt : std::optional<PekvTexts>(saved_));
    form.activate();
    if (dialogs().execModal(&form) != QDialog::Accepted)
        return false;
    const auto rho1 = parseNumber(form.pFrame1()->EditRo()->text());
    const auto rho2 = parseNumber(form.pFrame2()->EditRo()->text());
    const auto h = parseNumber(form.EditH()->text());
    // The layers are kept whatever follows: nothing the user chose is lost.
    saved_ = form.currentTexts();
    layers_ = {form.pFrame1()->EditRo()->text(), form.pFrame2()->EditRo()->text(), form.EditH()->text()};
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
