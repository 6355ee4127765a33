#pragma once

#include <QMainWindow>
#include <QMap>

class QLabel;

namespace kz {

class DataModule;

// The main window: the calculators' menu, hints of any window in the status bar, F1 help.
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(DataModule& data, QWidget* parent = nullptr);
    ~MainForm() override;

    // Creates every built calculator window once; they live until the program ends.
    void createWindows();
    QDialog* window(const QString& className) const { return windows_.value(className); }
    // Shows a calculator window modally, as its menu item does.
    void openCalculator(const QString& className);
    QString statusText() const;
    // The worked cases against the current tables, in their dialog.
    void showVerification();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void showHint(const QString& hint);

    DataModule& data_;
    QLabel* hintPanel_;
    QMap<QString, QDialog*> windows_;
};

} // namespace kz
