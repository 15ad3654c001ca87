#pragma once
// Hex digits and hex text: two digits an octet, high nibble first.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// The value of a byte that is a hex digit of either case; for any other byte `bad` gets a 1 and
// the value is meaningless. Arithmetic on bytes rather than a table or a branch, so that a block
// of digits is converted in vector registers with one test at the end.
constexpr unsigned HexNibble(std::uint8_t byte, unsigned& bad) {
    const auto digit = static_cast<std::uint8_t>(byte - '0');
    const auto letter = static_cast<std::uint8_t>((byte | 0x20) - 'a');
    const bool isDigit = digit < 10;
    const bool isLetter = letter < 6;
    bad |= !(isDigit | isLetter);
    return isDigit ? digit : letter + 10u;
}

// The value of a hex digit of either case; -1 for any other character.
constexpr int HexValue(char32_t c) {
    unsigned bad = c > 0xFF;
    const unsigned value = HexNibble(static_cast<std::uint8_t>(c), bad);
    return bad ? -1 : static_cast<int>(value);
}

// The upper-case digit of the low four bits.
constexpr char HexDigit(unsigned value) {
    return "0123456789ABCDEF"[value & 0x0F];
}

// Two upper-case digits an octet, as `char` or `char16_t` text.
template <typename Char = char>
std::basic_string<Char> OctetsToHex(std::span<const std::uint8_t> octets);

// Pairs of hex digits of either case; nullopt for an odd length or any other character.
std::optional<std::vector<std::uint8_t>> HexToOctets(std::string_view hex);

}  // namespace text
