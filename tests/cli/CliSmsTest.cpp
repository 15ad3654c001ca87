// halvex-cli end to end: listing, sending and deleting messages against the shipped profiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using Lines = std::vector<std::string>;
using nlohmann::json;

Lines Starting(const Lines& commands, const std::string& prefix) {
    Lines found;
    std::copy_if(commands.begin(), commands.end(), std::back_inserter(found),
                 [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    return found;
}

TEST(CliSms, InboxListShowsTheRowsOfThePageWithSenderAndStorage) {
    const CliRun run = RunCli({"--simulate", "--json", "--transcript", "sms", "list", "inbox"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The page's loader: read ones on the SIM, then unread and read ones in the phone.
    EXPECT_EQ(run.Commands(),
              (Lines{"AT+CGMI=?", "ATI", "AT+CPMS=\"SM\",\"SM\",\"ME\"", "AT+CPMS?", "AT+CMGL=1",
                     "AT+CPMS=\"ME\",\"ME\",\"ME\"", "AT+CPMS?", "AT+CMGL=0", "AT+CMGL=1"}));
    const json rows = json::parse(run.out);
    ASSERT_EQ(rows.size(), 11u);
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
    EXPECT_EQ(rows[9].at("text"), "Привет! Как дела?");
}

TEST(CliSms, OutboxListHasNoDate) {
    const CliRun run = RunCli({"--simulate", "sms", "list", "outbox"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              " 1  +447700900231   ME  On my way\n"
              " 2  +447700900103   ME  Thanks for lunch!\n"
              " 3  +48500000251    ME  Dziękuję bardzo!\n");
}

TEST(CliSms, SendReportsTheDialogsOutcome) {
    const CliRun run = RunCli({"--simulate", "--transcript", "sms", "send", "+447700900123",
                               "Hello", "--report", "--reply-path"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Messages(), Lines{"Halvex: Message sent ok!"});
    EXPECT_EQ(run.out, "");
    const Lines commands = run.Commands();
    EXPECT_EQ(Starting(commands, "AT+CMGS="), Lines{"AT+CMGS=24"});
    EXPECT_TRUE(Starting(commands, "AT+CMGW").empty());
    // First octet: SMS-SUBMIT rejecting duplicates, relative validity, status report and reply
    // path requested.
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[commands.size() - 2].substr(16, 2), "B5");
    EXPECT_EQ(commands.back(), "^Z");
}

TEST(CliSms, SaveAndSendStoresACopyWhenThePhoneHasRoom) {
    const std::string saved = TempDir() + "/phone.json";
    const CliRun run = RunCli({"--simulate", "--json", "--transcript", "--simulate-save", saved,
                               "sms", "send", "+447700900123", "Hello", "--save"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out),
              (json{{"sent", true}, {"outcome", "Message sent ok!"}, {"saved", true}}));
    const Lines commands = run.Commands();
    const auto store = std::find(commands.begin(), commands.end(), "AT+CMGW=24,3");
    ASSERT_NE(store, commands.end());
    ASSERT_NE(store + 1, commands.end());
    // After the send, a storage query; then the same PDU again.
    EXPECT_EQ(*(store - 1), "AT+CPMS?");
    EXPECT_EQ(*(store + 1), *(store - 3));
    EXPECT_EQ(*(store - 4), "AT+CMGS=24");

    const CliRun outbox = RunCli({"--simulate=" + saved, "--json", "sms", "list", "outbox"});
    ASSERT_EQ(outbox.status, 0) << outbox.err;
    const json rows = json::parse(outbox.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3].at("number"), "+447700900123");
    EXPECT_EQ(rows[3].at("text"), "Hello");
}

TEST(CliSms, SaveAndSendOnAFullPhoneSendsButSaysSo) {
    const CliRun run =
        RunCli({"--simulate=full", "--transcript", "sms", "send", "123", "Hi", "--save"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.Messages(), Lines{"Halvex: Phone storage full!!"});
    EXPECT_EQ(Starting(run.Commands(), "AT+CMGS=").size(), 1u);
    EXPECT_TRUE(Starting(run.Commands(), "AT+CMGW").empty());
}

TEST(CliSms, SendRefusesBeforeAnythingIsSent) {
    const struct {
        std::string number;
        std::string text;
        std::string message;
    } cases[] = {
        {"", "", "Halvex: Phone number is empty!"},
        {"123", "", "Halvex: Message is empty!"},
        {"12a4", "Hi", "Halvex: Phone number is not valid!"},
        {"123", std::string(71, 'x'), "Halvex: Message is longer than 70 characters!"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli({"--simulate", "--transcript", "sms", "send", c.number, c.text});
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_EQ(run.err, c.message + "\n");
    }
    // Seventy characters of any script are one UCS2 message.
    std::string seventy;
    for (int i = 0; i < 70; ++i) {
        seventy += "ж";
    }
    EXPECT_EQ(RunCli({"--simulate", "sms", "send", "123", seventy}).status, 0);
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

    const CliRun outbox = RunCli({"--simulate=" + saved, "sms", "list", "outbox"});
    EXPECT_EQ(outbox.out, " 1  +447700900103   ME  Thanks for lunch!\n");
}

TEST(CliSms, DeleteOfASimMessageIsWrappedInItsStorageSelections) {
    const CliRun run =
        RunCli({"--simulate", "--yes", "--transcript", "sms", "delete", "inbox", "2", "5"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Lines commands = run.Commands();
    const Lines tail(commands.end() - 4, commands.end());
    EXPECT_EQ(tail, (Lines{"AT+CPMS=\"SM\",\"SM\",\"ME\"", "AT+CMGD=2",
                           "AT+CPMS=\"ME\",\"ME\",\"ME\"", "AT+CMGD=8"}));
}

TEST(CliSms, DeleteOfAnIdBeyondTheListIsRefused) {
    const CliRun beyond = RunCli({"--simulate", "--yes", "sms", "delete", "outbox", "4"});
    EXPECT_EQ(beyond.status, 2);
    EXPECT_EQ(beyond.Messages(), Lines{"halvex-cli: no message 4 in the outbox (it holds 3)"});
    EXPECT_EQ(RunCli({"--simulate=empty", "--yes", "sms", "delete", "inbox", "1"}).status, 2);
}

TEST(CliSms, ARefusedDeleteFailsAndTheNextIdStillFindsItsMessage) {
    const std::string profile =
        DefaultProfileWith(R"([{"action": "error", "command": "AT+CMGD=9"}])");
    const CliRun run = RunCli(
        {"--simulate=" + profile, "--yes", "--transcript", "sms", "delete", "outbox", "1", "3"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Starting(run.Commands(), "AT+CMGD"), (Lines{"AT+CMGD=9", "AT+CMGD=11"}));
    EXPECT_EQ(run.Messages(), (Lines{"Halvex: Do you want to delete this message?",
                                     "halvex-cli: message 1 was not deleted"}));
}

TEST(CliSms, ARefusedSendIsAFailure) {
    const std::string profile =
        DefaultProfileWith(R"([{"action": "error", "command": "AT+CMGS", "pdu": true}])");
    const CliRun run = RunCli({"--simulate=" + profile, "sms", "send", "123", "Hi"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.Messages(), Lines{"Halvex: Message sent error!"});
}

}  // namespace
}  // namespace halvex::test
