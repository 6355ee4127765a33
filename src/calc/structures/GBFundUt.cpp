#include "GBFundUt.h"

#include "GBFundCalc.h"
#include "frames/DialogService.h"
#include "frames/NumberText.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace kz {

namespace {
QString u(const char* text) {
    return QString::fromUtf8(text);
}

bool filled(const QLineEdit* edit) {
    return !edit->text().isEmpty();
}

std::optional<long double> positive(const QLineEdit* edit) {
    const auto v = parseNumber(edit->text());
    return v && *v > 0 ? v : std::nullopt;
}
} // namespace

TGBFundFm::TGBFundFm(DataModule& data, QWidget* parent)
    : CalculatorWindow(gbfund::descriptor(), data, parent), pekvLink_(data, pekv::Form::Area) {
    chkPekv_ = new QCheckBox(u("Включить порядок расчета р эквивалентного"), this);
    chkPekv_->setObjectName(QStringLiteral("chkPekv"));
    chkPekv_->setEnabled(false);
    addBelowResult(chkPekv_);
    connect(chkPekv_, &QCheckBox::clicked, this, [this] {
        if (autoCalculation())
            Calculate(true);
    });
    connect(btnPekv(), &QToolButton::clicked, this, &TGBFundFm::runEquivalentResistivity);
    btnPekv()->setEnabled(filled(EditS()));
}

void TGBFundFm::runEquivalentResistivity() {
    EquivalentResistivityLink::Target target;
    target.output = EditPekv();
    target.include = chkPekv_;
    target.size = [this] { return parseNumber(EditS()->text()); };
    pekvLink_.run(this, target);
}

void TGBFundFm::forgetEquivalentComputation() {
    chkPekv_->setChecked(false);
    chkPekv_->setEnabled(false);
}

bool TGBFundFm::CheckGeometry(bool show) {
    const auto s = number(QStringLiteral("EditS"));
    if (!s || *s <= 0)
        return fail(gbfund::areaMessage(), show);
    return true;
}

std::optional<long double> TGBFundFm::ComputeResult() {
    const auto p = number(QStringLiteral("EditPekv"));
    const auto s = number(QStringLiteral("EditS"));
    if (!p || !s)
        return std::nullopt;
    return gbfund::ComputeResistance(*p, *s);
}

void TGBFundFm::ShowCalcOrder() {
    gbfund::OrderTexts t;
    t.s = EditS()->text();
    t.pekv = EditPekv()->text();
    t.r = EditVS1()->text();
    t.rValue = double(parseNumber(t.r).value_or(0));
    const QStringList& layers = pekvLink_.lastLayers();
    if (chkPekv_->isChecked() && layers.size() == 3)
        t.layers = gbfund::Layers{layers[0], layers[1], layers[2]};
    QString shown;
    setCalcOrderLines(gbfund::calcOrder(installationValues(), t, &shown));
    // The same value as the input shows, since any change of S or ρэ clears the check box.
    if (shown != EditPekv()->text()) {
        const QSignalBlocker quiet(EditPekv());
        EditPekv()->setText(shown);
    }
}

void TGBFundFm::GeometryChanged(QWidget* input) {
    if (input == EditA() || input == EditB()) {
        const auto a = positive(EditA());
        const auto b = positive(EditB());
        if (a && b)
            assignWithoutTail(EditS(), gbfund::areaText(*a, *b));
    } else if (input == EditS()) {
        // An area typed by hand detaches it from the length and width.
        if (!filled(EditA()))
            assignWithoutTail(EditB(), {});
        if (!filled(EditB()))
            assignWithoutTail(EditA(), {});
        const auto a = positive(EditA());
        const auto b = positive(EditB());
        if (a && b && positive(EditS()) && EditS()->text() != gbfund::areaText(*a, *b)) {
            assignWithoutTail(EditA(), {});
            assignWithoutTail(EditB(), {});
        }
        if (chkPekv_->isEnabled())
            forgetEquivalentComputation();
        btnPekv()->setEnabled(filled(EditS()));
    } else if (input == EditPekv()) {
        forgetEquivalentComputation();
        SyncInstallationResistivity();
    }
}

void TGBFundFm::DeriveSelectionValues(QMap<QString, long double>& values) {
    const QString a = QStringLiteral("EditA");
    const QString b = QStringLiteral("EditB");
    if (values.contains(a) && values.contains(b) && values.value(a) > 0 && values.value(b) > 0)
        values.insert(QStringLiteral("EditS"), roundTo(values.value(a) * values.value(b), 2));
}

QList<SelectionParameter> TGBFundFm::SelectionOffer() const {
    // The sides while both are known, otherwise the area itself.
    const bool sides = filled(EditA()) && filled(EditB());
    QList<SelectionParameter> offer;
    for (const SelectionParameter& p : descriptor().selection.parameters) {
        const bool side = p.input == QLatin1String("EditA") || p.input == QLatin1String("EditB");
        const bool area = p.input == QLatin1String("EditS");
        if ((side && !sides) || (area && sides))
            continue;
        offer << p;
    }
    return offer;
}

bool TGBFundFm::PrepareSingleSelection(const SelectionParameter& parameter) {
    if (parameter.input == QLatin1String("EditA") && !filled(EditB())) {
        dialogs().showMessage(
            u("Ошибка. Перед подбором параметра \"Длина здания, м\" (поле \"а - длина, м\") "
              "заполните поле \"b - ширина, м\"."));
        return false;
    }
    if (parameter.input == QLatin1String("EditB") && !filled(EditA())) {
        dialogs().showMessage(
            u("Ошибка. Перед подбором параметра \"Ширина здания, м\" (поле \"b - ширина, м\") "
              "заполните поле \"а - длина, м\"."));
        return false;
    }
    if (parameter.input == QLatin1String("EditS")) {
        assignWithoutTail(EditA(), {});
        assignWithoutTail(EditB(), {});
    }
    return true;
}

} // namespace kz
