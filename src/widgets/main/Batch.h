#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>
#include <map>
#include <memory>

class QDialog;
class QWidget;

namespace kz {

struct CalculatorEnvironment;
struct CalculatorInfo;

// Runs calculator windows without showing them: a JSON array of cases in, a JSON array of
// results out. A case names the window class and gives input texts by object name: the
// calculator's own inputs by their plain names, a frame's field qualified where it would be
// ambiguous ("pFrame1.EditRo0"). Every case starts from the window as it opened; the inputs are
// set in the calculator's own order whatever the order of the keys, and the window calculates
// with its messages on.
class BatchRunner {
public:
    explicit BatchRunner(CalculatorEnvironment& env);
    ~BatchRunner();

    // Each computed case's report is written there as "<case name>.docx"; empty: none.
    void setReportDir(const QString& dir) { reportDir_ = dir; }

    // One result per case; allRan is false when any case could not be run.
    QJsonArray run(const QByteArray& json, bool* allRan);

    // Finds a widget by object name or dotted path below a window; error says why not.
    static QWidget* findInput(QWidget* window, const QString& path, QString* error);
    // Read-only fields of a window by their (qualified where ambiguous) object names.
    static QJsonObject outputs(QWidget* window);

private:
    struct Slot;
    QJsonObject runCase(const QJsonValue& value, bool* ran);
    QDialog* windowFor(const QString& className, const CalculatorInfo& info);
    void writeReport(QDialog* window, const QString& caseName, QJsonObject& result);
    CalculatorEnvironment& env_;
    QString reportDir_;
    int unnamedReports_ = 0;
    std::map<QString, Slot> windows_;
};

// Command line entry: kelvorzu2 --batch CASES.json [--out FILE]. Returns the exit code.
int runBatchCommand(const QStringList& arguments, CalculatorEnvironment& env);

} // namespace kz
