#include <gtest/gtest.h>

#include "link/RegSettings.h"
#include "tests/support/PlatformFixture.h"

namespace {

using namespace platform;

class RegSettingsTest : public halvex::test::PlatformTest {
protected:
    void StoreRaw(DWORD type, std::vector<BYTE> bytes) {
        registry().CreateKey(HKEY_CURRENT_USER, u"Comm\\MemoryType");
        registry().SetValue(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", type,
                            bytes.data(), static_cast<DWORD>(bytes.size()));
    }
};

TEST_F(RegSettingsTest, MissingOrLongerThanFourBytesIsUnreadableAndAnyFourBytesAreANumber) {
    DWORD value = 12345;
    EXPECT_FALSE(settings::ReadMemoryType(value));  // no key
    registry().CreateKey(HKEY_CURRENT_USER, u"Comm\\MemoryType");
    EXPECT_FALSE(settings::ReadMemoryType(value));  // no value
    StoreRaw(REG_BINARY, {1, 0, 0, 0, 0});
    EXPECT_FALSE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 12345u);
    StoreRaw(REG_SZ, {1, 0, 0, 0});
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 1u);

    CRegSettings reg;
    ASSERT_EQ(reg.Open(HKEY_CURRENT_USER, u"Comm\\MemoryType"), ERROR_SUCCESS);
    EXPECT_EQ(reg.QueryDWORD(value, u"Absent", 4), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 4u);
}

TEST_F(RegSettingsTest, StartUpWriteNeedsCommAndCreatesMemoryType) {
    EXPECT_NE(settings::StoreMemoryType(1), ERROR_SUCCESS);
    EXPECT_FALSE(registry().KeyExists(HKEY_CURRENT_USER, u"Comm\\MemoryType"));
    registry().CreateKey(HKEY_CURRENT_USER, u"Comm");
    ASSERT_EQ(settings::StoreMemoryType(0xFFFFFFFFu), ERROR_SUCCESS);
    DWORD value = 0;
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

}  // namespace
