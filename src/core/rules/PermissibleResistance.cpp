#include "core/rules/PermissibleResistance.h"

#include "core/common/NumberText.h"

using namespace Qt::StringLiterals;

namespace kz {

namespace {

QString twoDecimals(long double v) {
    return formatMask(v, QStringLiteral("0.00"));
}

// One band of a three-band rule: a cap below, a factor of р in the middle, a cap above.
struct Bands {
    long double low;  // р <= low: lowCap
    long double high; // low < р <= high: factor*р; above: highCap
};
const Bands kBands100{100, 1000};
const Bands kBands500{500, 5000};

int band(long double p, const Bands& b) {
    return p <= b.low ? 0 : (p <= b.high ? 1 : 2);
}

// Types 4 and 5 and the lower part of type 2 by line voltage; index 0, 1, 2 = 220, 380, 660 V.
int voltageIndex(long double ulin) {
    if (ulin == 220)
        return 0;
    if (ulin == 380)
        return 1;
    if (ulin == 660)
        return 2;
    return -1;
}

struct CapRule {
    const char* lowCap;
    long double factor;
    const char* highCap;
};

const CapRule kEarthedUpTo1kV[3] = {{"8", 0.08L, "80"}, {"4", 0.04L, "40"}, {"2", 0.02L, "20"}};
const CapRule kRepeated[3] = {{"60", 0.6L, "600"}, {"30", 0.3L, "300"}, {"15", 0.15L, "150"}};
const CapRule kRepeatedTotal[3] = {{"20", 0.2L, "200"}, {"10", 0.1L, "100"}, {"5", 0.05L, "50"}};
// Isolated neutral up to 1 kV: S > 100 kVA, S <= 100 kVA.
const CapRule kIsolatedUpTo1kV[2] = {{"4", 0.008L, "40"}, {"10", 0.02L, "100"}};

QString apply(const CapRule& rule, int b, long double p) {
    if (b == 0)
        return QString::fromUtf8(rule.lowCap);
    if (b == 1)
        return twoDecimals(rule.factor * p);
    return QString::fromUtf8(rule.highCap);
}

const char* const kEarthedLines[3][3] = {
    {"При р<=100 --> R <= 8 Ом.", "При 100<р<=1000 --> R = 0,08*p, Ом.", "При р>1000 --> R <= 80 Ом."},
    {"При р<=100 --> R <= 4 Ом.", "При 100<р<=1000 --> R = 0,04*p, Ом.", "При р>1000 --> R <= 40 Ом."},
    {"При р<=100 --> R <= 2 Ом.", "При 100<р<=1000 --> R = 0,02*p, Ом.", "При р>1000 --> R <= 20 Ом."}};

const char* const kRepeatedLines[3][3] = {{"При р<=100 --> R <= 60 Ом; общее R <= 20 Ом.",
                                           "При 100<р<=1000 --> R = 0,6*p, Ом; общее R = 0,2*р, Ом.",
                                           "При р>1000 --> R <= 600 Ом; общее R <= 200 Ом."},
                                          {"При р<=100 --> R <= 30 Ом; общее R <= 10 Ом.",
                                           "При 100<р<=1000 --> R = 0,3*p, Ом; общее R = 0,1*р, Ом.",
                                           "При р>1000 --> R <= 300 Ом; общее R <= 100 Ом."},
                                          {"При р<=100 --> R <= 15 Ом; общее R <= 5 Ом.",
                                           "При 100<р<=1000 --> R = 0,15*p, Ом; общее R <= 0,05*р, Ом.",
                                           "При р>1000 --> R <= 150 Ом; общее R <= 50 Ом."}};

const char* const kIsolatedLines[2][3] = {
    {"При р<=500 и S>100 кВА --> R <= 4 Ом.", "При 500<р<=5000 и S>100 кВА --> R = 0,008*p, Ом.",
     "При р>5000 и S>100 кВА --> R <= 40 Ом."},
    {"При р<=500 и S<=100 кВА --> R <= 10 Ом.", "При 500<р<=5000 и S<=100 кВА --> R = 0,02*p, Ом.",
     "При р>5000 и S<=100 кВА --> R <= 100 Ом."}};

// The lower-voltage part of types 2 and 3, line by line; the middle line ends with k*р.
const char* const kCombinedEarthedLines[3][3] = {
    {"при р<=100 --> R <= 8 Ом.", "при 100<р<=1000 --> R = 0,08*p = ", "при р>1000 --> R <= 80 Ом."},
    {"при р<=100 --> R <= 4 Ом.", "при 100<р<=1000 --> R = 0,04*p= ", "при р>1000 --> R <= 40 Ом."},
    {"при р<=100 --> R <= 2 Ом.", "при 100<р<=1000 --> R = 0,02*p= ", "при р>1000 --> R <= 20 Ом."}};

const char* const kCombinedIsolatedLines[2][3] = {
    {"при р<=500 и S>100 кВА --> R <= 4 Ом.",
     "при 500<р<=5000 и S>100 кВА --> R = 0,008*p = ", "при р>5000 и S>100 кВА --> R <= 40 Ом."},
    {"при р<=500 и S<=100 кВА --> R <= 10 Ом.",
     "при 500<р<=5000 и S<=100 кВА --> R = 0,02*p = ", "при р>5000 и S<=100 кВА --> R <= 100 Ом."}};

// A value computed from a formula, replaced by the cap when it exceeds it.
QString capped(long double value, long double cap, const char* capText) {
    return value > cap ? QString::fromUtf8(capText) : twoDecimals(value);
}

// Types 2 and 3: the part above 1 kV, then the part up to 1 kV keeps the smaller value.
void combine(int type, const PermissibleInputs& in, int lower, PermissibleResult& out) {
    const long double p = in.p;
    QStringList& lines = out.justification;
    lines << u"Электроустановка выше 1 кВ с изолированной нейтралью:"_s;
    static const char* const upperLines[3] = {
        "при р<=500 --> R = 125/Iзо = ", "при 500<р<=5000 --> R = 0,25*p/Iзо = ",
        "при р>5000 --> R = 1250/Iзо = "};
    const int b500 = band(p, kBands500);
    const long double r1 = b500 == 0 ? 125 / in.izo : (b500 == 1 ? 0.25L * p / in.izo : 1250 / in.izo);
    QString r = twoDecimals(r1);
    lines << QString::fromUtf8(upperLines[b500]) + r + u" Ом."_s;

    const CapRule& rule = type == UpToOneKvEarthedAndAbove ? kEarthedUpTo1kV[lower] : kIsolatedUpTo1kV[lower];
    const auto& texts =
        type == UpToOneKvEarthedAndAbove ? kCombinedEarthedLines[lower] : kCombinedIsolatedLines[lower];
    const int b = band(p, type == UpToOneKvEarthedAndAbove ? kBands100 : kBands500);
    lines << (type == UpToOneKvEarthedAndAbove ? u"Электроустановка до 1 кВ с заземленной нейтралью:"_s
                                               : u"Электроустановка до 1 кВ с изолированной нейтралью:"_s);
    // The comparison is with the value as shown, already rounded.
    const long double shown = parseNumber(r).value_or(0);
    if (b == 1) {
        const long double kp = rule.factor * p;
        if (shown > kp)
            r = twoDecimals(kp);
        lines << QString::fromUtf8(texts[1]) + twoDecimals(kp) + u" Ом."_s;
    } else {
        const char* cap = b == 0 ? rule.lowCap : rule.highCap;
        if (shown > parseNumber(QString::fromUtf8(cap)).value_or(0))
            r = QString::fromUtf8(cap);
        lines << QString::fromUtf8(texts[b]);
    }
    lines << u"Окончательно принимается R <= "_s + r + u" Ом."_s;
    out.r = r;
}

} // namespace

const QStringList& installationTypeNames() {
    static const QStringList names{
        u"напряжением выше 1 кВ с заземленной нейтралью"_s,
        u"напряжением выше 1 кВ с изолированной нейтралью"_s,
        u"напряжением до 1 кВ с заземленной нейтралью и выше 1 кВ с изолированной нейтралью"_s,
        u"напряжением до 1 кВ и выше с изолированной нейтралью"_s,
        u"напряжением до 1 кВ с заземленной нейтралью"_s,
        u"напряжением до 1 кВ с заземленной нейтралью (повторные заземлители)"_s,
        u"напряжением до 1 кВ с изолированной нейтралью"_s};
    return names;
}

int installationTypeIndex(const QString& text) {
    return int(installationTypeNames().indexOf(text));
}

bool typeUsesCurrent(int type) {
    return type == AboveOneKvIsolated || type == UpToOneKvEarthedAndAbove || type == IsolatedBoth;
}
bool typeUsesVoltage(int type) {
    return type == UpToOneKvEarthedAndAbove || type == UpToOneKvEarthed || type == UpToOneKvRepeated;
}
bool typeUsesPower(int type) {
    return type == IsolatedBoth || type == UpToOneKvIsolated;
}
bool typeHasRepeatedTotal(int type) {
    return type == UpToOneKvRepeated;
}

const QStringList& lineVoltageItems() {
    static const QStringList items{QStringLiteral("220"), QStringLiteral("380"), QStringLiteral("660")};
    return items;
}

const QStringList& powerItems() {
    static const QStringList items{QStringLiteral("25"),   QStringLiteral("40"),   QStringLiteral("63"),
                                   QStringLiteral("100"),  QStringLiteral("160"),  QStringLiteral("250"),
                                   QStringLiteral("400"),  QStringLiteral("630"),  QStringLiteral("1000"),
                                   QStringLiteral("1600"), QStringLiteral("2500"), QStringLiteral("4000"),
                                   QStringLiteral("6300"), QStringLiteral("10000")};
    return items;
}

QString resistivityParameterName() {
    return u"удельного сопротивления грунта р"_s;
}
QString currentParameterName() {
    return u"тока замыкания на землю Iзо"_s;
}
QString voltageParameterName() {
    return u"напряжения источника тока Uлин."_s;
}
QString powerParameterName() {
    return u"суммарной мощности трансформаторов (генераторов) S"_s;
}

PermissibleResult permissibleResistance(int type, const PermissibleInputs& in) {
    PermissibleResult out;
    if (type < 0 || type >= InstallationTypeCount || !(in.p > 0))
        return out;
    if ((typeUsesCurrent(type) && !(in.izo > 0)) || (typeUsesPower(type) && !(in.s > 0)))
        return out;
    const int voltage = typeUsesVoltage(type) ? voltageIndex(in.ulin) : 0;
    if (voltage < 0)
        return out;
    const long double p = in.p;
    switch (type) {
    case AboveOneKvEarthed: {
        static const char* const lines[3] = {"При р<=500 --> R <= 0,5 Ом.",
                                             "При 500<р<=5000 --> R = p/1000, Ом.",
                                             "При р>5000 --> R <= 5 Ом."};
        const int b = band(p, kBands500);
        out.r = b == 0 ? u"0,5"_s : (b == 1 ? twoDecimals(p / 1000) : u"5"_s);
        out.justification << QString::fromUtf8(lines[b]);
        break;
    }
    case AboveOneKvIsolated: {
        static const char* const lines[3] = {"При р<=500 --> R = 250/Iзо, но не более 10 Ом.",
                                             "При 500<р<=5000 --> R = 0,5*p/Iзо, но не более 100 Ом.",
                                             "При р>5000 --> R = 2500/Iзо, но не более 100 Ом."};
        const int b = band(p, kBands500);
        if (b == 0)
            out.r = capped(250 / in.izo, 10, "10");
        else if (b == 1)
            out.r = capped(0.5L * p / in.izo, 100, "100");
        else
            out.r = capped(2500 / in.izo, 100, "100");
        out.justification << QString::fromUtf8(lines[b]);
        break;
    }
    case UpToOneKvEarthedAndAbove:
        combine(type, in, voltage, out);
        break;
    case IsolatedBoth:
        combine(type, in, in.s > 100 ? 0 : 1, out);
        break;
    case UpToOneKvEarthed: {
        const int b = band(p, kBands100);
        out.r = apply(kEarthedUpTo1kV[voltage], b, p);
        out.justification << QString::fromUtf8(kEarthedLines[voltage][b]);
        break;
    }
    case UpToOneKvRepeated: {
        const int b = band(p, kBands100);
        out.r = apply(kRepeated[voltage], b, p);
        out.total = apply(kRepeatedTotal[voltage], b, p);
        out.justification << QString::fromUtf8(kRepeatedLines[voltage][b]);
        break;
    }
    case UpToOneKvIsolated: {
        const int lower = in.s > 100 ? 0 : 1;
        const int b = band(p, kBands500);
        out.r = apply(kIsolatedUpTo1kV[lower], b, p);
        out.justification << QString::fromUtf8(kIsolatedLines[lower][b]);
        break;
    }
    }
    out.valid = true;
    return out;
}

QString permissibleResistanceText(const QString& typeText, const QString& izo, const QString& p,
                                  const QString& s, const QString& ulin) {
    const int type = installationTypeIndex(typeText);
    PermissibleInputs in;
    // Texts of inputs the type does not use are never read.
    const auto read = [](const QString& text, long double& to) {
        const auto v = parseNumber(text);
        if (!v)
            return false;
        to = *v;
        return true;
    };
    if (type < 0 || !read(p, in.p))
        return {};
    if (typeUsesCurrent(type) && !read(izo, in.izo))
        return {};
    if (typeUsesVoltage(type) && !read(ulin, in.ulin))
        return {};
    if (typeUsesPower(type) && !read(s, in.s))
        return {};
    return permissibleResistance(type, in).r;
}

} // namespace kz
