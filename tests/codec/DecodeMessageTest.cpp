// The factory, the TPDU length rule and the "FM:"/"MSG:" helpers.

#include <gtest/gtest.h>

#include <typeinfo>

#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsCommand.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsDeliverReport.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmit.h"
#include "sms/codec/SmsSubmitReport.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::U;

std::u16string WithFirstOctet(const char* centre, const char* first) {
    return U(centre) + U(first) + std::u16string(60, u'0');
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
            const auto m = DecodeMessage(WithFirstOctet(centre, c.first), c.incoming);
            ASSERT_NE(m, nullptr) << c.first << c.incoming;
            EXPECT_EQ(typeid(*m), *c.type) << centre << " " << c.first;
        }
        EXPECT_EQ(DecodeMessage(WithFirstOctet(centre, "03"), true), nullptr);
        EXPECT_EQ(DecodeMessage(WithFirstOctet(centre, "FF"), false), nullptr);
    }
}

TEST(CodecDecodeMessage, SameDeliverPduOutgoingIsADeliverReport) {
    const std::u16string pdu = u"00040B912143658709F100002011510103004005E8329BFD06";
    const auto in = DecodeMessage(pdu, true);
    ASSERT_NE(dynamic_cast<CSmsDeliver*>(in.get()), nullptr);
    EXPECT_EQ(in->GetText(), u"hello");
    EXPECT_EQ(in->Encode(), pdu);
    const auto out = DecodeMessage(pdu, false);
    EXPECT_NE(dynamic_cast<CSmsDeliverReport*>(out.get()), nullptr);
}

TEST(CodecDecodeMessage, NothingToReadGivesNoRecord) {
    // Past the end every bit reads 1, so the message type is 3.
    EXPECT_EQ(DecodeMessage(u"", true), nullptr);
    EXPECT_EQ(DecodeMessage(u"00", false), nullptr);
    EXPECT_EQ(DecodeMessage(u"0791214365870921", true), nullptr);
}

TEST(CodecTpduLength, CountsTheOctetsAfterTheServiceCentre) {
    EXPECT_EQ(sms::TpduLength(u"0791214365870921150005912143F50008A80400480069"), 15);
    EXPECT_EQ(sms::TpduLength(u"00150005912143F50008A80400480069"), 15);
    EXPECT_EQ(sms::TpduLength(u"00"), 0);
    EXPECT_EQ(sms::TpduLength(u""), -1);
    EXPECT_EQ(sms::TpduLength(u"0"), -1);
    EXPECT_EQ(sms::TpduLength(u"G100"), -1);
    EXPECT_EQ(sms::TpduLength(u"0791"), -1);  // announces more than it holds
}

TEST(CodecMessageText, MarkersSplitSenderAndText) {
    EXPECT_EQ(StripMessagePrefix(u"FM: 123 MSG: hi"), u"hi");
    EXPECT_EQ(ExtractSender(u"FM: 123 MSG: hi"), u"123");
    EXPECT_EQ(StripMessagePrefix(u"hi"), u"hi");
    EXPECT_EQ(ExtractSender(u"hi"), u"Unknown");
    EXPECT_EQ(ExtractSender(u"FM: 123"), u"Unknown");
    EXPECT_EQ(ExtractSender(u"MSG: hi"), u"Unknown");
    EXPECT_EQ(StripMessagePrefix(u"MSG: "), u"");
    EXPECT_EQ(StripMessagePrefix(u"MSG:"), u"");
    EXPECT_EQ(StripMessagePrefix(u"xMSG:yz"), u"z");
}

TEST(CodecMessageText, MarkersInOddPlacesGiveNoSenderRatherThanGarbage) {
    EXPECT_EQ(ExtractSender(u"FM: MSG: hi"), u"");
    EXPECT_EQ(ExtractSender(u"FM:MSG:"), u"");
    EXPECT_EQ(ExtractSender(u"MSG: hi FM: 123"), u"");
    EXPECT_EQ(ExtractSender(u"FM:"), u"Unknown");
    EXPECT_EQ(ExtractSender(u"FM:  Anna Maria  MSG: x"), u" Anna Maria ");
}

}  // namespace
