// Consistency checks of the reference-table sources in data/tables/*.tsv.
//
// The sources are read directly, with a small parser of their text format:
// UTF-8 without BOM, LF line ends, '#' comment lines, blank lines ignored,
// a header line of field names, then one tab-separated row per line;
// numbers with the decimal comma, an empty cell is NULL.
//
// The checks are those the program relies on when it opens the tables: the
// post rules of the data module (complete records, steel minimums, ranges),
// the rows the windows need at start-up, the corrosion chain and its size
// texts, the look-up grids of the interpolating calculators and the captions
// of the stored selection settings.

#include <QtTest/QtTest>

#include <QFile>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QString tablesDir()
{
    return QString::fromUtf8(KELVOR_DATA_SOURCE_DIR) + QStringLiteral("/tables/");
}

// ---------------------------------------------------------------- schema

enum class FieldType { String, Integer, Float, AutoInc };

struct FieldDef
{
    QString name;
    FieldType type;
    int length; // strings only
};

struct TableDef
{
    QString file;
    QList<FieldDef> fields;
    bool kodRequired; // master of a master-detail chain: Kod given explicitly
};

FieldDef fieldS(const char *n, int len = 20) { return {QString::fromUtf8(n), FieldType::String, len}; }
FieldDef fieldI(const char *n) { return {QString::fromUtf8(n), FieldType::Integer, 0}; }
FieldDef fieldF(const char *n) { return {QString::fromUtf8(n), FieldType::Float, 0}; }
FieldDef fieldA(const char *n) { return {QString::fromUtf8(n), FieldType::AutoInc, 0}; }

const QList<TableDef> &schema()
{
    static const QList<TableDef> defs = {
        {QStringLiteral("raion.db"),
         {fieldS("Raion"), fieldI("JanTemp1"), fieldI("JanTemp2"), fieldI("JuneTemp1"), fieldI("JuneTemp2"), fieldI("IceWater1"),
          fieldI("IceWater2"), fieldF("V3p"), fieldF("V3s"), fieldF("V3m"), fieldF("V5p"), fieldF("V5s"), fieldF("V5m"), fieldF("G10p"),
          fieldF("G10s"), fieldF("G10m"), fieldF("G50p"), fieldF("G50s"), fieldF("G50m")},
         false},
        {QStringLiteral("P_udel.DB"), {fieldS("Grunt"), fieldF("PMin"), fieldF("PMax"), fieldF("PDefault")}, false},
        {QStringLiteral("KIGZ.DB"), {fieldS("Razm", 10), fieldI("N"), fieldI("Otnosh"), fieldF("KI")}, false},
        {QStringLiteral("Kivz.DB"), {fieldS("Razm", 10), fieldI("N"), fieldI("Otnosh"), fieldF("KI")}, false},
        {QStringLiteral("Kipp.DB"), {fieldF("Dlina"), fieldI("N"), fieldF("Ras"), fieldF("KI")}, false},
        {QStringLiteral("st_krug.db"), {fieldF("Diam"), fieldF("Massa")}, false},
        {QStringLiteral("st_kvad.db"), {fieldF("Storona"), fieldF("Massa")}, false},
        {QStringLiteral("st_polos.db"), {fieldF("Shir"), fieldF("Tol"), fieldF("Massa")}, false},
        {QStringLiteral("st_truba.db"), {fieldF("Diam"), fieldF("Tol")}, false},
        {QStringLiteral("st_uglov.db"), {fieldF("Shir"), fieldF("Tol"), fieldF("Massa")}, false},
        {QStringLiteral("truboprov.DB"), {fieldF("Diam"), fieldF("Tol")}, false},
        {QStringLiteral("Z05.db"), {fieldF("L"), fieldF("Rp"), fieldF("Zo")}, false},
        {QStringLiteral("Z075.db"), {fieldF("L"), fieldF("Rp"), fieldF("Zo")}, false},
        {QStringLiteral("Z15.db"), {fieldF("L"), fieldF("Rp"), fieldF("Zo")}, false},
        {QStringLiteral("m.DB"), {fieldI("N"), fieldF("Otn"), fieldF("M")}, false},
        {QStringLiteral("Kiluch.DB"), {fieldI("N"), fieldF("Dlina"), fieldF("KI")}, false},
        {QStringLiteral("sv_fund.db"), {fieldA("Kod"), fieldS("Marka"), fieldF("Dlina"), fieldF("Diam")}, false},
        {QStringLiteral("sb_fund.db"),
         {fieldA("Kod"), fieldS("Marka"), fieldF("DlinaSt"), fieldF("DiamSt"), fieldF("DlinaPl"), fieldF("ShirPl"), fieldF("VusPl")},
         false},
        {QStringLiteral("kifund.db"), {fieldF("Schema"), fieldF("KI")}, false},
        {QStringLiteral("parpod0.db"), {fieldA("Kod"), fieldI("KodTip")}, true},
        {QStringLiteral("sparpod1.DB"), {fieldA("Kod"), fieldI("Kod0"), fieldS("Param", 100), fieldF("Shag")}, false},
        {QStringLiteral("iparpod1.DB"),
         {fieldA("Kod"), fieldI("Kod0"), fieldS("Param", 100), fieldI("BValue"), fieldI("EValue"), fieldI("Shag")},
         false},
        {QStringLiteral("rparpod1.DB"),
         {fieldA("Kod"), fieldI("Kod0"), fieldS("Param", 100), fieldF("BValue"), fieldF("EValue"), fieldF("Shag")},
         false},
        {QStringLiteral("ro_inc.db"), {fieldA("Kod"), fieldF("MinValue"), fieldF("MaxValue"), fieldF("Inc1"), fieldF("Inc2"), fieldF("Inc3")}, false},
        {QStringLiteral("vz2land.DB"), {fieldF("D"), fieldF("L"), fieldF("H1"), fieldF("P1_P2"), fieldF("A")}, false},
        {QStringLiteral("gz2land.DB"), {fieldF("L"), fieldF("H1"), fieldF("P1_P2"), fieldF("T"), fieldF("A")}, false},
        {QStringLiteral("korgrunt0.db"), {fieldA("Kod"), fieldS("Name", 30), fieldF("Pmin"), fieldF("Pmax")}, true},
        {QStringLiteral("korgrunt1.DB"), {fieldA("Kod"), fieldI("Kod0"), fieldS("Vid")}, true},
        {QStringLiteral("korgrunt2.DB"), {fieldA("Kod"), fieldI("Kod0"), fieldS("Status")}, true},
        {QStringLiteral("korgrunt3.DB"), {fieldA("Kod"), fieldI("Kod0"), fieldS("Construct", 30)}, true},
        {QStringLiteral("korgrunt4.DB"), {fieldA("Kod"), fieldI("Kod0"), fieldS("Razmer")}, false},
    };
    return defs;
}

const TableDef *tableDef(const QString &file)
{
    for (const TableDef &d : schema())
        if (d.file == file)
            return &d;
    return nullptr;
}

// ---------------------------------------------------------------- parser

struct Table
{
    QString file;
    QStringList header;
    QList<QStringList> rows;
    QStringList errors;

    int col(const QString &field) const { return header.indexOf(field); }
    bool has(const QString &field) const { return col(field) >= 0; }
    QString text(int row, const QString &field) const
    {
        const int c = col(field);
        return c < 0 ? QString() : rows.at(row).at(c);
    }
    double num(int row, const QString &field) const;
    int integer(int row, const QString &field) const { return int(std::lround(num(row, field))); }
};

// A number of the sources: optional minus, digits, optional decimal comma and digits.
std::optional<double> parseNumber(const QString &cell)
{
    static const QRegularExpression re(QStringLiteral("^-?[0-9]+(,[0-9]+)?$"));
    if (!re.match(cell).hasMatch())
        return std::nullopt;
    QString c = cell;
    c.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = c.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

double Table::num(int row, const QString &field) const
{
    const auto v = parseNumber(text(row, field));
    return v ? *v : std::nan("");
}

Table loadTable(const QString &file)
{
    Table t;
    t.file = file;
    QFile f(tablesDir() + file + QStringLiteral(".tsv"));
    if (!f.open(QIODevice::ReadOnly)) {
        t.errors << QStringLiteral("cannot open ") + f.fileName();
        return t;
    }
    const QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        t.errors << QStringLiteral("file starts with a byte order mark");
    if (bytes.contains('\r'))
        t.errors << QStringLiteral("file contains CR characters (LF line ends expected)");
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString content = decoder(bytes);
    if (decoder.hasError())
        t.errors << QStringLiteral("file is not valid UTF-8");

    const QStringList lines = content.split(QLatin1Char('\n'));
    bool haveHeader = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        if (!haveHeader) {
            t.header = cells;
            haveHeader = true;
            continue;
        }
        if (cells.size() != t.header.size()) {
            t.errors << QStringLiteral("line %1: %2 cells, header has %3")
                            .arg(i + 1)
                            .arg(cells.size())
                            .arg(t.header.size());
            continue;
        }
        t.rows << cells;
    }
    if (!haveHeader)
        t.errors << QStringLiteral("no header line");
    return t;
}

// Tables are parsed once and shared by the checks.
const Table &table(const QString &file)
{
    static QHash<QString, Table> cache;
    auto it = cache.find(file);
    if (it == cache.end())
        it = cache.insert(file, loadTable(file));
    return it.value();
}

// The general number format the program uses for texts: shortest form with up
// to 15 significant digits and the decimal comma.
QString generalFormat(double v)
{
    QString s = QString::number(v, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

bool same(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(a)); }

QString rowRef(const Table &t, int r)
{
    return t.file + QStringLiteral(" row ") + QString::number(r + 1) + QStringLiteral(": ")
           + t.rows.at(r).join(QStringLiteral(" | "));
}

// ------------------------------------------------- calculator kinds and captions

// Parameter captions each calculator offers to single-parameter selection, by
// kind code and by the settings table that holds them: 's' soil resistivity
// (sparpod1.DB, step only), 'r' real-valued (rparpod1.DB), 'i' integer
// (iparpod1.DB).
using Captions = QMap<int, QMap<QChar, QStringList>>;

const Captions &expectedCaptions()
{
    static const Captions c = [] {
        const QString soil = QStringLiteral("Удельное сопротивление грунта, Ом м");
        const QString coef = QStringLiteral("Коэффициент поправки");
        const QStringList twoLayerSoil = {QStringLiteral("Удельное сопротивление верхнего слоя грунта, Ом м"),
                                          QStringLiteral("Удельное сопротивление нижнего слоя грунта, Ом м")};
        const QStringList twoLayerReal = {QStringLiteral("Коэффициент поправки верхнего слоя"),
                                          QStringLiteral("Коэффициент поправки нижнего слоя"),
                                          QStringLiteral("Толщина (мощность) верхнего слоя земли, м")};
        const QString equivalent = QStringLiteral("Эквивалентное удельное сопротивление грунта, Ом м");
        const QStringList building = {QStringLiteral("Длина здания, м"), QStringLiteral("Ширина здания, м"),
                                      QStringLiteral("Площадь здания, м2")};
        const QChar s = QLatin1Char('s'), r = QLatin1Char('r'), i = QLatin1Char('i');
        auto simple = [&](const QStringList &real) {
            QMap<QChar, QStringList> m;
            m[s] = {soil};
            m[r] = real + QStringList{coef};
            return m;
        };
        Captions k;
        k[1] = simple({QStringLiteral("Диаметр сферы, м")});
        k[2] = simple({QStringLiteral("Диаметр сферы, м")});
        k[3] = simple({QStringLiteral("Длина стержня, м")});
        k[4] = simple({QStringLiteral("Длина стержня, м")});
        k[5] = simple({QStringLiteral("Длина стержня, м")});
        k[6] = simple({QStringLiteral("Длина стержня, м")});
        k[7] = simple({QStringLiteral("Диаметр кольца, м")});
        k[8] = simple({QStringLiteral("Диаметр кольца, м")});
        k[9] = simple({QStringLiteral("Длина пластины, м"), QStringLiteral("Ширина пластины, м")});
        k[10] = simple({QStringLiteral("Длина пластины, м"), QStringLiteral("Ширина пластины, м")});
        k[11] = simple({QStringLiteral("Диаметр круглой пластины, м")});
        k[12] = simple({QStringLiteral("Диаметр круглой пластины, м")});
        k[15] = simple({QStringLiteral("Длина трубопровода, м")});
        k[20] = simple({QStringLiteral("Длина ячейки, м"), QStringLiteral("Ширина ячейки, м")});
        k[20][i] = {QStringLiteral("Количество ячеек по горизонтали, шт."),
                    QStringLiteral("Количество ячеек по вертикали, шт.")};
        k[21] = simple({QStringLiteral("Размер ячейки, м"), QStringLiteral("Длина вертикального электрода, м")});
        k[21][i] = {QStringLiteral("Размер сетки, ячеек"),
                    QStringLiteral("Количество вертикальных электродов, шт.")};
        k[22] = simple({QStringLiteral("Длина ячейки, м"), QStringLiteral("Ширина ячейки, м")});
        k[30][r] = QStringList{equivalent} + building;
        k[31][r] = {QStringLiteral("Длина, км"), equivalent,
                    QStringLiteral("Наибольший горизонтальный размер фундамента, м"),
                    QStringLiteral("Расстояние между соседними опорами, м")};
        k[32] = simple({QStringLiteral("Длина луча, м")});
        k[33] = simple({QStringLiteral("Длина полосы, м"), QStringLiteral("Расстояние между полосами, м")});
        k[33][i] = {QStringLiteral("Количество полос, шт.")};
        // The run reads every non-resistivity parameter from the real-valued table.
        k[34] = simple({QStringLiteral("Глубина заложения фундамента, м")});
        k[35] = simple({QStringLiteral("Глубина заложения фундамента, м")});
        for (int kind : {36, 38, 39, 40}) {
            k[kind][s] = twoLayerSoil;
            k[kind][r] = twoLayerReal + QStringList{QStringLiteral("Длина заземлителя, м")};
        }
        k[37] = simple({QStringLiteral("Сторона квадратной пластины, м")});
        k[41][s] = twoLayerSoil;
        k[41][r] = twoLayerReal
                   + QStringList{QStringLiteral("Длина пластины, м"), QStringLiteral("Ширина пластины, м")};
        k[100][r] = QStringList{equivalent,
                                QStringLiteral("Удельное сопротивление верхних слоев земли, Ом м"),
                                QStringLiteral("Удельное сопротивление бетона фундамента, Ом м"),
                                QStringLiteral("Длина анкерного болта, м"),
                                QStringLiteral("Диаметр анкерного болта, м"),
                                QStringLiteral("Диаметр анкерного болта с защитным слоем бетона, м")}
                    + building;
        k[100][i] = {QStringLiteral("Количество фундаментов, шт.")};
        k[101][s] = {QStringLiteral("Удельное сопротивление грунта, Ом м (верт. электроды)"),
                     QStringLiteral("Удельное сопротивление грунта, Ом м (гориз. электроды)")};
        k[101][r] = {QStringLiteral("Поправочный коэффициент (верт. электроды)"),
                     QStringLiteral("Длина стержня, м"), QStringLiteral("Расстояние между стержнями, м"),
                     QStringLiteral("Поправочный коэффициент (гориз. электроды)")};
        k[101][i] = {QStringLiteral("Кол-во стержней, шт. (размещение в ряд)"),
                     QStringLiteral("Кол-во стержней, шт. (размещение по контуру)")};
        return k;
    }();
    return c;
}

const QStringList &constructions()
{
    static const QStringList c = {QStringLiteral("сталь круглая"), QStringLiteral("сталь трубчатая"),
                                  QStringLiteral("сталь угловая"), QStringLiteral("сталь квадратная"),
                                  QStringLiteral("сталь полосовая")};
    return c;
}

// Size texts of a construction as the construction frame lists them in its
// "all sizes" mode.
QStringList sizeTexts(const QString &construct)
{
    QStringList out;
    auto fill = [&](const QString &file, auto make) {
        const Table &t = table(file);
        for (int r = 0; r < t.rows.size(); ++r)
            out << make(t, r);
    };
    const QChar x = QLatin1Char('x');
    if (construct == constructions().at(0))
        fill(QStringLiteral("st_krug.db"), [](const Table &t, int r) { return generalFormat(t.num(r, QStringLiteral("Diam"))); });
    else if (construct == constructions().at(1))
        fill(QStringLiteral("st_truba.db"), [](const Table &t, int r) { return generalFormat(t.num(r, QStringLiteral("Diam"))); });
    else if (construct == constructions().at(2))
        fill(QStringLiteral("st_uglov.db"), [x](const Table &t, int r) {
            const QString b = generalFormat(t.num(r, QStringLiteral("Shir")));
            return b + x + b + x + generalFormat(t.num(r, QStringLiteral("Tol")));
        });
    else if (construct == constructions().at(3))
        fill(QStringLiteral("st_kvad.db"), [](const Table &t, int r) { return generalFormat(t.num(r, QStringLiteral("Storona"))); });
    else if (construct == constructions().at(4))
        fill(QStringLiteral("st_polos.db"), [x](const Table &t, int r) {
            return generalFormat(t.num(r, QStringLiteral("Shir"))) + x + generalFormat(t.num(r, QStringLiteral("Tol")));
        });
    return out;
}

} // namespace

class TestReferenceData : public QObject
{
    Q_OBJECT

private slots:
    void fileFormat_data();
    void fileFormat();
    void completeRecords_data();
    void completeRecords();
    void steelMinimums_data();
    void steelMinimums();
    void rangeRules_data();
    void rangeRules();

    void requiredRows();
    void soilRanges();
    void climateRegions();
    void resistivityStepsCoverSoils();

    void corrosionClasses();
    void corrosionChainLinks();
    void corrosionSizesExistInSteelTables();

    void utilisationCoefficientsInRange_data();
    void utilisationCoefficientsInRange();
    void rodAndStripCoefficientsMonotonic_data();
    void rodAndStripCoefficientsMonotonic();
    void parallelStripCoefficientsMonotonic();
    void radialCoefficientsRiseWithLength();
    void foundationCoefficients();

    void rodAndStripGridsComplete_data();
    void rodAndStripGridsComplete();
    void parallelStripGridComplete();
    void parallelStripLookupFindsCorners_data();
    void parallelStripLookupFindsCorners();
    void radialGridComplete();
    void latticeGridComplete();
    void twoLayerGridsComplete_data();
    void twoLayerGridsComplete();
    void trestleTablesFollowModel_data();
    void trestleTablesFollowModel();
    void trestleLookupFindsRows_data();
    void trestleLookupFindsRows();
    void foundationGrades();

    void selectionKindsComplete();
    void selectionCaptions_data();
    void selectionCaptions();
    void selectionRanges();
};

// ---------------------------------------------------------------- format

void TestReferenceData::fileFormat_data()
{
    QTest::addColumn<QString>("file");
    for (const TableDef &d : schema())
        QTest::newRow(d.file.toUtf8().constData()) << d.file;
}

void TestReferenceData::fileFormat()
{
    QFETCH(QString, file);
    const Table &t = table(file);
    QVERIFY2(t.errors.isEmpty(), qPrintable(file + QStringLiteral(": ") + t.errors.join(QStringLiteral("; "))));
    const TableDef *def = tableDef(file);
    QVERIFY(def);

    // Header: known field names, no duplicates, every non-key field present;
    // Kod may be left to the store except in masters of a chain.
    QSet<QString> seen;
    for (const QString &h : t.header) {
        QVERIFY2(!seen.contains(h), qPrintable(file + QStringLiteral(": duplicate field ") + h));
        seen.insert(h);
        const bool known = std::any_of(def->fields.begin(), def->fields.end(),
                                       [&](const FieldDef &f) { return f.name == h; });
        QVERIFY2(known, qPrintable(file + QStringLiteral(": unknown field ") + h));
    }
    for (const FieldDef &f : def->fields) {
        if (f.type == FieldType::AutoInc && !def->kodRequired)
            continue;
        QVERIFY2(t.has(f.name), qPrintable(file + QStringLiteral(": missing field ") + f.name));
    }

    // Cells: typed values in the sources' notation.
    for (int r = 0; r < t.rows.size(); ++r) {
        for (const FieldDef &f : def->fields) {
            if (!t.has(f.name))
                continue;
            const QString cell = t.text(r, f.name);
            if (cell.isEmpty())
                continue; // NULL; completeness is checked separately
            switch (f.type) {
            case FieldType::String:
                QVERIFY2(cell.size() <= f.length,
                         qPrintable(rowRef(t, r) + QStringLiteral(" (") + f.name + QStringLiteral(" too long)")));
                QVERIFY2(cell.trimmed() == cell, qPrintable(rowRef(t, r) + QStringLiteral(" (blanks around ") + f.name + QStringLiteral(")")));
                break;
            case FieldType::Float:
                QVERIFY2(parseNumber(cell).has_value(),
                         qPrintable(rowRef(t, r) + QStringLiteral(" (") + f.name + QStringLiteral(" is not a number with the decimal comma)")));
                break;
            case FieldType::Integer:
            case FieldType::AutoInc: {
                static const QRegularExpression re(QStringLiteral("^-?[0-9]+$"));
                QVERIFY2(re.match(cell).hasMatch(),
                         qPrintable(rowRef(t, r) + QStringLiteral(" (") + f.name + QStringLiteral(" is not an integer)")));
                break;
            }
            }
        }
    }

    QVERIFY2(!t.rows.isEmpty() || file == QStringLiteral("sb_fund.db"), qPrintable(file + QStringLiteral(" has no rows")));
}

// Complete-record rule: every field except the auto-increment key must be
// filled (the foundation tables demand the same of their listed fields; the
// corrosion chain of everything except Kod and Kod0, which must be given too).
void TestReferenceData::completeRecords_data()
{
    QTest::addColumn<QString>("file");
    for (const TableDef &d : schema())
        QTest::newRow(d.file.toUtf8().constData()) << d.file;
}

void TestReferenceData::completeRecords()
{
    QFETCH(QString, file);
    const Table &t = table(file);
    for (int r = 0; r < t.rows.size(); ++r)
        for (int c = 0; c < t.header.size(); ++c)
            QVERIFY2(!t.rows.at(r).at(c).isEmpty(),
                     qPrintable(rowRef(t, r) + QStringLiteral(" (empty ") + t.header.at(c) + QStringLiteral(")")));
}

void TestReferenceData::steelMinimums_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("minimum");
    QTest::newRow("round diameter 0,01 m") << QStringLiteral("st_krug.db") << QStringLiteral("Diam") << 0.01;
    QTest::newRow("square side 0,01 m") << QStringLiteral("st_kvad.db") << QStringLiteral("Storona") << 0.01;
    QTest::newRow("strip thickness 0,004 m") << QStringLiteral("st_polos.db") << QStringLiteral("Tol") << 0.004;
    QTest::newRow("pipe wall 3,5 mm") << QStringLiteral("st_truba.db") << QStringLiteral("Tol") << 3.5;
    QTest::newRow("angle flange 0,004 m") << QStringLiteral("st_uglov.db") << QStringLiteral("Tol") << 0.004;
}

void TestReferenceData::steelMinimums()
{
    QFETCH(QString, file);
    QFETCH(QString, field);
    QFETCH(double, minimum);
    const Table &t = table(file);
    QVERIFY(!t.rows.isEmpty());
    for (int r = 0; r < t.rows.size(); ++r) {
        QVERIFY2(t.num(r, field) >= minimum - 1e-12, qPrintable(rowRef(t, r)));
        if (file == QStringLiteral("st_polos.db")) {
            // section in mm2, as the post rule computes it
            const double section = t.num(r, QStringLiteral("Shir")) * t.num(r, QStringLiteral("Tol")) * 1000000.0;
            QVERIFY2(section >= 48 - 1e-9, qPrintable(rowRef(t, r) + QStringLiteral(" (section below 48 mm2)")));
        }
        // every size is positive, masses too
        for (const QString &h : t.header)
            QVERIFY2(t.num(r, h) > 0, qPrintable(rowRef(t, r)));
    }
}

void TestReferenceData::rangeRules_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("low");
    QTest::addColumn<double>("high");
    QTest::newRow("Kipp length 15..200") << QStringLiteral("Kipp.DB") << QStringLiteral("Dlina") << 15.0 << 200.0;
    QTest::newRow("Kipp strips 2..20") << QStringLiteral("Kipp.DB") << QStringLiteral("N") << 2.0 << 20.0;
    QTest::newRow("Kipp spacing 1..15") << QStringLiteral("Kipp.DB") << QStringLiteral("Ras") << 1.0 << 15.0;
    QTest::newRow("Kiluch type 1..7") << QStringLiteral("Kiluch.DB") << QStringLiteral("N") << 1.0 << 7.0;
    QTest::newRow("kifund scheme 1..5") << QStringLiteral("kifund.db") << QStringLiteral("Schema") << 1.0 << 5.0;
    QTest::newRow("Kivz ratio 1..3") << QStringLiteral("Kivz.DB") << QStringLiteral("Otnosh") << 1.0 << 3.0;
    QTest::newRow("KIGZ ratio 1..3") << QStringLiteral("KIGZ.DB") << QStringLiteral("Otnosh") << 1.0 << 3.0;
    QTest::newRow("m ratio 1..4") << QStringLiteral("m.DB") << QStringLiteral("Otn") << 1.0 << 4.0;
    QTest::newRow("vz2land length 5..20") << QStringLiteral("vz2land.DB") << QStringLiteral("L") << 5.0 << 20.0;
    QTest::newRow("vz2land thickness 1..5") << QStringLiteral("vz2land.DB") << QStringLiteral("H1") << 1.0 << 5.0;
    QTest::newRow("vz2land ratio 0,5..10") << QStringLiteral("vz2land.DB") << QStringLiteral("P1_P2") << 0.49999 << 10.0;
    QTest::newRow("gz2land length 5..100") << QStringLiteral("gz2land.DB") << QStringLiteral("L") << 5.0 << 100.0;
    QTest::newRow("gz2land thickness 1..5") << QStringLiteral("gz2land.DB") << QStringLiteral("H1") << 1.0 << 5.0;
    QTest::newRow("gz2land ratio 0,5..10") << QStringLiteral("gz2land.DB") << QStringLiteral("P1_P2") << 0.49999 << 10.0;
    QTest::newRow("gz2land depth 0,5..0,8") << QStringLiteral("gz2land.DB") << QStringLiteral("T") << 0.49999 << 0.80001;
}

void TestReferenceData::rangeRules()
{
    QFETCH(QString, file);
    QFETCH(QString, field);
    QFETCH(double, low);
    QFETCH(double, high);
    const Table &t = table(file);
    for (int r = 0; r < t.rows.size(); ++r) {
        const double v = t.num(r, field);
        QVERIFY2(v >= low && v <= high, qPrintable(rowRef(t, r)));
    }
    if (file == QStringLiteral("Kivz.DB") || file == QStringLiteral("KIGZ.DB")) {
        // placement word and count range of the placement
        for (int r = 0; r < t.rows.size(); ++r) {
            const QString razm = t.text(r, QStringLiteral("Razm"));
            const int n = t.integer(r, QStringLiteral("N"));
            if (razm == QStringLiteral("ряд"))
                QVERIFY2(n >= 2 && n <= 20, qPrintable(rowRef(t, r)));
            else if (razm == QStringLiteral("контур"))
                QVERIFY2(n >= 4 && n <= 100, qPrintable(rowRef(t, r)));
            else
                QFAIL(qPrintable(rowRef(t, r) + QStringLiteral(" (placement must be ряд or контур)")));
        }
    }
    if (file == QStringLiteral("vz2land.DB")) {
        // the diameter is one of the two the rod calculator offers
        for (int r = 0; r < t.rows.size(); ++r) {
            const double d = t.num(r, QStringLiteral("D"));
            QVERIFY2((d > 0.01999 && d < 0.02001) || (d > 0.03999 && d < 0.04001), qPrintable(rowRef(t, r)));
        }
    }
}

// ---------------------------------------------------------------- soils, regions, steps

void TestReferenceData::requiredRows()
{
    const Table &soils = table(QStringLiteral("P_udel.DB"));
    bool loam = false;
    for (int r = 0; r < soils.rows.size(); ++r)
        loam = loam || soils.text(r, QStringLiteral("Grunt")) == QStringLiteral("суглинок");
    QVERIFY2(loam, "P_udel.DB needs the default soil \"суглинок\"");

    const Table &regions = table(QStringLiteral("raion.db"));
    QStringList names;
    for (int r = 0; r < regions.rows.size(); ++r)
        names << regions.text(r, QStringLiteral("Raion"));
    for (const char *n : {"I", "II", "III", "IV"})
        QVERIFY2(names.count(QString::fromUtf8(n)) == 1, qPrintable(QStringLiteral("raion.db region ") + QString::fromUtf8(n)));

    QVERIFY(!table(QStringLiteral("ro_inc.db")).rows.isEmpty());
}

void TestReferenceData::soilRanges()
{
    const Table &t = table(QStringLiteral("P_udel.DB"));
    QSet<QString> names;
    for (int r = 0; r < t.rows.size(); ++r) {
        const double lo = t.num(r, QStringLiteral("PMin"));
        const double hi = t.num(r, QStringLiteral("PMax"));
        const double def = t.num(r, QStringLiteral("PDefault"));
        QVERIFY2(lo > 0 && lo <= def && def <= hi && lo < hi, qPrintable(rowRef(t, r)));
        const QString name = t.text(r, QStringLiteral("Grunt"));
        QVERIFY2(!names.contains(name), qPrintable(rowRef(t, r) + QStringLiteral(" (duplicate soil)")));
        names.insert(name);
    }
}

// A wetter soil at the time of measurement shows a lower resistivity than in
// the worst season, so its correction must be larger: p >= s >= m >= 1.
void TestReferenceData::climateRegions()
{
    const Table &t = table(QStringLiteral("raion.db"));
    for (int r = 0; r < t.rows.size(); ++r) {
        QVERIFY2(t.num(r, QStringLiteral("JanTemp1")) <= t.num(r, QStringLiteral("JanTemp2")), qPrintable(rowRef(t, r)));
        QVERIFY2(t.num(r, QStringLiteral("JuneTemp1")) <= t.num(r, QStringLiteral("JuneTemp2")), qPrintable(rowRef(t, r)));
        QVERIFY2(t.num(r, QStringLiteral("IceWater1")) <= t.num(r, QStringLiteral("IceWater2")), qPrintable(rowRef(t, r)));
        for (const char *e : {"V3", "V5", "G10", "G50"}) {
            const QString p = QString::fromUtf8(e);
            const double wet = t.num(r, p + QLatin1Char('p'));
            const double normal = t.num(r, p + QLatin1Char('s'));
            const double dry = t.num(r, p + QLatin1Char('m'));
            QVERIFY2(wet >= normal && normal >= dry && dry >= 1.0, qPrintable(rowRef(t, r) + QStringLiteral(" (") + p + QStringLiteral(")")));
        }
    }
}

void TestReferenceData::resistivityStepsCoverSoils()
{
    const Table &steps = table(QStringLiteral("ro_inc.db"));
    for (int r = 0; r < steps.rows.size(); ++r) {
        const double mn = steps.num(r, QStringLiteral("MinValue"));
        const double mx = steps.num(r, QStringLiteral("MaxValue"));
        const double i1 = steps.num(r, QStringLiteral("Inc1"));
        const double i2 = steps.num(r, QStringLiteral("Inc2"));
        const double i3 = steps.num(r, QStringLiteral("Inc3"));
        QVERIFY2(mx > mn, qPrintable(rowRef(steps, r) + QStringLiteral(" (Максимум must exceed Минимум)")));
        QVERIFY2(i2 < i1 && i3 < i1 && i3 < i2 && i3 > 0, qPrintable(rowRef(steps, r) + QStringLiteral(" (Шаг 1 > Шаг 2 > Шаг 3 > 0)")));
    }
    const Table &soils = table(QStringLiteral("P_udel.DB"));
    for (int s = 0; s < soils.rows.size(); ++s) {
        const double pmax = soils.num(s, QStringLiteral("PMax"));
        int matches = 0;
        for (int r = 0; r < steps.rows.size(); ++r)
            if (steps.num(r, QStringLiteral("MinValue")) < pmax && pmax <= steps.num(r, QStringLiteral("MaxValue")))
                ++matches;
        QVERIFY2(matches >= 1, qPrintable(rowRef(soils, s) + QStringLiteral(" (PMax in no ro_inc.db range)")));
    }
}

// ---------------------------------------------------------------- corrosion

void TestReferenceData::corrosionClasses()
{
    const Table &k0 = table(QStringLiteral("korgrunt0.db"));
    QVERIFY(!k0.rows.isEmpty());
    QList<QPair<double, double>> ranges;
    for (int r = 0; r < k0.rows.size(); ++r) {
        const double lo = k0.num(r, QStringLiteral("Pmin"));
        const double hi = k0.num(r, QStringLiteral("Pmax"));
        QVERIFY2(hi > lo && lo >= 0, qPrintable(rowRef(k0, r)));
        ranges << qMakePair(lo, hi);
    }
    std::sort(ranges.begin(), ranges.end());
    // (Pmin, Pmax] intervals must neither overlap nor leave a gap from 0 upwards
    QVERIFY2(same(ranges.first().first, 0.0), "the lowest corrosivity class must start at 0");
    for (int i = 1; i < ranges.size(); ++i) {
        QVERIFY2(!(ranges.at(i).first < ranges.at(i - 1).second), "corrosivity classes overlap");
        QVERIFY2(same(ranges.at(i).first, ranges.at(i - 1).second), "gap between corrosivity classes");
    }
    double largestSoil = 0;
    const Table &soils = table(QStringLiteral("P_udel.DB"));
    for (int s = 0; s < soils.rows.size(); ++s)
        largestSoil = std::max(largestSoil, soils.num(s, QStringLiteral("PMax")));
    QVERIFY2(ranges.last().second >= largestSoil, "corrosivity classes must reach the largest soil PMax");
}

void TestReferenceData::corrosionChainLinks()
{
    const QStringList files = {QStringLiteral("korgrunt0.db"), QStringLiteral("korgrunt1.DB"),
                               QStringLiteral("korgrunt2.DB"), QStringLiteral("korgrunt3.DB"),
                               QStringLiteral("korgrunt4.DB")};
    QList<QSet<int>> kods;
    for (const QString &f : files) {
        const Table &t = table(f);
        QSet<int> k;
        if (t.has(QStringLiteral("Kod")))
            for (int r = 0; r < t.rows.size(); ++r) {
                const int kod = t.integer(r, QStringLiteral("Kod"));
                QVERIFY2(!k.contains(kod), qPrintable(rowRef(t, r) + QStringLiteral(" (duplicate Kod)")));
                k.insert(kod);
            }
        kods << k;
    }
    const QStringList kinds = {QStringLiteral("вертикальный"), QStringLiteral("горизонтальный")};
    const QStringList statuses = {QStringLiteral("рекомендуется"), QStringLiteral("допускается")};
    for (int level = 1; level < files.size(); ++level) {
        const Table &t = table(files.at(level));
        QSet<QPair<int, QString>> seen;
        for (int r = 0; r < t.rows.size(); ++r) {
            const int master = t.integer(r, QStringLiteral("Kod0"));
            QVERIFY2(kods.at(level - 1).contains(master), qPrintable(rowRef(t, r) + QStringLiteral(" (Kod0 without master row)")));
            const QString value = t.rows.at(r).at(t.header.size() - 1);
            QVERIFY2(!seen.contains(qMakePair(master, value)), qPrintable(rowRef(t, r) + QStringLiteral(" (repeated under one master)")));
            seen.insert(qMakePair(master, value));
            if (level == 1)
                QVERIFY2(kinds.contains(t.text(r, QStringLiteral("Vid"))), qPrintable(rowRef(t, r)));
            if (level == 2)
                QVERIFY2(statuses.contains(t.text(r, QStringLiteral("Status"))), qPrintable(rowRef(t, r)));
            if (level == 3)
                QVERIFY2(constructions().contains(t.text(r, QStringLiteral("Construct"))), qPrintable(rowRef(t, r)));
        }
    }
    // every master below the top level has at least one detail row, so no
    // recommended or permitted list comes back empty
    for (int level = 1; level < files.size(); ++level) {
        const Table &t = table(files.at(level));
        QSet<int> used;
        for (int r = 0; r < t.rows.size(); ++r)
            used.insert(t.integer(r, QStringLiteral("Kod0")));
        for (int kod : kods.at(level - 1))
            QVERIFY2(used.contains(kod), qPrintable(files.at(level - 1) + QStringLiteral(" Kod ") + QString::number(kod) + QStringLiteral(" has no detail rows")));
    }
}

void TestReferenceData::corrosionSizesExistInSteelTables()
{
    const Table &k3 = table(QStringLiteral("korgrunt3.DB"));
    QHash<int, QString> constructOf;
    for (int r = 0; r < k3.rows.size(); ++r)
        constructOf.insert(k3.integer(r, QStringLiteral("Kod")), k3.text(r, QStringLiteral("Construct")));
    QHash<QString, QStringList> sizes;
    for (const QString &c : constructions())
        sizes.insert(c, sizeTexts(c));

    const Table &k4 = table(QStringLiteral("korgrunt4.DB"));
    for (int r = 0; r < k4.rows.size(); ++r) {
        const QString construct = constructOf.value(k4.integer(r, QStringLiteral("Kod0")));
        const QString size = k4.text(r, QStringLiteral("Razmer"));
        QVERIFY2(sizes.value(construct).contains(size),
                 qPrintable(rowRef(k4, r) + QStringLiteral(" (not a size of ") + construct + QStringLiteral(")")));
    }
}

// ---------------------------------------------------------------- utilisation coefficients

void TestReferenceData::utilisationCoefficientsInRange_data()
{
    QTest::addColumn<QString>("file");
    for (const char *f : {"Kivz.DB", "KIGZ.DB", "Kipp.DB", "Kiluch.DB", "kifund.db"})
        QTest::newRow(f) << QString::fromUtf8(f);
}

void TestReferenceData::utilisationCoefficientsInRange()
{
    QFETCH(QString, file);
    const Table &t = table(file);
    QVERIFY(!t.rows.isEmpty());
    for (int r = 0; r < t.rows.size(); ++r) {
        const double ki = t.num(r, QStringLiteral("KI"));
        QVERIFY2(ki > 0 && ki <= 1, qPrintable(rowRef(t, r)));
    }
}

// Physics of the utilisation coefficient KI = R1 / (N * Rgroup): every
// electrode raises the potential of the soil around its neighbours, so each
// sheds less current than it would alone. More electrodes in the same
// arrangement mean more neighbours screening each one: KI falls as N grows.
// A larger spacing relative to the electrode length weakens the mutual
// coupling (the mutual resistance decays with distance): KI rises with the
// ratio. Rounded table values may repeat, so the checks are non-strict
// between neighbours and strict from end to end.
void TestReferenceData::rodAndStripCoefficientsMonotonic_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Kivz.DB") << QStringLiteral("Kivz.DB");
    QTest::newRow("KIGZ.DB") << QStringLiteral("KIGZ.DB");
}

void TestReferenceData::rodAndStripCoefficientsMonotonic()
{
    QFETCH(QString, file);
    const Table &t = table(file);
    QMap<QString, QMap<int, QMap<int, double>>> ki; // placement -> N -> ratio -> KI
    for (int r = 0; r < t.rows.size(); ++r)
        ki[t.text(r, QStringLiteral("Razm"))][t.integer(r, QStringLiteral("N"))][t.integer(r, QStringLiteral("Otnosh"))] =
            t.num(r, QStringLiteral("KI"));
    for (auto p = ki.cbegin(); p != ki.cend(); ++p) {
        const QList<int> counts = p.value().keys();
        for (int ratio = 1; ratio <= 3; ++ratio) {
            for (int i = 1; i < counts.size(); ++i)
                QVERIFY2(p.value()[counts.at(i)][ratio] <= p.value()[counts.at(i - 1)][ratio],
                         qPrintable(file + QStringLiteral(" ") + p.key() + QStringLiteral(": KI must fall as N grows")));
            QVERIFY(p.value()[counts.last()][ratio] < p.value()[counts.first()][ratio]);
        }
        for (int n : counts) {
            for (int ratio = 2; ratio <= 3; ++ratio)
                QVERIFY2(p.value()[n][ratio] >= p.value()[n][ratio - 1],
                         qPrintable(file + QStringLiteral(" ") + p.key() + QStringLiteral(": KI must rise with the ratio")));
            QVERIFY(p.value()[n][3] > p.value()[n][1]);
        }
    }
}

void TestReferenceData::parallelStripCoefficientsMonotonic()
{
    const Table &t = table(QStringLiteral("Kipp.DB"));
    QMap<double, QMap<int, QMap<double, double>>> ki; // length -> N -> spacing -> KI
    for (int r = 0; r < t.rows.size(); ++r)
        ki[t.num(r, QStringLiteral("Dlina"))][t.integer(r, QStringLiteral("N"))][t.num(r, QStringLiteral("Ras"))] =
            t.num(r, QStringLiteral("KI"));
    for (auto l = ki.cbegin(); l != ki.cend(); ++l) {
        const QList<int> counts = l.value().keys();
        for (int i = 1; i < counts.size(); ++i)
            for (auto s = l.value()[counts.at(i)].cbegin(); s != l.value()[counts.at(i)].cend(); ++s)
                QVERIFY2(s.value() <= l.value()[counts.at(i - 1)].value(s.key()),
                         qPrintable(QStringLiteral("Kipp.DB L=%1: KI must fall as N grows").arg(l.key())));
        for (int n : counts) {
            const QList<double> spacing = l.value()[n].keys();
            for (int i = 1; i < spacing.size(); ++i)
                QVERIFY2(l.value()[n][spacing.at(i)] >= l.value()[n][spacing.at(i - 1)],
                         qPrintable(QStringLiteral("Kipp.DB L=%1 N=%2: KI must rise with the spacing").arg(l.key()).arg(n)));
            QVERIFY(l.value()[n][spacing.last()] > l.value()[n][spacing.first()]);
        }
    }
}

// The rays of a radial electrode screen each other mostly near their common
// point; the longer the rays, the smaller that shared region is relative to
// their length, so KI rises with the ray length.
void TestReferenceData::radialCoefficientsRiseWithLength()
{
    const Table &t = table(QStringLiteral("Kiluch.DB"));
    QMap<int, QMap<double, double>> ki;
    for (int r = 0; r < t.rows.size(); ++r)
        ki[t.integer(r, QStringLiteral("N"))][t.num(r, QStringLiteral("Dlina"))] = t.num(r, QStringLiteral("KI"));
    for (auto ty = ki.cbegin(); ty != ki.cend(); ++ty) {
        const QList<double> lengths = ty.value().keys();
        for (int i = 1; i < lengths.size(); ++i)
            QVERIFY2(ty.value()[lengths.at(i)] >= ty.value()[lengths.at(i - 1)],
                     qPrintable(QStringLiteral("Kiluch.DB type %1").arg(ty.key())));
    }
}

// Scheme 1 is a single foundation: nothing screens it, KI = 1. The other
// schemes group several foundations and must have KI below 1.
void TestReferenceData::foundationCoefficients()
{
    const Table &t = table(QStringLiteral("kifund.db"));
    QMap<int, int> rowsPerScheme;
    for (int r = 0; r < t.rows.size(); ++r) {
        const int scheme = t.integer(r, QStringLiteral("Schema"));
        ++rowsPerScheme[scheme];
        if (scheme == 1)
            QVERIFY2(same(t.num(r, QStringLiteral("KI")), 1.0), qPrintable(rowRef(t, r)));
        else
            QVERIFY2(t.num(r, QStringLiteral("KI")) < 1.0, qPrintable(rowRef(t, r)));
    }
    for (int s = 1; s <= 5; ++s)
        QVERIFY2(rowsPerScheme.value(s) >= 1, qPrintable(QStringLiteral("kifund.db has no row for scheme %1").arg(s)));
}

// ---------------------------------------------------------------- look-up grids

void TestReferenceData::rodAndStripGridsComplete_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Kivz.DB") << QStringLiteral("Kivz.DB");
    QTest::newRow("KIGZ.DB") << QStringLiteral("KIGZ.DB");
}

// The standard device interpolates in both N and the ratio between four
// table rows, so every placement needs the full grid of the pick lists.
void TestReferenceData::rodAndStripGridsComplete()
{
    QFETCH(QString, file);
    const Table &t = table(file);
    QSet<QString> keys;
    for (int r = 0; r < t.rows.size(); ++r) {
        const QString key = t.text(r, QStringLiteral("Razm")) + QLatin1Char('|') + t.text(r, QStringLiteral("N"))
                            + QLatin1Char('|') + t.text(r, QStringLiteral("Otnosh"));
        QVERIFY2(!keys.contains(key), qPrintable(rowRef(t, r) + QStringLiteral(" (duplicate key)")));
        keys.insert(key);
    }
    QSet<QString> expected;
    for (int n : {2, 4, 6, 10, 20})
        for (int o = 1; o <= 3; ++o)
            expected.insert(QStringLiteral("ряд|%1|%2").arg(n).arg(o));
    for (int n : {4, 6, 10, 20, 40, 60, 100})
        for (int o = 1; o <= 3; ++o)
            expected.insert(QStringLiteral("контур|%1|%2").arg(n).arg(o));
    for (const QString &k : expected)
        QVERIFY2(keys.contains(k), qPrintable(file + QStringLiteral(" misses ") + k));
}

void TestReferenceData::parallelStripGridComplete()
{
    const Table &t = table(QStringLiteral("Kipp.DB"));
    QSet<QString> keys;
    for (int r = 0; r < t.rows.size(); ++r) {
        const QString key = generalFormat(t.num(r, QStringLiteral("Dlina"))) + QLatin1Char('|')
                            + QString::number(t.integer(r, QStringLiteral("N"))) + QLatin1Char('|')
                            + generalFormat(t.num(r, QStringLiteral("Ras")));
        QVERIFY2(!keys.contains(key), qPrintable(rowRef(t, r) + QStringLiteral(" (duplicate key)")));
        keys.insert(key);
    }
    for (const char *l : {"15", "25", "50", "75", "100", "200"})
        for (const char *n : {"2", "5", "10", "20"})
            for (const char *s : {"1", "2,5", "5", "10", "15"}) {
                const QString key = QString::fromUtf8(l) + QLatin1Char('|') + QString::fromUtf8(n) + QLatin1Char('|') + QString::fromUtf8(s);
                QVERIFY2(keys.contains(key), qPrintable(QStringLiteral("Kipp.DB misses ") + key));
            }
}

// The parallel-strip calculator selects the rows whose length, count and
// spacing are each one of the two bracketing table values (taken over the
// whole table) and interpolates between them; it can only do so with 1, 2, 4
// or 8 rows, and strictly inside the grid it needs all 8 corners.
void TestReferenceData::parallelStripLookupFindsCorners_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("spacing");
    QTest::addColumn<int>("rows");
    QTest::newRow("inside every cell dimension") << 60.0 << 7 << 3.0 << 8;
    QTest::newRow("shortest, fewest, closest") << 15.5 << 3 << 1.5 << 8;
    QTest::newRow("longest, most, widest") << 199.0 << 19 << 14.0 << 8;
    QTest::newRow("between 100 and 200 m") << 150.0 << 12 << 7.5 << 8;
    QTest::newRow("table length") << 50.0 << 7 << 3.0 << 4;
    QTest::newRow("table length and count") << 50.0 << 5 << 3.0 << 2;
    QTest::newRow("table point") << 75.0 << 10 << 2.5 << 1;
    QTest::newRow("lower corner of the range") << 15.0 << 2 << 1.0 << 1;
    QTest::newRow("upper corner of the range") << 200.0 << 20 << 15.0 << 1;
}

void TestReferenceData::parallelStripLookupFindsCorners()
{
    QFETCH(double, length);
    QFETCH(int, count);
    QFETCH(double, spacing);
    QFETCH(int, rows);
    const Table &t = table(QStringLiteral("Kipp.DB"));
    auto bracket = [&](const QString &field, double v) {
        double below = -1e300, above = 1e300;
        for (int r = 0; r < t.rows.size(); ++r) {
            const double x = t.num(r, field);
            if (x <= v)
                below = std::max(below, x);
            if (x >= v)
                above = std::min(above, x);
        }
        return qMakePair(below, above);
    };
    const auto l = bracket(QStringLiteral("Dlina"), length);
    const auto n = bracket(QStringLiteral("N"), count);
    const auto s = bracket(QStringLiteral("Ras"), spacing);
    int selected = 0;
    for (int r = 0; r < t.rows.size(); ++r) {
        const double x = t.num(r, QStringLiteral("Dlina"));
        const double y = t.num(r, QStringLiteral("N"));
        const double z = t.num(r, QStringLiteral("Ras"));
        if ((same(x, l.first) || same(x, l.second)) && (same(y, n.first) || same(y, n.second))
            && (same(z, s.first) || same(z, s.second)))
            ++selected;
    }
    QCOMPARE(selected, rows);
}

void TestReferenceData::radialGridComplete()
{
    const Table &t = table(QStringLiteral("Kiluch.DB"));
    QMap<QPair<int, QString>, int> cells;
    for (int r = 0; r < t.rows.size(); ++r)
        ++cells[qMakePair(t.integer(r, QStringLiteral("N")), generalFormat(t.num(r, QStringLiteral("Dlina"))))];
    for (int type = 1; type <= 7; ++type)
        for (const char *l : {"10", "20", "40"})
            QVERIFY2(cells.value(qMakePair(type, QString::fromUtf8(l))) == 1,
                     qPrintable(QStringLiteral("Kiluch.DB needs exactly one row for type %1 at %2 m").arg(type).arg(QString::fromUtf8(l))));
}

void TestReferenceData::latticeGridComplete()
{
    const Table &t = table(QStringLiteral("m.DB"));
    QMap<QPair<int, QString>, int> cells;
    for (int r = 0; r < t.rows.size(); ++r)
        ++cells[qMakePair(t.integer(r, QStringLiteral("N")), generalFormat(t.num(r, QStringLiteral("Otn"))))];
    for (int type = 1; type <= 5; ++type)
        for (const char *x : {"1", "1,5", "2", "3", "4"})
            QVERIFY2(cells.value(qMakePair(type, QString::fromUtf8(x))) == 1,
                     qPrintable(QStringLiteral("m.DB needs exactly one row for type %1 at ratio %2").arg(type).arg(QString::fromUtf8(x))));
}

void TestReferenceData::twoLayerGridsComplete_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QList<QStringList>>("grid");
    QTest::newRow("vz2land.DB") << QStringLiteral("vz2land.DB")
                                << QStringList{QStringLiteral("D"), QStringLiteral("L"), QStringLiteral("H1"), QStringLiteral("P1_P2")}
                                << QList<QStringList>{{QStringLiteral("0,02"), QStringLiteral("0,04")},
                                                      {QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("20")},
                                                      {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5")},
                                                      {QStringLiteral("0,5"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10")}};
    QList<QStringList> stripGrid = {{}, {QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5")},
                                    {QStringLiteral("0,5"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10")},
                                    {QStringLiteral("0,5"), QStringLiteral("0,8")}};
    stripGrid[0] << QStringLiteral("5");
    for (int l = 10; l <= 100; l += 10)
        stripGrid[0] << QString::number(l);
    QTest::newRow("gz2land.DB") << QStringLiteral("gz2land.DB")
                                << QStringList{QStringLiteral("L"), QStringLiteral("H1"), QStringLiteral("P1_P2"), QStringLiteral("T")}
                                << stripGrid;
}

// The two-layer calculators interpolate over the whole table (each diameter of
// the rods separately): every point of the pick-list grids exactly once, and
// nothing off the grid that would split a cell.
void TestReferenceData::twoLayerGridsComplete()
{
    QFETCH(QString, file);
    QFETCH(QStringList, fields);
    QFETCH(QList<QStringList>, grid);
    const Table &t = table(file);
    QMap<QString, int> cells;
    for (int r = 0; r < t.rows.size(); ++r) {
        QStringList key;
        for (int f = 0; f < fields.size(); ++f) {
            key << generalFormat(t.num(r, fields.at(f)));
            QVERIFY2(grid.at(f).contains(key.last()), qPrintable(rowRef(t, r) + QStringLiteral(" (off the grid)")));
        }
        ++cells[key.join(QLatin1Char('|'))];
    }
    qsizetype points = 1;
    for (const QStringList &values : grid)
        points *= values.size();
    QCOMPARE(qsizetype(cells.size()), points);
    for (auto c = cells.cbegin(); c != cells.cend(); ++c)
        QVERIFY2(c.value() == 1, qPrintable(file + QStringLiteral(" repeats ") + c.key()));
}

void TestReferenceData::trestleTablesFollowModel_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("zo");
    QTest::newRow("Z15.db") << QStringLiteral("Z15.db") << 1.5;
    QTest::newRow("Z075.db") << QStringLiteral("Z075.db") << 0.75;
    QTest::newRow("Z05.db") << QStringLiteral("Z05.db") << 0.5;
}

// The trestle tables are the continuous ladder line of data/README.md on the pick-list grid of
// their dialog: every grid point once, in the order L then Rp, each Zo the model's value to four
// decimals.
void TestReferenceData::trestleTablesFollowModel()
{
    QFETCH(QString, file);
    QFETCH(double, zo);
    const QList<double> lengths = {0.05, 0.07, 0.1, 0.2, 0.3, 0.5, 0.7, 1, 1.5, 2, 3, 5};
    const QList<double> transitional = {0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};
    const Table &t = table(file);
    QCOMPARE(t.rows.size(), lengths.size() * transitional.size());
    for (int r = 0; r < t.rows.size(); ++r) {
        const double l = lengths.at(r / transitional.size());
        const double rp = transitional.at(r % transitional.size());
        QVERIFY2(same(t.num(r, QStringLiteral("L")), l) && same(t.num(r, QStringLiteral("Rp")), rp),
                 qPrintable(rowRef(t, r) + QStringLiteral(" (off the grid or out of order)")));
        const double model = std::sqrt(zo * rp) / std::tanh(l * std::sqrt(zo / rp));
        QVERIFY2(std::fabs(t.num(r, QStringLiteral("Zo")) - model) <= 0.5e-4 + 1e-9,
                 qPrintable(rowRef(t, r) + QStringLiteral(" (model %1)").arg(model, 0, 'f', 6)));
    }
}

void TestReferenceData::trestleLookupFindsRows_data()
{
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("transitional");
    QTest::addColumn<int>("rows");
    QTest::newRow("defaults: L on the grid") << 3.0 << 0.55 << 2;
    QTest::newRow("inside a cell") << 2.5 << 0.55 << 4;
    QTest::newRow("inside the first cell") << 0.06 << 0.02 << 4;
    QTest::newRow("inside the last cell") << 4.99 << 9.99 << 4;
    QTest::newRow("table length") << 3.0 << 0.7 << 2;
    QTest::newRow("table resistance") << 0.4 << 0.5 << 2;
    QTest::newRow("table point") << 1.5 << 2.5 << 1;
    QTest::newRow("lower corner") << 0.05 << 0.01 << 1;
    QTest::newRow("upper corner") << 5.0 << 10.0 << 1;
    QTest::newRow("sweep of the accepted inputs") << -1.0 << -1.0 << 0;
}

// The trestle window brackets L and Rп each by the nearest table values below and above (over the
// whole table) and interpolates between 1, 2 or 4 rows; any other count is "not determined". The
// sweep row runs L over 0,05..5 in steps of 0,01 and Rп over 0,01..10 in steps of 0,03 and needs 1,
// 2 or 4 everywhere.
void TestReferenceData::trestleLookupFindsRows()
{
    QFETCH(double, length);
    QFETCH(double, transitional);
    QFETCH(int, rows);
    for (const QString &file : {QStringLiteral("Z15.db"), QStringLiteral("Z075.db"), QStringLiteral("Z05.db")}) {
        const Table &t = table(file);
        QList<double> ls, rps;
        for (int r = 0; r < t.rows.size(); ++r) {
            ls << t.num(r, QStringLiteral("L"));
            rps << t.num(r, QStringLiteral("Rp"));
        }
        auto bracket = [](const QList<double> &values, double v) {
            double below = -1e300, above = 1e300;
            for (double x : values) {
                if (x <= v)
                    below = std::max(below, x);
                if (x >= v)
                    above = std::min(above, x);
            }
            return qMakePair(below, above);
        };
        auto count = [&](double l, double rp) {
            const auto lb = bracket(ls, l);
            const auto rb = bracket(rps, rp);
            int selected = 0;
            for (int r = 0; r < ls.size(); ++r)
                if ((same(ls.at(r), lb.first) || same(ls.at(r), lb.second))
                    && (same(rps.at(r), rb.first) || same(rps.at(r), rb.second)))
                    ++selected;
            return selected;
        };
        if (rows > 0) {
            QCOMPARE(count(length, transitional), rows);
            continue;
        }
        for (int l = 5; l <= 500; ++l)
            for (int rp = 1; rp <= 1000; rp += 3) {
                const int n = count(l / 100.0, rp / 100.0);
                QVERIFY2(n == 1 || n == 2 || n == 4,
                         qPrintable(file + QStringLiteral(" finds %1 rows at L %2, Rp %3").arg(n).arg(l / 100.0).arg(rp / 100.0)));
            }
    }
}

void TestReferenceData::foundationGrades()
{
    const Table &piles = table(QStringLiteral("sv_fund.db"));
    QSet<QString> grades;
    for (int r = 0; r < piles.rows.size(); ++r) {
        const double h = piles.num(r, QStringLiteral("Dlina"));
        const double c = piles.num(r, QStringLiteral("Diam"));
        QVERIFY2(h > 0 && c > 0 && c < h, qPrintable(rowRef(piles, r)));
        QVERIFY2(!grades.contains(piles.text(r, QStringLiteral("Marka"))), qPrintable(rowRef(piles, r)));
        grades.insert(piles.text(r, QStringLiteral("Marka")));
    }
    const Table &slabs = table(QStringLiteral("sb_fund.db"));
    for (int r = 0; r < slabs.rows.size(); ++r) {
        const double h = slabs.num(r, QStringLiteral("DlinaSt"));
        const double d = slabs.num(r, QStringLiteral("VusPl"));
        QVERIFY2(slabs.num(r, QStringLiteral("DiamSt")) > 0 && slabs.num(r, QStringLiteral("DlinaPl")) > 0
                     && slabs.num(r, QStringLiteral("ShirPl")) > 0 && d > 0 && h > d,
                 qPrintable(rowRef(slabs, r)));
    }
}

// ---------------------------------------------------------------- selection settings

void TestReferenceData::selectionKindsComplete()
{
    const Table &t = table(QStringLiteral("parpod0.db"));
    QList<int> kinds;
    QSet<int> kods;
    for (int r = 0; r < t.rows.size(); ++r) {
        kinds << t.integer(r, QStringLiteral("KodTip"));
        const int kod = t.integer(r, QStringLiteral("Kod"));
        QVERIFY2(!kods.contains(kod), qPrintable(rowRef(t, r) + QStringLiteral(" (duplicate Kod)")));
        kods.insert(kod);
    }
    std::sort(kinds.begin(), kinds.end());
    const QList<int> expected = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 20, 21, 22, 30, 31,
                                 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 100, 101};
    QCOMPARE(kinds, expected);
    QCOMPARE(QSet<int>(expected.begin(), expected.end()), QSet<int>(expectedCaptions().keyBegin(), expectedCaptions().keyEnd()));
}

void TestReferenceData::selectionCaptions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QChar>("kind");
    QTest::newRow("sparpod1.DB") << QStringLiteral("sparpod1.DB") << QChar(QLatin1Char('s'));
    QTest::newRow("rparpod1.DB") << QStringLiteral("rparpod1.DB") << QChar(QLatin1Char('r'));
    QTest::newRow("iparpod1.DB") << QStringLiteral("iparpod1.DB") << QChar(QLatin1Char('i'));
}

// Every stored Param must be a caption that the calculator of its kind offers
// for that table, and every offered caption must be stored, or the run reports
// the parameter as missing.
void TestReferenceData::selectionCaptions()
{
    QFETCH(QString, file);
    QFETCH(QChar, kind);
    const Table &master = table(QStringLiteral("parpod0.db"));
    QHash<int, int> kindOfKod;
    for (int r = 0; r < master.rows.size(); ++r)
        kindOfKod.insert(master.integer(r, QStringLiteral("Kod")), master.integer(r, QStringLiteral("KodTip")));

    const Table &t = table(file);
    QHash<int, QSet<QString>> stored;
    for (int r = 0; r < t.rows.size(); ++r) {
        const int kod0 = t.integer(r, QStringLiteral("Kod0"));
        QVERIFY2(kindOfKod.contains(kod0), qPrintable(rowRef(t, r) + QStringLiteral(" (Kod0 without parpod0.db row)")));
        const int calculator = kindOfKod.value(kod0);
        const QString param = t.text(r, QStringLiteral("Param"));
        QVERIFY2(expectedCaptions().value(calculator).value(kind).contains(param),
                 qPrintable(rowRef(t, r) + QStringLiteral(" (not a caption of kind %1)").arg(calculator)));
        QVERIFY2(!stored[calculator].contains(param), qPrintable(rowRef(t, r) + QStringLiteral(" (duplicate)")));
        stored[calculator].insert(param);
    }
    const Captions &all = expectedCaptions();
    for (auto k = all.cbegin(); k != all.cend(); ++k)
        for (const QString &caption : k.value().value(kind))
            QVERIFY2(stored.value(k.key()).contains(caption),
                     qPrintable(file + QStringLiteral(": kind %1 misses ").arg(k.key()) + caption));
}

void TestReferenceData::selectionRanges()
{
    const Table &s = table(QStringLiteral("sparpod1.DB"));
    for (int r = 0; r < s.rows.size(); ++r)
        QVERIFY2(s.num(r, QStringLiteral("Shag")) > 0, qPrintable(rowRef(s, r)));
    for (const char *f : {"rparpod1.DB", "iparpod1.DB"}) {
        const Table &t = table(QString::fromUtf8(f));
        for (int r = 0; r < t.rows.size(); ++r) {
            const double b = t.num(r, QStringLiteral("BValue"));
            const double e = t.num(r, QStringLiteral("EValue"));
            const double step = t.num(r, QStringLiteral("Shag"));
            QVERIFY2(b > 0 && e > 0 && step > 0, qPrintable(rowRef(t, r)));
            QVERIFY2(step <= std::fabs(e - b) || same(b, e), qPrintable(rowRef(t, r) + QStringLiteral(" (step larger than the range)")));
        }
    }
}

QTEST_APPLESS_MAIN(TestReferenceData)

#include "tst_referencedata.moc"
