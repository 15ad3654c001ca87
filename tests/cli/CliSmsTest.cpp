// halvex-cli end to end: listing, sending and deleting messages against the shipped profiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using nlohmann::json;

Lines Starting(const Lines& commands, const std::string& prefix) {
    Lines found;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(found),
                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return found;
}

// The rows of the page's loader (its commands and the text of each row are proven in tests/sms).
TEST(CliSms, InboxListShowsTheRowsOfThePageWithSenderAndStorage) {
    const CliRun run = RunCli({"--simulate", "--json", "sms", "list", "inbox"});
    ASSERT_EQ(run.status, 0) << run.err;
    const json rows = json::parse(run.out);
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[0], (json{{"id", 1},
                             {"date", "03/01/24"},
                             {"number", "+447700900103"},
                             {"text", "Morning! Are we still on for lunch today?"},
                             {"sender", "Unknown"},
                             {"storage", "SM"},
                             {"decoded", true}}));
    // "FM: name MSG: body": the body in the list, the name as the sender.
    EXPECT_EQ(rows[7].at("text"), "Meeting moved to 3pm, room 4B");
    EXPECT_EQ(rows[7].at("sender"), "Alice Smith");
    EXPECT_EQ(rows[7].at("storage"), "ME");
}

// Send: the dialog's outcome as a box, the PDU line and Ctrl-Z in the transcript.
TEST(CliSms, SendReportsTheDialogsOutcome) {
    const CliRun run = RunCli(
        {"--simulate", "--transcript", "sms", "send", "123456", "Hi", "--report", "--reply-path"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Messages(), Lines{"Halvex: Message sent ok!"});
    EXPECT_EQ(run.out, "");
    // Service centre +44..., SMS-SUBMIT with reply path and status report requested, rejecting
    // duplicates, to 123456, UCS2, relative validity 168, "Hi".
    EXPECT_EQ(run.Commands(), (Lines{"AT+CGMI=?", "ATI", "AT+CSCA?", "AT+CMGS=15",
                                     "0791448720003023B50006812143650008A80400480069", "^Z"}));
}

// Save&Send stores the same PDU after a storage query; seventy characters of any script are
// one message.
TEST(CliSms, SaveAndSendStoresACopyWhenThePhoneHasRoom) {
    std::string seventy;
    for (int i = 0; i < 70; ++i) {
        seventy += "ж";
    }
    const CliRun run = RunCli({"--simulate", "--json", "--transcript", "sms", "send",
                               "+447700900123", seventy, "--save"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out),
              (json{{"sent", true}, {"outcome", "Message sent ok!"}, {"saved", true}}));
    const Lines commands = run.Commands();
    ASSERT_EQ(commands.size(), 10u);
    EXPECT_EQ(
        Lines(commands.begin() + 3, commands.end()),
        (Lines{"AT+CMGS=154", commands[4], "^Z", "AT+CPMS?", "AT+CMGW=154,3", commands[4], "^Z"}));
}

TEST(CliSms, DeleteAsksOnceAndEachIdDeletesItsOwnMessage) {
    const CliRun declined = RunCli({"--simulate", "--transcript", "sms", "delete", "outbox", "1"});
    EXPECT_EQ(declined.status, 2);
    EXPECT_EQ(declined.Messages(), (Lines{"Halvex: Do you want to delete this message?",
                                          "halvex-cli: nothing deleted; confirm with --yes"}));
    EXPECT_TRUE(Starting(declined.Commands(), "AT+CMGD").empty());

    const std::string saved = TempDir() + "/phone.json";
    const CliRun run = RunCli({"--simulate", "--yes", "--json", "--transcript", "--simulate-save",
                               saved, "sms", "delete", "outbox", "3", "1"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Messages(), Lines{"Halvex: Do you want to delete this message?"});
    // Rows 3 and 1 hold the messages at indices 11 and 9 of the phone memory.
    EXPECT_EQ(Starting(run.Commands(), "AT+CMGD"), (Lines{"AT+CMGD=11", "AT+CMGD=9"}));
    EXPECT_EQ(json::parse(run.out), (json{{"deleted", {3, 1}}, {"failed", json::array()}}));

    // The plain outbox list has no date.
    const CliRun outbox = RunCli({"--simulate=" + saved, "sms", "list", "outbox"});
    EXPECT_EQ(outbox.out, " 1  +447700900103   ME  Thanks for lunch!\n");
}

}  // namespace
}  // namespace halvex::test
