#pragma once

#include <QString>
#include <optional>

// Numbers as the user types and reads them: decimal comma whatever the system locale,
// no grouping; written back in the shortest general format of up to 15 significant digits.
namespace kz {

// Text -> number. Accepts optional blanks around, a sign and an exponent, the comma as the only
// decimal separator. Empty text, a decimal point or anything else gives nullopt.
std::optional<long double> parseNumber(const QString& text);

// Same, as double; false when the text is not a number.
bool tryParseNumber(const QString& text, double& value);

// What a numeric field lets the user type: the digits and the decimal comma (a count field: the
// digits only). The windows' key filter and the batch's check of typed texts share it.
bool isNumberKey(QChar c, bool comma = true);
// Whether every character of the text could be typed into such a field.
bool isTypeableNumber(const QString& text, bool comma = true);
// The longest text an edit line holds, a grid cell's editor too.
constexpr qsizetype editLineMaxLength = 32767;

// A number kept as typed (Rдоп): a number a double holds, neither beyond its range nor lost to 0
// on the way in. nullopt for any other text. The window's exit check and the batch refuse the same
// texts with it.
std::optional<double> keptNumber(const QString& text);

// Shortest general format, up to 15 significant digits, decimal comma: 0,6 / 2 / 21,81.
// Fixed notation for 1e-5 <= |v| < 1e15, otherwise "1,5E20" / "1E-6". A value that is not
// finite gives an empty text: it is never shown as a number.
QString formatGeneral(long double value);

// Significant digits a shown number may have: what a double holds for sure.
constexpr int shownDigits = 15;

// Whether a value can be shown at all (finite).
bool isShowable(long double value);
// Whether the mask shows the value with real digits only: finite, and no more than shownDigits
// significant digits in fixed form.
bool fitsMask(long double value, const QString& mask);
// The text a field shows: the mask form when it fits, the general form (exponent for large
// values) when it does not, nullopt for a value that is not finite.
std::optional<QString> shownNumber(long double value, const QString& mask = {});

// Whether a number survives being stored as a double and read back: what the general format
// shows of it before equals what it shows after (no overflow to infinity, no underflow to 0).
bool survivesStorage(long double value);

// A user's text as a message quotes it: long texts are cut, so that a pasted page does not
// become a page-long message box.
QString echoedText(const QString& text);

// Rounds to n decimals (n < 0: to tens, hundreds ...), ties to even; the result is the value
// nearest to the decimal number, so that 4,00 compares equal to 4.
long double roundTo(long double value, int decimals);

// Formats with a display mask where '.' stands for the decimal separator: "0", "0.00",
// "0.#####" (optional digits). Rounds half away from zero as a display format does. A value
// the mask cannot show with real digits goes to the general form; one not finite gives "".
QString formatMask(long double value, const QString& mask);

// Mask for values produced by stepping: 0,01 -> "0.00", 0,5 -> "0.0", 1 and 10 -> "0".
QString stepFormatMask(double step);

// Rounding digit for values produced by stepping: 0,01 -> -2, 0,5 -> -1, 100 -> 0.
int stepRoundDigits(double step);

// Long form of a hint "short|long": the part after the bar, or the whole hint.
QString longHint(const QString& hint);
QString shortHint(const QString& hint);

} // namespace kz
