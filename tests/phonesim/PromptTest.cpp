// The "> " prompt of AT+CMGS: the PDU, Ctrl-Z, Esc, and the checks on the PDU (AT+CMGW's prompt is
// the same; the outbox restore stores through it). The builder's PDUs are read back with the
// program's codec by the message row tests.

#include <gtest/gtest.h>

#include "phonesim/Pdu.h"
#include "phonesim/PduBuilder.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

std::string Submit(const std::u16string& text, const std::string& smsc = "+447802000332") {
    SubmitMessage message;
    message.smsc = smsc;
    message.to = "+447700900123";
    message.text = text;
    return BuildSubmit(message).value();
}

class PromptFlow : public ::testing::Test {
protected:
    PromptFlow() { h.At("AT+CMEE=1"); }
    // The command, the PDU line, then Ctrl-Z, each with its CR: all that is answered.
    std::string Send(const std::string& command, const std::string& pdu) {
        std::string answer = h.At(command);  // one statement each: in this order
        answer += h.At(pdu);
        return answer + h.At("\x1a");
    }
    static std::string Length(const std::string& pdu) { return std::to_string(TpduLength(pdu)); }
    PhoneHarness h;
};

TEST_F(PromptFlow, SendGivesThePromptThenTheMessageReference) {
    const std::string pdu = Submit(u"Hello");
    EXPECT_EQ(h.At("AT+CMGS=" + Length(pdu)), "\r\n> ");
    EXPECT_EQ(h.At(pdu), "");  // the CR after the PDU is ignored
    EXPECT_EQ(h.At("\x1a"), Info({"+CMGS: 1"}));
    // The length counts the TPDU only, whatever the service-centre field ("00": the phone's own).
    const std::string own = Submit(u"Hello", "");
    ASSERT_EQ(own.substr(0, 2), "00");
    EXPECT_EQ(Send("AT+CMGS=" + std::to_string(own.size() / 2 - 1), own),
              "\r\n> " + Info({"+CMGS: 2"}));
    EXPECT_EQ(h.At("AT"), Ok());
    ASSERT_EQ(h.phone.Sent().size(), 2u);
    EXPECT_EQ(h.phone.Sent()[0].pdu, pdu);

    // Echo repeats the PDU but not Ctrl-Z.
    PhoneHarness echoing("default", /*echo=*/true);
    EXPECT_EQ(echoing.At("AT+CMGS=" + Length(pdu)), "AT+CMGS=" + Length(pdu) + "\r\r\n> ");
    EXPECT_EQ(echoing.Send(pdu + "\r\x1a\r"), pdu + "\r" + Info({"+CMGS: 1"}));
}

// Esc ending a prompt, and a PDU that would break the line, are the message send tests'.

TEST_F(PromptFlow, WrongLengthOrBrokenPduIsRefused) {
    const std::string pdu = Submit(u"Hello");
    const int length = TpduLength(pdu);
    std::string shortUd = pdu;  // UDL promising more text than the PDU carries
    shortUd.replace(shortUd.size() - 12, 2, "09");
    const std::pair<int, std::string> refused[] = {{length + 1, pdu},
                                                   {length, pdu + "0"},
                                                   {length, "ZZ" + pdu.substr(2)},
                                                   {length, shortUd},
                                                   {140, std::string(100'000, '0')}};
    for (const auto& [n, text] : refused)
        EXPECT_EQ(Send("AT+CMGS=" + std::to_string(n), text), "\r\n> " + Cms(304)) << text;
    EXPECT_TRUE(h.phone.Sent().empty());
    EXPECT_EQ(h.At("AT+CMGS=0"), Cms(304));
    EXPECT_EQ(h.At("AT"), Ok());
}

}  // namespace
}  // namespace phonesim::test
