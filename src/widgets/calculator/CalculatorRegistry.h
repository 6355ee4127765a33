#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

namespace kz {

class DataModule;

// What a calculator window needs from the program around it.
struct CalculatorEnvironment {
    DataModule& data;
};

using CalculatorFactory = std::function<QDialog*(CalculatorEnvironment&, QWidget* parent)>;

// One calculator of the main menu: its window class, caption, help context, kind code and
// menu path; the factory is set once the calculator is built (until then its item is disabled).
struct CalculatorInfo {
    QString className;
    QString caption;      // window caption
    QString menuCaption;  // last element of the menu path
    QStringList menuPath; // submenu captions above the item
    int helpContext = 0;
    int kindCode = 0; // 0 where the calculator has no kind code of its own
    CalculatorFactory factory;
};

class CalculatorRegistry {
public:
    // Every calculator of the menu in menu order, with the factories registered so far.
    static CalculatorRegistry& instance();

    const QList<CalculatorInfo>& all() const { return items_; }
    const CalculatorInfo* find(const QString& className) const;
    void setFactory(const QString& className, CalculatorFactory factory);

private:
    CalculatorRegistry();
    QList<CalculatorInfo> items_;
};

// Registers the factories of every calculator built so far.
void registerBuiltCalculators(CalculatorRegistry& registry);

} // namespace kz
