#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QStringList>
#include <map>
#include <memory>

class QDialog;
class QWidget;

namespace kz {

struct CalculatorEnvironment;
struct CalculatorInfo;

// Runs calculator windows without showing them: a JSON array of cases in, a JSON array of
// results out. A case names the window class and gives input texts by the widgets' object
// names ("FramePV.EditRo0" where a window has two frames); the inputs are set in the window's
// tab order, as a user would, and the window calculates with its messages on.
class BatchRunner {
public:
    explicit BatchRunner(CalculatorEnvironment& env);
    ~BatchRunner();

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
    CalculatorEnvironment& env_;
    std::map<QString, Slot> windows_;
};

// Command line entry: kelvorzu2 --batch CASES.json [--out FILE]. Returns the exit code.
int runBatchCommand(const QStringList& arguments, CalculatorEnvironment& env);

} // namespace kz
