// Hex text, and the reader and writer below the field level: bits, octets, septets, UCS2, bounds.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "sms/codec/HexText.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

namespace {

using Octets = std::vector<std::uint8_t>;

TEST(CodecHexText, ConvertsPairsInEitherCaseAndWritesUpperCase) {
    Octets out(2, 0xEE);
    EXPECT_TRUE(HexToOctets(u"1a2B", out));
    EXPECT_EQ(out, (Octets{0x1A, 0x2B}));
    // Only the low 8 bits of a character count: U+0131 and U+0142 end in the bytes of 1 and B.
    EXPECT_TRUE(HexToOctets(u"\u0131\u0142", out));
    EXPECT_EQ(out[0], 0x1B);
    EXPECT_EQ(OctetsToHex(Octets{0x00, 0x0F, 0xA5, 0xFF}), u"000FA5FF");
}

TEST(CodecHexText, OddLengthConvertsNothingAndABadPairStops) {
    Octets out(3, 0xEE);
    EXPECT_FALSE(HexToOctets(u"123", out));
    EXPECT_EQ(out, (Octets{0xEE, 0xEE, 0xEE}));
    EXPECT_FALSE(HexToOctets(u"12G4FF", out));
    EXPECT_EQ(out, (Octets{0x12, 0xEE, 0xEE}));
    EXPECT_FALSE(HexToOctets(u"-1", out));
}

TEST(CodecHexText, NeverWritesPastTheOutput) {
    std::array<std::uint8_t, 3> guarded{0xEE, 0xEE, 0xEE};
    EXPECT_TRUE(HexToOctets(u"A1B2C3D4", std::span<std::uint8_t>(guarded.data(), 2)));
    EXPECT_EQ(guarded, (std::array<std::uint8_t, 3>{0xA1, 0xB2, 0xEE}));
    EXPECT_TRUE(HexToOctets(u"", std::span<std::uint8_t>()));
}

TEST(CodecBits, BitsGoLeastSignificantFirstAndOctetsStartAfresh) {
    CPduWriter writer;
    writer.WriteMessageType(1);
    writer.WriteBit(1);
    EXPECT_EQ(writer.ToHex(), u"05");  // a part octet counts, and writing goes on after it
    writer.WriteBits(0x2, 2);
    writer.WriteBits(0x5, 3);
    writer.WriteBit(1);
    writer.WriteOctet(0x77);
    writer.WriteBits(0x1, 3);
    writer.WriteBits(0xDEADBEEF, 32);  // across five octets
    EXPECT_EQ(writer.ToHex(), u"B5017779F76DF506");

    CPduReader reader(u"B5017779F76DF506");
    EXPECT_EQ(reader.ReadMessageType(), 1);
    EXPECT_EQ(reader.ReadBit(), 1);
    EXPECT_EQ(reader.ReadMessageType(), 2);
    EXPECT_EQ(reader.ReadBits(3), 5u);
    EXPECT_EQ(reader.ReadBit(), 1);
    EXPECT_EQ(reader.ReadOctet(), 0x77);  // the rest of 01 is skipped
    EXPECT_EQ(reader.ReadBits(3), 1u);
    EXPECT_EQ(reader.ReadBits(32), 0xDEADBEEFu);
}

TEST(CodecBits, SeptetsAfterAHeaderStartOnASeptetBoundary) {
    // Six octets (UDHL 5 and five header octets) are 48 bits: one fill bit before the text.
    CPduWriter writer;
    writer.SetSeptetOrigin();
    writer.WriteUserDataHeader(std::u16string(u"\x00\x03\x01\x02\x01", 5));
    writer.WriteSeptets(u"\x48\x69");  // Hi
    EXPECT_EQ(writer.ToHex(), u"0500030102019069");

    CPduReader reader(u"0500030102019069");
    reader.SetSeptetOrigin();
    EXPECT_EQ(reader.ReadUserDataHeader(), std::u16string(u"\x00\x03\x01\x02\x01", 5));
    EXPECT_EQ(reader.ReadSeptets(2), u"\x48\x69");
    // 48 + 1 + 14 bits: one bit of the last octet is left.
    EXPECT_EQ(reader.Position(), 7u);
    EXPECT_EQ(reader.BitPosition(), 7);
}

TEST(CodecBits, Ucs2IsBigEndianAndTakesWholePairsOnly) {
    CPduWriter writer;
    writer.WriteUcs2(u"H\u20AC", 2);
    EXPECT_EQ(writer.ToHex(), u"004820AC");
    CPduReader reader(u"004820AC00");
    EXPECT_EQ(reader.ReadUcs2(5), u"H\u20AC");  // the odd fifth octet gives no character
    CPduReader cut(u"004820");
    EXPECT_EQ(cut.ReadUcs2(4), u"H");
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
