// Every program answers --help and -h alike, and its manual page explains the same options, so
// neither can gain one the other lacks; halvex-cli's page names every command its help lists.
// Without a display, halvex says so and what to do instead of aborting inside Qt.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dist/DistText.h"
#include "tests/support/Process.h"

namespace {

using namespace halvex::test;

std::string ManualPage(const std::string& program) {
    return ReadFile(SourceDir() + "/dist/man/" + program + ".1");
}

TEST(HelpAndManual, EveryProgramExplainsTheOptionsOfItsManualPageAndNoOther) {
    std::vector<std::pair<std::string, std::string>> programs = {
        {"halvex-cli", HALVEX_CLI_COMMAND},
        {"halvex-pdu", HALVEX_PDU_COMMAND},
        {"halvex-phonesim", HALVEX_PHONESIM_COMMAND}};
#ifdef HALVEX_COMMAND
    programs.emplace_back("halvex", HALVEX_COMMAND);
#endif
    for (const auto& [name, command] : programs) {
        SCOPED_TRACE(name);
        const auto help = RunProgram({command, "--help"}, 10000);
        EXPECT_EQ(help.status, 0);
        const auto h = RunProgram({command, "-h"}, 10000);
        EXPECT_EQ(std::tie(h.status, h.output), std::tie(help.status, help.output));

        std::set<std::string> explained;
        for (const std::string& tag : ManTags(ManualPage(name), "OPTIONS"))
            explained.merge(OptionsIn(tag));
        const std::set<std::string> helped = HelpOptions(help.output);
        EXPECT_TRUE(helped.count("--help") && helped.count("-h"));
        EXPECT_EQ(helped, explained);
    }
}

TEST(HelpAndManual, TheManualPageOfHalvexCliNamesEveryCommandOfItsHelp) {
    const std::vector<std::string> commands =
        HelpCommands(RunProgram({HALVEX_CLI_COMMAND, "--help"}, 10000).output);
    std::set<std::string> explained;
    for (const std::string& tag : ManTags(ManualPage("halvex-cli"), "COMMANDS"))
        explained.insert(CommandWords(tag));
    EXPECT_EQ(commands.size(), 13u);
    EXPECT_EQ(std::set(commands.begin(), commands.end()), explained);
}

#ifdef HALVEX_COMMAND
TEST(NoDisplay, HalvexSaysThatNoneWasFoundAndWhatToDoInsteadOfAborting) {
    const std::string registry = "HALVEX_REGISTRY=" + TempDir() + "/registry.reg";
    for (const auto& [display, reason] :
         {std::pair("DISPLAY=", "(DISPLAY and WAYLAND_DISPLAY are not set)"),
          std::pair("DISPLAY=:4242", ":4242")}) {
        SCOPED_TRACE(display);
        const auto run = RunProgram({HALVEX_COMMAND, "--simulate"}, 30000,
                                    {registry, "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", display});
        EXPECT_EQ(run.status, 1) << run.output;
        for (const char* told :
             {"halvex: no display found", reason, "halvex-cli", "QT_QPA_PLATFORM=offscreen"})
            EXPECT_NE(run.output.find(told), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("Reinstalling"), std::string::npos) << run.output;
    }
}
#endif

}  // namespace
