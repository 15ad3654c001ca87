// The reply readers on their own: what the simulated phone cannot be made to send easily. That no
// input leads them outside the reply is the fuzz target's to prove.

#include "sms/SmsReplies.h"

#include <gtest/gtest.h>

#include <string>

using namespace sms;

// Without the blank after the colon the index is still the whole number: a delete of that entry
// must reach message 12, not message 2.
TEST(SmsMessageListReply, BreakOffsUnsolicitedLinesAndIndicesWithoutBlank) {
    for (const char16_t* broken : {u"+CMGL:", u"+CMGL: 4", u"+CMGL: 4\r\n,1,,2\r\n00\r\n",
                                   u"+CMGL: 4,1,,24\r\n0791AB", u"+CMGL: 1,1,,0\r\n\r\nOK\r\n"}) {
        EXPECT_TRUE(ParseMessageList(broken).empty()) << std::string(broken, broken + 8);
    }
    const auto list = ParseMessageList(
        u"+CMGL: 1,1,,2\r\nAA\r\n\r\n+CMTI: \"SM\",3\r\n+CMGL:   2 ,1,,2\r\nBB\r\n"
        u"+CMGL:12,1,,2\r\nCC\r\n\r\nOK\r\n");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[1].index + u"=" + list[1].pdu + u" " + list[2].index, u"2=BB 12");
}
