// The reply readers on their own: what the simulated phone cannot be made to send easily, and
// that no input leads them outside the reply.

#include "sms/SmsReplies.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace sms;
using namespace std::string_literals;

TEST(SmsDecimalValue, DigitTextsAndAnythingElse) {
    EXPECT_EQ(DecimalValue(u""), 0);
    EXPECT_EQ(DecimalValue(u"007"), 7);
    EXPECT_EQ(DecimalValue(u"150"), 150);
    EXPECT_EQ(DecimalValue(u"2147483647"), 2147483647);
    // No check for digits: ':' counts as ten.
    EXPECT_EQ(DecimalValue(u"1:"), 20);
    // Long or strange texts wrap around instead of overflowing.
    DecimalValue(u"99999999999999999999999999");
    DecimalValue(std::u16string(40, u'\xFFFF'));
}

TEST(SmsStorageReply, CountsEndWithTheirLineAndNeedBothFields) {
    StorageState two;
    ASSERT_TRUE(ParseStorageReply(u"+CPMS: \"SM\",5,20,\"ME\",12,150\r\n\r\nOK\r\n", two));
    EXPECT_EQ(two.codes, (std::array<int, 3>{2, 1, 1}));
    EXPECT_EQ(two.used, u"12");
    EXPECT_EQ(two.total, u"150");

    StorageState kept;
    kept.used = u"1";
    kept.total = u"2";
    ASSERT_TRUE(ParseStorageReply(u"+CPMS: \"SM\",\"TL\"\r\nOK", kept));
    EXPECT_EQ(kept.codes[1], 3);
    ASSERT_TRUE(ParseStorageReply(u"+CPMS: \"SM\",1,2,\"ME\",7\r\nOK", kept));
    EXPECT_EQ(kept.used, u"1");
    EXPECT_EQ(kept.total, u"2");
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

// Every reader must stay inside the reply and end, whatever the phone sends: all prefixes of
// real replies, and random text made of the characters the readers look for.
TEST(SmsReplyReaders, SurviveAnyInput) {
    const std::u16string samples[] = {
        u"\r\n+CPMS: \"SM\",5,20,\"ME\",12,150,\"SM\",5,20\r\n\r\nOK\r\n",
        u"\r\n+CSCA: \"+123456\",145\r\n\r\nOK\r\n",
        u"\r\n+CMGL: 3,1,,24\r\n0791AB\r\n+CMGL:12,1,,30\r\n0791CD\r\n\r\nOK\r\n",
        u"\r\n+CMGR: 1,,24\r\n0791AB\r\n\r\nOK\r\n",
        u"\r\n+CMGW: 17\r\n\r\nOK\r\n",
    };
    auto runAll = [](std::u16string_view text) {
        StorageState state;
        ParseStorageReply(text, state);
        ParseServiceCentreReply(text);
        ParseMessageList(text);
        ParseReadReply(text);
        ParseStoredIndex(text);
        UpToNull(text);
    };
    for (const auto& sample : samples) {
        for (std::size_t n = 0; n <= sample.size(); ++n) {
            runAll(std::u16string_view(sample).substr(0, n));
        }
    }
    const std::u16string alphabet = u"+CPMSGLRWA:\",\r\n 0179OKE>\x1a\xFFFF\0"s;
    std::mt19937 random(6);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text(random() % 60, u' ');
        for (auto& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        runAll(text);
    }
}
