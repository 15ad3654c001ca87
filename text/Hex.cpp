#include "text/Hex.h"

#include <array>
#include <cstring>

namespace text {

template <typename Char>
std::basic_string<Char> OctetsToHex(std::span<const std::uint8_t> octets) {
    // Both digits of each octet from one table, into a string sized once.
    using Pair = std::array<Char, 2>;
    static constexpr std::array<Pair, 256> kPairs = [] {
        std::array<Pair, 256> table{};
        for (unsigned octet = 0; octet < table.size(); ++octet) {
            table[octet] = {static_cast<Char>(HexDigit(octet >> 4)),
                            static_cast<Char>(HexDigit(octet))};
        }
        return table;
    }();
    std::basic_string<Char> hex(2 * octets.size(), Char());
    Char* out = hex.data();
    for (std::uint8_t octet : octets) {
        std::memcpy(out, kPairs[octet].data(), sizeof(Pair));
        out += 2;
    }
    return hex;
}

template std::string OctetsToHex<char>(std::span<const std::uint8_t>);
template std::u16string OctetsToHex<char16_t>(std::span<const std::uint8_t>);

std::optional<std::vector<std::uint8_t>> HexToOctets(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out;
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(static_cast<unsigned char>(hex[i]));
        const int low = HexValue(static_cast<unsigned char>(hex[i + 1]));
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return out;
}

}  // namespace text
