#include "sms/codec/HexText.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

using Octets = std::vector<std::uint8_t>;

TEST(CodecHexText, ConvertsPairsInEitherCase) {
    Octets out(2, 0xEE);
    EXPECT_TRUE(HexToOctets(u"1a2B", out));
    EXPECT_EQ(out, (Octets{0x1A, 0x2B}));
}

TEST(CodecHexText, OddLengthConvertsNothing) {
    Octets out(2, 0xEE);
    EXPECT_FALSE(HexToOctets(u"123", out));
    EXPECT_EQ(out, (Octets{0xEE, 0xEE}));
}

TEST(CodecHexText, StopsAtFirstBadPairKeepingEarlierOctets) {
    Octets out(3, 0xEE);
    EXPECT_FALSE(HexToOctets(u"12G4FF", out));
    EXPECT_EQ(out, (Octets{0x12, 0xEE, 0xEE}));
    EXPECT_FALSE(HexToOctets(u"1 ", out));
    EXPECT_FALSE(HexToOctets(u"-1", out));
}

TEST(CodecHexText, LooksOnlyAtTheLowEightBitsOfEachCharacter) {
    // U+0131 and U+0142 end in the bytes of '1' and 'B'.
    Octets out(1, 0);
    EXPECT_TRUE(HexToOctets(u"\u0131\u0142", out));
    EXPECT_EQ(out[0], 0x1B);
}

TEST(CodecHexText, NeverWritesPastTheOutput) {
    std::array<std::uint8_t, 3> guarded{0xEE, 0xEE, 0xEE};
    EXPECT_TRUE(HexToOctets(u"A1B2C3D4", std::span<std::uint8_t>(guarded.data(), 2)));
    EXPECT_EQ(guarded, (std::array<std::uint8_t, 3>{0xA1, 0xB2, 0xEE}));
    EXPECT_TRUE(HexToOctets(u"", std::span<std::uint8_t>()));
}

TEST(CodecHexText, WritesUpperCaseTwoCharactersPerOctet) {
    const Octets octets{0x00, 0x0F, 0xA5, 0xFF};
    EXPECT_EQ(OctetsToHex(octets), u"000FA5FF");
    EXPECT_EQ(OctetsToHex({}), u"");
}

}  // namespace
