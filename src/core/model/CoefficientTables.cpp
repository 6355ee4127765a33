#include "core/model/CoefficientTables.h"

#include "core/common/NumberText.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kz {

CoefficientTables::~CoefficientTables() = default;

CoefficientRows CoefficientTables::rowsWhere(const QString&, const QStringList&, const QString&,
                                             const QString&) const {
    return {};
}

double interpolateStep(double x, double y, double t) {
    return double(roundTo(static_cast<long double>(x) - (static_cast<long double>(x) - y) * t, 3));
}

CoefficientRows completeRows(const CoefficientRows& rows, int fields, std::optional<LookupKey> of) {
    CoefficientRows complete;
    complete.reserve(rows.size());
    for (const CoefficientRow& row : rows) {
        if (row.size() != fields ||
            std::any_of(row.cbegin(), row.cend(), [](double v) { return std::isnan(v); }))
            continue;
        if (of && !sameTableValue(row[of->column], of->value))
            continue;
        complete << row;
    }
    return complete;
}

CoefficientRows bracketingRows(const CoefficientRows& rows, const QList<LookupKey>& keys,
                               const QList<LookupKey>& equal) {
    struct Bracket {
        std::optional<double> below, above;
    };
    QList<Bracket> brackets(keys.size());
    for (const CoefficientRow& row : rows)
        for (qsizetype k = 0; k < keys.size(); ++k) {
            if (keys[k].column >= row.size())
                continue;
            const double v = row[keys[k].column];
            if (std::isnan(v))
                continue;
            const double key = keys[k].value;
            Bracket& b = brackets[k];
            if ((v <= key || sameTableValue(v, key)) && (!b.below || v > *b.below))
                b.below = v;
            if ((v >= key || sameTableValue(v, key)) && (!b.above || v < *b.above))
                b.above = v;
        }

    // A key beyond the table on either side has nothing to interpolate between: never clamped to
    // the edge row.
    if (std::any_of(brackets.cbegin(), brackets.cend(), [](const Bracket& b) { return !b.below || !b.above; }))
        return {};

    auto holds = [](const std::optional<double>& bound, double v) {
        return bound && sameTableValue(*bound, v);
    };
    CoefficientRows picked;
    for (const CoefficientRow& row : rows) {
        bool take = true;
        for (qsizetype k = 0; take && k < keys.size(); ++k) {
            const int c = keys[k].column;
            take = c < row.size() && (holds(brackets[k].below, row[c]) || holds(brackets[k].above, row[c]));
        }
        for (qsizetype e = 0; take && e < equal.size(); ++e) {
            const int c = equal[e].column;
            take = c < row.size() && sameTableValue(row[c], equal[e].value);
        }
        if (take)
            picked << row;
    }
    std::stable_sort(picked.begin(), picked.end(), [&keys](const CoefficientRow& a, const CoefficientRow& b) {
        for (const LookupKey& k : keys) {
            if (sameTableValue(a[k.column], b[k.column]))
                continue;
            return a[k.column] < b[k.column];
        }
        return false;
    });
    return picked;
}

} // namespace kz
