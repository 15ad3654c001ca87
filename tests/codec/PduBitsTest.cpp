// The reader and writer below the field level: bits, octets, septets and their bounds.

#include <gtest/gtest.h>

#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

namespace {

TEST(CodecBits, BitsGoLeastSignificantFirstBothWays) {
    CPduWriter writer;
    writer.WriteMessageType(1);
    writer.WriteBit(1);
    writer.WriteBits(0x2, 2);  // bits 3-4: 0 then 1
    writer.WriteBits(0x5, 3);  // bits 5-7: 1, 0, 1
    EXPECT_EQ(writer.ToHex(), u"B5");

    CPduReader reader(u"B5");
    EXPECT_EQ(reader.ReadMessageType(), 1);
    EXPECT_EQ(reader.ReadBit(), 1);
    EXPECT_EQ(reader.ReadMessageType(), 2);
    EXPECT_EQ(reader.ReadBits(3), 5u);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(CodecBits, BitRunsCrossOctetBoundaries) {
    CPduWriter writer;
    writer.WriteBits(0x1, 3);
    writer.WriteBits(0x3FFF, 14);
    writer.WriteBits(0xDEADBEEF, 32);
    const std::u16string hex = writer.ToHex();

    CPduReader reader(hex);
    EXPECT_EQ(reader.ReadBits(3), 0x1u);
    EXPECT_EQ(reader.ReadBits(14), 0x3FFFu);
    EXPECT_EQ(reader.ReadBits(32), 0xDEADBEEFu);
}

TEST(CodecBits, ToHexCountsAPartOctetAndWritingGoesOn) {
    CPduWriter writer;
    writer.WriteBits(0x5, 3);
    EXPECT_EQ(writer.ToHex(), u"05");
    writer.WriteBits(0x1F, 5);
    writer.WriteOctet(0x42);
    EXPECT_EQ(writer.ToHex(), u"FD42");
}

TEST(CodecBits, OctetReadsAlignFirst) {
    CPduReader reader(u"FF1234");
    EXPECT_EQ(reader.ReadBit(), 1);
    EXPECT_EQ(reader.ReadOctet(), 0x12);  // the rest of FF is skipped
    EXPECT_EQ(reader.ReadOctet(), 0x34);

    CPduWriter writer;
    writer.WriteBit(1);
    writer.WriteOctet(0x77);
    EXPECT_EQ(writer.ToHex(), u"0177");
}

TEST(CodecBits, SevenBitTextPacksAcrossOctets) {
    CPduWriter writer;
    writer.SetSeptetOrigin();
    writer.WriteSeptets(u"\x61\x62\x63");  // GSM codes of abc
    EXPECT_EQ(writer.ToHex(), u"61F118");

    CPduReader reader(u"61F118");
    reader.SetSeptetOrigin();
    EXPECT_EQ(reader.ReadSeptets(3), u"abc");
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
