#include "core/calculators/complex/BuriedLattice.h"
#include "core/common/NumberText.h"

#include <QTest>

using namespace Qt::StringLiterals;

using namespace kz;

namespace {
// m.DB as the formula reads it: N, Otn, M.
class MTable : public CoefficientTables {
public:
    CoefficientRows rows(const QString& table, const QStringList&) const override {
        if (table != "m.DB"_L1)
            return {};
        return {{1, 1, 0.79},  {1, 1.5, 0.86}, {1, 4, 1.38},   {2, 2, 1.95}, {2, 4, 2.14}, {3, 1, 2},
                {3, 1.5, 1.5}, {4, 1, 3.38},   {4, 1.5, 3.09}, {4, 4, 2.88}, {5, 1, 8.13}};
    }
};
const MTable mTable;

// Type, cell length and width, To, the rod's diameter, p0.
CalcInputs latticeInputs(const QStringList& v) {
    CalcInputs in;
    in.texts = {{u"ComboGrunt"_s, u"суглинок"_s},
                {u"EditRo0"_s, v[5]},
                {u"EditPKV"_s, u"1"_s},
                {u"EditRo"_s, v[5]},
                {u"cmbSech"_s, u"сталь круглая"_s},
                {u"cmbDiam"_s, v[4]},
                {u"EditDiam0"_s, v[4]},
                {u"Tip"_s, v[0]},
                {u"EditDlina"_s, v[1]},
                {u"EditShir"_s, v[2]},
                {u"EditT"_s, v[3]}};
    in.diameter = parseNumber(v[4]);
    in.pMax = 1000;
    in.tables = &mTable;
    return in;
}
} // namespace

// The buried lattice: b, a and L by type, m from m.DB, R = p/(2πL)·[ln(L²/(To·D)) + m].
class TestBuriedLattice : public QObject {
    Q_OBJECT
private slots:
    void evaluate_data() {
        QTest::addColumn<QStringList>("inputs"); // type, bc, ac, To, D, p0
        QTest::addColumn<QString>("shown");      // b a b/a L m
        QTest::addColumn<QString>("r");
        QTest::addColumn<QString>("message");
        // 100/(2π·8) = 1,98944; ln(64/0,014) = 8,42762; 1,98944·(8,42762 + 0,79) = 18,338
        QTest::newRow("type 1") << QStringList{u"1"_s, u"2"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s}
                                << u"2 2 1 8 0,79"_s << u"18,34"_s << QString();
        // 100/(2π·14) = 1,13682; ln(196/0,014) = 9,54681; 1,13682·(9,54681 + 1,95) = 13,0698
        QTest::newRow("type 2") << QStringList{u"2"_s, u"2"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s}
                                << u"4 2 2 14 1,95"_s << u"13,07"_s << QString();
        // 150/(2π·48) = 0,49736; ln(2304/0,008) = 12,5707; 0,49736·(12,5707 + 8,13) = 10,2957
        QTest::newRow("type 5") << QStringList{u"5"_s, u"2"_s, u"2"_s, u"0,5"_s, u"0,016"_s, u"150"_s}
                                << u"6 6 1 48 8,13"_s << u"10,3"_s << QString();
        // b = 4, a = 2, L = 3·4 + 3·2; m at 2 not in the rows of type 3 (up to 1,5)
        QTest::newRow("type 3 beyond its rows")
            << QStringList{u"3"_s, u"2"_s, u"1"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << QString() << QString()
            << u"Ошибка. В таблице коэффициентов m (m.DB) нет значений для типа решетки 3, между которыми "
               u"лежит "
               u"отношение b/a = 2. Коэффициент m не определен."_s;
        // b = 3, a = 2, L = 2·3 + 4·2 = 14; m at 1,5 exactly
        QTest::newRow("type 4") << QStringList{u"4"_s, u"1"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s}
                                << u"3 2 1,5 14 3,09"_s << QString() << QString();
        QTest::newRow("ratio 4 passes") << QStringList{u"1"_s, u"4"_s, u"1"_s, u"0,7"_s, u"0,02"_s, u"100"_s}
                                        << u"4 1 4 10 1,38"_s << QString() << QString();
        QTest::newRow("ratio 4,0001 fails")
            << QStringList{u"1"_s, u"4,0001"_s, u"1"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << QString()
            << QString() << u"Ошибка. Отношение b/a должно быть в пределах от 1 до 4."_s;
        QTest::newRow("ratio below 1")
            << QStringList{u"1"_s, u"1"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << QString() << QString()
            << u"Ошибка. Отношение b/a должно быть в пределах от 1 до 4."_s;
    }
    void evaluate() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, shown);
        QFETCH(QString, r);
        QFETCH(QString, message);
        const Evaluation e = buriedlattice::calculator().evaluate(latticeInputs(inputs));
        QCOMPARE(e.failure ? e.failure->message : QString(), message);
        if (!r.isEmpty())
            QCOMPARE(e.resultText, r);
        if (!shown.isEmpty()) {
            QStringList values;
            for (const char* name : {"EditB", "EditA", "EditB_A", "EditL", "EditM"})
                values << e.shown.value(QString::fromLatin1(name));
            QCOMPARE(values.join(QLatin1Char(' ')), shown);
        }
    }

    // Between two rows m goes linearly: 1,25 halfway between 1 → 2 and 1,5 → 1,5.
    void coefficientM_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("m"); // NaN: no m
        QTest::newRow("stored ratio") << 1 << 1.5 << 0.86;
        QTest::newRow("1,25 halfway") << 3 << 1.25 << 1.75;
        // 0,86 + (1,38 − 0,86)·(3 − 1,5)/2,5 = 1,172
        QTest::newRow("between 1,5 and 4") << 1 << 3.0 << 1.17;
        QTest::newRow("above the rows") << 5 << 2.0 << qQNaN();
        QTest::newRow("below the rows") << 2 << 1.5 << qQNaN();
        QTest::newRow("no such type") << 6 << 1.0 << qQNaN();
    }
    void coefficientM() {
        QFETCH(int, type);
        QFETCH(double, ratio);
        QFETCH(double, m);
        const auto found = buriedlattice::coefficientM(&mTable, type, ratio);
        QCOMPARE(found.has_value(), !qIsNaN(m));
        if (found)
            QCOMPARE(double(*found), m);
        QVERIFY(!buriedlattice::coefficientM(nullptr, 1, 1));
    }

    // The ranges that keep 1 <= b/a <= 4 and the cell's captions by type.
    void labels_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        const QStringList t1{u"1"_s, u"2"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s};
        const QStringList t4{u"4"_s, u"2"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s};
        const QStringList t5{u"5"_s, u"2"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s};
        QTest::newRow("type 1 length") << t1 << u"lblRangeB"_s << u"( 2 =< b =< 8 )"_s;
        QTest::newRow("type 1 width") << t1 << u"lblRangeA"_s << u"( 0,5 =< a =< 2 )"_s;
        QTest::newRow("type 4 length") << t4 << u"lblRangeB"_s << u"( 0,66667 =< b/3 =< 2,66667 )"_s;
        QTest::newRow("type 4 width") << t4 << u"lblRangeA"_s << u"( 1,5 =< a =< 6 )"_s;
        QTest::newRow("type 5 width") << t5 << u"lblRangeA"_s << u"( 0,5 =< a/3 =< 2 )"_s;
        QTest::newRow("type 5 caption") << t5 << u"lblAY"_s << u"а/3 - ширина ячейки, м:"_s;
        QTest::newRow("type 4 caption") << t4 << u"lblBY"_s << u"b/3 - длина ячейки, м:"_s;
        QTest::newRow("no width") << QStringList{u"1"_s, u"2"_s, u"0"_s, u"0,7"_s, u"0,02"_s, u"100"_s}
                                  << u"lblRangeB"_s << QString();
    }
    void labels() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, label);
        QFETCH(QString, text);
        QCOMPARE(buriedlattice::calculator().rangeLabel(latticeInputs(inputs), label), text);
    }

    // With linking on, the other side of the cell follows so that b/a stays within 1 … 4.
    void linking_data() {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("moved");
        QTest::newRow("type 4: a 4 raises b to 1,34")
            << QStringList{u"4"_s, u"1"_s, u"4"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << u"EditShir"_s
            << u"EditDlina=1,34"_s;
        QTest::newRow("type 1: b 10 raises a to 2,5")
            << QStringList{u"1"_s, u"10"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << u"EditDlina"_s
            << u"EditShir=2,5"_s;
        QTest::newRow("type 2: a 3 raises b to 1,5")
            << QStringList{u"2"_s, u"1"_s, u"3"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << u"EditShir"_s
            << u"EditDlina=1,5"_s;
        QTest::newRow("type 3: b 1 lowers a to 1")
            << QStringList{u"3"_s, u"1"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << u"EditDlina"_s
            << u"EditShir=1"_s;
        QTest::newRow("within the range")
            << QStringList{u"1"_s, u"3"_s, u"2"_s, u"0,7"_s, u"0,02"_s, u"100"_s} << u"EditDlina"_s
            << QString();
    }
    void linking() {
        QFETCH(QStringList, inputs);
        QFETCH(QString, changed);
        QFETCH(QString, moved);
        CalcInputs in = latticeInputs(inputs);
        in.linking = true;
        QStringList out;
        const QMap<QString, QString> m = buriedlattice::calculator().link(in, changed);
        for (auto it = m.cbegin(); it != m.cend(); ++it)
            out << it.key() + u'=' + it.value();
        QCOMPARE(out.join(u' '), moved);
    }
};

QTEST_APPLESS_MAIN(TestBuriedLattice)
#include "tst_buriedlattice.moc"
