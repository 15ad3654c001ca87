// Every program answers --help and -h alike, and its manual page explains the same options, so
// neither can gain one the other lacks; halvex-cli's page names every command its help lists.
// Without a display, halvex says so and what to do instead of aborting inside Qt.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dist/DistText.h"
#include "tests/support/Process.h"

namespace {

using halvex::test::ReadFile;
using halvex::test::RunProgram;

std::string ManualPage(const std::string& program) {
    return ReadFile(halvex::test::SourceDir() + "/dist/man/" + program + ".1");
}

struct Program {
    std::string name;
    std::string command;
};

std::vector<Program> Programs() {
    std::vector<Program> programs = {{"halvex-cli", HALVEX_CLI_COMMAND},
                                     {"halvex-pdu", HALVEX_PDU_COMMAND},
                                     {"halvex-phonesim", HALVEX_PHONESIM_COMMAND}};
#ifdef HALVEX_COMMAND
    programs.push_back({"halvex", HALVEX_COMMAND});
#endif
    return programs;
}

TEST(HelpAndManual, EveryProgramExplainsTheOptionsOfItsManualPageAndNoOther) {
    for (const Program& program : Programs()) {
        SCOPED_TRACE(program.name);
        const auto help = RunProgram({program.command, "--help"}, 10000);
        EXPECT_EQ(help.status, 0);
        const auto h = RunProgram({program.command, "-h"}, 10000);
        EXPECT_EQ(h.status, 0);
        EXPECT_EQ(h.output, help.output);

        const std::string page = ManualPage(program.name);
        ASSERT_FALSE(page.empty());
        for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS",
                                    "ENVIRONMENT", "FILES", "EXAMPLES"})
            EXPECT_NE(page.find(std::string("\n.SH ") + section + "\n"), std::string::npos)
                << section;
        std::set<std::string> explained;
        for (const std::string& tag : halvex::test::ManTags(page, "OPTIONS"))
            explained.merge(halvex::test::OptionsIn(tag));
        const std::set<std::string> helped = halvex::test::HelpOptions(help.output);
        EXPECT_TRUE(helped.count("--help") && helped.count("-h"));
        EXPECT_EQ(helped, explained);
    }
}

TEST(HelpAndManual, TheManualPageOfHalvexCliNamesEveryCommandOfItsHelp) {
    const std::vector<std::string> commands =
        halvex::test::HelpCommands(RunProgram({HALVEX_CLI_COMMAND, "--help"}, 10000).output);
    const std::set<std::string> helped(commands.begin(), commands.end());
    std::set<std::string> explained;
    for (const std::string& tag : halvex::test::ManTags(ManualPage("halvex-cli"), "COMMANDS"))
        explained.insert(halvex::test::CommandWords(tag));
    EXPECT_EQ(helped.size(), 13u);
    EXPECT_EQ(helped, explained);
}

TEST(HelpAndManual, HalvexCliPointsToItsHelpWhenItIsAskedForOrGivenNothing) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string start;  // of standard output
    };
    const Case cases[] = {
        {{}, 2, ""},
        {{"help"}, 0, "halvex-cli --help"},
        {{"phonebook", "list", "--help"}, 0, "usage: halvex-cli"},
        {{"--simulate", "sms", "-h"}, 0, "usage: halvex-cli"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> argv = {HALVEX_CLI_COMMAND};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::string error;
        const auto run = RunProgram(argv, 10000, {}, &error);
        SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(nothing)");
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.output.rfind(c.start, 0), 0u) << run.output;
        EXPECT_NE((run.output + error).find("halvex-cli --help"), std::string::npos);
    }
}

#ifdef HALVEX_COMMAND
TEST(NoDisplay, HalvexSaysThatNoneWasFoundAndWhatToDoInsteadOfAborting) {
    const std::string dir = halvex::test::TempDir();
    const std::vector<std::string> common = {"HALVEX_REGISTRY=" + dir + "/registry.reg",
                                             "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
    struct Case {
        std::string display;
        std::string reason;
    };
    const Case cases[] = {{"DISPLAY=", "(DISPLAY and WAYLAND_DISPLAY are not set)"},
                          {"DISPLAY=:4242", ":4242"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.display);
        std::vector<std::string> env = common;
        env.push_back(c.display);
        const auto run = RunProgram({HALVEX_COMMAND, "--simulate"}, 30000, env);
        EXPECT_EQ(run.status, 1) << run.output;
        EXPECT_NE(run.output.find("halvex: no display found"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("halvex-cli"), std::string::npos);
        EXPECT_NE(run.output.find("QT_QPA_PLATFORM=offscreen"), std::string::npos);
        EXPECT_EQ(run.output.find("Reinstalling"), std::string::npos) << run.output;
    }
}
#endif

}  // namespace
