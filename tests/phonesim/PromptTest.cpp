// The "> " prompt of AT+CMGS and AT+CMGW: the PDU, Ctrl-Z, Esc, and the checks on the PDU.

#include <gtest/gtest.h>

#include "phonesim/Pdu.h"
#include "phonesim/PduBuilder.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

std::string Submit(const std::u16string& text, const std::string& smsc = "+447802000332") {
    SubmitSpec spec;
    spec.smsc = smsc;
    spec.to = "+447700900123";
    spec.text = text;
    return BuildSubmit(spec).value();
}

class PromptFlow : public ::testing::Test {
protected:
    PromptFlow() { h.At("AT+CMEE=1"); }
    // What the link sends: the command, the PDU line, then Ctrl-Z, each with its CR.
    std::string Send(const std::string& command, const std::string& pdu) {
        std::string answer = h.At(command);
        answer += h.At(pdu);
        return answer + h.At("\x1a");
    }
    PhoneHarness h;
};

TEST_F(PromptFlow, SendGivesThePromptThenTheMessageReference) {
    const std::string pdu = Submit(u"Hello");
    const std::string length = std::to_string(TpduLength(pdu));
    EXPECT_EQ(h.At("AT+CMGS=" + length), "\r\n> ");
    EXPECT_EQ(h.At(pdu), "");  // the CR after the PDU is ignored
    EXPECT_EQ(h.At("\x1a"), "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    ASSERT_EQ(h.phone.Sent().size(), 1u);
    EXPECT_EQ(h.phone.Sent()[0].pdu, pdu);
    EXPECT_EQ(h.phone.Sent()[0].reference, 1);
    EXPECT_EQ(Send("AT+CMGS=" + length, pdu), "\r\n> \r\n+CMGS: 2\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT"), "\r\nOK\r\n");  // back in command state
}

TEST_F(PromptFlow, EchoRepeatsThePduButNotCtrlZ) {
    PhoneHarness echoing("default", /*echo=*/true);
    const std::string pdu = Submit(u"Hi");
    const std::string command = "AT+CMGS=" + std::to_string(TpduLength(pdu));
    EXPECT_EQ(echoing.At(command), command + "\r\r\n> ");
    EXPECT_EQ(echoing.Send(pdu + "\r\x1a\r"), pdu + "\r\r\n+CMGS: 1\r\n\r\nOK\r\n");
}

TEST_F(PromptFlow, LineBreaksInsideThePduAreIgnored) {
    const std::string pdu = Submit(u"Split");
    h.At("AT+CMGS=" + std::to_string(TpduLength(pdu)));
    EXPECT_EQ(h.Send(pdu.substr(0, 10) + "\r\n" + pdu.substr(10) + "\x1a"),
              "\r\n+CMGS: 1\r\n\r\nOK\r\n");
    EXPECT_EQ(h.phone.Sent().at(0).pdu, pdu);
    EXPECT_TRUE(h.phone.Transcript().back().pdu);
    EXPECT_EQ(h.phone.Transcript().back().line, pdu);
}

TEST_F(PromptFlow, EscCancelsWithoutSending) {
    h.At("AT+CMGS=20");
    EXPECT_EQ(h.Send("0011\x1b"), "\r\nOK\r\n");
    EXPECT_TRUE(h.phone.Sent().empty());
    EXPECT_EQ(h.At("AT"), "\r\nOK\r\n");
}

TEST_F(PromptFlow, WrongLengthOrBrokenPduIsRefused) {
    const std::string pdu = Submit(u"Hello");
    const int length = TpduLength(pdu);
    EXPECT_EQ(Send("AT+CMGS=" + std::to_string(length + 1), pdu), "\r\n> \r\n+CMS ERROR: 304\r\n");
    EXPECT_EQ(Send("AT+CMGS=" + std::to_string(length), pdu + "0"),
              "\r\n> \r\n+CMS ERROR: 304\r\n");
    EXPECT_EQ(Send("AT+CMGS=" + std::to_string(length), "ZZ" + pdu.substr(2)),
              "\r\n> \r\n+CMS ERROR: 304\r\n");
    // UDL promising more text than the PDU carries.
    std::string shortUd = pdu;
    shortUd.replace(shortUd.size() - 12, 2, "09");
    EXPECT_EQ(Send("AT+CMGS=" + std::to_string(length), shortUd), "\r\n> \r\n+CMS ERROR: 304\r\n");
    EXPECT_TRUE(h.phone.Sent().empty());
    EXPECT_EQ(h.At("AT+CMGS=0"), "\r\n+CMS ERROR: 304\r\n");
}

TEST_F(PromptFlow, TheLengthCountsTheTpduOnlyWhateverTheServiceCentreField) {
    const std::string own = Submit(u"Hello", "");  // "00": the phone's own centre
    ASSERT_EQ(own.substr(0, 2), "00");
    EXPECT_EQ(Send("AT+CMGS=" + std::to_string(own.size() / 2 - 1), own),
              "\r\n> \r\n+CMGS: 1\r\n\r\nOK\r\n");
}

TEST_F(PromptFlow, StoreWritesToTheSecondStorage) {
    h.At("AT+CPMS=\"ME\",\"SM\",\"ME\"");
    const std::string pdu = Submit(u"Keep me");
    const std::string length = std::to_string(TpduLength(pdu));
    EXPECT_EQ(Send("AT+CMGW=" + length + ",3", pdu), "\r\n> \r\n+CMGW: 5\r\n\r\nOK\r\n");
    EXPECT_EQ(h.phone.Storage("SM").messages.at(5).status, kStoredSent);
    EXPECT_EQ(h.phone.Storage("SM").messages.at(5).pdu, pdu);
    EXPECT_EQ(Send("AT+CMGW=" + length, pdu), "\r\n> \r\n+CMGW: 6\r\n\r\nOK\r\n");
    EXPECT_EQ(h.phone.Storage("SM").messages.at(6).status, kStoredUnsent);
    EXPECT_TRUE(h.phone.Sent().empty());
    EXPECT_EQ(h.At("AT+CMGW=" + length + ",7"), "\r\n+CMS ERROR: 304\r\n");
}

TEST_F(PromptFlow, FullStorageRefusesAStoreBeforeThePrompt) {
    h.phone.Load(ShippedProfile("full"));
    h.phone.State().echo = false;
    h.At("AT+CMEE=1");
    EXPECT_EQ(h.At("AT+CMGW=20,3"), "\r\n+CMS ERROR: 322\r\n");
    h.At("AT+CMEE=0");
    EXPECT_EQ(h.At("AT+CMGW=20,3"), "\r\nERROR\r\n");
}

TEST(PduChecks, SplitAndLengthSurviveAnyText) {
    EXPECT_FALSE(SplitPdu("").has_value());
    EXPECT_FALSE(SplitPdu("0").has_value());
    EXPECT_FALSE(SplitPdu("FF00").has_value());    // service-centre field longer than the text
    EXPECT_FALSE(SplitPdu("0C9144").has_value());  // and longer than any address
    EXPECT_EQ(TpduLength("garbage"), 0);
    EXPECT_EQ(TpduLength("0001"), 1);
    EXPECT_FALSE(WellFormedTpdu({}));
    EXPECT_FALSE(WellFormedTpdu({0x11, 0x00, 0xFF}));  // address length beyond any number
    EXPECT_FALSE(WellFormedTpdu({0x03}));              // neither DELIVER nor SUBMIT
    // A header length pointing past the user data.
    EXPECT_FALSE(
        WellFormedTpdu({0x51, 0x00, 0x01, 0x81, 0xF1, 0x00, 0x08, 0xAA, 0x02, 0x05, 0x00}));
}

TEST(PduChecks, BuilderMakesTheTextbookPdus) {
    SubmitSpec submit;
    submit.smsc = "";
    submit.to = "+447700900123";
    submit.text = u"hello";
    EXPECT_EQ(BuildSubmit(submit).value(), "0011000C914477000910320000AA05E8329BFD06");
    DeliverSpec deliver;
    deliver.smsc = "+447802000332";
    deliver.from = "BANK";
    deliver.time = ParseSmsTime("2024-03-02 12:00:45-01:15").value();
    deliver.text = u"\u20ac";
    deliver.alphabet = Alphabet::Ucs2;
    EXPECT_EQ(BuildDeliver(deliver).value(),
              "07914487200030230407D0C2A073090008423020210054580220AC");
    deliver.text = std::u16string(71, u'x');
    EXPECT_FALSE(BuildDeliver(deliver).has_value());
    EXPECT_FALSE(ParseSmsTime("2024-13-02 12:00:45+00:00").has_value());
}

}  // namespace
}  // namespace phonesim::test
