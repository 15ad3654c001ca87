#include "sms/codec/SmsSubmit.h"

#include <gtest/gtest.h>

#include "sms/codec/DialNumber.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::U;

// What the compose dialog builds: service centre, recipient, check boxes, UCS2.
CSmsSubmit Composed(std::u16string_view text, std::u16string_view to, std::u16string_view centre,
                    bool deliverReport = false, bool replyPath = false) {
    CSmsSubmit m(text, to);
    m.SetServiceCentre(ParseDialNumber(centre));
    m.SetReplyPath(replyPath ? 1 : 0);
    m.SetStatusReportRequest(deliverReport ? 1 : 0);
    m.SetDcs(0x08);
    return m;
}

TEST(CodecSubmit, ComposedMessageEncodesAsThePhoneExpects) {
    const std::u16string pdu = Composed(u"Hi", u"+12345", u"+123456789012").Encode();
    EXPECT_EQ(pdu, u"0791214365870921150005912143F50008A80400480069");
    EXPECT_EQ(pdu.size() / 2, 23u);
    EXPECT_EQ(sms::TpduLength(pdu), 15);
}

TEST(CodecSubmit, CheckBoxesChangeOnlyTheFirstTpduOctet) {
    const std::u16string plain = Composed(u"Hi", u"+12345", u"+123456789012").Encode();
    const auto firstOctet = [](const std::u16string& pdu) { return pdu.substr(16, 2); };
    const auto rest = [](const std::u16string& pdu) { return pdu.substr(18); };
    for (const auto& [report, path, octet] :
         {std::tuple{true, true, u"B5"}, {true, false, u"35"}, {false, true, u"95"}}) {
        const std::u16string pdu =
            Composed(u"Hi", u"+12345", u"+123456789012", report, path).Encode();
        EXPECT_EQ(pdu.substr(0, 16), plain.substr(0, 16));
        EXPECT_EQ(firstOctet(pdu), octet);
        EXPECT_EQ(rest(pdu), rest(plain));
    }
    EXPECT_EQ(firstOctet(plain), u"15");
}

TEST(CodecSubmit, RecipientWithoutPlusIsUnknownTypeAndLosesItsBlanks) {
    const std::u16string pdu = Composed(u"Hi", u" 0 12 34 ", u"").Encode();
    // Service centre 00, first octet, TP-MR, then the destination.
    EXPECT_EQ(pdu.substr(6, 10), u"05811032F4");
    EXPECT_EQ(Composed(u"Hi", u"1234", u"").Encode().substr(6, 8), u"04812143");
}

TEST(CodecSubmit, EmptyServiceCentreIsOneOctet) {
    const std::u16string pdu = Composed(u"Hi", u"+12345", u"").Encode();
    EXPECT_EQ(pdu, u"00150005912143F50008A80400480069");
    EXPECT_EQ(sms::TpduLength(pdu), static_cast<int>(pdu.size() / 2 - 1));
}

TEST(CodecSubmit, ElevenDigitServiceCentreTakesEightOctets) {
    const std::u16string pdu = Composed(u"Hi", u"+12345", u"+12345678901").Encode();
    EXPECT_EQ(pdu.substr(0, 16), u"07912143658709F1");
    EXPECT_EQ(sms::TpduLength(pdu), static_cast<int>(pdu.size() / 2 - 8));
}

TEST(CodecSubmit, SevenBitText) {
    CSmsSubmit m(u"abc", u"1");
    m.SetDcs(0x00);
    const std::u16string pdu = m.Encode();
    EXPECT_EQ(pdu.substr(pdu.size() - 8), u"0361F118");
}

TEST(CodecSubmit, DecodesTheComposedMessage) {
    const CSmsSubmit m(u"0791214365870921B50005912143F50008A80400480069");
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"123456789012"}));
    EXPECT_EQ(m.GetMessageType(), 1);
    EXPECT_EQ(m.GetRejectDuplicates(), 1);
    EXPECT_EQ(m.GetValidityPeriodFormat(), kValidityRelative);
    EXPECT_EQ(m.GetStatusReportRequest(), 1);
    EXPECT_EQ(m.GetReplyPath(), 1);
    EXPECT_EQ(m.GetMessageReference(), 0);
    EXPECT_EQ(m.GetDestination(), (SmsAddress{1, 1, u"12345"}));
    EXPECT_EQ(m.GetAddress(), m.GetDestination());
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0x08);
    EXPECT_EQ(m.GetValidity().format, kValidityRelative);
    EXPECT_EQ(m.GetValidity().relative, 0xA8);
    EXPECT_EQ(m.GetTimeStamp(), SmsDateTime{});
    EXPECT_EQ(m.GetText(), u"Hi");
}

TEST(CodecSubmit, EveryValidityFormatKeepsTheFieldsAfterItInStep) {
    // First octets 01 (none), 09 (enhanced), 11 (relative), 19 (absolute); message reference 7.
    const std::u16string tail = U("05912143F50000%05E8329BFD06");
    const std::pair<const char*, const char*> cases[] = {
        {"01", ""},
        {"09", "01020304050607"},
        {"11", "A7"},
        {"19", "30102040506048"},
    };
    for (const auto& [first, vp] : cases) {
        std::u16string pdu = U("00") + U(first) + U("07") + tail;
        pdu.replace(pdu.find(u'%'), 1, U(vp));
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

TEST(CodecSubmit, NewRecordHasTheComposeDefaults) {
    const CSmsSubmit m;
    EXPECT_EQ(m.GetMessageType(), 1);
    EXPECT_EQ(m.GetRejectDuplicates(), 1);
    EXPECT_EQ(m.GetValidityPeriodFormat(), kValidityRelative);
    EXPECT_EQ(m.GetValidity().format, kValidityRelative);
    EXPECT_EQ(m.GetValidity().relative, 0xA8);
    EXPECT_EQ(m.GetReplyPath(), 0);
    EXPECT_EQ(m.GetStatusReportRequest(), 0);
    EXPECT_EQ(m.GetMessageReference(), 0);
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetDestination(), SmsAddress{});
    EXPECT_EQ(m.GetServiceCentre(), SmsAddress{});

    const CSmsSubmit to(u"text", u"+44 1");
    EXPECT_EQ(to.GetDestination(), (SmsAddress{1, 1, u"441"}));
    EXPECT_EQ(to.GetText(), u"text");
    EXPECT_EQ(to.GetRejectDuplicates(), 1);
}

TEST(CodecSubmit, ValidityFormatAndValidityAreWrittenSeparately) {
    CSmsSubmit m(u"", u"1");
    m.SetValidityPeriodFormat(kValidityNone);  // the VP octet is still written, as the record says
    EXPECT_EQ(m.Encode(), u"0005000181F10000A800");
}

}  // namespace
