#pragma once
// The GSM 03.38 default alphabet. Decoding gives every character of the default alphabet and of
// its extension table (escape 0x1B); encoding goes by ISO 8859-1 and knows neither the Greek
// capitals nor the extension table (messages are composed in UCS2).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sms {

// Codes with no ISO 8859-1 character (Greek capitals, the escape) map to this.
inline constexpr std::uint8_t kNoLatin1 = 0xAC;
// Latin-1 characters with no GSM code become this GSM code.
inline constexpr std::uint8_t kNoGsm = 0x10;

// GSM code to ISO 8859-1 code.
inline constexpr std::array<std::uint8_t, 128> kGsmToLatin1 = {
    0x40, 0xA3, 0x24, 0xA5, 0xE8, 0xE9, 0xF9, 0xEC, 0xF2, 0xC7, 0x0A, 0xD8, 0xF8, 0x0D, 0xC5, 0xE5,
    0xAC, 0x5F, 0xAC, 0xAC, 0xAC, 0xAC, 0xAC, 0xAC, 0xAC, 0xAC, 0xAC, 0xAC, 0xC6, 0xE6, 0xDF, 0xC9,
    0x20, 0x21, 0x22, 0x23, 0xA4, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0xA1, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0xC4, 0xD6, 0xD1, 0xDC, 0xA7,
    0xBF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0xE4, 0xF6, 0xF1, 0xFC, 0xE0,
};

// ISO 8859-1 code to GSM code; when two codes share a character the higher one wins.
inline constexpr std::array<std::uint8_t, 256> kLatin1ToGsm = [] {
    std::array<std::uint8_t, 256> table{};
    table.fill(kNoGsm);
    for (std::size_t code = 0; code < kGsmToLatin1.size(); ++code) {
        if (kGsmToLatin1[code] != kNoLatin1) {
            table[kGsmToLatin1[code]] = static_cast<std::uint8_t>(code);
        }
    }
    return table;
}();

}  // namespace sms

// GSM codes (one per septet) to text: an escape and the code after it are one character of the
// extension table; an escape before a code the table does not have gives the default character
// of that code, two escapes a blank, a final one nothing. A code above 127 becomes U+00AC.
std::u16string GsmToText(std::u16string_view codes);
// The same for `count` septets packed from bit `firstBit` of `octets` (least significant bit
// first), which must hold them all.
std::u16string SeptetsToText(std::span<const std::uint8_t> octets, std::size_t firstBit,
                             std::size_t count);
// Text to GSM codes, one per character, by the low 8 bits of each character.
std::u16string TextToGsm(std::u16string_view text);
