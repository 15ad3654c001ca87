// The halvex-phonesim command, run as a program against its pseudo-terminal. Every wait is
// bounded.

#include <gtest/gtest.h>

#include <csignal>

#include "tests/support/Process.h"

namespace phonesim::test {

using namespace halvex::test;
namespace {

// Serving a pseudo-terminal and --register are the README's example (run by tests/dist) and
// halvex-cli ports' probe; the state is saved as --simulate-save saves it (the command-line
// round trips).
TEST(PhonesimCommand, AnInterruptEndsItAndBadArgumentsAreRefused) {
    ChildProcess sim({HALVEX_PHONESIM_COMMAND, "--profile", "empty"});
    ASSERT_EQ(sim.ReadLine(5000).rfind("port: ", 0), 0u);
    sim.Signal(SIGINT);
    EXPECT_EQ(sim.Wait(5000), 0);

    RunResult r = RunProgram({HALVEX_PHONESIM_COMMAND, "--baud", "fast"}, 5000);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("usage: halvex-phonesim"), std::string::npos);
    r = RunProgram({HALVEX_PHONESIM_COMMAND, "--echo", "maybe"}, 5000);
    EXPECT_EQ(r.status, 2);
    // A profile that cannot be loaded (its message is halvex-cli --simulate's too, CliStart).
    r = RunProgram({HALVEX_PHONESIM_COMMAND, "--profile", TempDir() + "/missing.json"}, 5000);
    EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace phonesim::test
