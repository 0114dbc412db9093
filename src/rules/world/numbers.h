// Whole-number conversions and number texts, written once for the whole game.
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace tarvex {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int Nearest(double x);
// Largest whole number not above x. Inline: the rules floor several numbers every step.
inline int Floor(double x) { return static_cast<int>(std::floor(x)); }
// General decimal text with at most 15 significant digits, no trailing zeros,
// a point whatever the locale (0.7, 7, 5.1).
std::string FormatNumber(double x);
// Raises a value below nothing to nothing: stores never run negative.
inline void NoNegative(int& value) {
    if (value < 0) value = 0;
}
// Decimal text of a whole number.
inline std::string Str(long long n) { return std::to_string(n); }

// Reads a typed amount: decimal number rounded to the nearest whole, halves to
// even. Nothing when unreadable or outside the signed 32-bit range.
std::optional<int> ParseRoundedAmount(std::string_view text);
// Reads a typed amount: decimal number, whole part rounded down (2.9 -> 2,
// -0.5 -> -1). Nothing when unreadable or outside the signed 32-bit range.
std::optional<int> ParseFlooredAmount(std::string_view text);

// Number of characters (code points) of a UTF-8 text.
int CharCount(std::string_view utf8);

}  // namespace tarvex
