// Third-party AT software against the phone: gammu over the pseudo-terminal. One gammu run
// (identify, getallmemory ME, getallsms in batch mode) serves all the checks, as its start-up
// alone takes seconds.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "phonesim/Phone.h"
#include "phonesim/PtyServer.h"
#include "phonesim/ShippedProfiles.h"
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
    // The text of gammu's output from `from` up to `to` (or the end).
    const auto Section = [&](const std::string& from, const std::string& to) {
        const std::size_t start = output.find(from);
        return start == std::string::npos ? ""
                                          : output.substr(start, output.find(to, start) - start);
    };

    const std::string identity = Section("Manufacturer", "Memory ME");
    for (const char* text : {"Marlin Telecom", "Marlin M-3100", "V 2.41 2004-11-02",
                             "351234567890123", "234150123456789"}) {
        EXPECT_NE(identity.find(text), std::string::npos) << text << "\n" << output;
    }

    const nlohmann::json profile = nlohmann::json::parse(ShippedProfileTexts()[0].json);
    ASSERT_EQ(ShippedProfileTexts()[0].name, "default");
    int contacts = 0;
    for (const auto& entry : profile["phonebook"]["memories"][0]["entries"]) {
        const std::string index = std::to_string(entry["index"].get<int>());
        const std::string block = Section("Memory ME, Location " + index + "\n", "\n\n");
        for (const char* field : {"name", "number"}) {
            EXPECT_NE(block.find("\"" + entry[field].get<std::string>() + "\""), std::string::npos)
                << index << ": " << block;
        }
        ++contacts;
    }
    EXPECT_EQ(contacts, 54);
    EXPECT_EQ(Section("Memory ME, Location 1\n", "folder \"").find("Location 55\n"),
              std::string::npos);

    const std::string sms = Section("Location 1, folder", "\x01");
    int messages = 0;
    for (const auto& storage : profile["sms"]["storages"]) {
        for (const auto& m : storage["messages"]) {
            const bool received = m.contains("deliver");
            const auto& d = received ? m["deliver"] : m["submit"];
            EXPECT_NE(sms.find(d["text"].get<std::string>()), std::string::npos) << d.dump();
            const std::string party = d[received ? "from" : "to"].get<std::string>();
            EXPECT_NE(sms.find("\"" + party + "\""), std::string::npos) << party;
            ++messages;
        }
    }
    EXPECT_EQ(messages, 18);
    EXPECT_NE(sms.find("18 SMS parts in 18 SMS sequences"), std::string::npos);
}

}  // namespace
}  // namespace phonesim::test
