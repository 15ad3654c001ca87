// The records and the factory that picks one, the TPDU length rule and the "FM:"/"MSG:" helpers.
// A header of any length padded to whole septets is the decoder's fuzz target's round trip.

#include <gtest/gtest.h>

#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsSubmit.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::A;
using codectest::DeliverHead;
using codectest::U;

TEST(CodecDeliver, ConcatenatedSevenBitPartFromAPhoneHasNoStrayCharacter) {
    // TP-UDL 15 = 7 septets of header (UDHL, 5 octets, a fill bit) + "Hi there". The last
    // octet has 7 spare zero bits, which counting the header in octets would read as an '@'.
    const std::u16string pdu =
        DeliverHead("44", "00") + U("0F") + U("050003010201") + U("9069101D5D969701");
    const CSmsDeliver m(pdu);
    EXPECT_EQ(m.GetHeader(), std::u16string(u"\x00\x03\x01\x02\x01", 5));
    EXPECT_EQ(m.GetText(), u"Hi there");
    EXPECT_EQ(m.Encode(), pdu);
}

TEST(CodecDeliver, AlphabetComesFromDcsBitsTwoAndThree) {
    // The last is an odd UCS2 length: whole characters only.
    const std::tuple<const char*, const char*, const char16_t*> cases[] = {
        {"04", "024869", u"Hi"},           {"0C", "024869", u"Hi"},
        {"18", "0400480069", u"Hi"},       {"F1", "05E8329BFD06", u"hello"},
        {"F6", "02FF80", u"\u00FF\u0080"}, {"08", "050048006900", u"Hi"}};
    for (const auto& [dcs, userData, text] : cases)
        EXPECT_EQ(CSmsDeliver(DeliverHead("04", dcs) + U(userData)).GetText(), text) << dcs;
}

TEST(CodecSubmit, EveryValidityFormatKeepsTheFieldsAfterItInStep) {
    // First octets 01 (none), 09 (enhanced), 11 (relative), 19 (absolute); message reference 7.
    const std::tuple<const char*, const char*, int> cases[] = {
        {"01", "", kValidityNone},
        {"09", "01020304050607", kValidityEnhanced},
        {"11", "A7", kValidityRelative},
        {"19", "30102040506048", kValidityAbsolute}};
    for (const auto& [first, vp, format] : cases) {
        const std::u16string pdu =
            U("00") + U(first) + U("0705912143F50000") + U(vp) + U("05E8329BFD06");
        const CSmsSubmit m(pdu);
        EXPECT_EQ(std::tuple(m.GetMessageReference(), m.GetDestination().number, m.GetText(),
                             m.GetValidity().format, m.GetValidityPeriodFormat(), m.Encode()),
                  std::tuple(7, u"12345", u"hello", format, format, pdu))
            << first;
    }
    const CSmsSubmit absolute(U("00190705912143F50000") + U("30102040506048") + U("05E8329BFD06"));
    EXPECT_EQ(absolute.GetValidity().absolute, (SmsDateTime{3, 1, 2, 4, 5, 6, 60, 0}));
}

// Samples of every class in its direction: a record of the wrong class would not give its PDU
// back. (A sent message, a received one and a report as phones store them are the stored-message
// tests'; message type 3, the tool's null.)
TEST(CodecRoundTrip, DecodeThenEncodeGivesThePduBack) {
    for (const auto& [spaced, incoming] : codectest::kSamples) {
        const std::u16string hex = codectest::Hex(spaced);
        const auto m = DecodeMessage(hex, incoming);
        ASSERT_NE(m, nullptr) << A(hex);
        EXPECT_EQ(m->Encode(), hex) << A(hex);
    }
}

TEST(CodecTpduLength, CountsTheOctetsAfterTheServiceCentre) {
    EXPECT_EQ(sms::TpduLength(u"00"), 0);
    // Not hex, and a service centre that announces more than the PDU holds.
    for (const char16_t* bad : {u"", u"0", u"G100", u"0791"})
        EXPECT_EQ(sms::TpduLength(bad), -1) << A(bad);
}

TEST(CodecMessageText, MarkersSplitSenderAndText) {
    // The plain cases are the inbox rows', which strip only a text that starts with "FM:";
    // markers in odd places give no sender rather than garbage.
    const std::tuple<const char16_t*, const char16_t*, const char16_t*> cases[] = {
        {u"FM: 123", u"FM: 123", u"Unknown"},
        {u"FM: MSG: hi", u"hi", u""},
        {u"FM:  Anna Maria  MSG: x", u"x", u" Anna Maria "}};
    for (const auto& [text, stripped, sender] : cases) {
        EXPECT_EQ(StripMessagePrefix(text), stripped) << A(text);
        EXPECT_EQ(ExtractSender(text), sender) << A(text);
    }
}

}  // namespace
