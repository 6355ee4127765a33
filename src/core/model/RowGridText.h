#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A grid of rows as one text, so that history, copy and paste, a batch and a selection run carry it
// like any input: the rows in order separated by ";", the cells of a row by "|", blanks around them
// dropped ("0,5||;|0,6|" holds two rows of three cells). The decimal comma needs neither.
namespace kz {

using GridRows = QList<QStringList>;
struct RowGridSetup;

// Every row has exactly `columns` cells (missing ones empty, extra ones dropped); an empty text
// holds no rows.
GridRows parseGridRows(const QString& text, int columns);
// The rows as written: cells trimmed, none added or dropped.
GridRows splitGridRows(const QString& text);
QString gridRowsText(const GridRows& rows);

// Why a user could not have typed the rows into the window's grid: a row with more cells than the
// grid has columns, text in a column the calculator fills, or an editable cell holding more than the
// digits and the decimal comma its editor takes. Names the grid, the row and the column; empty when
// every cell could have been typed.
QString untypeableGridCell(const QString& grid, const RowGridSetup& setup, const GridRows& rows);

// A cell named as a check's focus: "StringGrid1:3:1" is data row 3 (from 0), column 1.
QString gridCellName(const QString& grid, int row, int column);
struct GridCell {
    QString grid;
    int row = 0;
    int column = 0;
};
std::optional<GridCell> parseGridCell(const QString& name);

} // namespace kz
