// PDUs published by others, every field checked against a decoding done by hand.

#include <gtest/gtest.h>

#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsSubmit.h"

namespace {

template <typename Record>
Record Decoded(std::u16string_view pdu, bool incoming) {
    const auto m = DecodeMessage(pdu, incoming);
    const auto* record = dynamic_cast<const Record*>(m.get());
    EXPECT_NE(record, nullptr);
    return record != nullptr ? *record : Record(std::u16string_view());
}

struct Delivered {
    const char16_t* pdu;
    SmsAddress centre;
    int mms, sri, rp;
    SmsAddress originator;
    int pid, dcs;
    SmsDateTime stamp;
    const char16_t* text;
};

// Zones: 0x80 is 8 quarter hours east; 0x8A is 28 west (tens 2 with the west bit, units 8);
// 0x08 has only the west bit: zero minutes, sign 0.
// clang-format off
const Delivered kDelivered[] = {
    // Lars Pettersson, "SMS and the PDU format" (dreamfabric.com), the received message.
    // Type octet C8: type of number 4, numbering plan 8.
    {u"07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37",
     {1, 1, u"27381000015"}, 1, 0, 0, {4, 8, u"27838890001"}, 0, 0,
     {99, 3, 29, 15, 16, 59, 120, 1}, u"hellohello"},
    // AOSP GsmSmsTest.testCPHSVoiceMail, the clear indication: an alphanumeric sender (type 5,
    // plan 0) whose four semi-octets carry the indicator; as 7-bit codes they are two
    // characters (0x10 Delta, then '@'). TP-PID 0x41.
    {u"07912160130310F20404D0100041006060627171118A0120",
     {1, 1, u"12063130012"}, 1, 0, 0, {5, 0, u"\u0394@"}, 0x41, 0,
     {6, 6, 26, 17, 17, 11, 420, 0}, u" "},
    // AOSP GsmSmsTest.testUcs2: UCS2 text, zone 32 quarter hours west.
    {u"07912160130300F4040B914151245584F600087010807121352B10212200A900AE00680065006C006C006F",
     {1, 1, u"12063130004"}, 1, 0, 0, {1, 1, u"14154255486"}, 0, 8,
     {7, 1, 8, 17, 12, 53, 480, 0}, u"\u2122\u00A9\u00AEhello"},
    // Diafaan's online PDU decoder example: the alphanumeric sender "diafaan" (type 5), seven
    // 7-bit codes in thirteen semi-octets.
    {u"0791448720003023240DD0E474D81C0EBB010000111011315214000BE474D81C0EBB5DE3771B",
     {1, 1, u"447802000332"}, 1, 1, 0, {5, 0, u"diafaan"}, 0, 0,
     {11, 1, 11, 13, 25, 41, 0, 1}, u"diafaan.com"},
};
// clang-format on

TEST(CodecRealPdu, Deliveries) {
    for (const Delivered& e : kDelivered) {
        SCOPED_TRACE(std::string(e.pdu, e.pdu + std::char_traits<char16_t>::length(e.pdu)));
        const auto m = Decoded<CSmsDeliver>(e.pdu, true);
        EXPECT_EQ(std::tuple(m.GetServiceCentre(), m.GetMessageType(), m.GetMoreMessages(),
                             m.GetStatusReportIndication(), m.GetReplyPath(), m.GetOriginator(),
                             m.GetPid(), m.GetDcs(), m.GetTimeStamp(), m.GetHeader(), m.GetText()),
                  std::tuple(e.centre, 0, e.mms, e.sri, e.rp, e.originator, e.pid, e.dcs, e.stamp,
                             u"", e.text));
        EXPECT_EQ(m.Encode(), e.pdu);
    }
}

struct Submitted {
    const char16_t* pdu;
    SmsAddress centre;
    int rd, vpf, srr, rp, mr;
    SmsAddress destination;
    int dcs, relative;
    const char16_t* text;
};

// clang-format off
const Submitted kSubmitted[] = {
    // dreamfabric.com, the message sent with AT+CMGS.
    {u"0011000B916407281553F80000AA0AE8329BFD4697D9EC37",
     {}, 0, kValidityRelative, 0, 0, 0, {1, 1, u"46708251358"}, 0, 0xAA, u"hellohello"},
    // developershome.com SMS tutorial, sending with AT+CMGS in PDU mode (TPDU length 42).
    {u"07915892000000F001000B915892214365F7000021493A283D0795C3F33C88FE06CDCB6E32885EC6D341EDF"
     u"27C1E3E97E72E",
     {1, 1, u"85290000000"}, 0, kValidityNone, 0, 0, 0, {1, 1, u"85291234567"}, 0, 0,
     u"It is easy to send text messages."},
    // Diafaan's PDU examples: a message with a status report request and relative validity.
    {u"07911326040000F0310D0B911326880736F40000A90FF7FBDD454E87CDE1B0DB357EB701",
     {1, 1, u"31624000000"}, 0, kValidityRelative, 1, 0, 13, {1, 1, u"31628870634"}, 0, 0xA9,
     u"www.diafaan.com"},
};
// clang-format on

TEST(CodecRealPdu, Submissions) {
    for (const Submitted& e : kSubmitted) {
        SCOPED_TRACE(std::string(e.pdu, e.pdu + std::char_traits<char16_t>::length(e.pdu)));
        const auto m = Decoded<CSmsSubmit>(e.pdu, false);
        EXPECT_EQ(std::tuple(m.GetServiceCentre(), m.GetMessageType(), m.GetRejectDuplicates(),
                             m.GetValidityPeriodFormat(), m.GetValidity().relative,
                             m.GetStatusReportRequest(), m.GetReplyPath(), m.GetMessageReference(),
                             m.GetDestination(), m.GetPid(), m.GetDcs(), m.GetText()),
                  std::tuple(e.centre, 1, e.rd, e.vpf, e.relative, e.srr, e.rp, e.mr, e.destination,
                             0, e.dcs, e.text));
        EXPECT_EQ(m.Encode(), e.pdu);
    }
    EXPECT_EQ(sms::TpduLength(kSubmitted[1].pdu), 42);
}

}  // namespace
