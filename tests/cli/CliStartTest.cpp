// halvex-cli end to end: start-up, identify, the transcript, a failed connection, bad arguments.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using Lines = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(CliStart, IdentifyReportsTheMakerOfEachProfile) {
    const CliRun nokia = RunCli({"--simulate=nokia", "--json", "identify"});
    ASSERT_EQ(nokia.status, 0) << nokia.err;
    EXPECT_EQ(nlohmann::json::parse(nokia.out),
              (nlohmann::json{{"connected", true}, {"maker", "nokia"}}));

    const CliRun other = RunCli({"--simulate", "identify"});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(other.out, "connected, maker other\n");
    EXPECT_EQ(other.err, "");
}

TEST(CliStart, TranscriptListsEveryLineWrittenWithItsVirtualTime) {
    const CliRun run = RunCli({"--simulate=small-sim", "--transcript", "phonebook", "list", "SM"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The probe, the detection, then the read of a 30-place SIM: clipped ranges only.
    EXPECT_EQ(run.TranscriptLines(),
              (Lines{"   0.000  AT+CGMI=?", "   0.000  ATI", "   2.100  AT+CPBS=\"SM\"",
                     "   5.100  AT+CPBR=?", "   9.100  AT+CSCS=\"UTF-8\"", "  12.100  AT+CPBR=1,25",
                     "  16.600  AT+CPBR=26,30"}));
    EXPECT_TRUE(run.Messages().empty());
}

TEST(CliStart, TranscriptShowsThePduLineAndCtrlZ) {
    const CliRun run = RunCli({"--simulate", "--transcript", "sms", "send", "123456", "Hi"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Lines commands = run.Commands();
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_EQ(commands[2], "AT+CSCA?");
    EXPECT_EQ(commands[3], "AT+CMGS=15");
    // Service centre +44..., SMS-SUBMIT to 123456, UCS2, relative validity 168, "Hi".
    EXPECT_EQ(commands[4], "0791448720003023150006812143650008A80400480069");
    EXPECT_EQ(commands[5], "^Z");
}

TEST(CliStart, FailedConnectionReportsTheLinkAndExitsOne) {
    const std::string registry = TempDir() + "/registry.reg";
    const CliRun run =
        RunCli({"--port", "nosuch0", "--transcript", "identify"}, {"HALVEX_REGISTRY=" + registry});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Halvex: Open port error\n");
    // The name went where the link reads it, as the Bluetooth software would store it.
    const std::string stored = ReadFile(registry);
    EXPECT_NE(stored.find("[HKEY_LOCAL_MACHINE\\ExtModems\\Bluetooth]\n\"Port\"=\"nosuch0\""),
              std::string::npos)
        << stored;
}

TEST(CliStart, WithoutAConfiguredPortTheConnectionFails) {
    const CliRun run = RunCli({"phonebook", "list"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Halvex: Open port error\n");
}

TEST(CliStart, BadArgumentsGiveOneLineAndExitTwo) {
    const std::vector<Lines> cases = {
        {},
        {"dance"},
        {"identify", "now"},
        {"--simulate", "--port", "rfcomm0", "identify"},
        {"--port", "much-too-long0", "identify"},
        {"--port", "../x", "identify"},
        {"--simulate-save", "out.json", "identify"},
        {"--simulate=no-such-profile", "identify"},
        {"--simulate", "--colour", "identify"},
        {"--simulate", "--json=yes", "identify"},
        {"--simulate", "phonebook", "list", "XX"},
        {"--simulate", "phonebook", "add", "Ann"},
        {"--simulate", "phonebook", "add", "Ann", "--home", "12a"},
        {"--simulate", "phonebook", "add", "Ann", "--home", "123456789012345678901"},
        {"--simulate", "phonebook", "add", "Ann", "--home", "1", "--home", "2"},
        {"--simulate", "phonebook", "edit", "Ann"},
        {"--simulate", "phonebook", "delete", "Ann", "--home", "1"},
        {"--simulate", "phonebook", "list", "--rename", "x"},
        {"--simulate", "sms", "list", "drafts"},
        {"--simulate", "sms", "send", "123"},
        {"--simulate", "sms", "delete", "inbox"},
        {"--simulate", "sms", "delete", "inbox", "0"},
        {"--simulate", "sms", "delete", "outbox", "two"},
        {"--simulate", "sms", "send", "123", "\xff"},
    };
    for (const Lines& args : cases) {
        std::string joined;
        for (const std::string& a : args) {
            joined += a + " ";
        }
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2) << joined << run.err;
        EXPECT_EQ(run.out, "") << joined;
        EXPECT_EQ(run.ErrLines().size(), 1u) << joined << run.err;
        EXPECT_EQ(run.err.rfind("halvex-cli: ", 0), 0u) << joined << run.err;
    }
}

TEST(CliStart, DoubleDashEndsTheOptions) {
    const CliRun run =
        RunCli({"--simulate", "--transcript", "sms", "send", "--", "123456", "--save"});
    ASSERT_EQ(run.status, 0) << run.err;
    // "--save" was the text, so nothing was stored.
    for (const std::string& command : run.Commands()) {
        EXPECT_EQ(command.rfind("AT+CMGW", 0), std::string::npos) << command;
    }
}

}  // namespace
}  // namespace halvex::test
