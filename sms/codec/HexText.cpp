#include "sms/codec/HexText.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// The value of a hex digit by arithmetic, not a table, so that a block of them is converted in
// vector registers; `bad` gets a 1 for a byte that is not a hex digit.
unsigned NibbleValue(char16_t c, unsigned& bad) {
    const auto byte = static_cast<std::uint8_t>(c);  // only the low 8 bits count
    const auto digit = static_cast<std::uint8_t>(byte - '0');
    const auto letter = static_cast<std::uint8_t>((byte | 0x20) - 'a');
    const bool isDigit = digit < 10;
    const bool isLetter = letter < 6;
    bad |= !(isDigit | isLetter);
    return isDigit ? digit : letter + 10u;
}

// Pair by pair, up to the first one that is not hex.
bool ConvertPairs(const char16_t* pair, std::span<std::uint8_t> out) {
    for (std::uint8_t& octet : out) {
        unsigned bad = 0;
        const unsigned high = NibbleValue(pair[0], bad);
        const unsigned low = NibbleValue(pair[1], bad);
        if (bad != 0) {
            return false;
        }
        octet = static_cast<std::uint8_t>(high << 4 | low);
        pair += 2;
    }
    return true;
}

// One block of `kBlock` pairs into `block`; nonzero when a character is not hex.
constexpr std::size_t kBlock = 32;
unsigned ConvertBlock(const char16_t* pair, std::uint8_t* block) {
    unsigned bad = 0;
    for (std::size_t k = 0; k < kBlock; ++k) {
        const unsigned high = NibbleValue(pair[2 * k], bad);
        const unsigned low = NibbleValue(pair[2 * k + 1], bad);
        block[k] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bad;
}

}  // namespace

bool HexToOctets(std::u16string_view text, std::span<std::uint8_t> out) {
    if (text.size() % 2 != 0) {
        return false;
    }
    const std::size_t n = std::min(text.size() / 2, out.size());
    const char16_t* pair = text.data();
    // Whole blocks without a test per pair; a block with a stray character is done again pair
    // by pair, so that the octets from the bad pair onward stay as they were.
    std::size_t done = 0;
    for (; done + kBlock <= n; done += kBlock, pair += 2 * kBlock) {
        std::uint8_t block[kBlock];
        if (ConvertBlock(pair, block) != 0) {
            return ConvertPairs(pair, out.subspan(done, kBlock));
        }
        std::copy(block, block + kBlock, out.begin() + static_cast<std::ptrdiff_t>(done));
    }
    return ConvertPairs(pair, out.subspan(done, n - done));
}

std::u16string OctetsToHex(std::span<const std::uint8_t> octets) {
    // Both characters of each octet from one table, into a string sized once.
    using Pair = std::array<char16_t, 2>;
    static constexpr std::array<Pair, 256> kPairs = [] {
        constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        std::array<Pair, 256> table{};
        for (std::size_t octet = 0; octet < table.size(); ++octet) {
            table[octet] = {kDigits[octet >> 4], kDigits[octet & 0x0F]};
        }
        return table;
    }();
    std::u16string hex(2 * octets.size(), u'\0');
    char16_t* out = hex.data();
    for (std::uint8_t octet : octets) {
        std::memcpy(out, kPairs[octet].data(), sizeof(Pair));
        out += 2;
    }
    return hex;
}
