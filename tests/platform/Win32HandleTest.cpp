#include <gtest/gtest.h>

#include "platform/HandleTable.h"
#include "platform/ScriptedPort.h"
#include "platform/Win32.h"
#include "tests/support/PlatformFixture.h"

using namespace platform;

namespace {

class Win32Handles : public halvex::test::PlatformTest {
protected:
    Win32Handles() : port(clock()) { ports().Add(u"rfcomm0", port.Factory()); }
    HANDLE OpenPort(const char16_t* name) {
        return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL_HANDLE);
    }
    // Every serial call on `h` fails and leaves outputs zeroed.
    void ExpectEverySerialCallFails(HANDLE h) {
        DCB dcb;
        COMMTIMEOUTS timeouts;
        BYTE buffer[8] = {};
        DWORD count = 77;
        EXPECT_FALSE(GetCommState(h, &dcb));
        EXPECT_FALSE(SetCommState(h, &dcb));
        EXPECT_FALSE(GetCommTimeouts(h, &timeouts));
        EXPECT_FALSE(SetCommTimeouts(h, &timeouts));
        EXPECT_FALSE(EscapeCommFunction(h, SETDTR));
        EXPECT_FALSE(PurgeComm(h, PURGE_RXCLEAR));
        EXPECT_FALSE(WriteFile(h, "AT\r", 3, &count, nullptr));
        EXPECT_EQ(count, 0u);
        count = 77;
        EXPECT_FALSE(FlushFileBuffers(h));
        EXPECT_FALSE(ClearCommError(h, &count, nullptr));
        EXPECT_EQ(count, 0u);
        count = 77;
        EXPECT_FALSE(ReadFile(h, buffer, sizeof buffer, &count, nullptr));
        EXPECT_EQ(count, 0u);
        EXPECT_FALSE(CloseHandle(h));
    }
    ScriptedPort port;
};

TEST_F(Win32Handles, NullUnknownAndClosedHandlesFailEveryCall) {
    const std::size_t before = HandleTable::Instance().OpenCount();
    EXPECT_EQ(OpenPort(u""), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort(nullptr), INVALID_HANDLE_VALUE);
    ExpectEverySerialCallFails(NULL_HANDLE);
    ExpectEverySerialCallFails(INVALID_HANDLE_VALUE);
    ExpectEverySerialCallFails(0x7654321);

    HANDLE h = OpenPort(u"rfcomm0");
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(OpenPort(u"rfcomm0"), INVALID_HANDLE_VALUE);  // exclusive
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(HandleTable::Instance().OpenCount(), before);
    ExpectEverySerialCallFails(h);

    // A registry key handle is not a port.
    registry().CreateKey(HKEY_CURRENT_USER, u"Comm");
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Comm", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(key, "AT\r", 3, &written, nullptr));
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Win32Handles, HandleNumbersAreNeverReusedSoAStaleOneCannotReachANewPort) {
    HANDLE first = OpenPort(u"rfcomm0");
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    EXPECT_NE(first, NULL_HANDLE);
    ASSERT_TRUE(CloseHandle(first));
    HANDLE second = OpenPort(u"rfcomm0");
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    EXPECT_GT(second, first);
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(first, "AT\r", 3, &written, nullptr));
    EXPECT_EQ(port.Written(), "");
    EXPECT_TRUE(WriteFile(second, "AT\r", 3, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_TRUE(CloseHandle(second));
}

}  // namespace
