#include "core/verification/CaseComparison.h"

#include "core/common/NumberText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

bool CaseComparison::passed() const {
    return error.isEmpty() && !outputs.isEmpty() &&
           std::all_of(outputs.cbegin(), outputs.cend(), [](const OutputCheck& c) { return c.passed; });
}

QString shownValue(const QJsonValue& value) {
    if (value.isString())
        return value.toString();
    if (value.isUndefined())
        return u"(нет)"_s;
    // A lone value is not a JSON document: wrapped in an array and unwrapped.
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

QString deviationText(double percent) {
    const QString digits = formatMask(std::fabs(percent), u"0.00"_s);
    if (digits == u"0,00"_s)
        return u"0,00 %"_s;
    return (percent > 0 ? u"+"_s : u"-"_s) + digits + u" %"_s;
}

std::optional<ToleranceBand> toleranceBand(const QJsonObject& workedCase, QString* error) {
    const QJsonValue within = workedCase.value(u"within"_s);
    if (within.isUndefined())
        return std::nullopt;
    const QJsonArray band = within.toArray();
    if (!within.isArray() || band.size() != 2 || !band[0].isDouble() || !band[1].isDouble() ||
        band[0].toDouble() > band[1].toDouble()) {
        *error = u"within должен быть парой чисел [нижняя, верхняя] в процентах, нижняя не больше верхней"_s;
        return std::nullopt;
    }
    return ToleranceBand{band[0].toDouble(), band[1].toDouble()};
}

namespace {

std::optional<double> number(const QString& text) {
    double v = 0;
    if (text.trimmed().isEmpty() || !tryParseNumber(text, v) || !std::isfinite(v))
        return std::nullopt;
    return v;
}

void compareInBand(OutputCheck& check, const ToleranceBand& band) {
    const auto want = number(check.expected);
    const auto got = number(check.obtained);
    if (!want) {
        check.problem = u"при допуске within ожидаемое значение должно быть числом"_s;
        return;
    }
    if (!got) {
        check.problem = u"получено не число"_s;
        return;
    }
    double lowest = *want * (1 + band.low / 100);
    double highest = *want * (1 + band.high / 100);
    if (lowest > highest)
        std::swap(lowest, highest);
    // The bounds are products of decimals: a value on a bound must not fall out by the last bit.
    const double slack = 1e-9 * std::max(1.0, std::fabs(*want));
    check.passed = *got >= lowest - slack && *got <= highest + slack;
    if (!check.passed)
        check.problem = u"вне допуска от "_s + formatGeneral(lowest) + u" до "_s + formatGeneral(highest);
}

} // namespace

CaseComparison compareWithExpected(const QJsonObject& workedCase, const QJsonObject& result) {
    CaseComparison comparison;
    const QJsonObject expect = workedCase.value(u"expect"_s).toObject();
    if (expect.isEmpty()) {
        comparison.error = u"случай ничего не ожидает (нет expect)"_s;
        return comparison;
    }
    const std::optional<ToleranceBand> band = toleranceBand(workedCase, &comparison.error);
    if (!comparison.error.isEmpty())
        return comparison;
    if (result.contains(u"error"_s)) {
        comparison.error = result.value(u"error"_s).toString();
        return comparison;
    }
    const QJsonObject outputs = result.value(u"outputs"_s).toObject();
    for (auto it = expect.begin(); it != expect.end(); ++it) {
        // Messages and warnings are lists of the result, not outputs; warnings are listed only when
        // there are some.
        const bool messages = it.key() == u"messages"_s;
        const bool warnings = it.key() == u"warnings"_s;
        const QJsonValue actual = messages   ? result.value(u"messages"_s)
                                  : warnings ? result.value(u"warnings"_s).toArray()
                                             : outputs.value(it.key());
        OutputCheck check;
        check.output = it.key();
        check.expected = shownValue(it.value());
        check.obtained = shownValue(actual);
        if (actual.isUndefined()) {
            check.problem = u"такого поля нет"_s;
        } else {
            const auto want = number(check.expected);
            const auto got = number(check.obtained);
            if (want && got && *want != 0)
                check.deviation = (*got - *want) / std::fabs(*want) * 100;
            if (band && !messages && !warnings)
                compareInBand(check, *band);
            else
                check.passed = check.expected == check.obtained;
        }
        comparison.outputs << check;
    }
    return comparison;
}

} // namespace kz
