#include "sms/codec/ShortMessage.h"

#include <array>

#include "sms/codec/HexText.h"
#include "sms/codec/UserData.h"

std::uint8_t CShortMessage::UserDataLength(std::uint8_t dcs) const {
    const std::size_t headerOctets = m_header.empty() ? 0 : m_header.size() + 1;
    std::size_t length = 0;
    switch (dcs & sms::kAlphabetMask) {
        case sms::kAlphabet7Bit:
            length = (m_header.empty() ? 0 : sms::HeaderSeptets(m_header.size())) + m_text.size();
            break;
        case sms::kAlphabetUcs2:
            length = headerOctets + 2 * m_text.size();
            break;
        default:
            length = headerOctets + m_text.size();
            break;
    }
    return static_cast<std::uint8_t>(length & 0xFF);
}

std::u16string StripMessagePrefix(std::u16string_view text) {
    const std::size_t marker = text.find(u"MSG:");
    if (marker == std::u16string_view::npos) {
        return std::u16string(text);
    }
    const std::size_t start = marker + 5;  // the marker and one separator
    return start < text.size() ? std::u16string(text.substr(start)) : std::u16string();
}

std::u16string ExtractSender(std::u16string_view text) {
    const std::size_t from = text.find(u"FM:");
    const std::size_t message = text.find(u"MSG:");
    if (from == std::u16string_view::npos || message == std::u16string_view::npos) {
        return u"Unknown";
    }
    // From after "FM:" and one separator up to the separator before "MSG:".
    const std::size_t start = from + 4;
    const std::size_t end = message == 0 ? 0 : message - 1;
    if (start >= end || start >= text.size()) {
        return std::u16string();
    }
    return std::u16string(text.substr(start, end - start));
}

namespace sms {

int TpduLength(std::u16string_view pdu) {
    std::array<std::uint8_t, 1> length{};
    if (pdu.size() < 2 || !HexToOctets(pdu.substr(0, 2), length)) {
        return -1;
    }
    const long tpdu = static_cast<long>(pdu.size() / 2) - 1 - length[0];
    return tpdu < 0 ? -1 : static_cast<int>(tpdu);
}

}  // namespace sms
