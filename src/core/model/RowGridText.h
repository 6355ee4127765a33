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

// Every row has exactly `columns` cells (missing ones empty, extra ones dropped); an empty text
// holds no rows.
GridRows parseGridRows(const QString& text, int columns);
QString gridRowsText(const GridRows& rows);

// A cell named as a check's focus: "StringGrid1:3:1" is data row 3 (from 0), column 1.
QString gridCellName(const QString& grid, int row, int column);
struct GridCell {
    QString grid;
    int row = 0;
    int column = 0;
};
std::optional<GridCell> parseGridCell(const QString& name);

} // namespace kz
