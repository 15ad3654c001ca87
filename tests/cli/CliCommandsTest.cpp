// halvex-cli end to end: the phone book and message commands against the shipped profiles. How
// the book is read, merged and written, the loaders' commands, the rows' text and the PDUs are
// proven in tests/phonebook, tests/sms and tests/codec.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using nlohmann::json;

// The list, merged by name in the phone's order, is the README's example; the indices a new
// number takes, the write tests' (tests/phonebook).
TEST(CliPhonebook, AddWritesEachNumberAtTheHighestFreeIndexOfItsMemory) {
    const CliRun add = RunCli({"--simulate", "phonebook", "add", "Zoe Quinn", "--home", "0123",
                               "--mobile", "+4477", "--memory", "SM"});
    EXPECT_EQ(std::pair(add.status, add.out),
              std::pair(0, std::string("Zoe Quinn\n  home    0123  #100\n  mobile  +4477  #99\n")))
        << add.err;
}

TEST(CliPhonebook, EditWithRenameRewritesEveryNumberUnderTheNewName) {
    const CliRun run = RunCli({"--simulate", "--transcript", "phonebook", "edit", "Ann Taylor",
                               "--rename", "Ann T", "--work", ""});
    EXPECT_EQ(run.status, 0) << run.err;
    // Each entry is written over at its index; the cleared Work number is deleted.
    EXPECT_EQ(run.Writes(), (Lines{"AT+CPBW=1,\"01632960101\",129 ,\"Ann T/H\"", "AT+CPBW=2",
                                   "AT+CPBW=3,\"+447700900103\",129 ,\"Ann T/M\""}));
    EXPECT_EQ(run.out, "Ann T\n  home    01632960101  #1\n  mobile  +447700900103  #3\n");
}

TEST(CliPhonebook, DeleteAsksAndOnlyYesDeletes) {
    const CliRun declined =
        RunCli({"--simulate", "--transcript", "phonebook", "delete", "Ann Taylor"});
    EXPECT_EQ(declined.status, 2);
    EXPECT_EQ(declined.Messages(), (Lines{"Halvex: Selected item will be deleted, Continue?",
                                          "halvex-cli: nothing deleted; confirm with --yes"}));
    EXPECT_EQ(declined.Writes(), Lines{});

    const CliRun run =
        RunCli({"--simulate", "--yes", "--transcript", "phonebook", "delete", "Ann Taylor"});
    // Each of Ann's three numbers, in the order of the page's delete (tests/phonebook).
    EXPECT_EQ(std::tuple(run.status, run.Writes().size()), std::tuple(0, 3u)) << run.err;
}

// A long message is one line with the ids of its parts, part 1's first (the phone stored part 2
// first); --parts lists the parts as the phone stores them, and sms delete takes their ids.
TEST(CliSms, ALongMessageIsOneLineWithTheIdsOfItsParts) {
    // The joined line is the README's; --parts gives 15 lines, part 2 of the long message as 14.
    const CliRun parts = RunCli({"--simulate", "sms", "list", "inbox", "--parts"});
    EXPECT_EQ(std::ranges::count(parts.out, '\n'), 15) << parts.err;
    EXPECT_NE(parts.out.find("\n14  03/10/24  +447700900161   ME  on for about a mile"),
              std::string::npos);

    // As JSON (the plain list, with the joined text, is the README's).
    json rows = json::parse(RunCli({"--simulate", "--json", "sms", "list", "inbox"}).out);
    EXPECT_TRUE(rows.back().at("text").get<std::string>().ends_with("Call me if you get lost!"));
    rows.back().erase("text");
    EXPECT_EQ(rows.back(), json::parse(R"({"id": 15, "date": "03/10/24", "number": "+447700900161",
        "sender": "Unknown", "storage": "ME", "decoded": true, "parts": [15, 14]})"));

    const CliRun deleted =
        RunCli({"--simulate", "--yes", "--transcript", "sms", "delete", "inbox", "15", "14"});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    Lines deletes = deleted.Commands();
    std::erase_if(deletes, [](const std::string& c) { return !c.starts_with("AT+CMGD"); });
    EXPECT_EQ(deletes, (Lines{"AT+CMGD=14", "AT+CMGD=13"}));
}

TEST(CliSms, SendReportsTheDialogsOutcome) {
    const CliRun run = RunCli({"--simulate", "--json", "--transcript", "sms", "send", "123456",
                               "Hi", "--report", "--reply-path", "--save"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out),
              (json{{"sent", true}, {"outcome", "Message sent ok!"}, {"saved", true}}));
    // Service centre +44..., SMS-SUBMIT with reply path and status report requested, rejecting
    // duplicates, to 123456, UCS2, relative validity 168, "Hi": sent, then stored (the order of
    // the commands is the compose sender's, tests/sms).
    const std::string pdu = "0791448720003023B50006812143650008A80400480069";
    EXPECT_EQ(std::ranges::count(run.Commands(), pdu), 2) << run.err;

    // As plain text, the dialog's box; after "--", "--save" is the text, so nothing is stored.
    EXPECT_EQ(RunCli({"--simulate", "sms", "send", "--", "123456", "--save"}).Whole(),
              (Lines{"0", "", "Halvex: Message sent ok!\n"}));
}

TEST(CliSms, DeleteAsksOnceAndEachIdDeletesItsOwnMessage) {
    const CliRun declined = RunCli({"--simulate", "--transcript", "sms", "delete", "outbox", "1"});
    EXPECT_EQ(declined.status, 2);
    EXPECT_EQ(declined.Messages(), (Lines{"Halvex: Do you want to delete this message?",
                                          "halvex-cli: nothing deleted; confirm with --yes"}));
    EXPECT_EQ(declined.err.find("AT+CMGD"), std::string::npos);

    const std::string saved = TempDir() + "/phone.json";
    const CliRun run = RunCli({"--simulate", "--yes", "--json", "--simulate-save", saved, "sms",
                               "delete", "outbox", "3", "1"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.Messages(), Lines{"Halvex: Do you want to delete this message?"});
    EXPECT_EQ(json::parse(run.out), (json{{"deleted", {3, 1}}, {"failed", json::array()}}));
    // Only row 2 is left; the plain outbox list has no date.
    EXPECT_EQ(RunCli({"--simulate=" + saved, "sms", "list", "outbox"}).out,
              " 1  +447700900103   ME  Thanks for lunch!\n");
}

}  // namespace
}  // namespace halvex::test
