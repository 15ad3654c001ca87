#include "sms/codec/HexText.h"

#include <algorithm>

#include "text/Hex.h"

namespace {

// Only the low 8 bits of a character count.
unsigned NibbleValue(char16_t c, unsigned& bad) {
    return text::HexNibble(static_cast<std::uint8_t>(c), bad);
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
