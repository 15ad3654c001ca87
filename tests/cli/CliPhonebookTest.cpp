// halvex-cli end to end: the phone book commands against the shipped profiles.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

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

json List(const std::string& profile, const std::string& memory) {
    const CliRun run = RunCli({"--simulate=" + profile, "--json", "phonebook", "list", memory});
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out);
}

// As JSON and as plain text; how the book is read and merged is proven in tests/phonebook.
TEST(CliPhonebook, ListGivesTheBookInOrderWithNumbersAndIndices) {
    const json book = List("default", "ME");
    ASSERT_TRUE(book.is_array());
    // 54 entries, merged by name into 41 contacts; the first as the phone returned it.
    EXPECT_EQ(book.size(), 41u);
    EXPECT_EQ(book[0], (json{{"name", "Ann Taylor"},
                             {"home", {{"number", "01632960101"}, {"index", 1}}},
                             {"work", {{"number", "02079460102"}, {"index", 2}}},
                             {"mobile", {{"number", "+447700900103"}, {"index", 3}}}}));
    // Kinds without a number are left out; a name of no known kind has none at all.
    ASSERT_NE(FindContact(book, "Bob"), nullptr);
    EXPECT_EQ(*FindContact(book, "Bob"), (json{{"name", "Bob"}}));
    EXPECT_NE(FindContact(book, "Łukasz Nowak"), nullptr);

    const CliRun plain = RunCli({"--simulate=small-sim", "phonebook", "list", "SM"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const std::string head =
        "Alice\n  home    01632960702  #2\n  mobile  +447700900701  #1\nBert\n";
    EXPECT_EQ(plain.out.substr(0, head.size()), head);
    EXPECT_EQ(plain.err, "");
}

TEST(CliPhonebook, AddWritesEachNumberAtTheHighestFreeIndexOfItsMemory) {
    const CliRun add = RunCli({"--simulate", "--transcript", "phonebook", "add", "Zoe Quinn",
                               "--home", "0123", "--mobile", "+4477", "--memory", "SM"});
    ASSERT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.Commands()[2], "AT+CPBS=\"SM\"");
    EXPECT_EQ(AfterRead(add), (Lines{"AT+CPBW=100,\"0123\",129 ,\"Zoe Quinn/H\"",
                                     "AT+CPBW=99,\"+4477\",129 ,\"Zoe Quinn/M\""}));
    EXPECT_EQ(add.out, "Zoe Quinn\n  home    0123  #100\n  mobile  +4477  #99\n");
}

TEST(CliPhonebook, EditWithRenameRewritesEveryNumberUnderTheNewName) {
    const CliRun run = RunCli({"--simulate", "--transcript", "phonebook", "edit", "Ann Taylor",
                               "--rename", "Ann T", "--work", ""});
    ASSERT_EQ(run.status, 0) << run.err;
    // Each entry is written over at its index; the cleared Work number is deleted.
    EXPECT_EQ(AfterRead(run), (Lines{"AT+CPBW=1,\"01632960101\",129 ,\"Ann T/H\"", "AT+CPBW=2",
                                     "AT+CPBW=3,\"+447700900103\",129 ,\"Ann T/M\""}));
    EXPECT_EQ(run.out, "Ann T\n  home    01632960101  #1\n  mobile  +447700900103  #3\n");
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
    EXPECT_EQ(FindContact(List(saved, "ME"), "Ann Taylor"), nullptr);
}

}  // namespace
}  // namespace halvex::test
