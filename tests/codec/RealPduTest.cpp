// PDUs published by others, every field checked against a decoding done by hand.

#include <gtest/gtest.h>

#include <algorithm>

#include "sms/codec/GsmAlphabet.h"
#include "sms/codec/PduReader.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsDeliver.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsSubmit.h"

namespace {

std::u16string Upper(std::u16string hex) {
    std::transform(hex.begin(), hex.end(), hex.begin(),
                   [](char16_t c) { return c >= u'a' && c <= u'f' ? char16_t(c - 32) : c; });
    return hex;
}

CSmsDeliver Deliver(std::u16string_view pdu) {
    const auto m = DecodeMessage(pdu, true);
    const auto* deliver = dynamic_cast<const CSmsDeliver*>(m.get());
    EXPECT_NE(deliver, nullptr);
    return deliver != nullptr ? *deliver : CSmsDeliver();
}

CSmsSubmit Submit(std::u16string_view pdu) {
    const auto m = DecodeMessage(pdu, false);
    const auto* submit = dynamic_cast<const CSmsSubmit*>(m.get());
    EXPECT_NE(submit, nullptr);
    return submit != nullptr ? *submit : CSmsSubmit();
}

void ExpectFlags(const CSmsDeliver& m, int mms, int sri, int rp) {
    EXPECT_EQ(m.GetMessageType(), 0);
    EXPECT_EQ(m.GetMoreMessages(), mms);
    EXPECT_EQ(m.GetStatusReportIndication(), sri);
    EXPECT_EQ(m.GetReplyPath(), rp);
}

void ExpectFlags(const CSmsSubmit& m, int rd, int vpf, int srr, int rp, int mr) {
    EXPECT_EQ(m.GetMessageType(), 1);
    EXPECT_EQ(m.GetRejectDuplicates(), rd);
    EXPECT_EQ(m.GetValidityPeriodFormat(), vpf);
    EXPECT_EQ(m.GetValidity().format, vpf);
    EXPECT_EQ(m.GetStatusReportRequest(), srr);
    EXPECT_EQ(m.GetReplyPath(), rp);
    EXPECT_EQ(m.GetMessageReference(), mr);
}

// Lars Pettersson, "SMS and the PDU format" (dreamfabric.com): the received-message example.
TEST(CodecRealPdu, DreamfabricDeliverHellohello) {
    constexpr char16_t kPdu[] =
        u"07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"27381000015"}));
    ExpectFlags(m, 1, 0, 0);
    // Type octet C8: type of number 4 (subscriber), numbering plan 8 (national).
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{4, 8, u"27838890001"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    // 99-03-29 15:16:59, zone octet 80: eight quarter hours east.
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{99, 3, 29, 15, 16, 59, 120, 1}));
    EXPECT_EQ(m.GetHeader(), u"");
    EXPECT_EQ(m.GetText(), u"hellohello");
    EXPECT_EQ(m.Encode(), kPdu);
}

// dreamfabric.com, same article: the message sent with AT+CMGS.
TEST(CodecRealPdu, DreamfabricSubmitHellohello) {
    constexpr char16_t kPdu[] = u"0011000B916407281553F80000AA0AE8329BFD4697D9EC37";
    const CSmsSubmit m = Submit(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), SmsAddress{});
    ExpectFlags(m, 0, kValidityRelative, 0, 0, 0);
    EXPECT_EQ(m.GetValidity().relative, 0xAA);
    EXPECT_EQ(m.GetDestination(), (SmsAddress{1, 1, u"46708251358"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetText(), u"hellohello");
    EXPECT_EQ(m.Encode(), kPdu);
}

// developershome.com SMS tutorial, sending a message with AT+CMGS in PDU mode.
TEST(CodecRealPdu, DevelopersHomeSubmit) {
    constexpr char16_t kPdu[] =
        u"07915892000000F001000B915892214365F7000021493A283D0795C3F33C88FE06CDCB6E32885EC6D341EDF"
        u"27C1E3E97E72E";
    const CSmsSubmit m = Submit(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"85290000000"}));
    ExpectFlags(m, 0, kValidityNone, 0, 0, 0);
    EXPECT_EQ(m.GetDestination(), (SmsAddress{1, 1, u"85291234567"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetText(), u"It is easy to send text messages.");
    EXPECT_EQ(sms::TpduLength(kPdu), 42);
    EXPECT_EQ(m.Encode(), kPdu);
}

// Android Open Source Project, telephony GsmSmsTest.testAddressing (first PDU).
TEST(CodecRealPdu, AospAddressing) {
    constexpr char16_t kPdu[] = u"07914151551512f2040B916105551511f100006060605130308A04D4F29C0E";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"14155551212"}));
    ExpectFlags(m, 1, 0, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"16505551111"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    // Zone octet 8A: tens 2 with the west bit, units 8: 28 quarter hours west (PDT).
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{6, 6, 6, 15, 3, 3, 420, 0}));
    EXPECT_EQ(m.GetText(), u"Test");
    EXPECT_EQ(m.Encode(), Upper(kPdu));
}

// AOSP GsmSmsTest.testAddressing (second PDU): DCS 03, class 3 in the default alphabet.
TEST(CodecRealPdu, AospClassThreeSubject) {
    constexpr char16_t kPdu[] =
        u"07914151551512f2040B916105551511f100036060924180008A0DA8695DAC2E8FE9296A794E07";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"14155551212"}));
    ExpectFlags(m, 1, 0, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"16505551111"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0x03);
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{6, 6, 29, 14, 8, 0, 420, 0}));
    EXPECT_EQ(m.GetText(), u"(Subject)Test");
    EXPECT_EQ(m.Encode(), Upper(kPdu));
}

// AOSP GsmSmsTest.testEmailGateway: a three-digit short code sender.
TEST(CodecRealPdu, AospEmailGateway) {
    constexpr char16_t kPdu[] =
        u"07914151551512f204038105f300007011103164638a28e6f71b50c687db7076d9357eb7412f7a794e07cd"
        u"eb6275794c07bde8e5391d247e93f3";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"14155551212"}));
    ExpectFlags(m, 1, 0, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{0, 1, u"503"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{7, 11, 1, 13, 46, 36, 420, 0}));
    EXPECT_EQ(m.GetText(), u"foo@example.com /test subject /test body");
    EXPECT_EQ(m.Encode(), Upper(kPdu));
}

// AOSP GsmSmsTest.testCPHSVoiceMail: the set and clear indications, alphanumeric senders
// (type 5, plan 0) whose octets come out as semi-octet digits.
TEST(CodecRealPdu, AospCphsVoiceMailIndications) {
    constexpr char16_t kSet[] = u"07912160130310f20404d0110041006060627171118a0120";
    constexpr char16_t kClear[] = u"07912160130310f20404d0100041006060627171118a0120";
    for (const auto& [pdu, digits] : {std::pair{kSet, u"1100"}, std::pair{kClear, u"0100"}}) {
        const CSmsDeliver m = Deliver(pdu);
        EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"12063130012"}));
        ExpectFlags(m, 1, 0, 0);
        EXPECT_EQ(m.GetOriginator(), (SmsAddress{5, 0, digits}));
        EXPECT_EQ(m.GetPid(), 0x41);
        EXPECT_EQ(m.GetDcs(), 0);
        EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{6, 6, 26, 17, 17, 11, 420, 0}));
        EXPECT_EQ(m.GetText(), u" ");
        EXPECT_EQ(m.Encode(), Upper(pdu));
    }
}

// AOSP GsmSmsTest.testUdh: an MMS notification (WAP push), 8-bit data with a header that
// carries port numbers and a concatenation element.
TEST(CodecRealPdu, AospWapPushWithHeader) {
    constexpr char16_t kPdu[] =
        u"07914140279510F6440A8111110301003BF56080207130138A8C0B05040B8423F000033702010106276170"
        u"706C69636174696F6E2F766E642E7761702E6D6D732D6D65737361676500AF848D0185B4848C8298524F34"
        u"7839776F7547514D4141424C3641414141536741415A4B554141414141008D908918802B31363530323438"
        u"303034372F545950453D504C4D4E008A808E022B918805810306977F83687474703A2F2F36";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"14047259016"}));
    ExpectFlags(m, 1, 0, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{0, 1, u"1111301000"}));
    EXPECT_EQ(m.GetPid(), 0x3B);
    EXPECT_EQ(m.GetDcs(), 0xF5);  // 8-bit data, class 1
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{6, 8, 2, 17, 3, 31, 420, 0}));
    // Ports 2948 (WAP push) and 9200; part 1 of 2 of message 0x37.
    EXPECT_EQ(m.GetHeader(),
              std::u16string(u"\x05\x04\x0B\u0084\x23\u00F0\x00\x03\x37\x02\x01", 11));
    const std::u16string text = m.GetText();
    EXPECT_EQ(text.size(), 128u);
    EXPECT_EQ(text.substr(3, 31), u"application/vnd.wap.mms-message");
    EXPECT_EQ(text.substr(text.size() - 8), u"http://6");
    EXPECT_EQ(m.UserDataLength(m.GetDcs()), 140);
    EXPECT_EQ(m.Encode(), kPdu);
}

// Diafaan's online PDU decoder example: an alphanumeric sender "diafaan" (type 5).
TEST(CodecRealPdu, DiafaanAlphanumericSender) {
    constexpr char16_t kPdu[] =
        u"0791448720003023240DD0E474D81C0EBB010000111011315214000BE474D81C0EBB5DE3771B";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"447802000332"}));
    ExpectFlags(m, 1, 1, 0);
    // Thirteen semi-octets read as digits, nibbles above 9 as ':' to '>'.
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{5, 0, u"4>478=<1>0;;1"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{11, 1, 11, 13, 25, 41, 0, 1}));
    EXPECT_EQ(m.GetText(), u"diafaan.com");
    // The same address octets, read as packed septets, are the sender's name.
    CPduReader name(u"E474D81C0EBB01");
    name.SetSeptetOrigin();
    EXPECT_EQ(GsmToText(name.ReadSeptets(7)), u"diafaan");
    // Written back, the thirteenth semi-octet gets the F filler instead of the 0 it came with.
    std::u16string expected = kPdu;
    expected[34] = u'F';
    EXPECT_EQ(m.Encode(), expected);
}

// Diafaan's status report example: message 214 to +31628870634 delivered.
TEST(CodecRealPdu, DiafaanStatusReport) {
    constexpr char16_t kPdu[] = u"0006D60B911326880736F4111011719551401110117195714000";
    const auto record = DecodeMessage(kPdu, true);
    const auto* m = dynamic_cast<const CSmsStatusReport*>(record.get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->GetServiceCentre(), SmsAddress{});
    EXPECT_EQ(m->GetMessageType(), 2);
    EXPECT_EQ(m->GetMoreMessages(), 1);
    EXPECT_EQ(m->GetStatusReportQualifier(), 0);
    EXPECT_EQ(m->GetMessageReference(), 0xD6);
    EXPECT_EQ(m->GetRecipient(), (SmsAddress{1, 1, u"31628870634"}));
    EXPECT_EQ(m->GetTimeStamp(), (SmsDateTime{11, 1, 11, 17, 59, 15, 60, 1}));
    EXPECT_EQ(m->GetDischargeTime(), (SmsDateTime{11, 1, 11, 17, 59, 17, 60, 1}));
    EXPECT_EQ(m->GetStatus(), 0);
    EXPECT_EQ(m->Encode(), kPdu);
}

// Diafaan's examples, a delivery to the same Dutch number with status report indication.
TEST(CodecRealPdu, DiafaanTextMessage) {
    constexpr char16_t kPdu[] =
        u"07911326040011F5240B911326880736F40000111081017362401654747A0E4ACF41F4329E0E6A97E7F3F0"
        u"B90C8A01";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"31624000115"}));
    ExpectFlags(m, 1, 1, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"31628870634"}));
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{11, 1, 18, 10, 37, 26, 60, 1}));
    EXPECT_EQ(m.GetText(), u"This is text message 1");
    EXPECT_EQ(m.Encode(), kPdu);
}

// A widely reproduced PDU-mode tutorial example (Dutch operator, 2002). Its zone octet 08 has
// only the west bit set: zero minutes, sign 0.
TEST(CodecRealPdu, TutorialHowAreYou) {
    constexpr char16_t kPdu[] =
        u"07911326040000F0040B911346610089F60000208062917314080CC8F71D14969741F977FD07";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"31624000000"}));
    ExpectFlags(m, 1, 0, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"31641600986"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0);
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{2, 8, 26, 19, 37, 41, 0, 0}));
    EXPECT_EQ(m.GetText(), u"How are you?");
    EXPECT_EQ(m.Encode(), kPdu);
}

// python-gsmmodem (François Aucamp), test_pdu.py: a ten-digit service centre.
TEST(CodecRealPdu, GsmModemTest2) {
    constexpr char16_t kPdu[] = u"06917228195339040B917228214365F700003130805120618005D4F29C2E03";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"2782913593"}));
    ExpectFlags(m, 1, 0, 0);
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"27821234567"}));
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{13, 3, 8, 15, 2, 16, 120, 1}));
    EXPECT_EQ(m.GetText(), u"Test2");
    EXPECT_EQ(m.Encode(), kPdu);
}

// python-gsmmodem test_pdu.py: "@{tést}!" with braces from the extension table. Escapes are
// not interpreted: each shows as U+00AC followed by the base character of its code.
TEST(CodecRealPdu, GsmModemExtensionCharacters) {
    constexpr char16_t kPdu[] =
        u"06917228195339040B917228214365F70000313062315352800A800D8A5E98D337A910";
    const CSmsDeliver m = Deliver(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"2782913593"}));
    EXPECT_EQ(m.GetOriginator(), (SmsAddress{1, 1, u"27821234567"}));
    EXPECT_EQ(m.GetTimeStamp(), (SmsDateTime{13, 3, 26, 13, 35, 25, 120, 1}));
    EXPECT_EQ(m.GetText(), u"@\u00AC(t\u00E9st\u00AC)!");
    // U+00AC has no code of its own: written back, each escape becomes code 0x10.
    const std::u16string again = m.Encode();
    EXPECT_EQ(again.substr(0, 52), std::u16string(kPdu).substr(0, 52));
    EXPECT_EQ(CSmsDeliver(again).GetText(), m.GetText());
}

// python-gsmmodem test_pdu.py: encoding "Hello" with no service centre and no validity.
TEST(CodecRealPdu, GsmModemSubmitHello) {
    constexpr char16_t kPdu[] = u"0001000B917228001011F1000005C8329BFD06";
    const CSmsSubmit m = Submit(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), SmsAddress{});
    ExpectFlags(m, 0, kValidityNone, 0, 0, 0);
    EXPECT_EQ(m.GetDestination(), (SmsAddress{1, 1, u"27820001111"}));
    EXPECT_EQ(m.GetText(), u"Hello");
    EXPECT_EQ(m.Encode(), kPdu);
}

// python-gsmmodem test_pdu.py: a UCS2 SMS-SUBMIT without validity.
TEST(CodecRealPdu, GsmModemSubmitUcs2) {
    constexpr char16_t kPdu[] = u"07914346466554F601000B914316565811F9000806304253F68449";
    const CSmsSubmit m = Submit(kPdu);
    EXPECT_EQ(m.GetServiceCentre(), (SmsAddress{1, 1, u"34646456456"}));
    ExpectFlags(m, 0, kValidityNone, 0, 0, 0);
    EXPECT_EQ(m.GetDestination(), (SmsAddress{1, 1, u"34616585119"}));
    EXPECT_EQ(m.GetPid(), 0);
    EXPECT_EQ(m.GetDcs(), 0x08);
    EXPECT_EQ(m.GetText(), u"\u3042\u53F6\u8449");
    EXPECT_EQ(m.Encode(), kPdu);
}

}  // namespace
