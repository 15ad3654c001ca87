// Every program answers --help and -h alike, and its manual page explains the same options, so
// neither can gain one the other lacks.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dist/DistText.h"
#include "tests/support/Process.h"

namespace {

using namespace halvex::test;

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
        for (const std::string& tag :
             ManTags(ReadFile(SourceDir() + "/dist/man/" + name + ".1"), "OPTIONS"))
            explained.merge(OptionsIn(tag));
        const std::set<std::string> helped = HelpOptions(help.output);
        EXPECT_TRUE(helped.count("--help") && helped.count("-h"));
        EXPECT_EQ(helped, explained);
    }
}

}  // namespace
