// The shipped profiles, loading, saving and the schema's checks. The command-line and session
// tests pin the contents they use.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <tuple>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/ProfilePdus.h"
#include "phonesim/ShippedProfiles.h"

namespace phonesim::test {
namespace {

TEST(ShippedProfiles, PdusAreThoseTheirDescriptionsGive) {
    for (const ShippedProfileText& p : ShippedProfileTexts())
        EXPECT_EQ(RegenerateProfilePdus(std::string(p.json)), p.json) << p.name;
}

TEST(ProfileFiles, SaveAndLoadRoundTrip) {
    Phone phone(ShippedProfile("default"));
    phone.State().echo = false;
    phone.Receive("AT+CPBW=200,\"+4412\",145,\"Round/T\";+CSCS=\"UCS2\";+CMEE=2\r", 0);
    phone.Receive("AT+CPMS=\"SM\",\"SM\",\"ME\";+CMGD=1;+CMGL=4\r", 100);
    phone.SetCommandLatency("AT+CPBR", 120);
    const std::string path =
        (std::filesystem::temp_directory_path() / "halvex-phonesim-roundtrip.json").string();
    SaveProfileFile(phone.ToProfile(), path);
    const Profile loaded = LoadProfileFile(path);
    std::remove(path.c_str());
    EXPECT_EQ(ProfileToJson(loaded), ProfileToJson(phone.ToProfile()));
    // What the commands changed is in it.
    EXPECT_EQ(loaded.state.FindPhonebook("ME")->entries.at(200).name, u"Round/T");
    EXPECT_EQ(std::tuple(loaded.state.charset, loaded.state.cmee, loaded.state.selectedStorages[1]),
              std::tuple("UCS2", 2, "SM"));
    EXPECT_EQ(loaded.state.FindStorage("SM")->messages.count(1), 0u);
    EXPECT_EQ(loaded.state.FindStorage("SM")->messages.at(3).status, kReceivedRead);
    EXPECT_EQ(loaded.timing.commandLatencyMs.at("AT+CPBR"), 120u);
}

TEST(ProfileFiles, BadProfilesAreRefusedWithAReason) {
    for (const char* json :
         {"{", R"({"cmee": 5})", R"({"charset": "KOI8"})", R"({"echo": "yes"})",
          R"({"phonebook": {"memories": [{"name": "ME", "capacity": 5,
                 "entries": [{"index": 6, "number": "1", "name": "x"}]}]}})",
          R"({"sms": {"storages": [{"name": "SM", "capacity": 5,
                 "messages": [{"index": 1, "status": 1, "pdu": "XYZ"}]}]}})",
          R"({"faults": [{"action": "explode"}]})", R"({"faults": [{"action": "drop"}]})"}) {
        EXPECT_THROW(ProfileFromJson(json), ProfileError) << json;
    }
    EXPECT_THROW(LoadProfileFile("/nonexistent/profile.json"), ProfileError);
    EXPECT_THROW(ShippedProfile("nope"), ProfileError);
}

}  // namespace
}  // namespace phonesim::test
