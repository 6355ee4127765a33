#include "core/rules/SectionRules.h"

#include "core/common/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
const QChar kSeparator = QLatin1Char('x'); // Latin x between the numbers of a size

// Rounds to n decimals with an exact decimal half going to the even neighbour. The product of two
// decimal sizes carries binary noise (0,95 * 0,05 comes out just below 0,0475), so the scaled value
// is first cleaned to nine decimals, where a decimal half is exact again.
long double roundHalfEven(long double value, int decimals) {
    const long double factor = std::pow(10.0L, decimals);
    const long double scaled = std::nearbyint(value * factor * 1e9L) / 1e9L;
    return std::nearbyint(scaled) / factor;
}
} // namespace

const QStringList& constructionNames() {
    static const QStringList names{u"сталь круглая"_s, u"сталь трубчатая"_s, u"сталь угловая"_s,
                                   u"сталь квадратная"_s, u"сталь полосовая"_s};
    return names;
}

int constructionOf(const QString& text) {
    const int i = int(constructionNames().indexOf(text));
    return i < 0 ? NoConstruction : i;
}

bool usesEquivalentDiameter(int construction) {
    return construction == AngleSteel || construction == StripSteel;
}

QString steelTableFile(int construction) {
    switch (construction) {
    case RoundSteel:
        return QStringLiteral("st_krug.db");
    case TubularSteel:
        return QStringLiteral("st_truba.db");
    case AngleSteel:
        return QStringLiteral("st_uglov.db");
    case SquareSteel:
        return QStringLiteral("st_kvad.db");
    case StripSteel:
        return QStringLiteral("st_polos.db");
    }
    return {};
}

QString roundSizeText(const QString& diamText) {
    return diamText;
}

QString angleSizeText(const QString& shirText, const QString& tolText) {
    return shirText + kSeparator + shirText + kSeparator + tolText;
}

QString stripSizeText(const QString& shirText, const QString& tolText) {
    return shirText + kSeparator + tolText;
}

QString sizeLabel(int construction, const QString& letterD, const QString& letterB) {
    if (construction == AngleSteel)
        return letterB + u" - ширина полки, м:"_s;
    if (construction == StripSteel)
        return letterB + u" - ширина полосы, м:"_s;
    return equivalentDiameterLabel(letterD);
}

QString equivalentDiameterLabel(const QString& letterD) {
    return letterD + u" - диаметр, м:"_s;
}

QString sizeListHint(int construction) {
    switch (construction) {
    case RoundSteel:
        return u"Диаметр круглой стали"_s;
    case TubularSteel:
        return u"Внешний диаметр трубчатой стали"_s;
    case SquareSteel:
        return u"Сторона квадратной стали"_s;
    case AngleSteel:
        return u"Размеры угловой стали: ширина полки х ширина полки х толщина полки"_s;
    case StripSteel:
        return u"Размеры полосовой стали: ширина полосы х толщина полосы"_s;
    }
    return {};
}

SectionDiameters sectionDiameters(int construction, const QString& sizeText) {
    if (!usesEquivalentDiameter(construction))
        return {sizeText, {}};
    const qsizetype x = sizeText.indexOf(kSeparator);
    const auto b = parseNumber(x < 0 ? sizeText : sizeText.left(x));
    if (sizeText.isEmpty() || !b)
        return {};
    const long double factor = construction == StripSteel ? 0.5L : 0.95L;
    return {formatGeneral(*b), formatGeneral(roundHalfEven(factor * *b, 3))};
}

QString corrosionStatus(int mode) {
    return mode == RecommendedSizes ? u"рекомендуется"_s : u"допускается"_s;
}

QStringList constructQueryLines() {
    return {QStringLiteral("select k3.Construct"),
            QStringLiteral("from KorGrunt0 k0, KorGrunt1 k1, KorGrunt2 k2, KorGrunt3 k3"),
            QStringLiteral("where k0.Kod=k1.Kod0 and k1.Kod=k2.Kod0 and k2.Kod=k3.Kod0 and "),
            QStringLiteral("  k0.PMin<:P and k0.PMax>=:P and k1.Vid=:Vid and k2.Status=:Status")};
}

QStringList sizeQueryLines() {
    return {QStringLiteral("select k4.Razmer"),
            QStringLiteral("from KorGrunt0 k0, KorGrunt1 k1, KorGrunt2 k2, KorGrunt3 k3, KorGrunt4 k4"),
            QStringLiteral("where k0.Kod=k1.Kod0 and k1.Kod=k2.Kod0 and k2.Kod=k3.Kod0 and "),
            QStringLiteral("  k3.Kod=k4.Kod0 and "),
            QStringLiteral("  k0.PMin<:P and k0.PMax>=:P and k1.Vid=:Vid and"),
            QStringLiteral("  k2.Status=:Status and k3.Construct=:Construct"),
            QStringLiteral("order by k4.Razmer")};
}

} // namespace kz
