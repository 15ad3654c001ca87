// halvex-cli ports: a real simulated phone on its pseudo-terminal, found and asked when given.
// What is no port name is refused before anything is opened (CliStart's refused commands).

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

TEST(CliPorts, ProbeFindsTheSimulatedPhoneOnItsPseudoTerminal) {
    for (const std::string profile : {"nokia", "default"}) {
        SCOPED_TRACE(profile);
        ChildProcess sim({HALVEX_PHONESIM_COMMAND, "--profile", profile, "--baud", "0"});
        const std::string first = sim.ReadLine(5000);
        ASSERT_EQ(first.rfind("port: /dev/pts/", 0), 0u) << first;
        const std::string slave = first.substr(6);

        const CliRun run = RunCli({"ports", "--probe", "--json", slave.substr(5)});
        ASSERT_EQ(run.status, 0) << run.err;
        const nlohmann::json ports = nlohmann::json::parse(run.out);
        const auto found =
            std::ranges::find_if(ports, [&](const auto& port) { return port["path"] == slave; });
        ASSERT_NE(found, ports.end()) << run.out;
        EXPECT_EQ(std::tuple((*found)["serial"], (*found)["probe"]["answered"],
                             (*found)["probe"]["nokia"]),
                  std::tuple(true, true, profile == "nokia"));
        EXPECT_EQ((*found)["state"].get<std::string>().rfind("made by halvex-phonesim", 0), 0u);
        EXPECT_FALSE((*found)["probe"]["maker"].get<std::string>().empty());
    }
}

// --port is stored once the port has opened, so the next run finds it by itself.
TEST(CliPorts, PortGivenIsStoredOnceItOpened) {
    ChildProcess sim({HALVEX_PHONESIM_COMMAND, "--baud", "0"});
    const std::string first = sim.ReadLine(5000);
    ASSERT_EQ(first.rfind("port: /dev/pts/", 0), 0u) << first;
    const std::string registry = "HALVEX_REGISTRY=" + TempDir() + "/registry.reg";
    EXPECT_EQ(RunCli({"--port", first.substr(11), "--fast", "identify"}, {registry}).Whole(),
              (Lines{"0", "connected, maker other\n", ""}));
    EXPECT_EQ(RunCli({"--fast", "identify"}, {registry}).Whole(),
              (Lines{"0", "connected, maker other\n", ""}));
}

}  // namespace
}  // namespace halvex::test
