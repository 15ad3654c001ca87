// The four record classes that are only ever built from PDU text.

#include <gtest/gtest.h>

#include "sms/codec/SmsCommand.h"
#include "sms/codec/SmsDeliverReport.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmitReport.h"
#include "tests/codec/CodecText.h"

namespace {

using codectest::U;

TEST(CodecStatusReport, DecodesEveryField) {
    // Qualifier set, more messages clear; MR 9; discharged five seconds later; TP-ST 0x41.
    const std::u16string pdu = U("0791214365870921") + U("22") + U("09") + U("0B912143658709F1") +
                               U("20115101030040") + U("20115101035040") + U("41");
    const CSmsStatusReport m(pdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"123456789012"}));
    EXPECT_EQ(m.GetMessageType(), 2);
    EXPECT_EQ(m.GetMoreMessages(), 0);
    EXPECT_EQ(m.GetStatusReportQualifier(), 1);
    EXPECT_EQ(m.GetMessageReference(), 9);
    EXPECT_EQ(m.GetRecipient(), (SmsAddress{1, 1, u"12345678901"}));
    EXPECT_EQ(m.GetAddress(), m.GetRecipient());
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{2, 11, 15, 10, 30, 0, 60, 1}));
    EXPECT_EQ(m.GetDischargeTime(), (SmsDateTime{2, 11, 15, 10, 30, 5, 60, 1}));
    EXPECT_EQ(m.GetStatus(), 0x41);
    EXPECT_EQ(m.GetText(), u"");
    EXPECT_EQ(m.Encode(), pdu);
}

TEST(CodecStatusReport, NothingIsReadAfterTheStatus) {
    const std::u16string pdu =
        U("0006D60B911326880736F41110117195514011101171957140") + U("00") + U("0700000548656C6C6F");
    const CSmsStatusReport m(pdu);
    EXPECT_EQ(m.GetStatus(), 0);
    EXPECT_EQ(m.GetText(), u"");
    EXPECT_EQ(m.Encode(), U("0006D60B911326880736F4111011719551401110117195714000"));
}

TEST(CodecCommand, DecodesEveryFieldAndKeepsTheCommandData) {
    // Status report requested; MR 5; TP-CT 1 (cancel status report request) for message 7.
    const std::u16string pdu = U("00") + U("22") + U("05") + U("00") + U("01") + U("07") +
                               U("0B912143658709F1") + U("03") + U("AABBCC");
    const CSmsCommand m(pdu);
    EXPECT_EQ(m.GetMessageType(), 2);
    EXPECT_EQ(m.GetStatusReportRequest(), 1);
    EXPECT_EQ(m.GetMessageReference(), 5);
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetCommandType(), 1);
    EXPECT_EQ(m.GetMessageNumber(), 7);
    EXPECT_EQ(m.GetDestination(), (SmsAddress{1, 1, u"12345678901"}));
    EXPECT_EQ(m.GetAddress(), m.GetDestination());
    EXPECT_EQ(m.GetCommandDataLength(), 3);
    EXPECT_EQ(m.GetCommandData(), u"\u00AA\u00BB\u00CC");
    EXPECT_EQ(m.GetTimeStamp(), SmsDateTime{});
    EXPECT_EQ(m.Encode(), pdu);
}

TEST(CodecCommand, CutCommandDataKeepsWhatArrived) {
    const CSmsCommand m(U("000200000107039121F30AAABB"));
    EXPECT_EQ(m.GetCommandDataLength(), 10);
    EXPECT_EQ(m.GetCommandData(), u"\u00AA\u00BB");
    // Encoding states the data it holds.
    EXPECT_EQ(m.Encode(), U("000200000107039121F302AABB"));
}

TEST(CodecDeliverReport, DecodesTheParametersThatArePresent) {
    const std::u16string full = U("00") + U("00") + U("07") + U("7F") + U("00") + U("05E8329BFD06");
    const CSmsDeliverReport m(full);
    EXPECT_EQ(m.GetMessageType(), 0);
    EXPECT_EQ(m.GetPidPresent(), 1);
    EXPECT_EQ(m.GetDcsPresent(), 1);
    EXPECT_EQ(m.GetUdlPresent(), 1);
    EXPECT_EQ(m.GetPid(), 0x7F);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetText(), u"hello");
    EXPECT_EQ(m.GetAddress(), SmsAddress{});
    EXPECT_EQ(m.Encode(), full);

    const std::u16string ucs2 = U("00000608") + U("0400480069");
    const CSmsDeliverReport u(ucs2);
    EXPECT_EQ(u.GetPidPresent(), 0);
    EXPECT_EQ(u.GetDcs(), 0x08);
    EXPECT_EQ(u.GetText(), u"Hi");
    EXPECT_EQ(u.Encode(), ucs2);

    const CSmsDeliverReport bare(U("000000"));
    EXPECT_EQ(bare.GetPidPresent() | bare.GetDcsPresent() | bare.GetUdlPresent(), 0);
    EXPECT_EQ(bare.Encode(), U("000000"));
}

TEST(CodecDeliverReport, UserDataNeverHasAHeader) {
    // The TP-UDHI position is set, but a report's user data is all text.
    const CSmsDeliverReport m(U("004004") + U("05E8329BFD06"));
    EXPECT_EQ(m.GetHeader(), u"");
    EXPECT_EQ(m.GetText(), u"hello");
}

TEST(CodecDeliverReport, SettingTextOrHeaderMarksUserDataPresent) {
    CSmsDeliverReport m(U("000000"));
    m.SetText(u"");
    EXPECT_EQ(m.GetUdlPresent(), 1);
    EXPECT_EQ(m.Encode(), U("00000400"));

    CSmsDeliverReport h(U("000000"));
    h.SetHeader(u"\x01\x02");
    EXPECT_EQ(h.GetUdlPresent(), 1);
    EXPECT_EQ(h.Encode(), U("00000400"));  // the header itself is never written
}

TEST(CodecSubmitReport, TimeStampComesBeforeTheParameterIndicator) {
    const std::u16string pdu =
        U("00") + U("01") + U("20115101030040") + U("07") + U("00") + U("08") + U("0400480069");
    const CSmsSubmitReport m(pdu);
    EXPECT_EQ(m.GetMessageType(), 1);
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{2, 11, 15, 10, 30, 0, 60, 1}));
    EXPECT_EQ(m.GetPidPresent(), 1);
    EXPECT_EQ(m.GetDcsPresent(), 1);
    EXPECT_EQ(m.GetUdlPresent(), 1);
    EXPECT_EQ(m.GetDcs(), 0x08);
    EXPECT_EQ(m.GetText(), u"Hi");
    EXPECT_EQ(m.GetAddress(), SmsAddress{});
    EXPECT_EQ(m.Encode(), pdu);

    CSmsSubmitReport bare(U("000120115101030040") + U("00"));
    EXPECT_EQ(bare.GetUdlPresent(), 0);
    bare.SetText(u"ok");
    EXPECT_EQ(bare.GetUdlPresent(), 1);
    EXPECT_EQ(bare.Encode(), U("000120115101030040") + U("04") + U("02EF35"));
}

}  // namespace
