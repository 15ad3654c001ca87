#include <gtest/gtest.h>

#include "app/RegSettings.h"
#include "platform/Win32.h"
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

TEST_F(RegSettingsTest, MemoryTypeValuesAreReadAsStored) {
    for (DWORD stored : {1u, 0u, 0xFFFFFFFFu, 2u}) {
        registry().SetDword(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", stored);
        DWORD value = 12345;
        ASSERT_TRUE(settings::ReadMemoryType(value));
        EXPECT_EQ(value, stored);
        EXPECT_EQ(settings::IsNokiaMemoryType(value), stored == 1);
    }
}

TEST_F(RegSettingsTest, MissingKeyOrValueIsUnreadable) {
    DWORD value = 12345;
    EXPECT_FALSE(settings::ReadMemoryType(value));
    registry().CreateKey(HKEY_CURRENT_USER, u"Comm\\MemoryType");
    EXPECT_FALSE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 12345u);
}

TEST_F(RegSettingsTest, ValueLongerThanFourBytesIsUnreadableAndAnyTypeOfFourIsANumber) {
    StoreRaw(REG_BINARY, {1, 0, 0, 0, 0});
    DWORD value = 12345;
    EXPECT_FALSE(settings::ReadMemoryType(value));

    StoreRaw(REG_BINARY, {1, 0, 0, 0});
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 1u);

    CRegSettings reg;
    ASSERT_EQ(reg.Open(HKEY_CURRENT_USER, u"Comm\\MemoryType"), ERROR_SUCCESS);
    StoreRaw(REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(reg.QueryDWORD(value, u"MemoryType", 4), ERROR_MORE_DATA);
    EXPECT_EQ(value, 4u);
    EXPECT_EQ(reg.QueryDWORD(value, u"Absent", 7), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, 7u);
}

TEST_F(RegSettingsTest, StartUpWriteNeedsCommAndCreatesMemoryType) {
    EXPECT_NE(settings::StoreMemoryType(1), ERROR_SUCCESS);
    EXPECT_FALSE(registry().KeyExists(HKEY_CURRENT_USER, u"Comm\\MemoryType"));

    registry().CreateKey(HKEY_CURRENT_USER, u"Comm");
    ASSERT_EQ(settings::StoreMemoryType(0xFFFFFFFFu), ERROR_SUCCESS);
    DWORD stored = 0;
    ASSERT_EQ(registry().GetDword(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", stored),
              ERROR_SUCCESS);
    EXPECT_EQ(stored, 0xFFFFFFFFu);
    ASSERT_EQ(settings::StoreMemoryType(1), ERROR_SUCCESS);
    DWORD value = 0;
    ASSERT_TRUE(settings::ReadMemoryType(value));
    EXPECT_EQ(value, 1u);
}

TEST_F(RegSettingsTest, KeysAreReleasedOnCloseAndOnReopen) {
    registry().SetString(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"Name", u"x");
    CRegSettings reg;
    EXPECT_EQ(reg.Close(), ERROR_SUCCESS);  // nothing held
    ASSERT_EQ(reg.Open(HKEY_CURRENT_USER, u"Comm"), ERROR_SUCCESS);
    const HKEY first = reg.GetKey();
    ASSERT_EQ(reg.Open(HKEY_CURRENT_USER, u"Comm\\MemoryType"), ERROR_SUCCESS);
    // The first key was closed when the second replaced it.
    EXPECT_NE(RegCloseKey(first), ERROR_SUCCESS);
    EXPECT_NE(reg.Open(HKEY_CURRENT_USER, u"Nowhere"), ERROR_SUCCESS);
    EXPECT_NE(reg.GetKey(), NULL_HANDLE);  // a failed open keeps the held key
    ASSERT_EQ(reg.SetString(u"rfcomm0", u"Port"), ERROR_SUCCESS);
    std::u16string port;
    ASSERT_EQ(registry().GetString(HKEY_CURRENT_USER, u"Comm\\MemoryType", u"Port", port),
              ERROR_SUCCESS);
    EXPECT_EQ(port, u"rfcomm0");
    EXPECT_EQ(reg.Close(), ERROR_SUCCESS);
    EXPECT_EQ(reg.GetKey(), NULL_HANDLE);
}

}  // namespace
