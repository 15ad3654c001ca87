#pragma once
// Small text helpers of the simulated phone: ASCII case, numbers, hex, UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace phonesim {

std::string ToUpperAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
std::string_view Trim(std::string_view text);

// A decimal integer, optionally signed, with at most 9 digits; nothing else around it.
std::optional<long> ParseInt(std::string_view text);

std::string OctetsToHex(const std::vector<std::uint8_t>& octets);
// Pairs of hex digits (either case); nullopt for an odd length or another character.
std::optional<std::vector<std::uint8_t>> HexToOctets(std::string_view hex);
int HexValue(char c);  // -1 for a non-hex character

// Well-formed UTF-8 to UTF-16; a surrogate written as its own 3-byte form is taken as it is.
// nullopt for anything malformed.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
// Pairs become 4-byte sequences; a lone surrogate is written as U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace phonesim
