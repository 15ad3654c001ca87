// The shipped profiles and the schema's checks. The command-line and session tests pin the
// contents they use, and save and load phones (--simulate-save) in their round trips.

#include <gtest/gtest.h>

#include "phonesim/Profile.h"
#include "phonesim/ProfilePdus.h"
#include "phonesim/ShippedProfiles.h"

namespace phonesim::test {
namespace {

TEST(ShippedProfiles, PdusAreThoseTheirDescriptionsGive) {
    for (const ShippedProfileText& p : ShippedProfileTexts())
        EXPECT_EQ(RegenerateProfilePdus(std::string(p.json)), p.json) << p.name;
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
