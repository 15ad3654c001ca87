// halvex-cli end to end: start-up, identify, a failed connection, what the phone refuses, and
// what the arguments or the page's checks refuse.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

// The plain identify is the README's, against the simulated phone on its pseudo-terminal.
TEST(CliStart, IdentifyReportsTheMakerOfEachProfile) {
    EXPECT_EQ(RunCli({"--simulate=nokia", "--json", "identify"}).Whole(),
              (Lines{"0", "{\n  \"connected\": true,\n  \"maker\": \"nokia\"\n}\n", ""}));
}

// A port that does not open is not stored: the next run is not sent to it again.
TEST(CliStart, FailedConnectionReportsTheLinkAndExitsOne) {
    const std::string registry = TempDir() + "/registry.reg";
    const CliRun run =
        RunCli({"--port", "nosuch0", "--transcript", "identify"}, {"HALVEX_REGISTRY=" + registry});
    // The box's reason follows on its line; the ports it names are this computer's.
    EXPECT_EQ(std::tuple(run.status, run.out, std::ranges::count(run.err, '\n'),
                         run.err.rfind("Halvex: Open port error: /dev/nosuch0 does not exist.", 0)),
              std::tuple(1, "", 1, 0u));
    EXPECT_EQ(ReadFile(registry).find("nosuch0"), std::string::npos);
}

// A phone that refuses or cannot take the work: its boxes, one line saying what failed (for a
// contact, number by number, with the phone's own answer), exit 1. A full memory or storage is
// the engines' case (tests/phonebook, tests/sms).
TEST(CliStart, PhoneFailuresExitOne) {
    const std::string faulty = "--simulate=" + ProfileWith("default", R"({"faults": [
        {"action": "error", "command": "AT+CPBR=26,"}, {"action": "error", "command": "AT+CMGD=9"},
        {"action": "error", "command": "AT+CMGS", "pdu": true}]})");
    const std::string refusing = "--simulate=" + ProfileWith("default", R"({"faults": [
        {"action": "reply", "command": "AT+CPBW=", "skip": 1, "text": "\r\n+CME ERROR: 26\r\n"}]})");
    const std::pair<Lines, Lines> cases[] = {
        {{faulty, "phonebook", "list"},
         {"Halvex: Connection lost, Please Connect again",
          "halvex-cli: the phone book ME could not be read"}},
        {{refusing, "phonebook", "add", "Zed", "--mobile", "123", "--home", "456"},
         {"Halvex: The phone did not save \"Zed\".",
          "halvex-cli: \"Zed\" in ME: home 456 written; mobile 123 not written: +CME ERROR: 26 "
          "(dial string too long)"}},
        {{"--simulate=gsm-only", "phonebook", "add", "王芳", "--home", "1"},
         {"Halvex: The phone cannot store \"王\" in a name",
          "halvex-cli: \"王芳\" in ME: home 1 not written: The phone cannot store \"王\" in a "
          "name"}},
        {{faulty, "sms", "send", "123", "Hi"}, {"Halvex: Message sent error!"}},
        {{faulty, "--yes", "sms", "delete", "outbox", "1", "3"},
         {"Halvex: Do you want to delete this message?", "halvex-cli: message 1 was not deleted"}}};
    for (const auto& [args, messages] : cases) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(std::tuple(run.status, run.out, run.Messages()), std::tuple(1, "", messages));
    }
}

// Bad arguments, and what the page's checks refuse before anything is written: one line saying
// what is wrong, nothing on standard output, exit 2.
TEST(CliStart, RefusedCommandsGiveOneLineAndExitTwo) {
    const struct {
        Lines args;
        std::string says = "halvex-cli: ";
    } cases[] = {
        {{}},
        {{"dance"}},
        {{"--simulate", "--port", "rfcomm0", "identify"}},
        {{"--port", "../x", "identify"}},
        {{"ports", "../etc/passwd"},
         "halvex-cli: \"../etc/passwd\" is not a port name: it holds \"..\""},
        {{"--simulate", "ports"}},
        {{"--simulate=no-such-profile", "identify"},
         "halvex-cli: cannot load the profile: \"no-such-profile\" is neither a shipped profile "
         "(default, empty, full, gsm-only, modem, nokia, small-sim) nor a profile file that can "
         "be read"},
        {{"--simulate", "--colour", "identify"}},
        {{"--simulate", "phonebook", "list", "XX"}},
        {{"--simulate", "phonebook", "add", "Ann"}},
        {{"--simulate", "phonebook", "add", "Ann", "--home", "12a"}},
        {{"--simulate", "phonebook", "add", "Ann", "--home", "1", "--home", "2"}},
        {{"--simulate", "phonebook", "edit", "Ann"}},
        {{"--simulate", "phonebook", "delete", "Ann", "--home", "1"}},
        {{"--simulate", "sms", "send", "123", "\xff"}},
        {{"--simulate=empty", "--yes", "sms", "delete", "inbox", "1"}},
        // The phone book page's name check (its cases are proven in tests/phonebook), the Nokia
        // layout, a contact or message not there.
        {{"--simulate", "phonebook", "add", "Ann\"\rAT+CPBW=1\r", "--home", "1"},
         "Halvex: A name cannot hold double quotes or control characters."},
        {{"--simulate", "phonebook", "edit", "Nobody", "--home", "1"},
         "halvex-cli: no contact named \"Nobody\" in ME"},
        {{"--simulate=nokia", "phonebook", "add", "X", "--work", "12"},
         "halvex-cli: this phone keeps one number per contact: --work is not taken (only --home)"},
        {{"--simulate", "--yes", "sms", "delete", "outbox", "4"},
         "halvex-cli: no message 4 in the outbox (it holds 3)"},
        // The compose dialog's checks (proven in tests/sms), before connecting.
        {{"--simulate", "sms", "send", "12a4", "Hi"},
         "Halvex: Phone number is not valid!\nhalvex-cli: a number to send to is digits only, at "
         "most 20, with + in front for an international one (+447700900123); blanks are left "
         "out\n"},
        {{"--simulate", "phonebook", "add", "P", "--home", "(1)2"},
         "halvex-cli: --home \"(1)2\" is not a number a phone stores (digits, * and #, with + "
         "only in front, at most 20)"}};
    for (const auto& [args, says] : cases) {
        const CliRun run = RunCli(args);
        const std::size_t lines = std::max<std::size_t>(1, std::ranges::count(says, '\n'));
        EXPECT_EQ(std::tuple(run.status, run.out, run.Messages().size(), run.err.rfind(says, 0)),
                  std::tuple(2, "", lines, 0u))
            << ::testing::PrintToString(args) << run.err;
    }
}

}  // namespace
}  // namespace halvex::test
