#include "sms/MessageList.h"

#include <gtest/gtest.h>

#include <string>

using sms::MessageList;

namespace {

std::u16string Text(const char* prefix, int i) {
    const std::string s = prefix + std::to_string(i);
    return std::u16string(s.begin(), s.end());
}

void Fill(MessageList& list, int count) {
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(list.Append(Text("PDU", i), Text("", i), i % 2 + 1));
    }
}

}  // namespace

TEST(SmsMessageListBox, StartsEmptyWithUnusedSlots) {
    MessageList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Storage(0), -1);
    EXPECT_EQ(list.Pdu(0), u"");
    EXPECT_EQ(list.Storage(-1), -1);
    EXPECT_EQ(list.Index(65), u"");
}

TEST(SmsMessageListBox, HoldsSixtyFiveAndNotOneMore) {
    MessageList list;
    Fill(list, 65);
    EXPECT_TRUE(list.IsFull());
    EXPECT_FALSE(list.Append(u"X", u"1", 1));
    EXPECT_FALSE(list.AppendPdu(u"X"));
    EXPECT_EQ(list.Count(), 65);
    EXPECT_EQ(list.Pdu(64), u"PDU64");
}

TEST(SmsMessageListBox, RemoveMovesLaterEntriesUpTogether) {
    MessageList list;
    Fill(list, 3);
    ASSERT_TRUE(list.Remove(0));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Pdu(0), u"PDU1");
    EXPECT_EQ(list.Index(0), u"1");
    EXPECT_EQ(list.Storage(0), 2);
    EXPECT_EQ(list.Pdu(1), u"PDU2");
    EXPECT_EQ(list.Index(1), u"2");
    EXPECT_EQ(list.Storage(1), 1);
    // The slot that fell out of use reads as unused; a later bare append finds it clean.
    EXPECT_EQ(list.Storage(2), -1);
    ASSERT_TRUE(list.AppendPdu(u"NEW"));
    EXPECT_EQ(list.Index(2), u"");
    EXPECT_EQ(list.Storage(2), -1);
}

TEST(SmsMessageListBox, RemoveRefusesPositionsNotInUse) {
    MessageList list;
    Fill(list, 2);
    EXPECT_FALSE(list.Remove(2));
    EXPECT_FALSE(list.Remove(-1));
    EXPECT_EQ(list.Count(), 2);
    ASSERT_TRUE(list.Remove(1));
    ASSERT_TRUE(list.Remove(0));
    EXPECT_FALSE(list.Remove(0));
}

TEST(SmsMessageListBox, ClearEmptiesEverySlot) {
    MessageList list;
    Fill(list, 65);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.AppendPdu(u"A"));
    EXPECT_EQ(list.Storage(0), -1);
    EXPECT_EQ(list.Index(0), u"");
}

TEST(SmsMessageListBox, DuplicateCheckIgnoresCase) {
    MessageList list;
    list.Append(u"0791abCD", u"1", 2);
    EXPECT_TRUE(list.HoldsPdu(u"0791ABcd"));
    EXPECT_FALSE(list.HoldsPdu(u"0791ABCE"));
    EXPECT_FALSE(list.HoldsPdu(u"0791ABC"));
    list.Remove(0);
    EXPECT_FALSE(list.HoldsPdu(u"0791abCD"));
}
