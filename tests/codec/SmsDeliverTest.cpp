#include "sms/codec/SmsDeliver.h"

#include <gtest/gtest.h>

#include "sms/codec/ShortMessage.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::U;

// SMS-DELIVER from +12345678901, 2002-11-15 10:30:00 GMT+1, "hello".
constexpr char16_t kHello[] = u"00040B912143658709F100002011510103004005E8329BFD06";
// The part before TP-UDL of a delivery from the same sender, first octet and DCS open.
std::u16string Prefix(const char* firstOctet, const char* dcs) {
    return U("00") + U(firstOctet) + U("0B912143658709F100") + U(dcs) + U("20115101030040");
}

TEST(CodecDeliver, DecodesEveryField) {
    const CSmsDeliver m(kHello);
    EXPECT_EQ(m.GetMessageType(), 0);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{0, 0, u""}));
    EXPECT_EQ(m.GetMoreMessages(), 1);
    EXPECT_EQ(m.GetStatusReportIndication(), 0);
    EXPECT_EQ(m.GetReplyPath(), 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"12345678901"}));
    EXPECT_EQ(m.GetAddress(), m.GetOriginator());
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{2, 11, 15, 10, 30, 0, 60, 1}));
    EXPECT_EQ(m.GetHeader(), u"");
    EXPECT_EQ(m.GetText(), u"hello");
    EXPECT_EQ(m.Encode(), kHello);
}

TEST(CodecDeliver, ConcatenatedSevenBitPartFromAPhoneHasNoStrayCharacter) {
    // TP-UDL 15 = 7 septets of header (UDHL, 5 octets, a fill bit) + "Hi there". The last
    // octet has 7 spare zero bits, which counting the header in octets would read as an '@'.
    const std::u16string pdu =
        Prefix("44", "00") + U("0F") + U("050003010201") + U("9069101D5D969701");
    const CSmsDeliver m(pdu);
    EXPECT_EQ(m.GetHeader(), std::u16string(u"\x00\x03\x01\x02\x01", 5));
    EXPECT_EQ(m.GetText(), u"Hi there");
    EXPECT_EQ(m.Encode(), pdu);
}

TEST(CodecDeliver, SevenBitUdlCountsTheHeaderInSeptets) {
    CSmsDeliver m;
    m.SetOriginator(SmsAddress{1, 1, u"4912345"});
    m.SetHeader(std::u16string(u"\x00\x03\x2A\x02\x02", 5));
    m.SetText(u"hello world");
    EXPECT_EQ(m.UserDataLength(0x00), 7 + 11);

    const CSmsDeliver back(m.Encode());
    EXPECT_EQ(back.GetHeader(), m.GetHeader());
    EXPECT_EQ(back.GetText(), u"hello world");
    // Headers of other sizes need other fill: 1 to 7 octets of header.
    for (std::size_t length = 1; length <= 7; ++length) {
        m.SetHeader(std::u16string(length, u'\x7E'));
        const CSmsDeliver again(m.Encode());
        EXPECT_EQ(again.GetHeader(), m.GetHeader()) << length;
        EXPECT_EQ(again.GetText(), u"hello world") << length;
    }
}

TEST(CodecDeliver, Ucs2AndEightBitUdlCountOctets) {
    CSmsDeliver m;
    m.SetHeader(std::u16string(u"\x00\x03\x2A\x02\x02", 5));
    m.SetText(u"\u0416\u00E9");
    EXPECT_EQ(m.UserDataLength(0x08), 6 + 4);
    EXPECT_EQ(m.UserDataLength(0x04), 6 + 2);
    m.SetHeader(u"");
    EXPECT_EQ(m.UserDataLength(0x08), 4);
    EXPECT_EQ(m.UserDataLength(0x00), 2);

    m.SetDcs(0x08);
    m.SetHeader(std::u16string(u"\x00\x03\x2A\x02\x02", 5));
    const CSmsDeliver back(m.Encode());
    EXPECT_EQ(back.GetHeader(), m.GetHeader());
    EXPECT_EQ(back.GetText(), u"\u0416\u00E9");
}

TEST(CodecDeliver, AlphabetComesFromDcsBitsTwoAndThree) {
    EXPECT_EQ(CSmsDeliver(Prefix("04", "08") + U("0400480069")).GetText(), u"Hi");
    EXPECT_EQ(CSmsDeliver(Prefix("04", "04") + U("024869")).GetText(), u"Hi");
    EXPECT_EQ(CSmsDeliver(Prefix("04", "0C") + U("024869")).GetText(), u"Hi");
    EXPECT_EQ(CSmsDeliver(Prefix("04", "18") + U("0400480069")).GetText(), u"Hi");
    EXPECT_EQ(CSmsDeliver(Prefix("04", "F1") + U("05E8329BFD06")).GetText(), u"hello");
    EXPECT_EQ(CSmsDeliver(Prefix("04", "F6") + U("02FF80")).GetText(), u"\u00FF\u0080");
}

TEST(CodecDeliver, OddUcs2LengthGivesWholeCharactersOnly) {
    EXPECT_EQ(CSmsDeliver(Prefix("04", "08") + U("050048006900")).GetText(), u"Hi");
}

TEST(CodecDeliver, OtherMessageTypeLeavesTheFieldsUnread) {
    const CSmsDeliver m(U("0791214365870921") + U("05") + U("0B912143658709F1"));
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"123456789012"}));
    EXPECT_EQ(m.GetMessageType(), 1);
    EXPECT_EQ(m.GetOriginator(), SmsAddress{});
    EXPECT_EQ(m.GetMoreMessages(), 0);
    EXPECT_EQ(m.GetText(), u"");
}

TEST(CodecDeliver, NewRecordIsEmptyAndCopiesAreWhole) {
    const CSmsDeliver blank;
    EXPECT_EQ(blank.GetMessageType(), 0);
    EXPECT_EQ(blank.GetOriginator(), SmsAddress{});
    EXPECT_EQ(blank.GetTimeStamp(), SmsDateTime{});
    EXPECT_EQ(blank.GetPid() | blank.GetDcs() | blank.GetReplyPath() | blank.GetMoreMessages() |
                  blank.GetStatusReportIndication(),
              0);
    // Zone sign 0 means west of GMT, so even an empty time stamp carries the west bit.
    EXPECT_EQ(blank.Encode(), u"0000000000000000000000000800");

    const CSmsDeliver original(kHello);
    CSmsDeliver copy;
    copy = original;
    EXPECT_EQ(copy.Encode(), kHello);
    EXPECT_EQ(copy.GetText(), u"hello");
}

}  // namespace
