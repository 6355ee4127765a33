#pragma once

#include "core/session/CalculatorSession.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <functional>
#include <map>

// The batch mode: a JSON array of cases in, a JSON array of results out, every case computed on a
// calculator session without any window. A case names the calculator ("TDVertFm") and gives input
// texts by name: the calculator's own inputs by their plain names, a frame's field qualified where
// it would be ambiguous ("pFrame1.EditRo0"). Every case starts from the calculator as it opens; the
// inputs are set in the calculator's own order whatever the order of the keys.
namespace kz {

// What became of one case: an error, or the texts shown and the messages said.
struct CaseResult {
    QString calculator;
    QJsonValue name; // undefined when the case has none
    QString error;
    bool ran = false;
    CalculatorSession::ShownTexts outputs; // in the order of their names
    QStringList messages;
    bool said = false; // messages belong to the result (a case that ran, or failed on an input)
    QString report;
    QString reportError;
    // Conditions of the formula that hold only weakly: the result stands, approximate.
    QStringList warnings;

    QJsonObject toJson() const;
};

// The message of a case whose texts held invalid characters, replaced before it ran.
QString invalidTextMessage();

class CaseRunner {
public:
    explicit CaseRunner(const FrameData& data);

    // Writes the report of a computed case to path; false with the reason.
    using ReportWriter =
        std::function<bool(const Calculator&, const ReportSource&, const QString& path, QString* error)>;
    // Each computed case's report is written there as "<case name>.docx"; empty: none.
    void setReports(const QString& dir, ReportWriter writer);

    // One result per case; allRan is false when any case could not be run.
    QJsonArray run(const QByteArray& json, bool* allRan);
    // The same results as indented JSON text.
    QByteArray runToText(const QByteArray& json, bool* allRan);
    CaseResult runCase(const QJsonValue& value);
    // Reports that were due but could not be written.
    int failedReports() const { return failedReports_; }

private:
    template <typename Each> bool runAll(const QByteArray& json, Each&& each);
    void writeReport(const CalculatorSession& session, const QString& caseName, CaseResult& result);
    QString freeReportPath(const QString& base);

    const FrameData& data_;
    QString reportDir_;
    ReportWriter reportWriter_;
    int unnamedReports_ = 0;
    int failedReports_ = 0;
    QSet<QString> claimedReports_; // file names given in this run, case-folded
    bool mayHoldLoneSurrogates_ = true;
    // Opening a calculator costs more than a case: each is opened once and copied per case.
    std::map<QString, CalculatorSession> opened_;
};

} // namespace kz
