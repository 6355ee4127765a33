#pragma once

#include "core/model/CalculatorDescriptor.h"

#include <QTableWidget>

namespace kz {

// A grid of rows typed by the user (RowGridSetup): the number column, the editable cells that take
// only numbers with the decimal comma, and read-only columns that the calculator fills. Its rows
// travel as one text (RowGridText.h).
class RowGrid : public QTableWidget {
    Q_OBJECT
public:
    RowGrid(const RowGridSetup& setup, QWidget* parent = nullptr);

    const RowGridSetup& setup() const { return setup_; }
    int dataRowCount() const { return rowCount(); }
    // Rows numbered firstNumber … lastNumber; cells of the rows that stay are kept.
    void layOut(int lastNumber);
    // The editable cells of every row.
    QString rowsText() const;
    // Every column after the number, the computed ones too: what the grid shows.
    QString shownText() const;
    // Lays the grid out to the text's rows; cells beyond the editable ones fill the read-only
    // columns (emptied when the text has none).
    void setRowsText(const QString& text);
    // Empties every editable cell.
    void clearCells();
    // Selects a cell of a data row (column 1 is the first editable one) and gives it the focus.
    void selectCell(int row, int column);

signals:
    // The user changed a cell.
    void edited();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The texts of the columns 1 .. columns.
    QString rowsText(int columns) const;
    void setCell(int row, int column, const QString& text);
    void numberRows();

    RowGridSetup setup_;
    int writing_ = 0;
};

// The grid with its notes under it and its buttons in a row (by their object names).
QWidget* buildRowGridPanel(RowGrid* grid, QWidget* parent);

} // namespace kz
