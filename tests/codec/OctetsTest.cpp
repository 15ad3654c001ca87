// Hex text, and the reader and writer at their bounds. The bit order, septets and UCS2 in the
// middle of a PDU are proven by the published PDUs and the round trips.

#include <gtest/gtest.h>

#include <array>

#include "sms/codec/HexText.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

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
    EXPECT_TRUE(HexToOctets(u"", std::span<std::uint8_t>()));
    EXPECT_FALSE(HexToOctets(u"-1", out));
}

TEST(CodecBits, ReadingPastTheEndNeverMovesAndGivesFixedValues) {
    CPduReader reader(u"80");
    EXPECT_EQ(reader.ReadBits(7), 0u);
    EXPECT_EQ(reader.ReadBit(), 1);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.ReadBit(), 1);
    EXPECT_EQ(reader.ReadBits(4), 0xFu);
    EXPECT_EQ(reader.ReadOctet(), 0);
    EXPECT_EQ(reader.ReadOctets(10), u"");
    EXPECT_EQ(reader.ReadUcs2(10), u"");
    EXPECT_EQ(reader.ReadSemiOctetDigits(4), u"");
    EXPECT_EQ(reader.ReadSeptets(5), u"");
    EXPECT_EQ(reader.Position(), 1u);
}

TEST(CodecBits, WriterStopsAtItsBoundAndSaysSo) {
    CPduWriter writer;
    for (std::size_t i = 0; i < CPduWriter::kCapacity; ++i) {
        writer.WriteOctet(0xAB);
    }
    EXPECT_FALSE(writer.Overflowed());
    writer.WriteOctet(0xCD);
    writer.WriteBit(1);
    writer.WriteBits(0xFFFF, 16);
    writer.WriteSemiOctetDigits(u"1234");
    writer.WriteUcs2(u"xy", 2);
    writer.WriteSeptets(u"abc");
    writer.AlignToSeptet();
    EXPECT_TRUE(writer.Overflowed());
    EXPECT_EQ(writer.Size(), CPduWriter::kCapacity);
    const std::u16string hex = writer.ToHex();
    ASSERT_EQ(hex.size(), 2 * CPduWriter::kCapacity);
    EXPECT_EQ(hex.substr(hex.size() - 2), u"AB");
}

TEST(CodecBits, SeptetAlignmentAtTheBoundDoesNotSpin) {
    CPduWriter writer;
    writer.SetSeptetOrigin();
    for (std::size_t i = 0; i + 1 < CPduWriter::kCapacity; ++i) {
        writer.WriteOctet(0);
    }
    writer.WriteBits(0, 4);
    // 1999 octets and 4 bits from the origin are 15996 bits: the next boundary lies past the
    // buffer, so alignment has to give up there.
    writer.AlignToSeptet();
    EXPECT_TRUE(writer.Overflowed());
}

}  // namespace
