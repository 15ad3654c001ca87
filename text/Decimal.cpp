#include "text/Decimal.h"

#include <algorithm>
#include <climits>

#include "text/Hex.h"

namespace text {

namespace {

template <typename Char>
int LeadingIntOf(std::basic_string_view<Char> text) {
    std::size_t i = 0;
    while (i < text.size() &&
           (text[i] == Char(' ') || (text[i] >= Char('\t') && text[i] <= Char('\r')))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == Char('+') || text[i] == Char('-'))) {
        negative = text[i] == Char('-');
        ++i;
    }
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= Char('0') && text[i] <= Char('9'); ++i) {
        value = std::min(value * 10 + (text[i] - Char('0')), kLimit);
    }
    if (negative) {
        value = -value;
    }
    return static_cast<int>(std::min<long long>(value, INT_MAX));
}

template <typename Char>
std::optional<std::uint32_t> ParseDigitsOf(std::basic_string_view<Char> text, std::size_t maxDigits,
                                           unsigned base) {
    if (text.empty() || text.size() > maxDigits) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (Char c : text) {
        const int digit = c >= Char('0') && c <= Char('9') ? c - Char('0')
                          : base == 16                     ? HexValue(c)
                                                           : -1;
        if (digit < 0) {
            return std::nullopt;
        }
        value = std::min<std::uint64_t>(value * base + static_cast<unsigned>(digit), UINT32_MAX);
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

int LeadingInt(std::string_view text) {
    return LeadingIntOf(text);
}
int LeadingInt(std::u16string_view text) {
    return LeadingIntOf(text);
}

std::optional<std::uint32_t> ParseDigits(std::string_view text, std::size_t maxDigits,
                                         unsigned base) {
    return ParseDigitsOf(text, maxDigits, base);
}
std::optional<std::uint32_t> ParseDigits(std::u16string_view text, std::size_t maxDigits,
                                         unsigned base) {
    return ParseDigitsOf(text, maxDigits, base);
}

}  // namespace text
