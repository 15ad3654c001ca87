// The six record classes, the factory that picks one, the TPDU length rule and the
// "FM:"/"MSG:" helpers.

#include <gtest/gtest.h>

#include <typeinfo>

#include "sms/codec/DialNumber.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsCommand.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsDeliverReport.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmit.h"
#include "sms/codec/SmsSubmitReport.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::A;
using codectest::DeliverHead;
using codectest::U;

// 2002-11-15 10:30:00 GMT+1, the time stamp of the PDUs below.
const SmsDateTime kStamp{2, 11, 15, 10, 30, 0, 60, 1};

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

// TP-UDL counts septets in the default alphabet, the header included, and octets otherwise.
TEST(CodecDeliver, UserDataLengthCountsSeptetsOrOctets) {
    CSmsDeliver m;
    m.SetText(u"\u0416\u00E9");
    EXPECT_EQ(m.UserDataLength(0x08), 4);
    EXPECT_EQ(m.UserDataLength(0x04), 2);
    m.SetHeader(std::u16string(u"\x00\x03\x2A\x02\x02", 5));
    EXPECT_EQ(m.UserDataLength(0x08), 6 + 4);
    EXPECT_EQ(m.UserDataLength(0x04), 6 + 2);
    m.SetText(u"hello world");
    EXPECT_EQ(m.UserDataLength(0x00), 7 + 11);
    // Headers of 1 to 7 octets need every amount of fill.
    for (std::size_t length = 1; length <= 7; ++length) {
        m.SetHeader(std::u16string(length, u'\x7E'));
        const CSmsDeliver back(m.Encode());
        EXPECT_EQ(back.GetHeader(), m.GetHeader()) << length;
        EXPECT_EQ(back.GetText(), u"hello world") << length;
    }
}

TEST(CodecDeliver, AlphabetComesFromDcsBitsTwoAndThree) {
    struct Case {
        const char* dcs;
        const char* userData;
        const char16_t* text;
    };
    const Case cases[] = {
        {"08", "0400480069", u"Hi"},      {"04", "024869", u"Hi"},
        {"0C", "024869", u"Hi"},          {"18", "0400480069", u"Hi"},
        {"F1", "05E8329BFD06", u"hello"}, {"F6", "02FF80", u"\u00FF\u0080"},
        {"08", "050048006900", u"Hi"},  // an odd UCS2 length: whole characters only
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CSmsDeliver(DeliverHead("04", c.dcs) + U(c.userData)).GetText(), c.text) << c.dcs;
    }
}

TEST(CodecDeliver, OtherMessageTypeLeavesTheFieldsUnread) {
    const CSmsDeliver m(U("0791214365870921") + U("05") + U("0B912143658709F1"));
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"123456789012"}));
    EXPECT_EQ(m.GetMessageType(), 1);
    EXPECT_EQ(m.GetOriginator(), SmsAddress{});
    EXPECT_EQ(m.GetMoreMessages(), 0);
}

TEST(CodecSubmit, ComposedMessagesEncodeAsThePhoneExpects) {
    struct Case {
        const char16_t* text;
        const char16_t* to;
        const char16_t* centre;
        bool report, replyPath;
        std::uint8_t dcs;
        const char16_t* pdu;
        int tpduLength;
    };
    // clang-format off
    // The plain message, a national one and one in the default alphabet are the PDU tool's
    // cases too.
    const Case cases[] = {
        // The check boxes change the first TPDU octet only.
        {u"Hi", u"+12345", u"+123456789012", true, false, 0x08,
         u"0791214365870921350005912143F50008A80400480069", 15},
        {u"Hi", u"+12345", u"+123456789012", false, true, 0x08,
         u"0791214365870921950005912143F50008A80400480069", 15},
        // No '+': type 0x81 and no blanks; an odd digit count ends with a filler.
        {u"Hi", u" 0 12 34 ", u"", false, false, 0x08, u"00150005811032F40008A80400480069", 15},
        // An eleven-digit service centre takes eight octets.
        {u"Hi", u"+12345", u"+12345678901", false, false, 0x08,
         u"07912143658709F1150005912143F50008A80400480069", 15},
    };
    // clang-format on
    for (const Case& c : cases) {
        CSmsSubmit m(c.text, c.to);
        m.SetServiceCentre(ParseDialNumber(c.centre));
        m.SetStatusReportRequest(c.report ? 1 : 0);
        m.SetReplyPath(c.replyPath ? 1 : 0);
        m.SetDcs(c.dcs);
        const std::u16string pdu = m.Encode();
        EXPECT_EQ(pdu, c.pdu);
        EXPECT_EQ(sms::TpduLength(pdu), c.tpduLength) << A(c.pdu);
    }
}

TEST(CodecSubmit, EveryValidityFormatKeepsTheFieldsAfterItInStep) {
    // First octets 01 (none), 09 (enhanced), 11 (relative), 19 (absolute); message reference 7.
    const std::pair<const char*, const char*> cases[] = {
        {"01", ""}, {"09", "01020304050607"}, {"11", "A7"}, {"19", "30102040506048"}};
    for (const auto& [first, vp] : cases) {
        const std::u16string pdu =
            U("00") + U(first) + U("0705912143F50000") + U(vp) + U("05E8329BFD06");
        const CSmsSubmit m(pdu);
        EXPECT_EQ(m.GetMessageReference(), 7) << first;
        EXPECT_EQ(m.GetDestination().number, u"12345") << first;
        EXPECT_EQ(m.GetText(), u"hello") << first;
        EXPECT_EQ(m.GetValidity().format, m.GetValidityPeriodFormat()) << first;
        EXPECT_EQ(m.Encode(), pdu) << first;
    }
    const CSmsSubmit absolute(U("00190705912143F50000") + U("30102040506048") + U("05E8329BFD06"));
    EXPECT_EQ(absolute.GetValidity().absolute, (SmsDateTime{3, 1, 2, 4, 5, 6, 60, 0}));
}

TEST(CodecCommand, CutCommandDataKeepsWhatArrived) {
    const CSmsCommand m(U("000200000107039121F30AAABB"));
    EXPECT_EQ(m.GetCommandDataLength(), 10);
    EXPECT_EQ(m.GetCommandData(), u"\u00AA\u00BB");
    // Encoding states the data it holds.
    EXPECT_EQ(m.Encode(), U("000200000107039121F302AABB"));
}

TEST(CodecReports, SettingTextOrHeaderMarksUserDataPresent) {
    CSmsDeliverReport text(U("000000"));
    text.SetText(u"");
    EXPECT_EQ(text.GetUdlPresent(), 1);
    EXPECT_EQ(text.Encode(), U("00000400"));
    CSmsDeliverReport header(U("000000"));
    header.SetHeader(u"\x01\x02");
    EXPECT_EQ(header.GetUdlPresent(), 1);
    EXPECT_EQ(header.Encode(), U("00000400"));  // the header itself is never written

    // The time stamp of a submit report comes before the parameter indicator.
    CSmsSubmitReport submit(U("000120115101030040") + U("00"));
    EXPECT_EQ(submit.GetTimeStamp(), kStamp);
    EXPECT_EQ(submit.GetUdlPresent(), 0);
    submit.SetText(u"ok");
    EXPECT_EQ(submit.GetUdlPresent(), 1);
    EXPECT_EQ(submit.Encode(), U("000120115101030040") + U("04") + U("02EF35"));
}

TEST(CodecDecodeMessage, MessageTypeAndDirectionPickTheClass) {
    struct Case {
        const char* first;
        bool incoming;
        const std::type_info* type;
    };
    const Case cases[] = {
        {"04", true, &typeid(CSmsDeliver)},      {"01", true, &typeid(CSmsSubmitReport)},
        {"02", true, &typeid(CSmsStatusReport)}, {"00", false, &typeid(CSmsDeliverReport)},
        {"11", false, &typeid(CSmsSubmit)},      {"02", false, &typeid(CSmsCommand)},
    };
    for (const char* centre : {"00", "0791214365870921"}) {
        for (const Case& c : cases) {
            const auto m =
                DecodeMessage(U(centre) + U(c.first) + std::u16string(60, u'0'), c.incoming);
            ASSERT_NE(m, nullptr) << c.first << c.incoming;
            EXPECT_EQ(typeid(*m), *c.type) << centre << " " << c.first;
        }
        EXPECT_EQ(DecodeMessage(U(centre) + U("03"), true), nullptr);
        EXPECT_EQ(DecodeMessage(U(centre) + U("FF"), false), nullptr);
    }
    // Past the end every bit reads 1, so nothing to read is message type 3.
    for (const char16_t* nothing : {u"", u"00", u"0791214365870921"}) {
        EXPECT_EQ(DecodeMessage(nothing, true), nullptr);
        EXPECT_EQ(DecodeMessage(nothing, false), nullptr);
    }
}

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
    EXPECT_EQ(sms::TpduLength(u""), -1);
    EXPECT_EQ(sms::TpduLength(u"0"), -1);
    EXPECT_EQ(sms::TpduLength(u"G100"), -1);
    EXPECT_EQ(sms::TpduLength(u"0791"), -1);  // announces more than it holds
}

TEST(CodecMessageText, MarkersSplitSenderAndText) {
    struct Case {
        const char16_t* text;
        const char16_t* stripped;
        const char16_t* sender;
    };
    const Case cases[] = {
        {u"FM: 123 MSG: hi", u"hi", u"123"},
        {u"hi", u"hi", u"Unknown"},
        {u"FM: 123", u"FM: 123", u"Unknown"},
        {u"MSG: hi", u"hi", u"Unknown"},
        {u"MSG:", u"", u"Unknown"},
        {u"xMSG:yz", u"z", u"Unknown"},
        {u"FM:", u"FM:", u"Unknown"},
        // Markers in odd places give no sender rather than garbage.
        {u"FM: MSG: hi", u"hi", u""},
        {u"FM:MSG:", u"", u""},
        {u"MSG: hi FM: 123", u"hi FM: 123", u""},
        {u"FM:  Anna Maria  MSG: x", u"x", u" Anna Maria "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripMessagePrefix(c.text), c.stripped) << A(c.text);
        EXPECT_EQ(ExtractSender(c.text), c.sender) << A(c.text);
    }
}

}  // namespace
