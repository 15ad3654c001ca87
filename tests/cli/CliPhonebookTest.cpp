// halvex-cli end to end: the phone book commands against the shipped profiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using Lines = std::vector<std::string>;
using nlohmann::json;

// The commands after the phone book was read: what the operation itself sent.
Lines AfterRead(const CliRun& run) {
    const Lines commands = run.Commands();
    auto last = std::find_if(commands.rbegin(), commands.rend(),
                             [](const std::string& c) { return c.rfind("AT+CPBR=", 0) == 0; });
    return Lines(last.base(), commands.end());
}

const json* FindContact(const json& book, const std::string& name) {
    for (const json& contact : book) {
        if (contact.at("name") == name) {
            return &contact;
        }
    }
    return nullptr;
}

json List(const std::string& profile, const std::string& memory = "ME") {
    const CliRun run = RunCli({"--simulate=" + profile, "--json", "phonebook", "list", memory});
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out);
}

TEST(CliPhonebook, ListGivesTheBookInOrderWithNumbersAndIndices) {
    const json book = List("default");
    ASSERT_TRUE(book.is_array());
    // 54 entries, merged by name into 41 contacts; the first as the phone returned it.
    EXPECT_EQ(book.size(), 41u);
    EXPECT_EQ(book[0], (json{{"name", "Ann Taylor"},
                             {"home", {{"number", "01632960101"}, {"index", 1}}},
                             {"work", {{"number", "02079460102"}, {"index", 2}}},
                             {"mobile", {{"number", "+447700900103"}, {"index", 3}}}}));
    // Kinds without a number are left out; a name of no known kind has none at all.
    EXPECT_EQ(book[1], (json{{"name", "Ben Carter"},
                             {"mobile", {{"number", "+447700900111"}, {"index", 4}}}}));
    ASSERT_NE(FindContact(book, "Bob"), nullptr);
    EXPECT_EQ(*FindContact(book, "Bob"), (json{{"name", "Bob"}}));
    EXPECT_NE(FindContact(book, "Łukasz Nowak"), nullptr);
}

TEST(CliPhonebook, PlainListShowsEachNumberWithItsIndex) {
    const CliRun run = RunCli({"--simulate=small-sim", "phonebook", "list"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Ivy Chen\n"
              "  home    01632960721  #2\n"
              "  mobile  +447700900720  #1\n"
              "Jon Fox\n"
              "  mobile  +447700900722  #3\n");
}

TEST(CliPhonebook, AddWritesEachNumberAtTheHighestFreeIndexAndKeepsIt) {
    const std::string saved = TempDir() + "/phone.json";
    const CliRun add = RunCli({"--simulate", "--transcript", "--simulate-save", saved, "phonebook",
                               "add", "Zoe Quinn", "--home", "0123", "--mobile", "+4477"});
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(AfterRead(add), (Lines{"AT+CPBW=250,\"0123\",129 ,\"Zoe Quinn/H\"",
                                     "AT+CPBW=249,\"+4477\",129 ,\"Zoe Quinn/M\""}));
    EXPECT_EQ(add.out, "Zoe Quinn\n  home    0123  #250\n  mobile  +4477  #249\n");

    // The saved phone holds the new contact.
    const json book = List(saved);
    ASSERT_NE(FindContact(book, "Zoe Quinn"), nullptr);
    EXPECT_EQ(FindContact(book, "Zoe Quinn")->at("home").at("index"), 250);
}

TEST(CliPhonebook, AddRefusesAnEmptyTakenOrUnsafeName) {
    const struct {
        std::string name;
        std::string message;
    } cases[] = {
        {"", "Halvex: Please Enter User Name"},
        {"Ann Taylor",
         "Halvex: The name \"Ann Taylor\" you used already exists, Please use a different name."},
        {"Ann\"\rAT+CPBW=1\r",
         "Halvex: A name cannot hold double quotes, backslashes or control characters."},
    };
    for (const auto& c : cases) {
        const CliRun run =
            RunCli({"--simulate", "--transcript", "phonebook", "add", c.name, "--home", "1"});
        EXPECT_EQ(run.status, 2) << c.name;
        EXPECT_EQ(run.Messages(), Lines{c.message});
        EXPECT_TRUE(AfterRead(run).empty()) << c.name;
    }
    // Names are matched exactly: another case is another name.
    EXPECT_EQ(RunCli({"--simulate", "phonebook", "add", "ann taylor", "--home", "1"}).status, 0);
}

TEST(CliPhonebook, EditWithRenameDeletesAndRewritesEveryNumberUnderTheNewName) {
    const CliRun run = RunCli({"--simulate", "--transcript", "phonebook", "edit", "Ann Taylor",
                               "--rename", "Ann T", "--work", ""});
    ASSERT_EQ(run.status, 0) << run.err;
    // The old entries go first; the cleared Work number is deleted again at its old index.
    EXPECT_EQ(AfterRead(run), (Lines{"AT+CPBW=1", "AT+CPBW=3", "AT+CPBW=2",
                                     "AT+CPBW=1,\"01632960101\",129 ,\"Ann T/H\"", "AT+CPBW=2",
                                     "AT+CPBW=3,\"+447700900103\",129 ,\"Ann T/M\""}));
    EXPECT_EQ(run.out, "Ann T\n  home    01632960101  #1\n  mobile  +447700900103  #3\n");
}

TEST(CliPhonebook, EditOfOneNumberWritesOnlyThatOneAndTheSharedFaxOtherBit) {
    const CliRun mobile = RunCli({"--simulate", "--transcript", "phonebook", "edit", "Ann Taylor",
                                  "--mobile", "+447700900199"});
    ASSERT_EQ(mobile.status, 0) << mobile.err;
    EXPECT_EQ(AfterRead(mobile), (Lines{"AT+CPBW=3,\"+447700900199\",129 ,\"Ann Taylor/M\""}));

    // Harry Patel has a Fax number at 15 and no Other: a Fax change processes Other too.
    const CliRun fax = RunCli(
        {"--simulate", "--transcript", "phonebook", "edit", "Harry Patel", "--other", "0800"});
    ASSERT_EQ(fax.status, 0) << fax.err;
    EXPECT_EQ(AfterRead(fax), (Lines{"AT+CPBW=15,\"02079460192\",129 ,\"Harry Patel/F\"",
                                     "AT+CPBW=250,\"0800\",129 ,\"Harry Patel/O\""}));
}

TEST(CliPhonebook, EditRefusesItsOwnNameAndUnknownContacts) {
    const CliRun own =
        RunCli({"--simulate", "phonebook", "edit", "Ben Carter", "--rename", "Ben Carter"});
    EXPECT_EQ(own.status, 2);
    EXPECT_EQ(own.Messages(),
              Lines{"Halvex: The name \"Ben Carter\" you used already exists, Please use a "
                    "different name."});

    const CliRun missing = RunCli({"--simulate", "phonebook", "edit", "Nobody", "--home", "1"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.Messages(), Lines{"halvex-cli: no contact named \"Nobody\" in ME"});
}

TEST(CliPhonebook, DeleteAsksAndOnlyYesDeletes) {
    const CliRun declined =
        RunCli({"--simulate", "--transcript", "phonebook", "delete", "Ann Taylor"});
    EXPECT_EQ(declined.status, 2);
    EXPECT_EQ(declined.Messages(), (Lines{"Halvex: Selected item will be deleted, Continue?",
                                          "halvex-cli: nothing deleted; confirm with --yes"}));
    EXPECT_TRUE(AfterRead(declined).empty());

    const std::string saved = TempDir() + "/phone.json";
    const CliRun run = RunCli({"--simulate", "--yes", "--transcript", "--simulate-save", saved,
                               "phonebook", "delete", "Ann Taylor"});
    ASSERT_EQ(run.status, 0) << run.err;
    // Home, Mobile, then Work: the order of the page's delete.
    EXPECT_EQ(AfterRead(run), (Lines{"AT+CPBW=1", "AT+CPBW=3", "AT+CPBW=2"}));
    EXPECT_EQ(FindContact(List(saved), "Ann Taylor"), nullptr);
}

TEST(CliPhonebook, TheSimMemoryIsSelectedForItsWrites) {
    const CliRun run = RunCli({"--simulate", "--transcript", "phonebook", "add", "Postman",
                               "--mobile", "0777", "--memory", "SM"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Lines commands = run.Commands();
    EXPECT_EQ(commands[2], "AT+CPBS=\"SM\"");
    EXPECT_EQ(AfterRead(run), (Lines{"AT+CPBW=100,\"0777\",129 ,\"Postman/M\""}));
}

TEST(CliPhonebook, NokiaTakesOnlyTheFirstNumberAndWritesNoSuffix) {
    const CliRun refused =
        RunCli({"--simulate=nokia", "--transcript", "phonebook", "add", "X", "--work", "12"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.Messages(),
              Lines{"halvex-cli: this phone keeps one number per contact: --work is not taken "
                    "(only --home)"});
    // Refused before the book was read.
    EXPECT_EQ(refused.Commands(), (Lines{"AT+CGMI=?", "ATI"}));

    const CliRun run =
        RunCli({"--simulate=nokia", "--transcript", "phonebook", "add", "X", "--home", "12"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(AfterRead(run), (Lines{"AT+CPBW=200,\"12\",129 ,\"X\""}));
}

TEST(CliPhonebook, AFullMemoryIsAFailure) {
    const CliRun run = RunCli({"--simulate=full", "phonebook", "add", "Late", "--home", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.Messages(), (Lines{"Halvex: Out of Entry Number",
                                     "halvex-cli: the phone did not take every number of "
                                     "\"Late\""}));
}

TEST(CliPhonebook, AnErrorWhileReadingEndsInAFailure) {
    // The second range is refused.
    const std::string profile =
        DefaultProfileWith(R"([{"action": "error", "command": "AT+CPBR=26,"}])");
    const CliRun run = RunCli({"--simulate=" + profile, "phonebook", "list"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.Messages(), (Lines{"Halvex: Connection lost, Please Connect again",
                                     "halvex-cli: the phone book ME could not be read"}));
    EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace halvex::test
