// Addresses, dial strings, semi-octets and time stamps.

#include <gtest/gtest.h>

#include "sms/codec/DialNumber.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"

namespace {

SmsAddress Address(int type, int plan, std::u16string number) {
    return SmsAddress{type, plan, std::move(number)};
}

TEST(CodecAddress, TpAddressCountsDigitsAndEndsOddOnesWithAFiller) {
    CPduWriter writer;
    writer.WriteAddress(Address(0, 1, u"12345"), false);
    EXPECT_EQ(writer.ToHex(), u"05812143F5");

    CPduReader reader(u"05812143F5");
    EXPECT_EQ(reader.ReadAddress(false), Address(0, 1, u"12345"));
    EXPECT_TRUE(reader.AtEnd());
}

TEST(CodecAddress, ServiceCentreCountsOctets) {
    CPduWriter writer;
    writer.WriteAddress(Address(1, 1, u"123456789012"), true);
    EXPECT_EQ(writer.ToHex(), u"0791214365870921");

    CPduReader reader(u"0791214365870921");
    EXPECT_EQ(reader.ReadAddress(true), Address(1, 1, u"123456789012"));
    EXPECT_TRUE(reader.AtEnd());

    // An odd service-centre number: the filler is read and dropped.
    CPduReader odd(u"07917283010010F5");
    EXPECT_EQ(odd.ReadAddress(true), Address(1, 1, u"27381000015"));
}

TEST(CodecAddress, EmptyServiceCentreIsOneOctet) {
    CPduWriter writer;
    writer.WriteAddress(Address(1, 1, u""), true);
    EXPECT_EQ(writer.ToHex(), u"00");

    CPduReader reader(u"0004");
    EXPECT_EQ(reader.ReadAddress(true), Address(0, 0, u""));
    EXPECT_EQ(reader.Position(), 1u);
}

TEST(CodecAddress, EmptyTpNumberHasNoExtensionBit) {
    CPduWriter international;
    international.WriteAddress(Address(1, 1, u""), false);
    EXPECT_EQ(international.ToHex(), u"0011");
    CPduWriter unknown;
    unknown.WriteAddress(Address(0, 1, u""), false);
    EXPECT_EQ(unknown.ToHex(), u"0001");
}

TEST(CodecAddress, SemiOctetsAboveNineReadAsPunctuation) {
    CPduReader reader(u"BADCFE");
    EXPECT_EQ(reader.ReadSemiOctetDigits(6), u":;<=>");  // the high F is filler
}

TEST(CodecAddress, OddTpDigitCountLeavesTheFillerUnread) {
    CPduReader reader(u"039121F377");
    EXPECT_EQ(reader.ReadAddress(false), Address(1, 1, u"123"));
    EXPECT_EQ(reader.ReadOctet(), 0x77);
}

TEST(CodecAddress, ANonDigitStaysInItsOwnNibble) {
    CPduWriter writer;
    writer.WriteSemiOctetDigits(u"-1");
    EXPECT_EQ(writer.ToHex(), u"1D");
}

TEST(CodecDialNumber, LeadingPlusMeansInternational) {
    EXPECT_EQ(ParseDialNumber(u"+4477"), Address(1, 1, u"4477"));
    EXPECT_EQ(ParseDialNumber(u"  12 \t34\r\n"), Address(0, 1, u"1234"));
    EXPECT_EQ(ParseDialNumber(u""), Address(0, 1, u""));
    EXPECT_EQ(ParseDialNumber(u" + 44 "), Address(1, 1, u"44"));
    // Only white space goes; anything else is kept for the encoder as typed.
    EXPECT_EQ(ParseDialNumber(u"0-1+2"), Address(0, 1, u"0-1+2"));
    EXPECT_EQ(ParseDialNumber(u"+"), Address(1, 1, u""));
}

TEST(CodecDialNumber, RemovesOnlyWhiteSpace) {
    EXPECT_EQ(RemoveWhiteSpace(u" a\tb\nc\vd\fe\rf "), u"abcdef");
    EXPECT_EQ(RemoveWhiteSpace(u"a\u00A0b\u2003c"), u"a\u00A0b\u2003c");
}

TEST(CodecTime, TwoDigitNumbersAndZones) {
    CPduWriter number;
    number.WriteNumber2(7);
    EXPECT_EQ(number.ToHex(), u"70");

    CPduWriter east;
    east.WriteTimeZone(1, 60);
    EXPECT_EQ(east.ToHex(), u"40");
    CPduWriter west;
    west.WriteTimeZone(0, 60);
    EXPECT_EQ(west.ToHex(), u"48");

    std::uint8_t sign = 7;
    CPduReader fromWest(u"48");
    EXPECT_EQ(fromWest.ReadTimeZone(sign), 60);
    EXPECT_EQ(sign, 0);
    CPduReader fromEast(u"40");
    EXPECT_EQ(fromEast.ReadTimeZone(sign), 60);
    EXPECT_EQ(sign, 1);
    // 0x3A: tens 2 from bits 0-2 of the low nibble, bit 3 west, units 3: 23 quarter hours.
    CPduReader wide(u"3A");
    EXPECT_EQ(wide.ReadTimeZone(sign), 23 * 15);
    EXPECT_EQ(sign, 0);
}

TEST(CodecTime, TimeStampRoundTrips) {
    const SmsDateTime t{2, 11, 15, 10, 30, 0, 60, 1};
    CPduWriter writer;
    writer.WriteTimeStamp(t);
    EXPECT_EQ(writer.ToHex(), u"20115101030040");
    CPduReader reader(u"20115101030040");
    EXPECT_EQ(reader.ReadTimeStamp(), t);

    const SmsDateTime west{99, 12, 31, 23, 59, 58, 5 * 60 + 45, 0};
    CPduWriter w2;
    w2.WriteTimeStamp(west);
    CPduReader r2(w2.ToHex());
    EXPECT_EQ(r2.ReadTimeStamp(), west);
}

TEST(CodecTime, ValidityFormats) {
    CPduWriter writer;
    writer.WriteValidity(SmsValidity{kValidityNone, {}, 0xA8, {}});
    writer.WriteValidity(SmsValidity{kValidityRelative, {}, 0xA8, {}});
    writer.WriteValidity(SmsValidity{kValidityAbsolute, {3, 1, 2, 4, 5, 6, 0, 1}, 0, {}});
    writer.WriteValidity(SmsValidity{kValidityEnhanced, {}, 0, {1, 2, 3, 4, 5, 6, 7}});
    EXPECT_EQ(writer.ToHex(), u"A83010204050600001020304050607");

    CPduReader reader(u"A83010204050600001020304050607");
    EXPECT_EQ(reader.ReadValidity(kValidityNone).format, kValidityNone);
    EXPECT_EQ(reader.Position(), 0u);
    EXPECT_EQ(reader.ReadValidity(kValidityRelative).relative, 0xA8);
    EXPECT_EQ(reader.ReadValidity(kValidityAbsolute).absolute,
              (SmsDateTime{3, 1, 2, 4, 5, 6, 0, 1}));
    EXPECT_EQ(reader.ReadValidity(kValidityEnhanced).enhanced,
              (std::array<std::uint8_t, 7>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
