// Replies of real phones as they come, read by the one classifier every "did the phone take it"
// question asks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Reply.h"

namespace {

using at::Result;
using enum at::Result;
using Lines = std::vector<std::u16string>;

TEST(ReplyReading, FinalResultInformationAndUnsolicitedLinesAreToldApart) {
    const std::u16string ann = u"+CPBR: 1,\"555\",129,\"Ann/M\"", ok = u"\r\n\r\nOK\r\n";
    const struct {
        std::u16string text;
        Result result;
        const char16_t* resultLine;
        Lines lines, unsolicited = {};
    } cases[] = {
        // Echo off and on: the echo is no information.
        {u"\r\n" + ann + ok, Ok, u"OK", {ann}},
        {u"AT+CPBR=1\r\r\n" + ann + ok, Ok, u"OK", {ann}},
        // A new message and a call arriving inside a listing are set apart.
        {u"\r\n+CMGL: 1,0,,23\r\n07914477\r\n+CMTI: \"SM\",4\r\nRING" + ok,
         Ok,
         u"OK",
         {u"+CMGL: 1,0,,23", u"07914477"},
         {u"+CMTI: \"SM\",4", u"RING"}},
        // Errors in numeric and text form, with the phone's blanks around them.
        {u"\r\n+CME ERROR: 26\r\n", CmeError, u"+CME ERROR: 26", {}},
        {u"\r\n  +CME ERROR: memory full \r\n", CmeError, u"+CME ERROR: memory full", {}},
        {u"\r\n+CMS ERROR: 500\r\n", CmsError, u"+CMS ERROR: 500", {}},
        // An error anywhere decides: no OK makes up for it.
        {u"\r\nOK\r\n\r\nERROR\r\n", Error, u"ERROR", {}},
        // The prompt of a message's text, with and without its blank.
        {u"\r\n> ", Prompt, u">", {}},
        {u"\r\n>", Prompt, u">", {}},
        // A word inside a line is not a result: a name "OK", an echo holding "ERROR".
        {u"AT+CPBW=1,\"1\",129,\"ERROR\"\r\r\n+CPBR: 2,\"OK\"\r\n",
         None,
         u"",
         {u"+CPBR: 2,\"OK\""}},
        // Cut short, silent, or ended by a null.
        {u"\r\n+CPBR: 1,\"55", None, u"", {u"+CPBR: 1,\"55"}},
        {u"", None, u"", {}},
        {std::u16string(u"\r\nOK\r\n\0ERROR", 12), Ok, u"OK", {}},
        {u"\r\nNO CARRIER\r\n", Other, u"NO CARRIER", {}},
    };
    for (const auto& c : cases) {
        const at::Reply reply = at::ReadReply(c.text);
        EXPECT_EQ(std::tie(reply.result, reply.resultLine, reply.lines, reply.unsolicited),
                  std::tie(c.result, c.resultLine, c.lines, c.unsolicited))
            << testing::PrintToString(c.text);
        EXPECT_EQ(reply.Accepted(), c.result == Ok);
    }
}

TEST(ReplyFields, CommasInsideQuotesAndListsDoNotSplitAndTheLineEndsTheFields) {
    const std::pair<const char16_t*, Lines> cases[] = {
        {u"+CPBR: 3,\"+4930\",145,\"Smith, John\"",
         {u"3", u"\"+4930\"", u"145", u"\"Smith, John\""}},
        {u"+CPBR: (1-250),40,14", {u"(1-250)", u"40", u"14"}},
        {u"+CPMS: \"SM\",3,30\r\nOK", {u"\"SM\"", u"3", u"30"}},
        {u"+CMGL: 1,0,,23", {u"1", u"0", u"", u"23"}},
        // An unclosed quote runs to the line's end.
        {u"+CPBR: 8,\"1\",129,\"Eve, Jr", {u"8", u"\"1\"", u"129", u"\"Eve, Jr"}},
        {u"", {u""}},
    };
    for (const auto& [line, expected] : cases) {
        Lines raw;
        for (const at::Field& field : at::Fields::All(line))
            raw.emplace_back(field.raw);
        EXPECT_EQ(raw, expected) << testing::PrintToString(std::u16string(line));
    }
    const at::Field smith = at::Fields::All(u"+X: \"Smith, John\"")[0];
    EXPECT_EQ(std::tuple(smith.quoted, std::u16string(smith.text)),
              std::tuple(true, u"Smith, John"));
}

TEST(ReplyFields, NumbersAndListsAreReadWholeOrNotAtAll) {
    using Range = std::optional<std::pair<long long, long long>>;
    const std::pair<const char16_t*, Range> ranges[] = {{u"(1-250)", std::pair(1LL, 250LL)},
                                                        {u"(0,1,2)", std::pair(0LL, 2LL)},
                                                        {u"(1-250x)", std::nullopt},
                                                        {u"(1-", std::nullopt},
                                                        {u"()", std::nullopt},
                                                        {u"(99999999999)", std::nullopt}};
    for (const auto& [text, range] : ranges)
        EXPECT_EQ((at::Field{text, text}.Range()), range) << testing::PrintToString(text);
    EXPECT_EQ((at::Field{u"4294967295", u"4294967295"}.Number()), 4294967295LL);
    EXPECT_EQ((at::Field{u"4294967296", u"4294967296"}.Number()), std::nullopt);
    EXPECT_EQ((at::Field{u"-1", u"-1"}.Number()), std::nullopt);
}

}  // namespace
