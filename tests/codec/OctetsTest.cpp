// Hex text. The reader's bits, septets and UCS2 are proven by the published PDUs and the round
// trips, the writer's bound by the records too big for it.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "sms/codec/HexText.h"

namespace {

// What decoding makes of an odd length or a bad pair is the hostile-input tests'; upper case out
// is every encoding's.
TEST(CodecHexText, ConvertsPairsInEitherCaseByTheLowEightBitsNeverPastTheOutput) {
    std::array<std::uint8_t, 3> out{0xEE, 0xEE, 0xEE};
    EXPECT_TRUE(HexToOctets(u"1a2B", out));
    EXPECT_EQ(out, (std::array<std::uint8_t, 3>{0x1A, 0x2B, 0xEE}));
    // Only the low 8 bits of a character count: U+0131 and U+0142 end in the bytes of 1 and B.
    EXPECT_TRUE(HexToOctets(u"\u0131\u0142", out));
    EXPECT_EQ(out[0], 0x1B);
    EXPECT_TRUE(HexToOctets(u"A1B2C3D4", std::span<std::uint8_t>(out.data(), 2)));
    EXPECT_EQ(out, (std::array<std::uint8_t, 3>{0xA1, 0xB2, 0xEE}));
    EXPECT_FALSE(HexToOctets(u"-1", out));
}

// Long texts go a block of pairs at a time: a bad pair in a later block still leaves the octets
// before it converted and those from it onward as they were.
TEST(CodecHexText, ABadPairDeepInALongTextStopsTheConversionThere) {
    std::u16string hex;
    for (int i = 0; i < 70; ++i)
        hex += u"5a";
    for (const std::size_t bad : {0, 31, 40, 69}) {
        std::u16string text = hex;
        text[2 * bad + 1] = u'g';
        std::array<std::uint8_t, 70> out;
        out.fill(0xEE);
        EXPECT_FALSE(HexToOctets(text, out));
        for (std::size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(out[i], i < bad ? 0x5A : 0xEE) << bad << " " << i;
    }
    std::array<std::uint8_t, 70> out{};
    EXPECT_TRUE(HexToOctets(hex, out));
    EXPECT_EQ(std::count(out.begin(), out.end(), 0x5A), 70);
}

}  // namespace
