// The shipped profiles. The command-line and session tests pin the contents they use, and save and
// load phones (--simulate-save) in their round trips.

#include <gtest/gtest.h>

#include "phonesim/ProfilePdus.h"
#include "phonesim/ShippedProfiles.h"

namespace phonesim::test {
namespace {

TEST(ShippedProfiles, PdusAreThoseTheirDescriptionsGive) {
    for (const ShippedProfileText& p : ShippedProfileTexts())
        EXPECT_EQ(RegenerateProfilePdus(std::string(p.json)), p.json) << p.name;
}

}  // namespace
}  // namespace phonesim::test
