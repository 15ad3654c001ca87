// Addresses and the GSM alphabet. (Dial strings are the compose checks' and the tool's.)

#include <gtest/gtest.h>

#include "sms/codec/GsmAlphabet.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/PduWriter.h"
#include "tests/codec/CodecText.h"

namespace {

// A TP address counts digits and closes an odd count with a filler; the service-centre field
// counts octets. No number is a lone 00 for the service centre (read back as no type at all),
// and no extension bit in a TP address.
TEST(CodecAddress, WrittenAndReadBackToTheEndOfTheField) {
    const std::tuple<SmsAddress, bool, const char16_t*, SmsAddress> cases[] = {
        {{0, 1, u"12345"}, false, u"05812143F5", {0, 1, u"12345"}},
        {{1, 1, u"123"}, false, u"039121F3", {1, 1, u"123"}},
        {{1, 1, u"123456789012"}, true, u"0791214365870921", {1, 1, u"123456789012"}},
        {{1, 1, u"27381000015"}, true, u"07917283010010F5", {1, 1, u"27381000015"}},
        {{1, 1, u""}, true, u"00", {0, 0, u""}},
        {{1, 1, u""}, false, u"0011", {1, 1, u""}},
        {{0, 1, u""}, false, u"0001", {0, 1, u""}}};
    for (const auto& [address, centre, hex, back] : cases) {
        CPduWriter writer;
        writer.WriteAddress(address, centre);
        EXPECT_EQ(writer.ToHex(), hex);
        CPduReader reader(hex + std::u16string(u"77"));
        EXPECT_EQ(reader.ReadAddress(centre), back) << codectest::A(hex);
        EXPECT_EQ(reader.ReadOctet(), 0x77);
    }
}

TEST(CodecAlphabet, TextToGsm) {
    // No default-alphabet code: brackets, backslash, circumflex, grave, braces, bar, tilde.
    EXPECT_EQ(TextToGsm(u"[\\]^`{|}~"), std::u16string(9, u'\x10'));
    // The euro has none either; a character outside Latin-1 goes by its low 8 bits alone.
    EXPECT_EQ(TextToGsm(u"@$_Hi!\n\u00E9\u20AC\u0141"),
              std::u16string(u"\0\x02\x11Hi!\n\x05\x10\x41", 10));
}

TEST(CodecAlphabet, GsmToTextKnowsTheGreekCapitalsAndTheExtensionTable) {
    EXPECT_EQ(GsmToText(u"\x10\x12\x13\x14\x15\x16\x17\x18\x19\x1A"),
              u"\u0394\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E");
    EXPECT_EQ(GsmToText(u"\x1B\x65\x1B\x3C\x1B\x3E\x1B\x28\x1B\x29\x1B\x2F\x1B\x3D\x1B\x14\x1B\x40"
                        u"\x1B\x0A"),
              u"\u20AC[]{}\\~^|\f");
    // An escape before a code without an extension is that code; two escapes a blank; a last
    // one nothing. Codes past the table are a negation sign.
    EXPECT_EQ(GsmToText(u"\x1B\x41\x1B\x1B!\x1B"), u"A !");
    EXPECT_EQ(GsmToText(std::u16string(u"\x00\x7F\x80\u0141", 4)), u"@\u00E0\u00AC\u00AC");
    // Every code with an ISO 8859-1 character comes back from it.
    for (char16_t code = 0; code < 128; ++code) {
        const std::u16string text = GsmToText(std::u16string(1, code));
        if (!text.empty() && text[0] < 0x100) {
            EXPECT_EQ(TextToGsm(text), std::u16string(1, code)) << int(code);
        }
    }
}

// Packed user data is turned into text straight from the octets, several septets at a time: an
// escape anywhere in such a run, after a header's fill bits or not, and one at the very end
// give what the codes one by one give.
TEST(CodecAlphabet, SeptetTextIsTheTextOfTheCodesWhereverAnEscapeFalls) {
    const std::u16string header(u"\x00\x03\x5A\x02\x01", 5);
    for (const bool withHeader : {false, true}) {
        for (std::size_t escape = 0; escape < 24; ++escape) {
            std::u16string codes(24, u'A');
            codes[escape] = 0x1B;
            if (escape + 1 < codes.size()) {
                codes[escape + 1] = 0x28;  // '{'
            }
            CPduWriter writer;
            writer.SetSeptetOrigin();
            if (withHeader)
                writer.WriteUserDataHeader(header);
            writer.WriteSeptets(codes);
            CPduReader reader(writer.ToHex());
            reader.SetSeptetOrigin();
            if (withHeader)
                reader.ReadUserDataHeader();
            EXPECT_EQ(reader.ReadSeptetText(codes.size()), GsmToText(codes))
                << withHeader << " " << escape;
        }
    }
}

}  // namespace
