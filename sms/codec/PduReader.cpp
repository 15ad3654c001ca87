#include "sms/codec/PduReader.h"

#include <algorithm>
#include <array>
#include <span>

#include "sms/codec/GsmAlphabet.h"
#include "sms/codec/HexText.h"

CPduReader::CPduReader(std::u16string_view hex) : m_octets(hex.size() / 2) {
    // A bad or odd text leaves zeros behind; decoding goes on with whatever was converted.
    (void)HexToOctets(hex, m_octets);
}

int CPduReader::MessageTypeAfterServiceCentre() const {
    // The service-centre field is its length octet and that many more; past the end both bits
    // of TP-MTI read as 1.
    const std::size_t centre = m_octets.empty() ? 0 : m_octets[0];
    const std::size_t first = 1 + centre;
    return first < m_octets.size() ? m_octets[first] & 0x03 : 3;
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
    if (n > 0 && n < 8 - m_bit && !AtEnd()) {
        // The common case of the first-octet and type-octet fields: inside the current octet.
        const std::uint32_t value = (m_octets[m_pos] >> m_bit) & ((1u << n) - 1u);
        m_bit += n;
        return value;
    }
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
    const std::size_t available = AtEnd() ? 0 : m_octets.size() - m_pos;
    const std::size_t count = std::min(n, available) / 2;
    std::u16string out(count, u'\0');
    const std::uint8_t* pair = m_octets.data() + m_pos;
    for (char16_t& c : out) {
        c = static_cast<char16_t>(pair[0] << 8 | pair[1]);
        pair += 2;
    }
    m_pos += 2 * count;
    return out;
}

std::u16string CPduReader::ReadSemiOctetDigits(std::size_t count) {
    AlignToOctet();
    // At most two digits an octet up to the end; one sized write, cut to what was read.
    const std::size_t available = AtEnd() ? 0 : 2 * (m_octets.size() - m_pos);
    count = std::min(count, available);
    std::u16string digits(count, u'\0');
    char16_t* out = digits.data();
    const std::uint8_t* octet = m_octets.data() + m_pos;
    // 0xF is a filler wherever it stands: as a digit it could not be written back.
    for (std::size_t i = 0; i + 1 < count; i += 2, ++octet) {
        const unsigned low = *octet & 0x0Fu;
        const unsigned high = *octet >> 4;
        *out = static_cast<char16_t>(u'0' + low);
        out += low != 0x0F;
        *out = static_cast<char16_t>(u'0' + high);
        out += high != 0x0F;
    }
    if (count % 2 != 0) {
        const unsigned low = *octet & 0x0Fu;
        *out = static_cast<char16_t>(u'0' + low);
        out += low != 0x0F;
    }
    // An odd count ends inside an octet, whose rest is skipped.
    m_pos += (count + 1) / 2;
    digits.resize(static_cast<std::size_t>(out - digits.data()));
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

namespace {

// Two semi-octets as a number, low nibble first; a 0xF high nibble is a filler.
constexpr std::array<std::uint8_t, 256> kSemiOctetNumber = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned octet = 0; octet < table.size(); ++octet) {
        const unsigned low = octet & 0x0Fu;
        const unsigned high = octet >> 4;
        table[octet] = static_cast<std::uint8_t>(high == 0x0F ? low : low * 10 + high);
    }
    return table;
}();

}  // namespace

SmsDateTime CPduReader::ReadTimeStamp() {
    AlignToOctet();
    // Six octets of two semi-octets each (ReadSemiOctetNumber (2)), 0 past the end.
    std::uint16_t fields[6] = {};
    for (std::uint16_t& field : fields) {
        if (AtEnd()) {
            break;
        }
        field = kSemiOctetNumber[m_octets[m_pos++]];
    }
    SmsDateTime t;
    t.year = fields[0];
    t.month = fields[1];
    t.day = fields[2];
    t.hour = fields[3];
    t.minute = fields[4];
    t.second = fields[5];
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
        const std::size_t start = std::min(m_pos, m_octets.size());
        const std::size_t end = std::min(m_pos + (length + 1) / 2, m_octets.size());
        const std::size_t septets = std::min(length * 4 / 7, (end - start) * 8 / 7);
        address.number = SeptetsToText(
            std::span<const std::uint8_t>(m_octets.data() + start, end - start), 0, septets);
        m_pos = end;
        m_bit = 0;
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

std::size_t CPduReader::SeptetsAhead(std::size_t n) {
    AlignToSeptet();
    // Missing septets are not invented: a cut-off text ends where its bits end.
    return std::min(n, BitsLeft() / 7);
}

void CPduReader::SkipSeptets(std::size_t count) {
    const std::size_t bit = m_pos * 8 + static_cast<std::size_t>(m_bit) + 7 * count;
    m_pos = bit / 8;
    m_bit = static_cast<int>(bit % 8);
}

std::u16string CPduReader::ReadSeptets(std::size_t n) {
    const std::size_t count = SeptetsAhead(n);
    const std::size_t first = m_pos * 8 + static_cast<std::size_t>(m_bit);
    std::u16string codes(count, u'\0');
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t bit = first + 7 * i;
        const std::size_t octet = bit / 8;
        // A septet that crosses into the next octet has that octet before the end.
        unsigned window = m_octets[octet];
        if (octet + 1 < m_octets.size()) {
            window |= static_cast<unsigned>(m_octets[octet + 1]) << 8;
        }
        codes[i] = static_cast<char16_t>((window >> (bit % 8)) & 0x7Fu);
    }
    SkipSeptets(count);
    return codes;
}

std::u16string CPduReader::ReadSeptetText(std::size_t n) {
    const std::size_t count = SeptetsAhead(n);
    std::u16string text =
        SeptetsToText(m_octets, m_pos * 8 + static_cast<std::size_t>(m_bit), count);
    SkipSeptets(count);
    return text;
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
