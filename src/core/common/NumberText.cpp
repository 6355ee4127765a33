#include "core/common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <string>

using namespace Qt::StringLiterals;

namespace kz {

namespace {
// The common text, [-]digits[,digits] with at most 19 digits, read without any conversion: the
// digits and the power of ten are both exact in long double, so the one division rounds exactly as
// strtold rounds. false: the text is of another form.
static_assert(std::numeric_limits<long double>::digits >= 64,
              "19 decimal digits must be exact in long double");

bool parsePlainDecimal(const QString& text, long double& value) {
    const QChar* c = text.constData();
    const QChar* end = c + text.size();
    const bool negative = c != end && *c == u'-';
    if (negative)
        ++c;
    unsigned long long digits = 0;
    int count = 0;
    int fraction = -1;
    for (; c != end; ++c) {
        const char16_t u = c->unicode();
        if (u >= u'0' && u <= u'9') {
            if (++count > 19)
                return false;
            digits = digits * 10 + (u - u'0');
            if (fraction >= 0)
                ++fraction;
        } else if (u == u',' && fraction < 0) {
            fraction = 0;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    static constexpr long double powers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                             1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                             1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};
    const long double v = static_cast<long double>(digits) / powers[std::max(fraction, 0)];
    value = negative ? -v : v;
    return true;
}
} // namespace

std::optional<long double> parseNumber(const QString& text) {
    if (long double v = 0; parsePlainDecimal(text, v))
        return v;
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(QLatin1Char('.')))
        return std::nullopt;
    QByteArray ascii;
    ascii.reserve(t.size());
    for (QChar c : t) {
        const char16_t u = c.unicode();
        if (u == u',')
            ascii.append('.');
        else if ((u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || u == u'e' || u == u'E')
            ascii.append(char(u));
        else
            return std::nullopt;
    }
    // Exactly one mantissa with digits, optional exponent with digits.
    const char* s = ascii.constData();
    const char* p = s;
    if (*p == '+' || *p == '-')
        ++p;
    bool digits = false;
    while (*p >= '0' && *p <= '9') {
        ++p;
        digits = true;
    }
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') {
            ++p;
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (*p == 'e' || *p == 'E') {
        ++p;
        if (*p == '+' || *p == '-')
            ++p;
        if (!(*p >= '0' && *p <= '9'))
            return std::nullopt;
        while (*p >= '0' && *p <= '9')
            ++p;
    }
    if (*p != '\0')
        return std::nullopt;
    char* end = nullptr;
    const long double v = std::strtold(s, &end);
    if (end != s + ascii.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool tryParseNumber(const QString& text, double& value) {
    const auto v = parseNumber(text);
    if (!v)
        return false;
    const double d = double(*v);
    if (!std::isfinite(d))
        return false;
    value = d;
    return true;
}

bool isNumberKey(QChar c, bool comma) {
    return (c >= u'0' && c <= u'9') || (comma && c == u',');
}

bool isTypeableNumber(const QString& text, bool comma) {
    return std::all_of(text.cbegin(), text.cend(), [comma](QChar c) { return isNumberKey(c, comma); });
}

std::optional<double> keptNumber(const QString& text) {
    const auto v = parseNumber(text);
    if (!v)
        return std::nullopt;
    // Beyond the range a double holds, or so small that it would be kept as 0 or with lost digits.
    const double d = double(*v);
    if (!std::isfinite(d) || (*v != 0 && std::fpclassify(d) != FP_NORMAL))
        return std::nullopt;
    return d;
}

QString formatGeneral(long double value) {
    if (!std::isfinite(value))
        return {};
    if (value == 0)
        return QStringLiteral("0");
    // 15 significant digits, d.dddddddddddddde±x, rounded as printf rounds them.
    char buf[64];
    const auto printed = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    const char* e = std::find(p, static_cast<const char*>(printed.ptr), 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), printed.ptr, exponent);
    char digits[32];
    int count = 0;
    for (const char* d = p; d != e; ++d)
        if (*d != '.')
            digits[count++] = *d;
    while (count > 1 && digits[count - 1] == '0')
        --count;

    char out[64];
    int n = 0;
    if (negative)
        out[n++] = '-';
    const long double magnitude = negative ? -value : value;
    if (exponent >= 15 || magnitude < 1e-5L) {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = ',';
            for (int i = 1; i < count; ++i)
                out[n++] = digits[i];
        }
        out[n++] = 'E';
        n = int(std::to_chars(out + n, out + sizeof out, exponent).ptr - out);
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            out[n++] = i < count ? digits[i] : '0';
        if (count > exponent + 1) {
            out[n++] = ',';
            for (int i = exponent + 1; i < count; ++i)
                out[n++] = digits[i];
        }
    } else {
        out[n++] = '0';
        out[n++] = ',';
        for (int i = 0; i < -exponent - 1; ++i)
            out[n++] = '0';
        for (int i = 0; i < count; ++i)
            out[n++] = digits[i];
    }
    return QString::fromLatin1(out, n);
}

long double roundTo(long double value, int decimals) {
    // Scale by an exact power of ten and divide back by it: multiplying by 0,01 (inexact in binary)
    // would leave 4,00 a hair above 4, and a result shown as 4,00 would fail a limit of 4.
    // The powers from a table (a long double holds them exactly): std::pow cost more than a whole
    // formula in a selection run. rint rounds ties to even as nearbyint does, without saving the
    // floating-point state.
    static constexpr long double powers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                             1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                             1e14L, 1e15L, 1e16L, 1e17L, 1e18L};
    const int n = std::abs(decimals);
    const long double scale = n < int(std::size(powers)) ? powers[n] : std::pow(10.0L, n);
    if (decimals >= 0)
        return std::rint(value * scale) / scale;
    return std::rint(value / scale) * scale;
}

namespace {

struct MaskPlaces {
    int required = 0;
    int optional = 0;
};

MaskPlaces maskPlaces(const QString& mask) {
    MaskPlaces p;
    const int point = mask.indexOf(QLatin1Char('.'));
    if (point >= 0)
        for (int i = point + 1; i < mask.size(); ++i) {
            if (mask[i] == QLatin1Char('0'))
                ++p.required;
            else if (mask[i] == QLatin1Char('#'))
                ++p.optional;
        }
    return p;
}

// Digits of the integer part of |value| (0 for values below 1).
int integerDigits(long double value) {
    const long double m = std::fabs(value);
    return m < 1 ? 0 : int(std::floor(std::log10(m))) + 1;
}

// The fixed form of a value with the mask's places, point as separator; empty when it would
// need more integer digits than can be real.
std::string fixedText(long double value, const MaskPlaces& p) {
    const int decimals = p.required + p.optional;
    if (integerDigits(value) > shownDigits)
        return {};
    long double scaled = std::round(value * std::pow(10.0L, decimals));
    if (scaled == 0)
        scaled = 0; // no "-0,00"
    const long double v = scaled / std::pow(10.0L, decimals);
    std::string s(std::size_t(std::snprintf(nullptr, 0, "%.*Lf", decimals, v)) + 1, '\0');
    std::snprintf(s.data(), s.size(), "%.*Lf", decimals, v);
    s.pop_back();
    if (decimals > 0) {
        int trim = 0;
        while (trim < p.optional && s.back() == '0') {
            s.pop_back();
            ++trim;
        }
        if (s.back() == '.')
            s.pop_back();
    }
    return s;
}

int significantDigits(const std::string& fixed) {
    int count = 0;
    bool leading = true;
    for (char c : fixed) {
        if (c < '0' || c > '9')
            continue;
        if (leading && c == '0')
            continue;
        leading = false;
        ++count;
    }
    return count;
}

} // namespace

bool isShowable(long double value) {
    return std::isfinite(value);
}

bool fitsMask(long double value, const QString& mask) {
    if (!std::isfinite(value))
        return false;
    const std::string s = fixedText(value, maskPlaces(mask));
    return !s.empty() && significantDigits(s) <= shownDigits;
}

QString formatMask(long double value, const QString& mask) {
    if (!std::isfinite(value))
        return {};
    const std::string s = fixedText(value, maskPlaces(mask));
    if (s.empty() || significantDigits(s) > shownDigits)
        return formatGeneral(value);
    return QString::fromLatin1(s.data(), qsizetype(s.size())).replace(QLatin1Char('.'), QLatin1Char(','));
}

std::optional<QString> shownNumber(long double value, const QString& mask) {
    if (!std::isfinite(value))
        return std::nullopt;
    return mask.isEmpty() ? formatGeneral(value) : formatMask(value, mask);
}

bool survivesStorage(long double value) {
    if (!std::isfinite(value))
        return false;
    const double stored = double(value);
    if (!std::isfinite(stored) || (value != 0 && std::fpclassify(stored) != FP_NORMAL))
        return false;
    return formatGeneral(stored) == formatGeneral(value);
}

QString echoedText(const QString& text) {
    constexpr int keep = 40;
    if (text.size() <= keep)
        return text;
    return text.left(keep) + QChar(0x2026) + u" (всего символов: %1)"_s.arg(text.size());
}

QString stepFormatMask(double step) {
    const QString text = formatGeneral(step);
    const int comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return QStringLiteral("0");
    return QStringLiteral("0.") + QString(text.size() - comma - 1, QLatin1Char('0'));
}

int stepRoundDigits(double step) {
    const QString text = formatGeneral(step);
    const int comma = text.indexOf(QLatin1Char(','));
    return comma < 0 ? 0 : -int(text.size() - comma - 1);
}

QString longHint(const QString& hint) {
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString shortHint(const QString& hint) {
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

} // namespace kz
