// The rows of the inbox and outbox pages, built from the engine's lists.

#include <gtest/gtest.h>

#include "sms/ComposeSender.h"
#include "sms/MessageRows.h"
#include "tests/sms/SmsEngineFixture.h"

namespace halvex::test {
namespace {

using sms::MessageList;
using sms::MessageRow;

MessageRow InboxRow(const std::string& pdu) {
    MessageList list;
    list.Append(U16(pdu), u"1", sms::kStorageSim);
    return sms::BuildRow(list, 0, true);
}

TEST(MessageRows, InboxRowShowsDateAsMonthDayYearAndTheNumberWithPlus) {
    const MessageRow row = InboxRow(Deliver("123456", u"Hello", {3, 1, 9, 8, 5, 0, 0}));
    EXPECT_EQ(row.date, u"01/09/03");
    // "+" whatever the type of number; an international one has no second "+".
    EXPECT_EQ(row.number, u"+123456");
    EXPECT_EQ(InboxRow(Deliver("+447700900123", u"x")).number, u"+447700900123");
    EXPECT_EQ(row.sender, u"Unknown");
    EXPECT_EQ(InboxRow(Deliver("1", u"x", {24, 12, 31, 23, 59, 59, 4})).date, u"12/31/24");
}

TEST(MessageRows, LineBreaksBecomeBlanksAndThePrefixGoes) {
    EXPECT_EQ(InboxRow(Deliver("1", u"one\r\ntwo\nthree\rfour")).text, u"one  two three four");
    const MessageRow fm = InboxRow(Deliver("1", u"FM: Alice Smith MSG: Lunch\nat 1?"));
    EXPECT_EQ(fm.text, u"Lunch at 1?");
    EXPECT_EQ(fm.sender, u"Alice Smith");
    const MessageRow msgOnly = InboxRow(Deliver("1", u"MSG: only this"));
    EXPECT_EQ(msgOnly.text, u"only this");
    EXPECT_EQ(msgOnly.sender, u"Unknown");
    EXPECT_EQ(InboxRow(Deliver("1", u"Привет")).text, u"Привет");
}

TEST(MessageRows, OutboxRowsHaveTheDestinationAndNoTimeStamp) {
    MessageList list;
    list.Append(U16(Submit("123456", u"Sent\r\ntext")), u"9", sms::kStoragePhone);
    list.Append(U16(Submit("+447700900123", u"MSG: again")), u"11", sms::kStorageSim);
    const std::vector<MessageRow> rows = sms::BuildRows(list, false);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].idText, u"1");
    EXPECT_EQ(rows[0].number, u"+123456");
    EXPECT_EQ(rows[0].date, u"00/00/00");
    EXPECT_EQ(rows[0].text, u"Sent  text");
    EXPECT_EQ(rows[0].storage, sms::kStoragePhone);
    EXPECT_EQ(rows[1].id, 2);
    EXPECT_EQ(rows[1].number, u"+447700900123");
    EXPECT_EQ(rows[1].text, u"again");
    EXPECT_EQ(rows[1].storage, sms::kStorageSim);
}

TEST(MessageRows, AnUndecodableMessageKeepsItsRowAndPlace) {
    MessageList list;
    list.Append(u"0003", u"1", sms::kStoragePhone);  // TP-MTI 3: no record
    list.Append(U16(Deliver("123", u"after")), u"2", sms::kStorageSim);
    const std::vector<MessageRow> rows = sms::BuildRows(list, true);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_FALSE(rows[0].decoded);
    EXPECT_EQ(rows[0].id, 1);
    EXPECT_EQ(rows[0].storage, sms::kStoragePhone);
    EXPECT_EQ(rows[0].text, u"");
    EXPECT_TRUE(rows[1].decoded);
    EXPECT_EQ(rows[1].text, u"after");
}

TEST(MessageRows, ANameSendsNothingBackAndAnInternationalNumberKeepsItsPlus) {
    const MessageRow bank = InboxRow(Deliver("BANK", u"x"));
    EXPECT_EQ(bank.number, u"BANK");
    ASSERT_NE(bank.message, nullptr);
    EXPECT_EQ(sms::DialBackNumber(bank.message->GetAddress()), u"");
    EXPECT_EQ(sms::DialBackNumber(InboxRow(Deliver("+447700900123", u"x")).message->GetAddress()),
              u"+447700900123");
    EXPECT_EQ(sms::DialBackNumber(InboxRow(Deliver("0777", u"x")).message->GetAddress()), u"0777");
    EXPECT_EQ(sms::TimeText({3, 1, 9, 8, 5, 0, 0}), u"08:05:00");
}

TEST(MessageRows, RelativeValidityInWholeUnits) {
    const std::pair<int, const char16_t*> cases[] = {
        {0, u"5 Minute(s)"}, {143, u"720 Minute(s)"}, {144, u"12 Hour(s)"}, {167, u"24 Hour(s)"},
        {168, u"2 Day(s)"},  {196, u"30 Day(s)"},     {197, u"5 Week(s)"},  {255, u"63 Week(s)"},
    };
    for (const auto& [octet, text] : cases) {
        EXPECT_EQ(sms::RelativeValidityText(static_cast<std::uint8_t>(octet)), text) << octet;
    }
}

}  // namespace
}  // namespace halvex::test
