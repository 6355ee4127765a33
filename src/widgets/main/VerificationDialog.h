#pragma once

#include "store/StoredVerification.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kz {

class DataModule;

// "Помощь" → "Проверка расчетов...": the shipped worked cases run against the current tables as
// the dialog opens, with a progress bar and a stop button, then a table of every case with the
// failing ones marked, and a .docx report of it for a reviewer.
class VerificationDialog : public QDialog {
    Q_OBJECT
public:
    explicit VerificationDialog(DataModule& data, QWidget* parent = nullptr);

    // Runs every case of the verification folder; returns when done or stopped.
    void runCases();
    // Asks the run to stop after the case it is computing.
    void stopCases() { stopRequested_ = true; }
    bool running() const { return running_; }
    const TablesVerification& verification() const { return verification_; }
    // Asks for a file name and writes the report there.
    void writeReport();

    enum Column { Calculator, Case, Source, Expected, Obtained, Deviation, Passed, Reason, ColumnCount };

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void showRows();
    void updateButtons();

    DataModule& data_;
    TablesVerification verification_;
    bool ran_ = false;
    bool running_ = false;
    bool stopRequested_ = false;
    bool closeRequested_ = false;
    QLabel* state_;
    QProgressBar* gauge_;
    QPushButton* stop_;
    QTableWidget* table_;
    QPushButton* repeat_;
    QPushButton* report_;
    QPushButton* close_;
};

} // namespace kz
