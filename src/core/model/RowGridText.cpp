#include "core/model/RowGridText.h"

#include "core/common/NumberText.h"
#include "core/model/CalculatorDescriptor.h"

using namespace Qt::StringLiterals;

namespace kz {

GridRows splitGridRows(const QString& text) {
    GridRows rows;
    if (text.trimmed().isEmpty())
        return rows;
    for (const QString& line : text.split(QLatin1Char(';'))) {
        QStringList cells;
        for (const QString& cell : line.split(QLatin1Char('|')))
            cells << cell.trimmed();
        rows << cells;
    }
    return rows;
}

GridRows parseGridRows(const QString& text, int columns) {
    GridRows rows = splitGridRows(text);
    for (QStringList& cells : rows) {
        while (cells.size() < columns)
            cells << QString();
        cells = cells.mid(0, columns);
    }
    return rows;
}

QString untypeableGridCell(const QString& grid, const RowGridSetup& setup, const GridRows& rows) {
    const int columns = int(setup.headers.size()) - 1; // after the number column
    for (int r = 0; r < rows.size(); ++r) {
        const QString row = u"строка "_s + QString::number(r + 1) + u" ("_s + setup.headers.value(0) + u" "_s +
                            QString::number(setup.firstNumber + r) + u")"_s;
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString& text = rows[r][c];
            if (c >= columns) {
                if (text.isEmpty())
                    continue;
                return u"в таблице "_s + grid + u", "_s + row + u", ячеек больше, чем столбцов ("_s +
                       QString::number(columns) + u")"_s;
            }
            const QString cell = u"значение \""_s + echoedText(text) + u"\" нельзя ввести в поле "_s + grid +
                                 u", "_s + row + u", столбец \""_s + setup.headers.value(c + 1) + u"\""_s;
            if (c >= setup.editableColumns) {
                if (!text.isEmpty())
                    return cell + u": этот столбец заполняет программа"_s;
            } else if (text.size() > editLineMaxLength) {
                return cell + u": ячейка вмещает не больше "_s + QString::number(editLineMaxLength) + u" знаков"_s;
            } else if (!isTypeableNumber(text)) {
                return cell + u": ячейка принимает только цифры и запятую"_s;
            }
        }
    }
    return {};
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
