#pragma once
// TP-UDL and TP-UD, shared by the record classes.

#include <cstdint>
#include <string>
#include <string_view>

class CPduReader;
class CPduWriter;

namespace sms {

// Alphabet bits of TP-DCS.
inline constexpr std::uint8_t kAlphabetMask = 0x0C;
inline constexpr std::uint8_t kAlphabet7Bit = 0x00;
inline constexpr std::uint8_t kAlphabetUcs2 = 0x08;

// Septets that a header of `headerLength` octets takes with its UDHL octet and fill bits.
inline std::size_t HeaderSeptets(std::size_t headerLength) {
    return ((headerLength + 1) * 8 + 6) / 7;
}

// Reads TP-UDL and the user data after it; the header only when `withHeader` (TP-UDHI).
void ReadUserData(CPduReader& reader, std::uint8_t dcs, bool withHeader, std::u16string& header,
                  std::u16string& text);

// Writes `udl` as TP-UDL, then the header (when not empty) and the text in the alphabet of `dcs`.
void WriteUserData(CPduWriter& writer, std::uint8_t dcs, std::uint8_t udl,
                   std::u16string_view header, std::u16string_view text);

}  // namespace sms
