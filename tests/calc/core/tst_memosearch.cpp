#include "core/model/MemoSearch.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

class TestMemoSearch : public QObject {
    Q_OBJECT
private slots:
    void positions_data();
    void positions();
    void offsetsInADocument_data();
    void offsetsInADocument();
    void notFoundMessages_data();
    void notFoundMessages();
    void buttons_data();
    void buttons();
    void navigation();
};

void TestMemoSearch::positions_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("ab ab") << QStringList{QStringLiteral("ab ab")} << QStringLiteral("ab")
                           << QList<int>{1, 4};
    QTest::newRow("no overlap") << QStringList{QStringLiteral("aaa")} << QStringLiteral("aa")
                                << QList<int>{1};
    QTest::newRow("aaaa twice") << QStringList{QStringLiteral("aaaa")} << QStringLiteral("aa")
                                << QList<int>{1, 3};
    // 10 characters, a line break counted as two, then column 3: 10 + 2 + 3.
    QTest::newRow("second line") << QStringList{QStringLiteral("0123456789"), QStringLiteral("R=21,81")}
                                 << QStringLiteral("21,81") << QList<int>{15};
    QTest::newRow("every line") << QStringList{QStringLiteral("L = 5"), QString(), QStringLiteral("2*L/D")}
                                << QStringLiteral("L") << QList<int>{1, 12};
    QTest::newRow("case-sensitive") << QStringList{u"Ом и ом"_s} << u"Ом"_s << QList<int>{1};
    QTest::newRow("empty needle finds nothing")
        << QStringList{QStringLiteral("abc")} << QString() << QList<int>{};
    QTest::newRow("absent") << QStringList{QStringLiteral("abc")} << QStringLiteral("x") << QList<int>{};
}

void TestMemoSearch::positions() {
    QFETCH(QStringList, lines);
    QFETCH(QString, needle);
    QFETCH(QList<int>, expected);
    QCOMPARE(collectMatchPositions(lines, needle), expected);
}

void TestMemoSearch::offsetsInADocument_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("offset");
    const QStringList two{QStringLiteral("0123456789"), QStringLiteral("R=21,81")};
    // Position 15 is offset 14 of the text with two-character breaks, 13 of a one-character one.
    QTest::newRow("second line") << two << 15 << 13;
    QTest::newRow("first character") << two << 1 << 0;
    QTest::newRow("end of first line") << two << 10 << 9;
    QTest::newRow("start of second line") << two << 13 << 11;
    QTest::newRow("third line after an empty one")
        << QStringList{QStringLiteral("ab"), QString(), QStringLiteral("cd")} << 7 << 4;
}

void TestMemoSearch::offsetsInADocument() {
    QFETCH(QStringList, lines);
    QFETCH(int, position);
    QFETCH(int, offset);
    QCOMPARE(documentOffset(lines, position), offset);
    // The character found there is the one the position names.
    const QString document = lines.join(QLatin1Char('\n'));
    const QString crlf = lines.join(QStringLiteral("\r\n"));
    QCOMPARE(document.at(offset), crlf.at(position - 1));
}

void TestMemoSearch::notFoundMessages_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << 0 << 0 << u"Наименование параметра \"x\" в порядке расчета не найдено."_s;
    QTest::newRow("designation") << 0 << 1 << u"Обозначение параметра \"x\" в порядке расчета не найдено."_s;
    QTest::newRow("value") << 0 << 2 << u"Численное значение параметра \"x\" в порядке расчета не найдено."_s;
    QTest::newRow("substring") << 1 << 0 << u"Подстрока \"x\" в порядке расчета не найдена."_s;
}

void TestMemoSearch::notFoundMessages() {
    QFETCH(int, mode);
    QFETCH(int, column);
    QFETCH(QString, message);
    QCOMPARE(notFoundMessage(MemoSearchMode(mode), column, QStringLiteral("x")), message);
}

void TestMemoSearch::buttons_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("moves");     // next() calls after set()
    QTest::addColumn<QString>("state"); // first prior next last
    QTest::addColumn<QString>("counter");
    QTest::newRow("none") << 0 << 0 << QStringLiteral("0000") << u"0 из 0"_s;
    QTest::newRow("one") << 1 << 0 << QStringLiteral("0000") << u"1 из 1"_s;
    QTest::newRow("three at 0") << 3 << 0 << QStringLiteral("0011") << u"1 из 3"_s;
    QTest::newRow("three at 1") << 3 << 1 << QStringLiteral("1111") << u"2 из 3"_s;
    QTest::newRow("three at 2") << 3 << 2 << QStringLiteral("1100") << u"3 из 3"_s;
    QTest::newRow("next stops at the last") << 3 << 5 << QStringLiteral("1100") << u"3 из 3"_s;
}

void TestMemoSearch::buttons() {
    QFETCH(int, count);
    QFETCH(int, moves);
    QFETCH(QString, state);
    QFETCH(QString, counter);
    QList<int> positions;
    for (int i = 0; i < count; ++i)
        positions << 1 + 10 * i;
    MatchList list;
    list.set(positions);
    for (int i = 0; i < moves; ++i)
        list.next();
    const MatchButtons b = list.buttons();
    const QString got = QString::number(int(b.first)) + QString::number(int(b.prior)) +
                        QString::number(int(b.next)) + QString::number(int(b.last));
    QCOMPARE(got, state);
    QCOMPARE(list.counterText(), counter);
}

void TestMemoSearch::navigation() {
    MatchList list;
    list.set({3, 9, 27});
    QCOMPARE(list.current(), 0);
    list.last();
    QCOMPARE(list.currentPosition(), 27);
    list.prior();
    QCOMPARE(list.currentPosition(), 9);
    list.first();
    list.prior(); // nothing before the first
    QCOMPARE(list.current(), 0);
    list.clear();
    QCOMPARE(list.current(), -1);
    QCOMPARE(list.counterText(), u"0 из 0"_s);
}

QTEST_APPLESS_MAIN(TestMemoSearch)
#include "tst_memosearch.moc"
