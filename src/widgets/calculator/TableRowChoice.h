#pragma once

#include "core/model/CalculatorDescriptor.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QSpinBox;
class QPlainTextEdit;

namespace kz {

class DataModule;
class DataTable;
class TableGrid;
class TableNavigator;

// A row of a reference table chosen as the current row of its grid (RowChoice): the tab page with
// the table's picture, navigator, grid and legend, plus the key shown beside the input's caption
// and the check box that goes with the choice. The grid edits the table itself; the calculator
// session reads the rows and follows the chosen one by its key (rowChanged). The row's code lives in the
// hidden count "Kod", so that history, paste and a batch reach it as "<input>.Kod" like any other field.
class TableRowChoice : public QWidget {
    Q_OBJECT
public:
    TableRowChoice(const QString& name, const RowChoice& choice, DataModule& data, QWidget* parent = nullptr);

    // Binds the grid to the table of that item (the first one when there is no such item).
    void setTableIndex(int index);
    int tableIndex() const { return index_; }
    DataTable* table() const { return table_; }
    TableGrid* grid() const { return grid_; }
    TableNavigator* navigator() const { return navigator_; }
    QLabel* keyLabel() const { return keyLabel_; }
    QCheckBox* check() const { return check_; }

    // The row the grid stands on: its key (empty without a row) and its code.
    QString key() const;
    QString code() const;
    bool hasRow() const;
    // Chooses the row with this key, or else with this code; false when there is none.
    bool choose(const QString& keyOrCode);

signals:
    // The chosen row changed: by the user in the grid or the navigator, or by the program
    // (a key or code set, another table).
    void rowChanged(bool byUser);

private:
    void tableMoved();
    void show(const QString& key, const QString& code);
    const RowTable* current() const;

    RowChoice choice_;
    DataModule& data_;
    int index_ = -1;
    DataTable* table_ = nullptr;
    TableGrid* grid_ = nullptr;
    TableNavigator* navigator_ = nullptr;
    QLabel* picture_ = nullptr;
    QPlainTextEdit* legend_ = nullptr;
    QSpinBox* code_ = nullptr;
    QLabel* keyLabel_ = nullptr;
    QCheckBox* check_ = nullptr;
    QString shownKey_;
    QString shownCode_;
    int programmatic_ = 0;
};

} // namespace kz
