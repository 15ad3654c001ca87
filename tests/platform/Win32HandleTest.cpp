#include <gtest/gtest.h>

#include "platform/HandleTable.h"
#include "platform/Win32.h"
#include "tests/support/PlatformFixture.h"
#include "tests/support/ScriptedPort.h"

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
        DWORD written = 77, errors = 77, read = 77;
        EXPECT_EQ((std::vector<BOOL>{
                      GetCommState(h, &dcb), SetCommState(h, &dcb), GetCommTimeouts(h, &timeouts),
                      SetCommTimeouts(h, &timeouts), EscapeCommFunction(h, SETDTR),
                      PurgeComm(h, PURGE_RXCLEAR), WriteFile(h, "AT\r", 3, &written, nullptr),
                      FlushFileBuffers(h), ClearCommError(h, &errors, nullptr),
                      ReadFile(h, buffer, sizeof buffer, &read, nullptr), CloseHandle(h)}),
                  std::vector<BOOL>(11, FALSE));
        EXPECT_EQ((std::vector<DWORD>{written, errors, read}), std::vector<DWORD>(3, 0));
    }
    ScriptedPort port;
};

TEST_F(Win32Handles, NullUnknownClosedAndStaleHandlesFailEveryCall) {
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
    // Handle numbers are never reused, so a stale one cannot reach the port opened again.
    HANDLE again = OpenPort(u"rfcomm0");
    EXPECT_GT(again, h);
    ExpectEverySerialCallFails(h);
    EXPECT_EQ(port.Written(), "");
    EXPECT_TRUE(CloseHandle(again));
}

}  // namespace
