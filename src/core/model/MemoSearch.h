#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Searching the calculation-order text in the viewer. Positions are 1-based characters of the
// text with every line break counted as two characters, as the text is saved to a file.
namespace kz {

enum class MemoSearchMode { Parameter = 0, Substring = 1 };

// Every occurrence of needle, case-sensitive, line by line, never overlapping, in text order.
QList<int> collectMatchPositions(const QStringList& lines, const QString& needle);
// The 0-based offset of a position in a document whose line breaks are one character.
int documentOffset(const QStringList& lines, int position);

// "Обозначение параметра "X" в порядке расчета не найдено." and the like; column is the grid
// column of the searched cell in parameter mode.
QString notFoundMessage(MemoSearchMode mode, int column, const QString& needle);

struct MatchButtons {
    bool first = false;
    bool prior = false;
    bool next = false;
    bool last = false;
};

// The viewer's match list with its current index (-1 when there is no match).
class MatchList {
public:
    void set(const QList<int>& positions);
    void clear() { set({}); }
    int count() const { return int(positions_.size()); }
    int current() const { return current_; }
    int currentPosition() const { return current_ < 0 ? 0 : positions_.at(current_); }
    const QList<int>& positions() const { return positions_; }

    void first();
    void prior();
    void next();
    void last();

    // "1 из 2"; "0 из 0" when empty.
    QString counterText() const;
    // Moving makes sense only among two matches or more.
    MatchButtons buttons() const;

private:
    QList<int> positions_;
    int current_ = -1;
};

} // namespace kz
