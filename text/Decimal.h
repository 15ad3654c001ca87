#pragma once
// Numbers written in digits.

#include <cstdint>
#include <optional>
#include <string_view>

namespace text {

// The leading integer of a text as C's atoi reads it: blanks (space, '\t' to '\r'), one sign,
// then digits up to the first other character; 0 when there are none. Saturates at INT_MIN and
// INT_MAX instead of overflowing.
int LeadingInt(std::string_view text);
int LeadingInt(std::u16string_view text);

// The whole text as a number of one to `maxDigits` digits, leading zeros counted: no sign, no
// blanks, nothing else (base 16: digits of either case). A value past 2^32 - 1 gives 2^32 - 1.
std::optional<std::uint32_t> ParseDigits(std::string_view text, std::size_t maxDigits,
                                         unsigned base = 10);
std::optional<std::uint32_t> ParseDigits(std::u16string_view text, std::size_t maxDigits,
                                         unsigned base = 10);

}  // namespace text
