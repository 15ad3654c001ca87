// The shipped profiles, loading, saving and the schema's checks.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/ProfilePdus.h"
#include "phonesim/ShippedProfiles.h"

namespace phonesim::test {
namespace {

// The other profiles' sizes and contents are pinned by the tests that use them (the phone book
// and message commands, the command line, gammu).
TEST(ShippedProfiles, NokiaNamesHaveNoSuffixAndFullHasNoFreePlace) {
    const Profile nokia = ShippedProfile("nokia");  // alive while its entries are read
    std::multiset<std::u16string> names;
    for (const auto& [index, entry] : nokia.state.FindPhonebook("ME")->entries) {
        EXPECT_EQ(entry.name.find(u'/'), std::u16string::npos) << index;
        names.insert(entry.name);
    }
    EXPECT_EQ(names.count(u"John Smith"), 2u);

    const PhoneState full = ShippedProfile("full").state;
    EXPECT_EQ(full.FindPhonebook("ME")->FirstFree(), 0);
    for (const auto& st : full.storages)
        EXPECT_EQ(st.FirstFree(), 0) << st.name;
}

TEST(ShippedProfiles, PdusAreThoseTheirDescriptionsGive) {
    for (const ShippedProfileText& p : ShippedProfileTexts()) {
        EXPECT_EQ(RegenerateProfilePdus(std::string(p.json)), p.json) << p.name;
    }
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
    EXPECT_EQ(loaded.state.FindPhonebook("ME")->entries.at(200).name, u"Round/T");
    EXPECT_EQ(loaded.state.charset, "UCS2");
    EXPECT_EQ(loaded.state.cmee, 2);
    EXPECT_EQ(loaded.state.selectedStorages[1], "SM");
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
    EXPECT_THROW(ProfileWithPatch(ShippedProfile("empty"), "[1,"), ProfileError);
    EXPECT_THROW(ShippedProfile("nope"), ProfileError);
}

TEST(ProfileFiles, MissingKeysTakeTheirDefaultsAndPatchesMergeObjects) {
    const Profile p = ProfileFromJson("{}");
    EXPECT_TRUE(p.state.echo);
    EXPECT_EQ(p.state.cmee, 0);
    EXPECT_EQ(p.state.charset, "IRA");
    EXPECT_EQ(p.timing.latencyMs, 50u);
    EXPECT_EQ(p.timing.baud, 9600u);
    Phone phone(p);
    phone.Receive("AT+CPBR=?;+CPMS?\r", 0);
    EXPECT_EQ(phone.Read(10'000), "AT+CPBR=?;+CPMS?\r\r\nERROR\r\n");

    const Profile patched = ProfileWithPatch(ShippedProfile("nokia"),
                                             R"({"identity": {"maker": "NOKIA"}, "echo": false})");
    EXPECT_EQ(patched.state.identity.maker, "NOKIA");
    EXPECT_EQ(patched.state.identity.model, "Nokia 6310i");
    EXPECT_FALSE(patched.state.echo);
}

}  // namespace
}  // namespace phonesim::test
