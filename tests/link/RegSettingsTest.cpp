#include <gtest/gtest.h>

#include "link/RegSettings.h"
#include "tests/support/PlatformFixture.h"

namespace {

using namespace platform;

using RegSettingsTest = halvex::test::PlatformTest;

// Written at start-up only below an existing "Comm".
TEST_F(RegSettingsTest, MemoryTypeIsStoredOnlyBelowAnExistingComm) {
    DWORD value = 12345;
    EXPECT_NE(settings::StoreMemoryType(1), ERROR_SUCCESS);
    EXPECT_FALSE(settings::ReadMemoryType(value));
    registry().CreateKey(HKEY_CURRENT_USER, u"Comm");
    ASSERT_EQ(settings::StoreMemoryType(0xFFFFFFFFu), ERROR_SUCCESS);
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

}  // namespace
