#include "sms/codec/HexText.h"

namespace {

int NibbleValue(char16_t c) {
    const unsigned low = c & 0xFFu;
    if (low >= '0' && low <= '9') {
        return static_cast<int>(low - '0');
    }
    if (low >= 'a' && low <= 'f') {
        return static_cast<int>(low - 'a' + 10);
    }
    if (low >= 'A' && low <= 'F') {
        return static_cast<int>(low - 'A' + 10);
    }
    return -1;
}

}  // namespace

bool HexToOctets(std::u16string_view text, std::span<std::uint8_t> out) {
    if (text.size() % 2 != 0) {
        return false;
    }
    const std::size_t pairs = text.size() / 2;
    for (std::size_t i = 0; i < pairs && i < out.size(); ++i) {
        const int high = NibbleValue(text[2 * i]);
        const int low = NibbleValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        out[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return true;
}

std::u16string OctetsToHex(std::span<const std::uint8_t> octets) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string hex(octets.size() * 2, u'0');
    for (std::size_t i = 0; i < octets.size(); ++i) {
        hex[2 * i] = kDigits[octets[i] >> 4];
        hex[2 * i + 1] = kDigits[octets[i] & 0x0F];
    }
    return hex;
}
