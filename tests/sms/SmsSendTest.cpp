// The service centre, sending, storing and sending stored messages, and the compose dialog's
// Send and Save&Send, end to end on the simulated phone.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "sms/ComposeSender.h"
#include "sms/codec/ShortMessage.h"
#include "tests/sms/SmsEngineFixture.h"

namespace halvex::test {
namespace {

using phonesim::Fault;
using phonesim::kStoredSent;
using sms::ComposeFields;
using sms::SendOutcome;

std::string Ascii(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

class SmsSendTest : public SmsEngineTest {
protected:
    static Fault AfterPdu(Fault fault) {
        fault.pdu = true;
        return fault;
    }

    // The compose dialog's Send, or Save&Send with `save`, expecting the one box it shows.
    SendOutcome Send(const ComposeFields& fields, bool save, const std::u16string& box) {
        if (!box.empty())
            ExpectBox(box, platform::MB_OK);
        return sms::CComposeSender(engine, session()).Send(fields, save);
    }
};

// The number kept from the phone's answer: with "+" unless the maker flag is 1 and the number
// has a type, and not at all when the flag cannot be read or the answer is not one. No answer at
// all is no failure.
TEST_F(SmsSendTest, TheServiceCentreKeptFollowsTheMakerFlag) {
    // Rows: the flag (none: no key), the reply ("": the phone's own; nullptr: none), the result
    // and the number kept. A Nokia's number without "+" keeps every digit; without a type the
    // "+" is put in front.
    const std::tuple<std::optional<std::uint32_t>, const char*, int, const char16_t*> cases[] = {
        {0, "", 1, u"+447802000332"},
        {1, "", 1, u"447802000332"},
        {std::nullopt, "\r\n+CSCA: \"+111\",145\r\n\r\nOK\r\n", 1, u""},
        {1, "\r\n+CSCA: \"123456\"\r\n\r\nOK\r\n", 1, u"+123456"},
        {1, "\r\n+CSCA: \"123456\",129\r\n\r\nOK\r\n", 1, u"123456"},
        {0, "\r\n+CSCA: \"+4479\"\r\n\r\nOK\r\n", 1, u"+4479"},
        {0, "\r\nERROR\r\n", 0, u""},
        {0, nullptr, 1, u""}};
    for (const auto& [flag, reply, result, centre] : cases) {
        SCOPED_TRACE(reply != nullptr ? reply : "no reply");
        registry().DeleteKey(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType");
        session().RecallPhoneKind();
        if (flag)
            SetMemoryType(*flag);
        if (reply == nullptr || *reply != '\0')
            phone().AddFault(reply ? Fault::RawReply("AT+CSCA?", reply)
                                   : Fault::NoReply("AT+CSCA?"));
        CSmsEngine fresh(session().GetLink());
        EXPECT_EQ(fresh.QueryServiceCentre(session().GetPhoneKind()), result);
        EXPECT_EQ(fresh.GetServiceCentre(), centre);
    }
}

// A send writes the command, the PDU after the prompt and Ctrl-Z, each with a carriage return:
// 3 s, the prompt (one chunk), 3 s after the PDU; then 3 s after Ctrl-Z and the result. (The
// store's writes are the restore's in the command-line tests; the index it lists, the message
// walk's.)
TEST_F(SmsSendTest, SendWritesTheCommandThePduAndCtrlZ) {
    const std::u16string pdu = U16(Submit("+447700900123", u"Hello"));
    const int length = sms::TpduLength(pdu);
    EXPECT_EQ(engine.SendPdu(length, pdu), 1);
    const std::string send = "AT+CMGS=" + std::to_string(length);
    EXPECT_EQ(Writes(), (Strings{send + "\r", Ascii(pdu) + "\r", "\x1a\r"}));
    EXPECT_EQ(Gaps(), (Ms{7000, 4000}));
}

// A service centre of national type goes out international but is stored as given; without one
// ("00") the first TPDU octet (15) keeps its reply-path bit clear.
TEST_F(SmsSendTest, ServiceCentreGoesOutInternationalButIsStoredAsGiven) {
    std::u16string national = U16(Submit("+447700900123", u"Hi")), international = national;
    national[2] = u'8';  // type of address 81
    const std::u16string bare = u"00" + national.substr(2 + 2 * 7);
    const int length = sms::TpduLength(national);
    ASSERT_EQ(engine.SendPdu(length, national) + engine.SendPdu(length, bare) +
                  engine.StorePdu(length, national, sms::Status::StoredSent),
              3);
    EXPECT_EQ((Strings{sent()[0].pdu, sent()[1].pdu, phone().Storage("ME").messages.at(1).pdu}),
              (Strings{Ascii(international), Ascii(bare), Ascii(national)}));
}

// Without the prompt no PDU is written, and Esc ends a prompt that comes late (or the phone would
// take the next command for the text). After the text the phone has a minute to answer, whichever
// way replies are read: its reference or OK is sent, ERROR is refused, and silence is neither (a
// message confirmed after the minute did go out).
TEST_F(SmsSendTest, SendWaitsAMinuteForThePhonesVerdict) {
    const std::u16string pdu = U16(Submit("+447700900123", u"Result"));
    constexpr int kUnsure = CSmsEngine::kSendUnconfirmed;
    // Fault, result, writes, whether the phone sent it.
    const std::tuple<Fault, int, std::size_t, bool> cases[] = {
        {Fault::ErrorReply("AT+CMGS"), 0, 2, false},
        {Fault::NoReply("AT+CMGS"), 0, 2, false},
        {Fault::PausedReply("AT+CMGS", 5000, 0), 0, 2, false},
        {AfterPdu(Fault::ErrorReply("AT+CMGS")), 0, 3, false},
        {AfterPdu(Fault::RawReply("AT+CMGS", "\r\n+CMS ERROR: 500\r\n")), 0, 3, false},
        {AfterPdu(Fault::RawReply("AT+CMGS", "\r\n+CMGS: 7\r\n")), 1, 3, false},
        {AfterPdu(Fault::PausedReply("AT+CMGS", 4000, 0)), 1, 3, true},
        {AfterPdu(Fault::PausedReply("AT+CMGS", 55000, 0)), 1, 3, true},
        {AfterPdu(Fault::PausedReply("AT+CMGS", 70000, 0)), kUnsure, 3, true},
        {AfterPdu(Fault::NoReply("AT+CMGS")), kUnsure, 3, false}};
    for (ExchangeMode mode : {ExchangeMode::Timed, ExchangeMode::Fast}) {
        session().GetLink().SetExchangeMode(mode);
        for (const auto& [fault, result, writes, went] : cases) {
            Forget();
            const std::size_t sentBefore = sent().size();
            phone().AddFault(fault);
            SCOPED_TRACE(testing::Message()
                         << "fast " << (mode == ExchangeMode::Fast) << ", " << int(fault.action)
                         << " after the PDU " << fault.pdu << " " << fault.pauseMs);
            EXPECT_EQ(engine.SendPdu(sms::TpduLength(pdu), pdu), result);
            EXPECT_EQ(Writes().size(), writes);
            EXPECT_EQ(sent().size() - sentBefore, went ? 1u : 0u);
            if (result == kUnsure && !transcript().empty()) {
                // Given up a minute after Ctrl-Z, give or take a read.
                EXPECT_NEAR(double(clock().NowMs() - transcript().back().timeMs), 61000, 2000);
            }
            clock().Advance(80000);  // the late answer is over before the next case
            engine.QueryStorage();
            EXPECT_EQ(commands().empty() ? "" : commands().back(), "AT+CPMS?")
                << "the phone is left taking text";
        }
    }
}

TEST_F(SmsSendTest, OnlyHexPduTextReachesTheLine) {
    for (const char16_t* pdu : {u"0791\r\nAT+CMGD=1", u"00\x1a", u"07", u"0791\x1b"})
        EXPECT_EQ(engine.SendPdu(5, pdu) + engine.StorePdu(5, pdu, sms::Status::StoredSent), 0);
    EXPECT_TRUE(Writes().empty());
}

// A link that drops while the store waits ends the wait with one message, not one per read.
TEST_F(SmsSendTest, StoreEndsWhenTheLinkDrops) {
    const std::u16string pdu = U16(Submit("+447700900123", u"Dropped"));
    const std::uint64_t start = clock().NowMs();
    phone().AddFault(Fault::NoReply("AT+CMGW"));
    phone().AddFault(Fault::DropAt(start + 8000));
    ui().Expect(u"Read port error");
    EXPECT_EQ(engine.StorePdu(sms::TpduLength(pdu), pdu, sms::Status::StoredSent), 0);
    EXPECT_LT(clock().NowMs() - start, 9000u);
}

// The compose checks, in their order, before anything goes out. The number's characters become
// its semi-octets: a sign or a full-width digit would send the message elsewhere; blanks go, and
// twenty digits are the most.
TEST_F(SmsSendTest, TheComposeChecksComeFirst) {
    const std::tuple<std::u16string, std::u16string, const char16_t*> cases[] = {
        {u"", u"", u"Phone number is empty!"},
        {u"123", u"", u"Message is empty!"},
        {u"12+3", u"Hi", u"Phone number is not valid!"},
        {u"１２３", u"Hi", u"Phone number is not valid!"},
        {std::u16string(21, u'9'), u"Hi", u"Phone number is not valid!"},
        {u"+9999 9999 9999 9999 9999", std::u16string(71, u'x'),
         u"Message is longer than 70 characters!"}};
    for (const auto& [recipient, text, box] : cases)
        EXPECT_EQ(Send({recipient, text, false, false}, false, box), SendOutcome::Refused);
    EXPECT_TRUE(commands().empty());
}

// A confirmation that comes late is a send; none at all is told as such, with nothing stored.
TEST_F(SmsSendTest, TheComposeDialogTellsAnUnconfirmedSendApart) {
    const ComposeFields fields{u"+447700900123", u"Late", false, false};
    phone().AddFault(AfterPdu(Fault::PausedReply("AT+CMGS", 4000, 0)));
    EXPECT_EQ(Send(fields, false, u"Message sent ok!"), SendOutcome::Sent);
    phone().AddFault(AfterPdu(Fault::NoReply("AT+CMGS")));
    ExpectNotice(sms::CComposeSender::kUnconfirmedText);
    EXPECT_EQ(Send(fields, true, u""), SendOutcome::Unconfirmed);
    EXPECT_TRUE(phone().Storage("ME").messages.empty());
}

// Save&Send stores the copy only while the second storage's used count is below its total,
// compared as numbers (9 of 10 is room). A failed store is the message walk's; the full storage
// and a failed send are the command line's.
TEST_F(SmsSendTest, SaveAndSendChecksTheSecondStorage) {
    phone().Storage("ME").capacity = 10;
    for (int i = 1; i <= 9; ++i)
        Put("ME", i, kStoredSent, Submit("+447700900001", u"Old"));
    const ComposeFields fields{u"+447700900123", u"Ninth of ten", false, false};
    EXPECT_EQ(Send(fields, true, u"Message sent ok!"), SendOutcome::Sent);
    EXPECT_EQ(Slots(engine.GetOutbox()), Strings{"10@ME"});
}

}  // namespace
}  // namespace halvex::test
