#include "core/model/RowGridText.h"

namespace kz {

GridRows parseGridRows(const QString& text, int columns) {
    GridRows rows;
    if (text.trimmed().isEmpty())
        return rows;
    for (const QString& line : text.split(QLatin1Char(';'))) {
        QStringList cells;
        for (const QString& cell : line.split(QLatin1Char('|')))
            cells << cell.trimmed();
        while (cells.size() < columns)
            cells << QString();
        rows << cells.mid(0, columns);
    }
    return rows;
}

QString gridRowsText(const GridRows& rows) {
    QStringList lines;
    for (const QStringList& row : rows)
        lines << row.join(QLatin1Char('|'));
    return lines.join(QLatin1Char(';'));
}

QString gridCellName(const QString& grid, int row, int column) {
    return QStringLiteral("%1:%2:%3").arg(grid).arg(row).arg(column);
}

std::optional<GridCell> parseGridCell(const QString& name) {
    const QStringList parts = name.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return std::nullopt;
    bool rowOk = false;
    bool columnOk = false;
    GridCell cell{parts[0], parts[1].toInt(&rowOk), parts[2].toInt(&columnOk)};
    if (!rowOk || !columnOk)
        return std::nullopt;
    return cell;
}

} // namespace kz
