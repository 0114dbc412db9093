// Whole-number conversions and number texts.
#include "rules/world/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvex {

namespace {

// Turns full-width digits, point, signs and blanks (as a Japanese input method
// types them) into their ASCII forms.
std::string NarrowDigits(std::string_view text);
// Reads a decimal number, blanks around it allowed, full-width digits accepted.
// Empty text, other characters or a non-finite value give nothing.
std::optional<double> ParseDecimal(std::string_view raw);

}  // namespace

int Nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

std::string FormatNumber(double x) {
    // Room for any double written out in full: 309 digits before the point, 767 after.
    char buffer[1100];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 15);
    if (result.ec != std::errc()) return {};
    std::string text(buffer, result.ptr);
    // to_chars writes large and small magnitudes with an exponent; the game's
    // values are prices and counts, so plain fixed text is what a player sees.
    if (text.find('e') != std::string::npos) {
        result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed);
        if (result.ec != std::errc()) return text;
        text.assign(buffer, result.ptr);
        if (text.find('.') != std::string::npos) {
            while (!text.empty() && text.back() == '0') text.pop_back();
            if (!text.empty() && text.back() == '.') text.pop_back();
        }
    }
    if (text == "-0") text = "0";
    return text;
}

namespace {
std::string NarrowDigits(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c0 = static_cast<unsigned char>(text[i]);
        if (c0 == 0xEF && i + 2 < text.size()) {
            const auto c1 = static_cast<unsigned char>(text[i + 1]);
            const auto c2 = static_cast<unsigned char>(text[i + 2]);
            // U+FF01..U+FF5E: full-width forms of ASCII 0x21..0x7E.
            if ((c1 == 0xBC && c2 >= 0x81) || (c1 == 0xBD && c2 <= 0x9E)) {
                const int code = ((c1 & 0x0F) << 6 | (c2 & 0x3F)) + 0xF000;
                out.push_back(static_cast<char>(code - 0xFF01 + 0x21));
                i += 3;
                continue;
            }
        }
        if (c0 == 0xE3 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            static_cast<unsigned char>(text[i + 2]) == 0x80) {  // U+3000 ideographic space
            out.push_back(' ');
            i += 3;
            continue;
        }
        if (c0 == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x88 &&
            static_cast<unsigned char>(text[i + 2]) == 0x92) {  // U+2212 minus sign
            out.push_back('-');
            i += 3;
            continue;
        }
        out.push_back(static_cast<char>(c0));
        ++i;
    }
    return out;
}

std::optional<double> ParseDecimal(std::string_view raw) {
    const std::string text = NarrowDigits(raw);
    std::size_t begin = 0;
    std::size_t end = text.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    if (begin == end) return std::nullopt;
    const char* first = text.data() + begin;
    const char* last = text.data() + end;
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-' || *first == '+') return std::nullopt;
    }
    // Plain decimal numbers only: digits, one point, a leading minus.
    for (const char* p = first; p != last; ++p) {
        const char c = *p;
        if (!((c >= '0' && c <= '9') || c == '.' || (c == '-' && p == first))) return std::nullopt;
    }
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> ToInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (value < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        value > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

std::optional<int> ParseRoundedAmount(std::string_view text) {
    auto value = ParseDecimal(text);
    if (!value) return std::nullopt;
    return ToInt32(std::nearbyint(*value));
}

std::optional<int> ParseFlooredAmount(std::string_view text) {
    auto value = ParseDecimal(text);
    if (!value) return std::nullopt;
    return ToInt32(std::floor(*value));
}

int CharCount(std::string_view utf8) {
    int count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

}  // namespace tarvex
