#include <gtest/gtest.h>

#include "link/RegSettings.h"
#include "tests/support/PlatformFixture.h"

namespace {

using namespace platform;

using RegSettingsTest = halvex::test::PlatformTest;

// Written at start-up only below an existing "Comm"; read back from any four stored bytes, whatever
// their type, while a longer value is no memory type at all.
TEST_F(RegSettingsTest, MemoryTypeIsAnyFourBytesBelowAnExistingComm) {
    DWORD value = 12345;
    EXPECT_NE(settings::StoreMemoryType(1), ERROR_SUCCESS);
    EXPECT_FALSE(settings::ReadMemoryType(value));
    registry().CreateKey(HKEY_CURRENT_USER, u"Comm");
    ASSERT_EQ(settings::StoreMemoryType(0xFFFFFFFFu), ERROR_SUCCESS);
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 0xFFFFFFFFu);

    const BYTE bytes[] = {1, 0, 0, 0, 0};
    registry().SetValue(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", REG_BINARY, bytes,
                        5);
    EXPECT_FALSE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    registry().SetValue(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", REG_SZ, bytes, 4);
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 1u);
}

}  // namespace
