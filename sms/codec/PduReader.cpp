#include "sms/codec/PduReader.h"

#include <algorithm>

#include "sms/codec/GsmAlphabet.h"
#include "sms/codec/HexText.h"
#include "sms/codec/StringBuild.h"

CPduReader::CPduReader(std::u16string_view hex) : m_octets(hex.size() / 2) {
    // A bad or odd text leaves zeros behind; decoding goes on with whatever was converted.
    (void)HexToOctets(hex, m_octets);
}

void CPduReader::Rewind() {
    m_pos = 0;
    m_bit = 0;
    m_septetOrigin = kNoOrigin;
}

std::size_t CPduReader::BitsLeft() const {
    return AtEnd() ? 0 : (m_octets.size() - m_pos) * 8 - static_cast<std::size_t>(m_bit);
}

void CPduReader::AlignToOctet() {
    // A partly read octet always lies before the end, so this never passes it.
    if (m_bit != 0) {
        m_bit = 0;
        ++m_pos;
    }
}

int CPduReader::ReadBit() {
    if (AtEnd()) {
        return 1;
    }
    const int bit = (m_octets[m_pos] >> m_bit) & 1;
    if (++m_bit == 8) {
        m_bit = 0;
        ++m_pos;
    }
    return bit;
}

std::uint32_t CPduReader::ReadBits(int n) {
    n = std::clamp(n, 0, 32);
    std::uint32_t value = 0;
    int got = 0;
    // Whole runs from the current octet at a time: septets cross at most one octet boundary.
    while (got < n && !AtEnd()) {
        const int take = std::min(n - got, 8 - m_bit);
        const std::uint32_t chunk = (m_octets[m_pos] >> m_bit) & ((1u << take) - 1u);
        value |= chunk << got;
        got += take;
        m_bit += take;
        if (m_bit == 8) {
            m_bit = 0;
            ++m_pos;
        }
    }
    for (; got < n; ++got) {
        value |= 1u << got;
    }
    return value;
}

int CPduReader::ReadMessageType() {
    const int low = ReadBit();
    const int high = ReadBit();
    return low | high << 1;
}

std::uint8_t CPduReader::ReadOctet() {
    AlignToOctet();
    if (AtEnd()) {
        return 0;
    }
    return m_octets[m_pos++];
}

std::u16string CPduReader::ReadOctets(std::size_t n) {
    AlignToOctet();
    const std::size_t take = std::min(n, m_octets.size() - std::min(m_pos, m_octets.size()));
    std::u16string out(m_octets.begin() + static_cast<std::ptrdiff_t>(m_pos),
                       m_octets.begin() + static_cast<std::ptrdiff_t>(m_pos + take));
    m_pos += take;
    return out;
}

std::u16string CPduReader::ReadUcs2(std::size_t n) {
    AlignToOctet();
    std::u16string out;
    out.reserve(n / 2);
    for (std::size_t taken = 0; taken + 2 <= n && m_pos + 2 <= m_octets.size(); taken += 2) {
        out.push_back(static_cast<char16_t>(m_octets[m_pos] << 8 | m_octets[m_pos + 1]));
        m_pos += 2;
    }
    return out;
}

std::u16string CPduReader::ReadSemiOctetDigits(std::size_t count) {
    AlignToOctet();
    std::u16string digits;
    digits.reserve(std::min<std::size_t>(count, 64));
    for (std::size_t i = 0; i < count && !AtEnd(); ++i) {
        if (m_bit == 0) {
            // 0xF is a filler wherever it stands: as a digit it could not be written back.
            const int nibble = m_octets[m_pos] & 0x0F;
            if (nibble != 0x0F) {
                digits.push_back(static_cast<char16_t>(u'0' + nibble));
            }
            m_bit = 4;
        } else {
            const int nibble = m_octets[m_pos] >> 4;
            if (nibble != 0x0F) {
                digits.push_back(static_cast<char16_t>(u'0' + nibble));
            }
            m_bit = 0;
            ++m_pos;
        }
    }
    AlignToOctet();
    return digits;
}

int CPduReader::ReadSemiOctetNumber(std::size_t count) {
    AlignToOctet();
    std::uint32_t value = 0;  // unsigned: a long run wraps instead of overflowing
    for (std::size_t i = 0; i < count && !AtEnd(); ++i) {
        if (m_bit == 0) {
            value = value * 10 + (m_octets[m_pos] & 0x0Fu);
            m_bit = 4;
        } else {
            const unsigned nibble = m_octets[m_pos] >> 4;
            if (nibble != 0x0F) {
                value = value * 10 + nibble;
            }
            m_bit = 0;
            ++m_pos;
        }
    }
    AlignToOctet();
    return static_cast<int>(value & 0x7FFFFFFFu);
}

std::uint16_t CPduReader::ReadTimeZone(std::uint8_t& sign) {
    const std::uint8_t octet = ReadOctet();
    const unsigned tens = octet & 0x07u;
    sign = (octet & 0x08u) == 0 ? 1 : 0;
    const unsigned units = octet >> 4;
    return static_cast<std::uint16_t>((tens * 10 + units) * 15);
}

SmsDateTime CPduReader::ReadTimeStamp() {
    SmsDateTime t;
    t.year = static_cast<std::uint16_t>(ReadSemiOctetNumber(2));
    t.month = static_cast<std::uint16_t>(ReadSemiOctetNumber(2));
    t.day = static_cast<std::uint16_t>(ReadSemiOctetNumber(2));
    t.hour = static_cast<std::uint16_t>(ReadSemiOctetNumber(2));
    t.minute = static_cast<std::uint16_t>(ReadSemiOctetNumber(2));
    t.second = static_cast<std::uint16_t>(ReadSemiOctetNumber(2));
    t.zone = ReadTimeZone(t.zoneSign);
    return t;
}

SmsAddress CPduReader::ReadAddress(bool isServiceCentre) {
    SmsAddress address;
    const std::size_t length = ReadOctet();
    if (isServiceCentre && length == 0) {
        return address;
    }
    address.numberingPlan = static_cast<std::int32_t>(ReadBits(4));
    address.typeOfNumber = static_cast<std::int32_t>(ReadBits(3));
    if (!isServiceCentre && address.IsAlphanumeric()) {
        // A name in 7-bit GSM codes; the length counts the semi-octets they fill.
        AlignToOctet();
        const std::size_t end = std::min(m_pos + (length + 1) / 2, m_octets.size());
        std::u16string codes;
        for (std::size_t septets = length * 4 / 7; septets > 0; --septets) {
            if (m_pos * 8 + static_cast<std::size_t>(m_bit) + 7 > end * 8) {
                break;
            }
            codes.push_back(static_cast<char16_t>(ReadBits(7)));
        }
        m_pos = end;
        m_bit = 0;
        address.number = GsmToText(codes);
        return address;
    }
    // The service-centre length counts the type octet and the digit octets, a TP length digits.
    const std::size_t digits = isServiceCentre ? 2 * length - 2 : length;
    address.number = ReadSemiOctetDigits(digits);
    return address;
}

void CPduReader::SetSeptetOrigin() {
    m_septetOrigin = m_pos;
}

void CPduReader::AlignToSeptet() {
    if (m_septetOrigin == kNoOrigin) {
        return;
    }
    while ((static_cast<std::size_t>(m_bit) + 8 * (m_pos - m_septetOrigin)) % 7 != 0 && !AtEnd()) {
        ReadBit();
    }
}

std::u16string CPduReader::ReadSeptets(std::size_t n) {
    AlignToSeptet();
    // Missing septets are not invented: a cut-off text ends where its bits end.
    const std::size_t count = std::min(n, BitsLeft() / 7);
    const std::size_t first = m_pos * 8 + static_cast<std::size_t>(m_bit);
    std::u16string codes = sms::BuildString(count, [&](std::size_t i) {
        const std::size_t bit = first + 7 * i;
        const std::size_t octet = bit / 8;
        // A septet that crosses into the next octet has that octet before the end.
        unsigned window = m_octets[octet];
        if (octet + 1 < m_octets.size()) {
            window |= static_cast<unsigned>(m_octets[octet + 1]) << 8;
        }
        return static_cast<char16_t>((window >> (bit % 8)) & 0x7Fu);
    });
    const std::size_t bit = first + 7 * count;
    m_pos = bit / 8;
    m_bit = static_cast<int>(bit % 8);
    return codes;
}

std::u16string CPduReader::ReadUserDataHeader() {
    const std::size_t length = ReadOctet();
    return ReadOctets(length);
}

SmsValidity CPduReader::ReadValidity(int format) {
    SmsValidity validity;
    validity.format = format;
    switch (format) {
        case kValidityRelative:
            validity.relative = ReadOctet();
            break;
        case kValidityAbsolute:
            validity.absolute = ReadTimeStamp();
            break;
        case kValidityEnhanced:
            for (auto& octet : validity.enhanced) {
                octet = ReadOctet();
            }
            break;
        default:
            break;
    }
    return validity;
}
