#include "core/calculators/rods/TwoLayerCoefficients.h"

#include <QFile>
#include <QHash>
#include <QMap>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace kz;
using namespace Qt::StringLiterals;

namespace {

struct Rows {
    QStringList header;
    CoefficientRows rows;
};

// Tables held in memory, answering in the field order asked as the store does.
class MemoryTables : public CoefficientTables {
public:
    QHash<QString, Rows> tables;
    CoefficientRows rows(const QString& table, const QStringList& fields) const override {
        const Rows t = tables.value(table);
        CoefficientRows out;
        for (const CoefficientRow& row : t.rows) {
            CoefficientRow picked;
            for (const QString& f : fields) {
                const qsizetype c = t.header.indexOf(f);
                picked << (c < 0 ? std::nan("") : row[c]);
            }
            out << picked;
        }
        return out;
    }
};

// A table as the repository ships it: '#' comments, a header line, tab-separated decimal-comma cells.
Rows shipped(const QString& file) {
    QFile f(QStringLiteral(KELVOR_SOURCE_DIR) + u"/data/tables/"_s + file + u".tsv"_s);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(f.fileName()));
    Rows t;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList cells = line.split(u'\t');
        if (t.header.isEmpty()) {
            t.header = cells;
            continue;
        }
        CoefficientRow row;
        for (QString c : cells)
            row << c.replace(u',', u'.').toDouble();
        t.rows << row;
    }
    return t;
}

const MemoryTables& shippedTables() {
    static const MemoryTables t = [] {
        MemoryTables m;
        m.tables[u"vz2land.DB"_s] = shipped(u"vz2land.DB"_s);
        m.tables[u"gz2land.DB"_s] = shipped(u"gz2land.DB"_s);
        return m;
    }();
    return t;
}

double round4(double v) {
    return std::round(v * 10000) / 10000;
}

// Hand-made grids with a cross term, so that the rounding of every stage shows.
Rows rodGrid() {
    Rows t{{u"D"_s, u"L"_s, u"H1"_s, u"P1_P2"_s, u"A"_s}, {}};
    for (double l : {5.0, 10.0})
        for (double h : {1.0, 3.0})
            for (double p : {1.0, 5.0})
                t.rows << CoefficientRow{0.02, l, h, p,
                                         round4(0.3 - 0.012 * l + 0.021 * h + 0.0137 * p + 0.0011 * l * p)};
    return t;
}

Rows stripGrid() {
    Rows t{{u"L"_s, u"H1"_s, u"P1_P2"_s, u"T"_s, u"A"_s}, {}};
    for (double l : {10.0, 20.0})
        for (double h : {1.0, 3.0})
            for (double p : {1.0, 2.0})
                for (double to : {0.5, 0.8})
                    t.rows << CoefficientRow{
                        l, h, p, to,
                        round4(0.5 - 0.01 * l + 0.03 * h + 0.07 * p - 0.2 * to + 0.0123 * h * p)};
    return t;
}

constexpr double none = -1; // no coefficient expected

} // namespace

class TestTwoLayer : public QObject {
    Q_OBJECT
private slots:
    // In uniform earth a two-layer window gives the single-layer window's result: the rows at
    // p1/p2 = 1 are the uniform-earth formulas of the same electrode.
    void uniformSoil_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("formula");
        const double pi = std::numbers::pi;
        for (const CoefficientRow& r : shippedTables().tables[u"vz2land.DB"_s].rows) {
            const double d = r[0], l = r[1], h = r[2], ratio = r[3], t = l / 2 + 0.5;
            if (ratio == 1)
                QTest::addRow("rod D %g L %g H %g", d, l, h)
                    << r[4] << (std::log(2 * l / d) + 0.5 * std::log((4 * t + l) / (4 * t - l))) / (2 * pi * l);
        }
        const double d = 0.02;
        for (const CoefficientRow& r : shippedTables().tables[u"gz2land.DB"_s].rows) {
            const double l = r[0], h = r[1], ratio = r[2], to = r[3];
            if (ratio == 1)
                QTest::addRow("strip L %g H %g To %g", l, h, to) << r[4] << std::log(l * l / (d * to)) / (2 * pi * l);
        }
    }
    void uniformSoil() {
        QFETCH(double, a);
        QFETCH(double, formula);
        QVERIFY2(std::fabs(a / formula - 1) <= 0.01, qPrintable(u"%1 against %2"_s.arg(a).arg(formula)));
    }

    // A more resistive upper layer always raises the resistance, whichever layer holds the electrode.
    void risesWithRatio_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("ratioColumn");
        QTest::newRow("vz2land") << u"vz2land.DB"_s << 3;
        QTest::newRow("gz2land") << u"gz2land.DB"_s << 2;
    }
    void risesWithRatio() {
        QFETCH(QString, table);
        QFETCH(int, ratioColumn);
        QMap<QList<double>, QMap<double, double>> series;
        for (CoefficientRow r : shippedTables().tables[table].rows) {
            const double a = r.takeLast(), ratio = r.takeAt(ratioColumn);
            series[r][ratio] = a;
        }
        QVERIFY(!series.isEmpty());
        for (auto s = series.cbegin(); s != series.cend(); ++s) {
            const QList<double> a = s.value().values();
            QVERIFY2(a.size() >= 4, qPrintable(table));
            for (qsizetype i = 1; i < a.size(); ++i)
                QVERIFY2(a[i] > a[i - 1], qPrintable(table + u" at ratio %1"_s.arg(s.value().keys()[i])));
        }
    }

    // Whatever the windows accept finds a coefficient: bounds, grid values and points between them.
    void acceptedInputsFound_data() {
        QTest::addColumn<bool>("rod");
        QTest::newRow("vz2land") << true;
        QTest::newRow("gz2land") << false;
    }
    void acceptedInputsFound() {
        QFETCH(bool, rod);
        const QList<double> thickness{1, 1.01, 2.5, 3, 4.99, 5};
        const QList<double> ratios{0.5, 0.51, 0.99, 1, 1.5, 2, 3.33, 5, 7.77, 9.99, 10};
        int tried = 0;
        for (double h : thickness)
            for (double ratio : ratios) {
                if (rod) {
                    for (double d : {0.02, 0.04})
                        for (double l : {5.0, 5.01, 7.5, 10.0, 14.2, 19.99, 20.0}) {
                            const auto a = rodCoefficient(shippedTables(), d, l, h, ratio);
                            QVERIFY2(
                                a && *a > 0,
                                qPrintable(u"D %1 L %2 H %3 p1/p2 %4"_s.arg(d).arg(l).arg(h).arg(ratio)));
                            ++tried;
                        }
                } else {
                    for (double to : {0.5, 0.55, 0.8})
                        for (double l : {5.0, 6.0, 10.0, 33.3, 50.0, 99.99, 100.0}) {
                            const auto a = stripCoefficient(shippedTables(), l, h, ratio, to);
                            QVERIFY2(
                                a && *a > 0,
                                qPrintable(u"L %1 H %2 p1/p2 %3 To %4"_s.arg(l).arg(h).arg(ratio).arg(to)));
                            ++tried;
                        }
                }
            }
        QVERIFY(tried > 900);
    }

    // Worked look-ups over the hand-made grids: each step is linear in one coordinate and rounded to
    // 0,001, the innermost coordinate (the last in the row order) first.
    void lookup_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QList<double>>("inputs");
        QTest::addColumn<double>("expected");
        const QString rod = u"vz2land.DB"_s, strip = u"gz2land.DB"_s, grid = u"grid"_s;
        // rod inputs: D, L, H, p1/p2
        QTest::newRow("rod table point: stored A") << rod << grid << QList<double>{0.02, 10, 3, 5} << 0.3665;
        // 0,2802 − (0,2802 − 0,2257)·0,2 = 0,2693
        QTest::newRow("rod L between") << rod << grid << QList<double>{0.02, 6, 1, 1} << 0.269;
        QTest::newRow("rod H and ratio between") << rod << grid << QList<double>{0.02, 5, 2, 2.2} << 0.324;
        QTest::newRow("rod all between") << rod << grid << QList<double>{0.02, 7, 2.5, 4} << 0.355;
        QTest::newRow("rod 0,04 with rows for 0,02 only")
            << rod << grid << QList<double>{0.04, 7, 2.5, 4} << none;
        QTest::newRow("rod 0,04 at a table point") << rod << grid << QList<double>{0.04, 10, 3, 5} << none;
        // Bracketing runs over every diameter: a row of 0,04 at L = 7 narrows the cell of 0,02 at L = 6
        // to its rows at L = 5, and the one row found is taken as it stands.
        QTest::newRow("rod other diameter narrows the cell")
            << rod << u"other diameter"_s << QList<double>{0.02, 6, 1, 1} << 0.2802;
        QTest::newRow("rod other diameter, its own length")
            << rod << u"other diameter"_s << QList<double>{0.04, 7, 1, 1} << 0.5;
        QTest::newRow("rod empty table") << rod << u"empty"_s << QList<double>{0.02, 10, 3, 5} << none;
        QTest::newRow("rod hole, point") << rod << u"hole"_s << QList<double>{0.02, 10, 3, 5} << none;
        QTest::newRow("rod hole, cell") << rod << u"hole"_s << QList<double>{0.02, 7, 2.5, 4} << none;
        QTest::newRow("rod hole, elsewhere") << rod << u"hole"_s << QList<double>{0.02, 6, 1, 1} << 0.269;
        // strip inputs: L, H, p1/p2, To
        QTest::newRow("strip table point: stored A")
            << strip << grid << QList<double>{20, 3, 2, 0.8} << 0.4438;
        QTest::newRow("strip L between") << strip << grid << QList<double>{15, 1, 1, 0.5} << 0.362;
        QTest::newRow("strip L and ratio between")
            << strip << grid << QList<double>{12, 3, 1.3, 0.5} << 0.509;
        QTest::newRow("strip L fixed, three between")
            << strip << grid << QList<double>{10, 2, 1.3, 0.6} << 0.463;
        QTest::newRow("strip H fixed, three between")
            << strip << grid << QList<double>{12, 3, 1.3, 0.6} << 0.489;
        QTest::newRow("strip ratio fixed, three between")
            << strip << grid << QList<double>{12, 2.5, 2, 0.6} << 0.537;
        QTest::newRow("strip To fixed, three between")
            << strip << grid << QList<double>{12, 2.5, 1.7, 0.5} << 0.526;
        QTest::newRow("strip all four between") << strip << grid << QList<double>{12, 2.5, 1.7, 0.6} << 0.507;
        QTest::newRow("strip empty table") << strip << u"empty"_s << QList<double>{20, 3, 2, 0.8} << none;
        QTest::newRow("strip hole") << strip << u"hole"_s << QList<double>{12, 2.5, 1.7, 0.6} << none;
    }
    void lookup() {
        QFETCH(QString, table);
        QFETCH(QString, variant);
        QFETCH(QList<double>, inputs);
        QFETCH(double, expected);
        const bool rod = table == u"vz2land.DB"_s;
        Rows rows = rod ? rodGrid() : stripGrid();
        if (variant == u"empty"_s)
            rows.rows.clear();
        else if (variant == u"hole"_s)
            rows.rows.removeLast(); // the upper corner of every coordinate
        else if (variant == u"other diameter"_s)
            rows.rows << CoefficientRow{0.04, 7, 1, 1, 0.5};
        MemoryTables tables;
        tables.tables[table] = rows;
        const std::optional<double> a =
            rod ? rodCoefficient(tables, inputs[0], inputs[1], inputs[2], inputs[3])
                : stripCoefficient(tables, inputs[0], inputs[1], inputs[2], inputs[3]);
        if (expected == none) {
            QVERIFY2(!a, qPrintable(u"%1"_s.arg(a.value_or(0))));
            return;
        }
        QVERIFY(a);
        QCOMPARE(*a, expected);
    }
};

QTEST_APPLESS_MAIN(TestTwoLayer)
#include "tst_twolayer.moc"
