#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// How a worked case's "expect" is held against what the case produced. One rule for the test
// program and for the verification a user runs: every expected text equal exactly, or, for a
// case with "within": [low, high], every expected output a number and the obtained one inside
// expected·(1 + low/100) … expected·(1 + high/100). "messages" and "warnings" are always compared
// exactly.
namespace kz {

struct OutputCheck {
    QString output; // "EditVS1", "messages", "warnings"
    QString expected;
    QString obtained;                // "(нет)" when the case produced no such output
    std::optional<double> deviation; // percent from the expected number, when both are numbers
    bool passed = false;
    QString problem; // why the output cannot be compared, if that is the reason it failed
};

struct ToleranceBand {
    double low = 0; // percent
    double high = 0;
};

struct CaseComparison {
    QList<OutputCheck> outputs;
    QString error; // the case is malformed or did not run: nothing was compared
    bool passed() const;
};

// The band of a case; error set when "within" is there but is not [low, high] with low <= high.
std::optional<ToleranceBand> toleranceBand(const QJsonObject& workedCase, QString* error);

// workedCase is the case as written (its "expect" and "within"), result what the case runner gave
// for it ("outputs", "messages", "error").
CaseComparison compareWithExpected(const QJsonObject& workedCase, const QJsonObject& result);

// A JSON value as the comparison shows it: a string as it is, anything else as compact JSON.
QString shownValue(const QJsonValue& value);

// "+6,36 %", "-0,50 %".
QString deviationText(double percent);

} // namespace kz
