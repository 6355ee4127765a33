#include "core/common/NumberText.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace Qt::StringLiterals;

using namespace kz;

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void parsesDecimalComma_data();
    void parsesDecimalComma();
    void plainDecimalsReadAsTheLibraryReadsThem();
    void generalDigitsAreThoseOfPrintf();
    void rejectsWhatIsNotANumber_data();
    void rejectsWhatIsNotANumber();
    void formatsShortestGeneral_data();
    void formatsShortestGeneral();
    void roundsTiesToEven_data();
    void roundsTiesToEven();
    void roundedValueEqualsItsDecimal();
    void formatsWithMask_data();
    void formatsWithMask();
    void derivesStepMasks_data();
    void derivesStepMasks();
    void splitsHints();

    void neverShowsWhatIsNotANumber();
    void maskShowsOnlyRealDigits_data();
    void maskShowsOnlyRealDigits();
    void storageRoundTrip_data();
    void storageRoundTrip();
    void longEchoedTextIsCut();
};

void TestNumberText::parsesDecimalComma_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("integer") << QStringLiteral("100") << 100.0;
    QTest::newRow("comma") << QStringLiteral("0,7") << 0.7;
    QTest::newRow("leading comma") << QStringLiteral(",5") << 0.5;
    QTest::newRow("trailing comma") << QStringLiteral("5,") << 5.0;
    QTest::newRow("blanks around") << QStringLiteral("  2,5 ") << 2.5;
    QTest::newRow("negative, as pasted") << QStringLiteral("-1") << -1.0;
    QTest::newRow("exponent") << QStringLiteral("1,5E3") << 1500.0;
    QTest::newRow("zero") << QStringLiteral("0") << 0.0;
}

void TestNumberText::parsesDecimalComma() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    double value = -999;
    QVERIFY(tryParseNumber(text, value));
    QCOMPARE(value, expected);
}

void TestNumberText::plainDecimalsReadAsTheLibraryReadsThem() {
    // Typed decimals are read on a short path; it must give the very value strtold gives.
    QRandomGenerator random(20261209);
    for (int i = 0; i < 20000; ++i) {
        const int count = 1 + int(random.bounded(19));
        QString digits;
        for (int d = 0; d < count; ++d)
            digits += QChar(u'0' + random.bounded(10));
        const int comma = int(random.bounded(count + 1));
        const QString text =
            (random.bounded(4) == 0 ? u"-"_s : QString()) + digits.left(comma) + u',' + digits.mid(comma);
        QByteArray c = text.toLatin1();
        c.replace(',', '.');
        const long double expected = std::strtold(c.constData(), nullptr);
        QVERIFY2(parseNumber(text) == expected, qPrintable(text));
    }
}

void TestNumberText::generalDigitsAreThoseOfPrintf() {
    // The general format takes its 15 digits from to_chars; printf must give the same ones.
    QRandomGenerator random(91220261);
    for (int i = 0; i < 20000; ++i) {
        const long double v =
            (random.generateDouble() - 0.25) * std::pow(10.0L, int(random.bounded(30)) - 12);
        char printed[64];
        std::snprintf(printed, sizeof printed, "%.14Le", v);
        QString digits = QString::fromLatin1(printed).section(u'e', 0, 0).remove(u'.').remove(u'-');
        while (digits.size() > 1 && digits.endsWith(u'0'))
            digits.chop(1);
        QString shown = formatGeneral(v).section(u'E', 0, 0).remove(u',').remove(u'-');
        while (shown.startsWith(u'0') && shown.size() > 1)
            shown.remove(0, 1);
        while (shown.size() > 1 && shown.endsWith(u'0'))
            shown.chop(1);
        QVERIFY2(shown == digits, qPrintable(QString::fromLatin1(printed) + u" -> "_s + formatGeneral(v)));
    }
}

void TestNumberText::rejectsWhatIsNotANumber_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << QStringLiteral("  ");
    QTest::newRow("decimal point") << QStringLiteral("0.7");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("two commas") << QStringLiteral("1,2,3");
    QTest::newRow("grouping blank") << QStringLiteral("1 000");
    QTest::newRow("lone comma") << QStringLiteral(",");
    QTest::newRow("lone sign") << QStringLiteral("-");
    QTest::newRow("dangling exponent") << QStringLiteral("1E");
    QTest::newRow("overflow") << QStringLiteral("1E99999");
    QTest::newRow("cyrillic") << u"пять"_s;
}

void TestNumberText::rejectsWhatIsNotANumber() {
    QFETCH(QString, text);
    double value = 0;
    QVERIFY(!tryParseNumber(text, value));
    QVERIFY(!parseNumber(text).has_value());
}

void TestNumberText::formatsShortestGeneral_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 2.0 << QStringLiteral("2");
    QTest::newRow("0,7 - 0,1") << 0.7 - 0.1 << QStringLiteral("0,6");
    QTest::newRow("0,1 + 0,2") << 0.1 + 0.2 << QStringLiteral("0,3");
    QTest::newRow("step hint") << 0.001 << QStringLiteral("0,001");
    QTest::newRow("result") << 21.81 << QStringLiteral("21,81");
    QTest::newRow("large") << 123456789.0 << QStringLiteral("123456789");
    QTest::newRow("negative") << -2.5 << QStringLiteral("-2,5");
    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("smallest fixed") << 0.00001 << QStringLiteral("0,00001");
    QTest::newRow("tiny") << 0.000001 << QStringLiteral("1E-6");
    QTest::newRow("huge") << 1.5e20 << QStringLiteral("1,5E20");
    QTest::newRow("15 digits") << 1.0 / 3.0 << QStringLiteral("0,333333333333333");
}

void TestNumberText::formatsShortestGeneral() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(formatGeneral(value), expected);
}

void TestNumberText::roundsTiesToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");
    QTest::newRow("to two") << 21.805123 << 2 << 21.81;
    QTest::newRow("tie down to even") << 2.5 << 0 << 2.0;
    QTest::newRow("tie up to even") << 3.5 << 0 << 4.0;
    QTest::newRow("five decimals") << 100.0 * 1.3 << 5 << 130.0;
    QTest::newRow("hundreds") << 1234.0 << -2 << 1200.0;
    QTest::newRow("negative") << -1.236 << 2 << -1.24;
}

void TestNumberText::roundsTiesToEven() {
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    QCOMPARE(double(roundTo(value, decimals)), expected);
}

void TestNumberText::roundedValueEqualsItsDecimal() {
    // 0,52·100/√169 is 4 to the last bit; rounded to hundredths it must stay exactly 4, or a
    // result shown as 4,00 would fail a limit of 4.
    const long double r = 0.52L * 100 / 13;
    QVERIFY(roundTo(r, 2) == 4.0L);
    QVERIFY(roundTo(21.805123L, 2) == 2181.0L / 100);
    QVERIFY(roundTo(0.7L, 1) <= 0.7L);
}

void TestNumberText::formatsWithMask_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    QTest::newRow("derived depth") << 3.2 << QStringLiteral("0.00") << QStringLiteral("3,20");
    QTest::newRow("whole") << 7.0 << QStringLiteral("0") << QStringLiteral("7");
    QTest::newRow("rounds half away") << 0.125 << QStringLiteral("0.00") << QStringLiteral("0,13");
    QTest::newRow("optional digits") << 0.05 << QStringLiteral("0.#####") << QStringLiteral("0,05");
    QTest::newRow("optional none") << 2.0 << QStringLiteral("0.#####") << QStringLiteral("2");
    QTest::newRow("no minus zero") << -0.001 << QStringLiteral("0.00") << QStringLiteral("0,00");
}

void TestNumberText::formatsWithMask() {
    QFETCH(double, value);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(formatMask(value, mask), expected);
}

void TestNumberText::derivesStepMasks_data() {
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("digits");
    QTest::newRow("0,01") << 0.01 << QStringLiteral("0.00") << -2;
    QTest::newRow("0,5") << 0.5 << QStringLiteral("0.0") << -1;
    QTest::newRow("0,001") << 0.001 << QStringLiteral("0.000") << -3;
    QTest::newRow("1") << 1.0 << QStringLiteral("0") << 0;
    QTest::newRow("10") << 10.0 << QStringLiteral("0") << 0;
    QTest::newRow("100") << 100.0 << QStringLiteral("0") << 0;
}

void TestNumberText::derivesStepMasks() {
    QFETCH(double, step);
    QFETCH(QString, mask);
    QFETCH(int, digits);
    QCOMPARE(stepFormatMask(step), mask);
    QCOMPARE(stepRoundDigits(step), digits);
}

void TestNumberText::splitsHints() {
    QCOMPARE(longHint(QStringLiteral("short|long one")), QStringLiteral("long one"));
    QCOMPARE(shortHint(QStringLiteral("short|long one")), QStringLiteral("short"));
    QCOMPARE(longHint(QStringLiteral("whole")), QStringLiteral("whole"));
    QCOMPARE(shortHint(QStringLiteral("whole")), QStringLiteral("whole"));
}

void TestNumberText::neverShowsWhatIsNotANumber() {
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    for (const long double v : {inf, -inf, nan}) {
        QCOMPARE(formatGeneral(v), QString());
        QCOMPARE(formatMask(v, QStringLiteral("0.00")), QString());
        QVERIFY(!shownNumber(v).has_value());
        QVERIFY(!shownNumber(v, QStringLiteral("0.00")).has_value());
        QVERIFY(!isShowable(v));
        QVERIFY(!fitsMask(v, QStringLiteral("0")));
    }
    QCOMPARE(shownNumber(21.814L, QStringLiteral("0.00")), std::optional<QString>(QStringLiteral("21,81")));
    QCOMPARE(shownNumber(0.6L), std::optional<QString>(QStringLiteral("0,6")));
}

void TestNumberText::maskShowsOnlyRealDigits_data() {
    QTest::addColumn<QString>("value"); // typed, as the inputs give it
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("fits");
    QTest::newRow("p0 of 1 and 100 zeros") << QStringLiteral("1") + QString(100, QLatin1Char('0'))
                                           << QStringLiteral("0.00") << QStringLiteral("1E100") << false;
    // The middle depth of a rod 12345678901234567890 m long at 0,7 m: the tail is not real.
    QTest::newRow("digits beyond precision")
        << QStringLiteral("6172839450617283945,7") << QStringLiteral("0.00")
        << QStringLiteral("6,17283945061728E18") << false;
    QTest::newRow("16 digits with the decimals")
        << QStringLiteral("12345678901234,5") << QStringLiteral("0.00") << QStringLiteral("12345678901234,5")
        << false;
    QTest::newRow("15 digits fit") << QStringLiteral("1234567890123,45") << QStringLiteral("0.00")
                                   << QStringLiteral("1234567890123,45") << true;
    QTest::newRow("optional digits count") << QStringLiteral("1234567890,123456") << QStringLiteral("0.#####")
                                           << QStringLiteral("1234567890,12346") << true;
    QTest::newRow("small stays fixed")
        << QStringLiteral("0,000001") << QStringLiteral("0.00") << QStringLiteral("0,00") << true;
    QTest::newRow("ordinary result") << QStringLiteral("21,805") << QStringLiteral("0.00")
                                     << QStringLiteral("21,81") << true;
}

void TestNumberText::maskShowsOnlyRealDigits() {
    QFETCH(QString, value);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QFETCH(bool, fits);
    const long double v = *parseNumber(value);
    QCOMPARE(formatMask(v, mask), expected);
    QCOMPARE(fitsMask(v, mask), fits);
    QVERIFY(!formatMask(v, mask).contains(QLatin1Char('.')));
}

void TestNumberText::storageRoundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("survives");
    QTest::newRow("1 and 400 zeros") << QStringLiteral("1") + QString(400, QLatin1Char('0')) << false;
    QTest::newRow("1E-400") << QStringLiteral("1E-400") << false;
    QTest::newRow("too small to keep its digits") << QStringLiteral("1E-310") << false;
    QTest::newRow("beyond shown precision") << QStringLiteral("150,000000000000001") << true;
    QTest::newRow("zero") << QStringLiteral("0") << true;
    QTest::newRow("ordinary") << QStringLiteral("0,7") << true;
    QTest::newRow("large but a double") << QStringLiteral("1E300") << true;
}

void TestNumberText::storageRoundTrip() {
    QFETCH(QString, text);
    QFETCH(bool, survives);
    QCOMPARE(survivesStorage(*parseNumber(text)), survives);
}

void TestNumberText::longEchoedTextIsCut() {
    const QString entry(10000, QLatin1Char('1'));
    const QString echoed = echoedText(entry);
    QVERIFY(echoed.size() < 100);
    QVERIFY(echoed.startsWith(entry.left(40)));
    QVERIFY(echoed.contains(QStringLiteral("10000")));
    QCOMPARE(echoedText(QStringLiteral("abc")), QStringLiteral("abc"));
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
