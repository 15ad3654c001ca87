#pragma once
// PDU hex text: two characters per octet, high nibble first.

#include <cstdint>
#include <span>
#include <string_view>

// Converts pairs of hex characters (either case; only the low 8 bits of each character count)
// into `out`, never more octets than `out` holds. Odd length: false and nothing converted.
// A pair that is not hex: false, the octets before it stay converted.
bool HexToOctets(std::u16string_view text, std::span<std::uint8_t> out);
