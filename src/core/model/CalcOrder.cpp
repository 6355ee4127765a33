#include "core/model/CalcOrder.h"

#include "core/rules/PermissibleResistance.h"

#include "core/common/NumberText.h"
#include "core/model/CalcCommon.h"

using namespace Qt::StringLiterals;

namespace kz {

InstallationValues openingInstallation() {
    InstallationValues v;
    v.type = installationTypeNames().at(UpToOneKvEarthed);
    v.voltage = QStringLiteral("380");
    v.resistivity = QStringLiteral("100");
    v.permissible = QStringLiteral("4");
    return v;
}

void ParameterTriples::add(const QString& name, const QString& designation, const QString& value) {
    items_ << name << designation << value;
}

ParameterTriples& parameterTriples() {
    static ParameterTriples triples;
    return triples;
}

void AddInstallationLines(const InstallationValues& eu, QStringList& memo) {
    memo << u"Тип электроустановки: "_s + eu.type + QLatin1Char('.');
    if (!eu.current.isEmpty())
        memo << u"Расчетный ток замыкания на землю: Iзо = "_s + eu.current + u" А."_s;
    if (!eu.voltage.isEmpty())
        memo << u"Линейное напряжение источника тока: Uлин. = "_s + eu.voltage + u" В."_s;
    if (!eu.power.isEmpty())
        memo << u"Суммарная мощность генераторов (трансформаторов): S = "_s + eu.power + u" кВА."_s;
    if (!eu.resistivity.isEmpty())
        memo << u"Удельное сопротивление грунта: р = "_s + eu.resistivity + u" Ом м."_s;
    memo << u"Допустимое сопротивление растеканию: Rдоп. = "_s + eu.permissible + u" Ом."_s;
}

QString verdictText(bool usable, const QString& noun, const QString& symbol) {
    if (usable)
        return u"Так как "_s + symbol + u" <= Rдоп., то "_s + noun +
               u" можно использовать в качестве заземляющего устройства."_s;
    return u"Так как "_s + symbol + u" > Rдоп., то "_s + noun +
           u" нельзя использовать в качестве заземляющего устройства."_s;
}

bool AddVerdictLine(const InstallationValues& eu, const QString& noun, const QString& symbol,
                    QStringList& memo, double r) {
    // Only a positive Rдоп is a permissible resistance to compare with.
    auto permissible = parseNumber(eu.permissible);
    if (permissible && !(*permissible > 0 && isShowableResult(*permissible)))
        permissible.reset();
    if (!permissible)
        return false;
    memo << verdictText(isUsable(*permissible, r), noun, symbol);
    return true;
}

QString oneLineEnding(const QString& resultText) {
    return QStringLiteral(" = ") + resultText + u" Ом"_s;
}

QString multiLineEnding(const QString& resultText) {
    return oneLineEnding(resultText) + QLatin1Char('.');
}

CalcOrderText::CalcOrderText(ParameterTriples& triples) : triples_(triples) {}

void CalcOrderText::begin() {
    lines_.clear();
    triples_.clear();
}

void CalcOrderText::heading(const QString& title) {
    lines_ << (title.endsWith(QLatin1Char('.')) ? title : title + QLatin1Char('.'));
}

void CalcOrderText::data(const QString& name, const QString& symbol, const QString& value,
                         const QString& unit) {
    QString text = name + QStringLiteral(": ") + symbol + QStringLiteral(" = ") + value;
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    lines_ << text + QLatin1Char('.');
    triples_.add(name, symbol, value);
}

void CalcOrderText::corrected(const QString& coefName, const QString& coefSymbol, const QString& coefValue,
                              const QString& name, const QString& symbol, const QString& value,
                              const QString& unit) {
    if (coefValue == QLatin1String("1"))
        return;
    data(coefName, coefSymbol, coefValue, QString());
    data(name, symbol, value, unit);
}

void CalcOrderText::formula(const QString& title, const QString& symbolic, const QString& substituted) {
    lines_ << title + QLatin1Char(':');
    lines_ << symbolic + QLatin1Char(';');
    lines_ << substituted;
}

void CalcOrderText::appendToLast(const QString& text) {
    if (lines_.isEmpty())
        lines_ << text;
    else
        lines_.last() += text;
}

bool CalcOrderText::installation(const InstallationValues& eu) {
    if (!eu.include)
        return false;
    AddInstallationLines(eu, lines_);
    return true;
}

bool CalcOrderText::verdict(const InstallationValues& eu, const QString& noun, const QString& symbol,
                            double r) {
    return AddVerdictLine(eu, noun, symbol, lines_, r);
}

} // namespace kz
