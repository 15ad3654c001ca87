// The halvex-phonesim command, run as a program against its pseudo-terminal. Every wait is
// bounded.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <csignal>
#include <filesystem>

#include "phonesim/Profile.h"
#include "tests/support/Process.h"

namespace phonesim::test {

using namespace halvex::test;
namespace {

namespace fs = std::filesystem;

class PhonesimCommand : public ::testing::Test {
protected:
    const fs::path dir = TempDir();
};

TEST_F(PhonesimCommand, ServesRegistersAndSavesOnTerminate) {
    const std::string registry = (dir / "registry.reg").string();
    const std::string saved = (dir / "saved.json").string();
    ChildProcess sim({HALVEX_PHONESIM_COMMAND, "--profile", "nokia", "--save", saved, "--register",
                      "--baud", "0", "--latency", "5", "--echo", "off"},
                     {"HALVEX_REGISTRY=" + registry});
    ASSERT_TRUE(sim.Started());
    const std::string first = sim.ReadLine(5000);
    ASSERT_EQ(first.rfind("port: /dev/pts/", 0), 0u) << first;
    const std::string slave = first.substr(6);

    EXPECT_NE(ReadFile(registry).find("\"Port\"=\"" + slave.substr(5) + "\""), std::string::npos);

    const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::write(fd, "AT+CPBW=20,\"123\",129,\"Saved\"\r", 29), 29);
    std::string got;
    EXPECT_TRUE(ReadUntil(fd, got, "OK\r\n", 5000) && got == "\r\nOK\r\n") << got;
    ::close(fd);

    sim.Signal(SIGTERM);
    EXPECT_EQ(sim.Wait(5000), 0);
    const Profile profile = LoadProfileFile(saved);
    EXPECT_EQ(profile.state.identity.maker, "Nokia");
    EXPECT_FALSE(profile.state.echo);
    EXPECT_EQ(profile.state.FindPhonebook("ME")->entries.at(20).name, u"Saved");
}

TEST_F(PhonesimCommand, AnInterruptEndsItAndBadArgumentsAreRefused) {
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
    r = RunProgram({HALVEX_PHONESIM_COMMAND, "--profile", (dir / "missing.json").string()}, 5000);
    EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace phonesim::test
