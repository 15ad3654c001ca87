#pragma once
// Reads the fields of a PDU, bit by bit and octet by octet, from its hex text.
// Nothing here reads outside the octets: past the end a bit reads as 1, an octet as 0, and the
// multi-octet reads return what they found.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sms/codec/SmsTypes.h"

class CPduReader {
public:
    // Holds ⌊L/2⌋ octets, zero where the text was not hex (an odd length converts nothing).
    explicit CPduReader(std::u16string_view hex);
    CPduReader(const CPduReader&) = delete;
    CPduReader& operator=(const CPduReader&) = delete;

    // TP-MTI of the whole PDU, as ReadAddress (true) and ReadMessageType from the first octet
    // would give it; the reader does not move.
    int MessageTypeAfterServiceCentre() const;

    void AlignToOctet();
    int ReadBit();
    // Up to 32 bits, the first one read becoming bit 0.
    std::uint32_t ReadBits(int n);
    // Two bits: TP-MTI, and TP-VPF.
    int ReadMessageType();
    std::uint8_t ReadOctet();
    // One character per octet.
    std::u16string ReadOctets(std::size_t n);
    // One character per whole octet pair (high octet first) within the first n octets.
    std::u16string ReadUcs2(std::size_t n);
    // Low nibble first; 0xF is filler and skipped; nibbles 0xA-0xE give ':' to '>'.
    std::u16string ReadSemiOctetDigits(std::size_t count);
    int ReadSemiOctetNumber(std::size_t count);
    // Minutes; `sign` becomes 1 east of GMT, 0 west.
    std::uint16_t ReadTimeZone(std::uint8_t& sign);
    SmsDateTime ReadTimeStamp();
    // The service-centre field counts octets (a lone 00 is an empty address), a TP address
    // counts digits. An alphanumeric TP address (type of number 5) is a name in 7-bit GSM codes.
    SmsAddress ReadAddress(bool isServiceCentre);

    // 7-bit packing is counted from the current octet (the first octet of the user data).
    void SetSeptetOrigin();
    void AlignToSeptet();
    // GSM codes, one character each; stops where fewer than 7 bits remain.
    std::u16string ReadSeptets(std::size_t n);
    // The same septets as text: GsmToText (ReadSeptets (n)).
    std::u16string ReadSeptetText(std::size_t n);
    // UDHL, then that many octets, one character each.
    std::u16string ReadUserDataHeader();
    SmsValidity ReadValidity(int format);

    std::size_t Size() const { return m_octets.size(); }
    std::size_t Position() const { return m_pos; }
    int BitPosition() const { return m_bit; }
    bool AtEnd() const { return m_pos >= m_octets.size(); }

private:
    std::size_t BitsLeft() const;
    // After AlignToSeptet, how many of n septets are there; SkipSeptets moves past them.
    std::size_t SeptetsAhead(std::size_t n);
    void SkipSeptets(std::size_t count);

    std::vector<std::uint8_t> m_octets;
    std::size_t m_pos = 0;
    int m_bit = 0;
    std::size_t m_septetOrigin = kNoOrigin;

    static constexpr std::size_t kNoOrigin = static_cast<std::size_t>(-1);
};
