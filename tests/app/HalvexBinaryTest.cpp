// The built program, run as a user would: a bad option, the window on the simulated phone drawn
// offscreen, and a notice with no Halvex running (its help is checked against its manual page).

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/Process.h"

namespace {

using halvex::test::RunProgram;

TEST(HalvexBinary, RunsTheWindowOnTheSimulatedPhoneAndTellsWhenNoneTakesANotice) {
    EXPECT_EQ(RunProgram({HALVEX_COMMAND, "--port"}, 10000).status, 2);

    const std::filesystem::path dir = halvex::test::TempDir();
    std::filesystem::create_directories(dir / "runtime");
    std::filesystem::permissions(dir / "runtime", std::filesystem::perms::owner_all);
    const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen",
                                          "XDG_RUNTIME_DIR=" + (dir / "runtime").string(),
                                          "HALVEX_REGISTRY=" + (dir / "registry.reg").string()};
    const auto shots = RunProgram(
        {HALVEX_COMMAND, "--simulate", "--screenshots", (dir / "shots").string()}, 60000, env);
    EXPECT_EQ(shots.status, 0) << shots.output;
    for (const char* page : {"phonebook.png", "inbox.png", "outbox.png", "about.png"})
        EXPECT_GT(std::filesystem::file_size(dir / "shots" / page), 1000u) << page;
    EXPECT_EQ(RunProgram({HALVEX_COMMAND, "--notify", "0"}, 10000, env).status, 1);
}

}  // namespace
