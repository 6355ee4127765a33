#include "CalcOrder.h"

#include "CalcCommon.h"
#include "frames/NumberText.h"

namespace kz {

void ParameterTriples::add(const QString& name, const QString& designation, const QString& value) {
    items_ << name << designation << value;
}

ParameterTriples& parameterTriples() {
    static ParameterTriples triples;
    return triples;
}

void AddInstallationLines(const InstallationValues& eu, QStringList& memo) {
    memo << QString::fromUtf8("Тип электроустановки: ") + eu.type + QLatin1Char('.');
    if (!eu.current.isEmpty())
        memo << QString::fromUtf8("Расчетный ток замыкания на землю: Iзо = ") + eu.current +
                    QString::fromUtf8(" А.");
    if (!eu.voltage.isEmpty())
        memo << QString::fromUtf8("Линейное напряжение источника тока: Uлин. = ") + eu.voltage +
                    QString::fromUtf8(" В.");
    if (!eu.power.isEmpty())
        memo << QString::fromUtf8("Суммарная мощность генераторов (трансформаторов): S = ") + eu.power +
                    QString::fromUtf8(" кВА.");
    if (!eu.resistivity.isEmpty())
        memo << QString::fromUtf8("Удельное сопротивление грунта: р = ") + eu.resistivity +
                    QString::fromUtf8(" Ом м.");
    memo << QString::fromUtf8("Допустимое сопротивление растеканию: Rдоп. = ") + eu.permissible +
                QString::fromUtf8(" Ом.");
}

QString verdictText(bool usable, const QString& noun, const QString& symbol) {
    if (usable)
        return QString::fromUtf8("Так как ") + symbol + QString::fromUtf8(" <= Rдоп., то ") + noun +
               QString::fromUtf8(" можно использовать в качестве заземляющего устройства.");
    return QString::fromUtf8("Так как ") + symbol + QString::fromUtf8(" > Rдоп., то ") + noun +
           QString::fromUtf8(" нельзя использовать в качестве заземляющего устройства.");
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
    return QStringLiteral(" = ") + resultText + QString::fromUtf8(" Ом");
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
