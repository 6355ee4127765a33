#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>

// Reference tables of coefficients as the formulas read them: numbers only, no widgets, no SQL.
// The store provides them (cached until a table is edited); tests hand in rows of their own.
namespace kz {

using CoefficientRow = QList<double>;
using CoefficientRows = QList<CoefficientRow>;

class CoefficientTables {
public:
    virtual ~CoefficientTables();
    // Every row of a table (its file name, "vz2land.DB"), the named fields in the order asked;
    // an empty field reads as NaN. No rows when the table is not open.
    virtual CoefficientRows rows(const QString& table, const QStringList& fields) const = 0;
    // The rows whose text field holds the value ("Razm" = "ряд"), the named fields as above.
    virtual CoefficientRows rowsWhere(const QString& table, const QStringList& fields,
                                      const QString& textField, const QString& value) const;
};

// A coordinate of a look-up: the row column it is compared with and the value sought.
struct LookupKey {
    int column = 0;
    double value = 0;
};

// The rows a bracketing look-up interpolates between. For every key the largest value of its
// column not above the key and the smallest not below it are taken over the whole table (one
// value when the key is in the table); the rows whose key columns all hold one of those and whose
// `equal` columns hold their values are returned, ordered by the key columns in the order given.
// A key outside the table's range (or not a number) gives no rows: a point outside the table is
// never moved to its edge.
CoefficientRows bracketingRows(const CoefficientRows& rows, const QList<LookupKey>& keys,
                               const QList<LookupKey>& equal = {});

// The rows that hold a number in each of their first `fields` fields and, when asked, the value of
// `of` in its column: what a look-up may interpolate between.
CoefficientRows completeRows(const CoefficientRows& rows, int fields, std::optional<LookupKey> of = {});

// Table values are compared as numbers, never as text; a stored 0,1 and a typed 0,1 are equal.
// Inline: a look-up compares every row of its table.
// Beyond a double's range a value is no table value: infinity equals nothing but itself.
inline bool sameTableValue(double a, double b) {
    if (!std::isfinite(a) || !std::isfinite(b))
        return a == b;
    const double scale = std::max(1.0, std::max(std::fabs(a), std::fabs(b)));
    return std::fabs(a - b) <= 1e-9 * scale;
}

// X − (X − Y)·t rounded to 0,001: one step of the handbooks' staged interpolation.
double interpolateStep(double x, double y, double t);

} // namespace kz
