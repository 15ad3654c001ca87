// The pseudo-terminal transport in real time. Every wait is bounded. The unpaced line is what
// the command and gammu tests run on.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <chrono>
#include <string>

#include "phonesim/Phone.h"
#include "phonesim/PtyServer.h"
#include "tests/support/Process.h"

namespace phonesim::test {

using namespace halvex::test;
namespace {

using Clock = std::chrono::steady_clock;

class PtyTransport : public ::testing::Test {
protected:
    void Start() {
        std::string error;
        ASSERT_TRUE(server.Open(error)) << error;
        server.Start();
        fd = ::open(server.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
    }
    ~PtyTransport() override {
        server.Stop();
        if (fd >= 0)
            ::close(fd);
    }
    Phone phone{ShippedProfile("default")};
    PtyServer server{phone};
    int fd = -1;
};

TEST_F(PtyTransport, AnswersPacedAtTheLineSpeed) {
    Start();
    const auto start = Clock::now();
    ASSERT_EQ(::write(fd, "ATI\r", 4), 4);
    std::string answer;
    EXPECT_TRUE(ReadUntil(fd, answer, "OK\r\n", 3000));
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(answer,
              "ATI\r\r\nMarlin Telecom\r\nMarlin M-3100\r\nV 2.41 2004-11-02\r\n\r\nOK\r\n");
    // 50 ms of latency, then 58 bytes of answer at 9600 baud: it cannot all be here sooner.
    EXPECT_GE(elapsed, 50 + 58 * 10 * 1000 / 9600 - 5);
    server.Stop();
    ASSERT_EQ(phone.CommandLines(), std::vector<std::string>{"ATI"});
}

TEST_F(PtyTransport, DroppedLinkHangsUpTheTerminal) {
    phone.AddFault(Fault::DropOn("AT+CPBR"));
    Start();
    ASSERT_EQ(::write(fd, "AT+CPBR=1,5\r", 12), 12);
    std::string got;
    EXPECT_FALSE(ReadUntil(fd, got, "", 3000)) << got;  // hung up, not timed out
    server.Stop();
    EXPECT_TRUE(server.LinkDropped());
}

}  // namespace
}  // namespace phonesim::test
