#include "sms/codec/PduWriter.h"

#include <algorithm>
#include <span>
#include <string>

#include "sms/codec/GsmAlphabet.h"
#include "text/Hex.h"

void CPduWriter::AlignToOctet() {
    // A partly written octet always lies inside the buffer, so this never passes its end.
    if (m_bit != 0) {
        m_bit = 0;
        ++m_pos;
    }
}

void CPduWriter::WriteBit(int b) {
    if (m_pos >= kCapacity) {
        m_overflow = true;
        return;
    }
    if (b != 0) {
        m_octets[m_pos] |= static_cast<std::uint8_t>(1u << m_bit);
    }
    if (++m_bit == 8) {
        m_bit = 0;
        ++m_pos;
    }
}

void CPduWriter::WriteBits(std::uint32_t value, int n) {
    n = std::clamp(n, 0, 32);
    int done = 0;
    while (done < n) {
        if (m_pos >= kCapacity) {
            m_overflow = true;
            return;
        }
        const int take = std::min(n - done, 8 - m_bit);
        const std::uint32_t chunk = (value >> done) & ((1u << take) - 1u);
        m_octets[m_pos] |= static_cast<std::uint8_t>(chunk << m_bit);
        done += take;
        m_bit += take;
        if (m_bit == 8) {
            m_bit = 0;
            ++m_pos;
        }
    }
}

void CPduWriter::WriteMessageType(int v) {
    WriteBit(v & 1);
    WriteBit(v & 2);
}

void CPduWriter::WriteOctet(std::uint8_t v) {
    AlignToOctet();
    if (m_pos >= kCapacity) {
        m_overflow = true;
        return;
    }
    m_octets[m_pos++] = v;
}

void CPduWriter::WriteOctets(std::u16string_view text, std::size_t n) {
    AlignToOctet();
    n = std::min(n, text.size());
    for (std::size_t i = 0; i < n; ++i) {
        WriteOctet(static_cast<std::uint8_t>(text[i] & 0xFFu));
    }
}

void CPduWriter::WriteUcs2(std::u16string_view text, std::size_t n) {
    AlignToOctet();
    n = std::min(n, text.size());
    const std::size_t whole = std::min(n, (kCapacity - m_pos) / 2);
    std::uint8_t* out = m_octets.data() + m_pos;
    for (std::size_t i = 0; i < whole; ++i) {
        *out++ = static_cast<std::uint8_t>(text[i] >> 8);
        *out++ = static_cast<std::uint8_t>(text[i] & 0xFFu);
    }
    m_pos += 2 * whole;
    if (whole < n) {
        WriteOctet(static_cast<std::uint8_t>(text[whole] >> 8));  // fills the last octet, if any
        m_overflow = true;
    }
}

void CPduWriter::WriteSemiOctetDigits(std::u16string_view digits) {
    AlignToOctet();
    bool highNext = false;
    for (char16_t c : digits) {
        if (m_pos >= kCapacity) {
            m_overflow = true;
            return;
        }
        // Each character keeps to its own nibble, so a stray non-digit cannot spoil the other.
        if (!highNext) {
            m_octets[m_pos] = static_cast<std::uint8_t>((c - u'0') & 0x0F);
        } else {
            m_octets[m_pos] |= static_cast<std::uint8_t>((c << 4) & 0xF0);
            ++m_pos;
        }
        highNext = !highNext;
    }
    if (highNext) {
        m_octets[m_pos++] |= 0xF0;
    }
}

void CPduWriter::WriteNumber2(int value) {
    // Two semi-octets hold two digits: a field read from a malformed PDU can be larger, and a
    // third digit would shift every field after it.
    value = (value % 100 + 100) % 100;
    WriteOctet(static_cast<std::uint8_t>(value / 10 | value % 10 << 4));  // tens in the low nibble
}

void CPduWriter::WriteTimeZone(int sign, unsigned minutes) {
    // Seven quarter-hour tens at most: an eighth would be the west-of-GMT bit.
    WriteNumber2(static_cast<int>((minutes / 15) % 80));
    if (sign == 0 && m_pos > 0) {
        m_octets[m_pos - 1] |= 0x08;  // west of GMT
    }
}

void CPduWriter::WriteTimeStamp(const SmsDateTime& t) {
    WriteNumber2(t.year);
    WriteNumber2(t.month);
    WriteNumber2(t.day);
    WriteNumber2(t.hour);
    WriteNumber2(t.minute);
    WriteNumber2(t.second);
    WriteTimeZone(t.zoneSign, t.zone);
}

void CPduWriter::WriteValidity(const SmsValidity& v) {
    switch (v.format) {
        case kValidityRelative:
            WriteOctet(v.relative);
            break;
        case kValidityAbsolute:
            WriteTimeStamp(v.absolute);
            break;
        case kValidityEnhanced:
            for (std::uint8_t octet : v.enhanced) {
                WriteOctet(octet);
            }
            break;
        default:
            break;
    }
}

void CPduWriter::WriteAddress(const SmsAddress& address, bool isServiceCentre) {
    AlignToOctet();
    if (!isServiceCentre && address.IsAlphanumeric()) {
        // The name in 7-bit GSM codes, packed from the first bit; the length counts semi-octets.
        const std::u16string codes = TextToGsm(address.number);
        WriteOctet(static_cast<std::uint8_t>(((codes.size() * 7 + 3) / 4) & 0xFF));
        WriteBits(static_cast<std::uint32_t>(address.numberingPlan), 4);
        WriteBits(static_cast<std::uint32_t>(address.typeOfNumber), 3);
        WriteBit(1);
        for (char16_t code : codes) {
            WriteBits(code & 0x7Fu, 7);
        }
        AlignToOctet();
        return;
    }
    const std::size_t digits = address.number.size();
    if (isServiceCentre) {
        if (digits == 0) {
            WriteOctet(0);
            return;
        }
        WriteOctet(static_cast<std::uint8_t>((digits / 2 + digits % 2 + 1) & 0xFF));
    } else {
        WriteOctet(static_cast<std::uint8_t>(digits & 0xFF));
    }
    WriteBits(static_cast<std::uint32_t>(address.numberingPlan), 4);
    WriteBits(static_cast<std::uint32_t>(address.typeOfNumber), 3);
    if (digits != 0) {
        WriteBit(1);
    }
    WriteSemiOctetDigits(address.number);
}

void CPduWriter::SetSeptetOrigin() {
    m_septetOrigin = m_pos;
}

void CPduWriter::AlignToSeptet() {
    while ((static_cast<std::size_t>(m_bit) + 8 * (m_pos - m_septetOrigin)) % 7 != 0 &&
           !m_overflow) {
        WriteBit(0);
    }
}

void CPduWriter::WriteSeptets(std::u16string_view codes) {
    AlignToSeptet();
    std::size_t bit = m_pos * 8 + static_cast<std::size_t>(m_bit);
    if (m_overflow || bit + 7 * codes.size() > kCapacity * 8) {
        // Bit by bit up to the bound, where the writer notes the overflow.
        for (char16_t code : codes) {
            WriteBits(code & 0x7Fu, 7);
            if (m_overflow) {
                return;
            }
        }
        return;
    }
    for (char16_t code : codes) {
        const unsigned window = (code & 0x7Fu) << (bit % 8);
        m_octets[bit / 8] |= static_cast<std::uint8_t>(window & 0xFF);
        if (window > 0xFF) {
            m_octets[bit / 8 + 1] |= static_cast<std::uint8_t>(window >> 8);
        }
        bit += 7;
    }
    m_pos = bit / 8;
    m_bit = static_cast<int>(bit % 8);
}

void CPduWriter::WriteUserDataHeader(std::u16string_view header) {
    WriteOctet(static_cast<std::uint8_t>(header.size() & 0xFF));
    WriteOctets(header, header.size());
}

std::u16string CPduWriter::ToHex() const {
    return text::OctetsToHex<char16_t>(std::span<const std::uint8_t>(m_octets.data(), Size()));
}
