#include "core/selection/Selection.h"

#include "core/common/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz::selection {

namespace {

const SelectionDescriptor* find(const QList<SelectionDescriptor>& descriptors, const QString& name) {
    for (const SelectionDescriptor& d : descriptors)
        if (d.name == name)
            return &d;
    return nullptr;
}

QString cell(const SelectionRow& row, int column) {
    switch (column) {
    case 1:
        return row.start;
    case 2:
        return row.end;
    default:
        return row.step;
    }
}

// The limit message for a value outside the parameter's limits; nullopt when it is within them.
std::optional<QString> limitFault(const SelectionDescriptor& d, long double value) {
    const auto lower = parseNumber(d.lower);
    const auto upper = parseNumber(d.upper);
    const QString beginning = u"Ошибка. Для параметра \""_s + d.name + u"\""_s;
    if (d.compactTexts) {
        if (lower && upper && (value < *lower || value > *upper))
            return beginning + u" допускаются значения "_s + d.lower + u".."_s + d.upper + QLatin1Char('.');
        if (lower && !upper && value < *lower)
            return beginning + u" допускаются значения не менее "_s + d.lower + QLatin1Char('.');
        return std::nullopt;
    }
    if (lower && upper) {
        if (value < *lower || value > *upper)
            return beginning + u" допускаются значения в пределах "_s + d.lower + u" .. "_s + d.upper +
                   QLatin1Char('.');
    } else if (lower) {
        if (value < *lower)
            return beginning + u" допускаются значения не менее "_s + d.lower + QLatin1Char('.');
    } else if (upper) {
        if (value > *upper)
            return beginning + u" допускаются значения не более "_s + d.upper + QLatin1Char('.');
    }
    return std::nullopt;
}

// Rounds to the nearest integer, ties to even.
long double nearestEven(long double x) {
    return std::nearbyint(x);
}
} // namespace

QString allowedCharsText(const SelectionDescriptor& d) {
    if (d.compactTexts)
        return d.isInteger() ? u"0..9"_s : u"0..9 и запятая"_s;
    return d.isInteger() ? u"0 .. 9"_s : u"0 .. 9 и запятая"_s;
}

QString rangeText(const SelectionDescriptor& d) {
    const bool lower = !d.lower.isEmpty();
    const bool upper = !d.upper.isEmpty();
    if (d.compactTexts) {
        if (lower && upper)
            return d.lower + u".."_s + d.upper;
        return lower ? u"не менее "_s + d.lower : u"больше 0"_s;
    }
    if (lower && upper)
        return d.lower + u" .. "_s + d.upper;
    if (lower)
        return u"больше либо равно "_s + d.lower;
    if (upper)
        return u"меньше либо равно "_s + d.upper;
    return u"без ограничений"_s;
}

bool acceptsKey(const SelectionDescriptor& d, QChar key) {
    if (key == QChar(8) || key == QChar(9) || (key >= QLatin1Char('0') && key <= QLatin1Char('9')))
        return true;
    return key == QLatin1Char(',') && !d.isInteger();
}

QString notANumberMessage(const QString& text) {
    return u"Ошибка. \""_s + text + u"\" - недопустимое числовое значение."_s;
}

std::optional<GridFault> checkGrid(const QList<SelectionRow>& rows,
                                   const QList<SelectionDescriptor>& descriptors, bool limits) {
    for (int column = 1; column <= 3; ++column)
        for (int row = 0; row < rows.size(); ++row) {
            const QString text = cell(rows[row], column);
            const auto value = parseNumber(text);
            if (!value)
                return GridFault{row, column, notANumberMessage(text)};
            // Negative numbers cannot be typed; a pasted one is no better than 0.
            if (*value <= 0)
                return GridFault{row, column, u"Ошибка. Допускаются значения больше 0."_s};
        }
    if (!limits)
        return std::nullopt;
    for (int row = 0; row < rows.size(); ++row) {
        const SelectionDescriptor* d = find(descriptors, rows[row].name);
        if (!d)
            continue;
        for (int column = 1; column <= 2; ++column)
            if (const auto fault = limitFault(*d, *parseNumber(cell(rows[row], column))))
                return GridFault{row, column, *fault};
    }
    return std::nullopt;
}

long long selectionCount(const QList<SelectionRow>& rows) {
    const auto levels = levelsOf(rows);
    if (!levels)
        return 0;
    long long count = 1;
    for (const Level& level : *levels) {
        if (level.step <= 0)
            return 0;
        count *= (long long)nearestEven(std::fabs(level.end - level.start) / level.step) + 1;
    }
    return count;
}

long double roundToStep(long double value, long double step) {
    return roundTo(value, -stepRoundDigits(double(step)));
}

std::optional<QList<Level>> levelsOf(const QList<SelectionRow>& rows) {
    QList<Level> levels;
    for (const SelectionRow& row : rows) {
        const auto start = parseNumber(row.start);
        const auto end = parseNumber(row.end);
        const auto step = parseNumber(row.step);
        if (!start || !end || !step)
            return std::nullopt;
        levels << Level{row.name, *start, *end, *step};
    }
    return levels;
}

namespace {
class Runner {
public:
    Runner(const QList<Level>& levels, const RunHooks& hooks) : levels_(levels), hooks_(hooks) {
        // The precision of each level's step, found once: it is a text look at the step.
        for (const Level& level : levels_)
            digits_ << -stepRoundDigits(double(level.step));
    }

    RunResult run() {
        if (!levels_.isEmpty())
            level(0);
        return result_;
    }

private:
    // True when the run must stop (found or stop requested).
    bool level(int k) {
        const Level& at = levels_[k];
        const bool innermost = k == levels_.size() - 1;
        // The step points from the start towards the end; a stored step of the wrong sign or 0
        // therefore tries nothing.
        const long double step = at.start > at.end ? -at.step : at.step;
        long double v = at.start;
        while ((v <= at.end && step > 0) || (v >= at.end && step < 0)) {
            if (hooks_.yield)
                hooks_.yield();
            const long double value = roundTo(v, digits_[k]);
            hooks_.apply(at.name, value);
            if (innermost) {
                if (computeAndDecide(value))
                    return true;
            } else if (level(k + 1)) {
                return true;
            }
            if (hooks_.advance)
                hooks_.advance();
            v += step;
        }
        return false;
    }

    bool computeAndDecide(long double value) {
        ++result_.combinations;
        if (hooks_.refusal)
            if (const auto message = hooks_.refusal()) {
                result_.outcome = Outcome::Refused;
                result_.refusal = *message;
                result_.inadmissible = true;
                return true;
            }
        const auto r = hooks_.resistance();
        if (r) {
            result_.r = r;
            result_.inadmissible = false;
            const auto required = hooks_.required ? hooks_.required() : std::nullopt;
            if (required && *required >= *r)
                result_.outcome = Outcome::Found;
        } else {
            result_.inadmissible = true;
        }
        if (hooks_.tried)
            hooks_.tried(value, r);
        if (result_.outcome == Outcome::Found)
            return true;
        if (hooks_.breakRequested && hooks_.breakRequested()) {
            result_.outcome = Outcome::Stopped;
            return true;
        }
        return false;
    }

    const QList<Level>& levels_;
    const RunHooks& hooks_;
    QList<int> digits_;
    RunResult result_;
};
} // namespace

RunResult runSelection(const QList<Level>& levels, const RunHooks& hooks) {
    return Runner(levels, hooks).run();
}

long long singleRunCount(long double start, long double end, long double step) {
    if (step == 0)
        return 0;
    const long double count = nearestEven(std::fabs(end - start) / std::fabs(step) + 1);
    return count > 0 ? (long long)count : 0;
}

} // namespace kz::selection
