#include "NumberText.h"

#include <cmath>
#include <cstdio>

namespace kz {

std::optional<long double> parseNumber(const QString& text) {
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

QString formatGeneral(long double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");
    // 15 significant digits: d.dddddddddddddde±x
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14Le", value);
    QByteArray s(buf);
    const bool negative = s.startsWith('-');
    if (negative)
        s.remove(0, 1);
    const int ePos = s.indexOf('e');
    int exponent = s.mid(ePos + 1).toInt();
    QByteArray digits = s.left(ePos);
    digits.remove(1, 1); // the point
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    QString out;
    if (negative)
        out += QLatin1Char('-');
    const long double magnitude = negative ? -value : value;
    if (exponent >= 15 || magnitude < 1e-5L) {
        out += QLatin1Char(digits[0]);
        if (digits.size() > 1) {
            out += QLatin1Char(',');
            out += QString::fromLatin1(digits.mid(1));
        }
        out += QLatin1Char('E');
        out += QString::number(exponent);
        return out;
    }
    if (exponent >= 0) {
        QByteArray intPart = digits.left(exponent + 1);
        while (intPart.size() < exponent + 1)
            intPart.append('0');
        out += QString::fromLatin1(intPart);
        const QByteArray frac = digits.mid(exponent + 1);
        if (!frac.isEmpty()) {
            out += QLatin1Char(',');
            out += QString::fromLatin1(frac);
        }
    } else {
        out += QStringLiteral("0,");
        out += QString(-exponent - 1, QLatin1Char('0'));
        out += QString::fromLatin1(digits);
    }
    return out;
}

long double roundTo(long double value, int decimals) {
    // Scale by an exact power of ten and divide back by it: multiplying by 0,01 (inexact in binary)
    // would leave 4,00 a hair above 4, and a result shown as 4,00 would fail a limit of 4.
    const long double scale = std::pow(10.0L, std::abs(decimals));
    if (decimals >= 0)
        return std::nearbyint(value * scale) / scale;
    return std::nearbyint(value / scale) * scale;
}

QString formatMask(long double value, const QString& mask) {
    const int point = mask.indexOf(QLatin1Char('.'));
    int required = 0;
    int optional = 0;
    if (point >= 0) {
        for (int i = point + 1; i < mask.size(); ++i) {
            if (mask[i] == QLatin1Char('0'))
                ++required;
            else if (mask[i] == QLatin1Char('#'))
                ++optional;
        }
    }
    const int decimals = required + optional;
    long double scaled = std::round(value * std::pow(10.0L, decimals));
    if (scaled == 0)
        scaled = 0; // no "-0,00"
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.*Lf", decimals, scaled / std::pow(10.0L, decimals));
    QString s = QString::fromLatin1(buf);
    if (decimals > 0) {
        int trim = 0;
        while (trim < optional && s.endsWith(QLatin1Char('0'))) {
            s.chop(1);
            ++trim;
        }
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
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
