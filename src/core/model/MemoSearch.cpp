#include "core/model/MemoSearch.h"

using namespace Qt::StringLiterals;

namespace kz {

QList<int> collectMatchPositions(const QStringList& lines, const QString& needle) {
    QList<int> found;
    if (needle.isEmpty())
        return found;
    int base = 0;
    for (const QString& line : lines) {
        int from = 0;
        while (true) {
            const int at = line.indexOf(needle, from, Qt::CaseSensitive);
            if (at < 0)
                break;
            found << base + at + 1;
            from = at + int(needle.size());
        }
        base += int(line.size()) + 2;
    }
    return found;
}

int documentOffset(const QStringList& lines, int position) {
    int base = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const int next = base + int(lines[i].size()) + 2;
        if (position <= next || i == lines.size() - 1)
            return position - 1 - i;
        base = next;
    }
    return position - 1;
}

QString notFoundMessage(MemoSearchMode mode, int column, const QString& needle) {
    const QString quoted = QLatin1Char('"') + needle + QLatin1Char('"');
    if (mode == MemoSearchMode::Substring)
        return u"Подстрока "_s + quoted + u" в порядке расчета не найдена."_s;
    const char* prefix = column == 0   ? "Наименование параметра "
                         : column == 1 ? "Обозначение параметра "
                                       : "Численное значение параметра ";
    return QString::fromUtf8(prefix) + quoted + u" в порядке расчета не найдено."_s;
}

void MatchList::set(const QList<int>& positions) {
    positions_ = positions;
    current_ = positions_.isEmpty() ? -1 : 0;
}

void MatchList::first() {
    if (!positions_.isEmpty())
        current_ = 0;
}

void MatchList::prior() {
    if (current_ > 0)
        --current_;
}

void MatchList::next() {
    if (current_ + 1 < count())
        ++current_;
}

void MatchList::last() {
    if (!positions_.isEmpty())
        current_ = count() - 1;
}

QString MatchList::counterText() const {
    return QString::number(current_ + 1) + u" из "_s + QString::number(count());
}

MatchButtons MatchList::buttons() const {
    MatchButtons b;
    if (count() < 2)
        return b;
    b.first = b.prior = current_ >= 1;
    b.next = b.last = current_ < count() - 1;
    return b;
}

} // namespace kz
