// The reply readers on their own: what the simulated phone cannot be made to send easily. That no
// input leads them outside the reply is the fuzz target's to prove.

#include "sms/SmsReplies.h"

#include <gtest/gtest.h>

#include <string>

using namespace sms;

TEST(SmsDecimalValue, DigitTextsAndAnythingElse) {
    EXPECT_EQ(DecimalValue(u""), 0);
    EXPECT_EQ(DecimalValue(u"007"), 7);
    EXPECT_EQ(DecimalValue(u"150"), 150);
    EXPECT_EQ(DecimalValue(u"2147483647"), 2147483647);
    // No check for digits: ':' counts as ten.
    EXPECT_EQ(DecimalValue(u"1:"), 20);
    // Longer texts wrap around modulo 2^32 instead of overflowing.
    EXPECT_EQ(DecimalValue(u"4294967297"), 1);
}

TEST(SmsMessageListReply, BreakOffsAndUnsolicitedLines) {
    const char16_t* broken[] = {u"+CMGL:",
                                u"+CMGL: 4",
                                u"+CMGL: 4\r\n,1,,2\r\n00\r\n",
                                u"+CMGL: 4,1,,24\r\n",
                                u"+CMGL: 4,1,,24\r\n0791AB",
                                u"+CMGL: 1,1,,0\r\n\r\nOK\r\n"};
    for (std::size_t i = 0; i < std::size(broken); ++i) {
        EXPECT_TRUE(ParseMessageList(broken[i]).empty()) << "reply " << i;
    }
    const auto list = ParseMessageList(
        u"+CMGL: 1,1,,2\r\nAA\r\n\r\n+CMTI: \"SM\",3\r\n+CMGL:   2 ,1,,2\r\nBB\r\n\r\nOK\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].index, u"2");
    EXPECT_EQ(list[1].pdu, u"BB");
}

TEST(SmsStoredIndex, DigitsAfterTheMarkerOrNothing) {
    EXPECT_EQ(ParseStoredIndex(u"\r\n+CMGW: 17\r\n\r\nOK\r\n"), u"17");
    EXPECT_EQ(ParseStoredIndex(u"+CMGW:5\r\nOK"), u"5");
    EXPECT_EQ(ParseStoredIndex(u"\r\nOK\r\n"), u"");
    EXPECT_EQ(ParseStoredIndex(u"+CMGW: "), u"");
}
