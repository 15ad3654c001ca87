// Third-party AT software against the phone: gammu over the pseudo-terminal. One gammu run
// (identify, getallmemory ME, getallsms in batch mode) serves all the checks, as its start-up
// alone takes seconds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "phonesim/Phone.h"
#include "phonesim/PtyServer.h"
#include "tests/support/Process.h"

namespace phonesim::test {

using namespace halvex::test;
namespace {

namespace fs = std::filesystem;

TEST(GammuInterop, IdentifyGetAllMemoryAndGetAllSmsShowTheProfile) {
    Phone phone(ShippedProfile("default"));
    // Unpaced and quick: gammu reads a phone book one entry at a time.
    phone.SetBaud(0);
    phone.SetLatency(1);
    PtyServer server(phone);
    std::string error;
    ASSERT_TRUE(server.Open(error)) << error;
    server.Start();
    const fs::path dir = TempDir();
    std::ofstream(dir / "gammurc")
        << "[gammu]\ndevice = " << server.SlavePath() << "\nconnection = at\n";
    std::ofstream(dir / "commands") << "identify\ngetallmemory ME\ngetallsms\n";
    const RunResult run = RunProgram(
        {"gammu", "-c", (dir / "gammurc").string(), "batch", (dir / "commands").string()}, 60'000,
        {"LC_ALL=C.UTF-8", "HOME=" + dir.string()});
    server.Stop();
    if (run.status == 127 && run.output.empty())
        GTEST_SKIP() << "gammu is not installed (Debian package gammu, see scripts/install-deps)";
    ASSERT_EQ(run.status, 0) << run.output;
    const std::string& output = run.output;
    // The identity; each of the 54 entries once, none past them; names and texts in every
    // alphabet whole.
    std::size_t locations = 0;
    for (std::size_t at = output.find("Memory ME, Location "); at != std::string::npos;
         at = output.find("Memory ME, Location ", at + 1))
        ++locations;
    EXPECT_EQ(locations, 54u) << output;
    for (const char* shown :
         {"Marlin Telecom", "Marlin M-3100", "V 2.41 2004-11-02", "351234567890123",
          "234150123456789", "\"Ann Taylor/H\"", "\"01632960101\"", "\"Ελένη Παππά/M\"",
          "\"李伟/M\"", "\"+8613800000451\"", "Γεια σου! Τα λέμε αύριο;",
          "Order [4411] shipped: €25.00 paid", "Dziękuję bardzo!", "\"+48500000251\"",
          "18 SMS parts in 18 SMS sequences"})
        EXPECT_NE(output.find(shown), std::string::npos) << shown << "\n" << output;
}

}  // namespace
}  // namespace phonesim::test
