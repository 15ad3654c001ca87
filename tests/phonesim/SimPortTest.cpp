// The in-process port onto the simulated phone, through the platform layer. The link over it is
// proved by the session, phone book and SMS tests.

#include <gtest/gtest.h>

#include <string>

#include "platform/Win32.h"
#include "tests/support/SimPhoneFixture.h"

namespace halvex::test {
namespace {

using namespace platform;

class SimPort : public SimPhoneTest {
protected:
    HANDLE OpenPort() {
        return CreateFileW(kPortName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL_HANDLE);
    }
    static bool WriteText(HANDLE port, const std::string& text) {
        DWORD written = 0;
        return WriteFile(port, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
               written == text.size();
    }
    static std::string ReadText(HANDLE port) {
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(port, buffer, sizeof buffer, &read, nullptr))
            return "<failed>";
        return std::string(buffer, read);
    }
};

TEST_F(SimPort, ReadsFollowTheVirtualClock) {
    const HANDLE port = OpenPort();
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    clock().Advance(500);
    ASSERT_TRUE(WriteText(port, "AT\r"));
    EXPECT_EQ(ReadText(port), "");
    Sleep(10);
    EXPECT_EQ(ReadText(port), "AT\r");
    Sleep(100);
    EXPECT_EQ(ReadText(port), "\r\nOK\r\n");
    ASSERT_EQ(transcript().size(), 1u);
    EXPECT_EQ(transcript()[0].timeMs, 500u);
    CloseHandle(port);
}

TEST_F(SimPort, OpensOneAtATimeAndFailsEverythingWhileTheLinkIsDown) {
    const HANDLE port = OpenPort();
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(PortOpen());
    EXPECT_EQ(OpenPort(), INVALID_HANDLE_VALUE);  // like a real port
    phone().AddFault(phonesim::Fault::DropAt(1000));
    EXPECT_TRUE(WriteText(port, "AT\r"));
    Sleep(1000);
    EXPECT_FALSE(WriteText(port, "AT\r"));
    EXPECT_EQ(ReadText(port), "<failed>");
    EXPECT_FALSE(PurgeComm(port, PURGE_RXCLEAR));
    CloseHandle(port);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(OpenPort(), INVALID_HANDLE_VALUE);
    phone().RestoreLink();
    const HANDLE again = OpenPort();
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
}

}  // namespace
}  // namespace halvex::test
