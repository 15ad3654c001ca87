// Addresses, dial strings and the GSM alphabet.

#include <gtest/gtest.h>

#include "sms/codec/DialNumber.h"
#include "sms/codec/GsmAlphabet.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"
#include "tests/codec/CodecText.h"

namespace {

TEST(CodecAddress, WrittenAndReadBackToTheEndOfTheField) {
    struct Case {
        SmsAddress address;
        bool centre;
        const char16_t* hex;
        SmsAddress back;
    };
    const Case cases[] = {
        // A TP address counts digits and closes an odd count with a filler.
        {{0, 1, u"12345"}, false, u"05812143F5", {0, 1, u"12345"}},
        {{1, 1, u"123"}, false, u"039121F3", {1, 1, u"123"}},
        // The service-centre field counts octets.
        {{1, 1, u"123456789012"}, true, u"0791214365870921", {1, 1, u"123456789012"}},
        {{1, 1, u"27381000015"}, true, u"07917283010010F5", {1, 1, u"27381000015"}},
        // No number: a lone 00 for the service centre, no extension bit in a TP address.
        {{1, 1, u""}, true, u"00", {0, 0, u""}},
        {{1, 1, u""}, false, u"0011", {1, 1, u""}},
        {{0, 1, u""}, false, u"0001", {0, 1, u""}},
    };
    for (const Case& c : cases) {
        CPduWriter writer;
        writer.WriteAddress(c.address, c.centre);
        EXPECT_EQ(writer.ToHex(), c.hex);
        CPduReader reader(c.hex + std::u16string(u"77"));
        EXPECT_EQ(reader.ReadAddress(c.centre), c.back) << codectest::A(c.hex);
        EXPECT_EQ(reader.ReadOctet(), 0x77);
    }
}

TEST(CodecAddress, EachCharacterKeepsToItsOwnNibble) {
    CPduReader reader(u"BADCFE");
    EXPECT_EQ(reader.ReadSemiOctetDigits(6), u":;<=>");  // the high F is filler
    CPduWriter writer;
    writer.WriteSemiOctetDigits(u"-1");
    EXPECT_EQ(writer.ToHex(), u"1D");
}

TEST(CodecDialNumber, LeadingPlusMeansInternationalAndOnlyWhiteSpaceGoes) {
    EXPECT_EQ(ParseDialNumber(u"+4477"), (SmsAddress{1, 1, u"4477"}));
    EXPECT_EQ(ParseDialNumber(u"  12 \t34\r\n"), (SmsAddress{0, 1, u"1234"}));
    EXPECT_EQ(ParseDialNumber(u""), (SmsAddress{0, 1, u""}));
    EXPECT_EQ(ParseDialNumber(u" + 44 "), (SmsAddress{1, 1, u"44"}));
    EXPECT_EQ(ParseDialNumber(u"+"), (SmsAddress{1, 1, u""}));
    EXPECT_EQ(ParseDialNumber(u"0-1+2"), (SmsAddress{0, 1, u"0-1+2"}));
    EXPECT_EQ(RemoveWhiteSpace(u" a\tb\nc\vd\fe\rf "), u"abcdef");
    EXPECT_EQ(RemoveWhiteSpace(u"a\u00A0b\u2003c"), u"a\u00A0b\u2003c");
}

TEST(CodecAlphabet, TextToGsm) {
    EXPECT_EQ(TextToGsm(u"@$_"), std::u16string(u"\x00\x02\x11", 3));
    // No default-alphabet code: brackets, backslash, circumflex, grave, braces, bar, tilde.
    EXPECT_EQ(TextToGsm(u"[\\]^`{|}~"), std::u16string(9, u'\x10'));
    EXPECT_EQ(TextToGsm(u"\u00E9\u20AC"), u"\x05\x10");
    EXPECT_EQ(TextToGsm(u"\u0141"), u"\x41");  // by its low 8 bits alone
    EXPECT_EQ(TextToGsm(u"Hi!\n"), u"Hi!\n");
}

TEST(CodecAlphabet, GsmToTextKnowsTheGreekCapitalsAndTheExtensionTable) {
    EXPECT_EQ(GsmToText(u"\x10\x12\x13\x14\x15\x16\x17\x18\x19\x1A"),
              u"\u0394\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E");
    EXPECT_EQ(GsmToText(u"\x1B\x65\x1B\x3C\x1B\x3E\x1B\x28\x1B\x29\x1B\x2F\x1B\x3D\x1B\x14\x1B\x40"
                        u"\x1B\x0A"),
              u"\u20AC[]{}\\~^|\f");
    // An escape before a code without an extension is that code; two escapes a blank; a last
    // one nothing.
    EXPECT_EQ(GsmToText(u"\x1B\x41\x1B\x1B!\x1B"), u"A !");
    EXPECT_EQ(GsmToText(std::u16string(u"\x00\x7F", 2)), u"@\u00E0");
    EXPECT_EQ(GsmToText(u"\x80\u0141"), u"\u00AC\u00AC");
    // Every code with an ISO 8859-1 character comes back from it.
    for (char16_t code = 0; code < 128; ++code) {
        const std::u16string text = GsmToText(std::u16string(1, code));
        if (!text.empty() && text[0] < 0x100) {
            EXPECT_EQ(TextToGsm(text), std::u16string(1, code)) << int(code);
        }
    }
}

}  // namespace
