#pragma once
// Builds a PDU field by field into a fixed buffer and turns it into hex text.
// The buffer never grows: writes past its 2000 octets are dropped and the writer remembers
// that it overflowed, so the caller can refuse the truncated result.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sms/codec/SmsTypes.h"

class CPduWriter {
public:
    static constexpr std::size_t kCapacity = 2000;

    CPduWriter() = default;

    void AlignToOctet();
    void WriteBit(int b);
    // Bit i of value for i = 0 .. n-1, least significant first; n at most 32.
    void WriteBits(std::uint32_t value, int n);
    void WriteMessageType(int v);
    void WriteOctet(std::uint8_t v);
    // The low 8 bits of the first n characters (at most all of them), one octet each.
    void WriteOctets(std::u16string_view text, std::size_t n);
    // The first n characters, two octets each, high octet first.
    void WriteUcs2(std::u16string_view text, std::size_t n);
    // Two digits an octet, low nibble first, an odd count closed with a 0xF filler.
    void WriteSemiOctetDigits(std::u16string_view digits);
    // Zero-padded to two digits: the last two of a larger value.
    void WriteNumber2(int value);
    void WriteTimeZone(int sign, unsigned minutes);
    void WriteTimeStamp(const SmsDateTime& t);
    void WriteValidity(const SmsValidity& v);
    // An alphanumeric TP address goes as 7-bit GSM codes, the others as semi-octet digits.
    void WriteAddress(const SmsAddress& address, bool isServiceCentre);

    // 7-bit packing is counted from the current octet (right after TP-UDL).
    void SetSeptetOrigin();
    // Zero fill bits up to the next septet boundary.
    void AlignToSeptet();
    // The low 7 bits of each character (GSM codes, see TextToGsm).
    void WriteSeptets(std::u16string_view codes);
    // UDHL (low 8 bits of the length), then the header octets.
    void WriteUserDataHeader(std::u16string_view header);

    // Every octet written so far, a partly written one included; writing may go on afterwards.
    std::u16string ToHex() const;
    // Octets written so far, a partly written one included.
    std::size_t Size() const { return m_pos + (m_bit != 0 ? 1 : 0); }
    bool Overflowed() const { return m_overflow; }

private:
    std::array<std::uint8_t, kCapacity> m_octets{};
    std::size_t m_pos = 0;
    int m_bit = 0;
    std::size_t m_septetOrigin = 0;
    bool m_overflow = false;
};
