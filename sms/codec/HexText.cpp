#include "sms/codec/HexText.h"

#include <array>

namespace {

// Value of each byte as a hex digit, -1 for any other byte.
constexpr std::array<std::int8_t, 256> kNibble = [] {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i) {
        table['0' + i] = static_cast<std::int8_t>(i);
    }
    for (int i = 0; i < 6; ++i) {
        table['a' + i] = static_cast<std::int8_t>(10 + i);
        table['A' + i] = static_cast<std::int8_t>(10 + i);
    }
    return table;
}();

int NibbleValue(char16_t c) {
    return kNibble[c & 0xFFu];
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
    std::u16string hex;
    hex.reserve(octets.size() * 2);
    // Through a stack buffer: appending whole chunks beats filling a sized string first.
    char16_t chunk[256];
    std::size_t used = 0;
    for (std::uint8_t octet : octets) {
        chunk[used++] = kDigits[octet >> 4];
        chunk[used++] = kDigits[octet & 0x0F];
        if (used == std::size(chunk)) {
            hex.append(chunk, used);
            used = 0;
        }
    }
    hex.append(chunk, used);
    return hex;
}
