// The "> " prompt of AT+CMGS: the checks on the PDU (AT+CMGW's prompt is the same; the outbox
// restore stores through it). The prompt, the message reference and a length that counts the
// TPDU only, with or without the service centre, are what every message send test goes through
// (tests/sms, on the echoing default phone); so are Esc ending a prompt and a PDU that would break
// the line. The builder's PDUs are read back with the program's codec by the message row tests.

#include <gtest/gtest.h>

#include "phonesim/Pdu.h"
#include "phonesim/PduBuilder.h"
#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

TEST(PromptFlow, WrongLengthOrBrokenPduIsRefused) {
    SubmitMessage message;
    message.smsc = "+447802000332";
    message.to = "+447700900123";
    message.text = u"Hello";
    const std::string pdu = BuildSubmit(message).value();
    const int length = TpduLength(pdu);
    std::string shortUd = pdu;  // UDL promising more text than the PDU carries
    shortUd.replace(shortUd.size() - 12, 2, "09");
    const std::pair<int, std::string> refused[] = {{length + 1, pdu},
                                                   {length, pdu + "0"},
                                                   {length, "ZZ" + pdu.substr(2)},
                                                   {length, shortUd},
                                                   {140, std::string(100'000, '0')}};
    PhoneHarness h;
    h.At("AT+CMEE=1");
    for (const auto& [n, text] : refused) {
        // The command, the PDU line, then Ctrl-Z, each with its CR, in this order.
        std::string answer = h.At("AT+CMGS=" + std::to_string(n));
        answer += h.At(text);
        EXPECT_EQ(answer + h.At("\x1a"), "\r\n> " + Cms(304)) << text;
    }
    EXPECT_TRUE(h.phone.Sent().empty());
    EXPECT_EQ(h.At("AT+CMGS=0"), Cms(304));
    EXPECT_EQ(h.At("AT"), Ok());
}

}  // namespace
}  // namespace phonesim::test
