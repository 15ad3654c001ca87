// The rows of the inbox and outbox pages, built from the engine's lists. The rows of the shipped
// profile, with their senders, are the command line's and the pages' tests.

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
    list.Append(U16(pdu), u"1", sms::Storage::Sim);
    return sms::BuildRow(list, 0, true);
}

// The date as month/day/year; "+" before the number whatever its type; line breaks as blanks.
// (An international number's one "+" and the time are the stored-message and page tests'.)
TEST(MessageRows, InboxRowShowsDateAsMonthDayYearTheNumberWithPlusAndLinesAsBlanks) {
    const MessageRow row = InboxRow(Deliver("123456", u"one\r\ntwo\nthree", {24, 12, 31, 8, 5}));
    EXPECT_EQ(row.date + u" " + row.number + u" " + row.text, u"12/31/24 +123456 one  two three");
}

// Only a text that starts with "FM:" loses its "FM: name MSG: " prefix; "MSG:" anywhere else is
// part of what was written.
TEST(MessageRows, OnlyALeadingSenderPrefixIsTakenOff) {
    const std::tuple<const char16_t*, const char16_t*, const char16_t*> cases[] = {
        {u"FM: Alice Smith MSG: Meeting at 3", u"Meeting at 3", u"Alice Smith"},
        {u"Your code is 4471. Reply MSG: STOP to opt out",
         u"Your code is 4471. Reply MSG: STOP to opt out", u"Unknown"},
        {u"MSG: hello", u"MSG: hello", u"Unknown"},
        {u"Re FM: Bob MSG: hi", u"Re FM: Bob MSG: hi", u"Unknown"}};
    for (const auto& [text, shown, sender] : cases) {
        EXPECT_EQ(sms::ShownText(text), shown);
        EXPECT_EQ(sms::ShownSender(text), sender);
        EXPECT_EQ(InboxRow(Deliver("123", text)).text, shown);
    }
}

TEST(MessageRows, RelativeValidityInWholeUnits) {
    const std::pair<int, const char16_t*> cases[] = {
        {0, u"5 Minute(s)"}, {143, u"720 Minute(s)"}, {144, u"12 Hour(s)"}, {167, u"24 Hour(s)"},
        {168, u"2 Day(s)"},  {196, u"30 Day(s)"},     {197, u"5 Week(s)"},  {255, u"63 Week(s)"}};
    for (const auto& [octet, text] : cases)
        EXPECT_EQ(sms::RelativeValidityText(static_cast<std::uint8_t>(octet)), text) << octet;
}

}  // namespace
}  // namespace halvex::test
