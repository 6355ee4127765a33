#pragma once

#include "core/model/Calculator.h"
#include "core/model/HistoryMapping.h"

#include <QObject>

namespace kz {

class CalculatorWindow;
class DataModule;

// The toolbar's commands of a calculator window that act on its inputs as a whole or open other
// windows: history, copy and paste, the report, the reference dictionaries (soils, steels, soil
// corrosion, a list's materials), the calculator's tables and the calculation-order viewer.
class CalculatorCommands : public QObject {
    Q_OBJECT
public:
    CalculatorCommands(CalculatorWindow& window, const Calculator& calculator, DataModule& data);

    // Connects the toolbar's buttons of these commands.
    void wire();
    // The dictionaries' buttons, enabled as far as their dialogs exist.
    void enableDictionaries();

    void saveToHistory();
    void loadFromHistory();
    void copyParameters();
    void pasteParameters();
    // The report into a document the user names, then opened for editing, saving or printing.
    void exportReport();
    // The report of the result on screen written into a .docx at path; false with the reason.
    bool writeReport(const QString& path, QString* error);
    const CopyBuffer& copyBuffer() const { return copyBuffer_; }

private:
    void wireTablesDialog();
    void showCalcOrderViewer();
    void runSoilDictionary();
    void runSectionDictionary(bool corrosion);
    // The corrosion dictionary opens where the construction frame stands (outside the all mode).
    void locateCorrosion(int section);
    // The list input whose items come from the steels dictionary, if any.
    const GeometryInput* materialChoice() const;
    void runChoiceDictionary();

    CalculatorWindow& window_;
    const Calculator& calc_;
    const CalculatorDescriptor& d_;
    DataModule& data_;
    CopyBuffer copyBuffer_;
};

} // namespace kz
