// The notice socket's own guards, over a real local socket: only this user's processes are heard,
// a line longer than a notice is dropped, a bad value is answered "ERROR" and not handed on, and
// a second Halvex cannot take the socket of a running one.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <future>
#include <string>
#include <vector>

#include "app/NoticeServer.h"
#include "tests/support/Process.h"

namespace {

using halvex::test::TempDir;

// A socket of ours at `path`: connected (true) or only bound, as a Halvex that ended leaves it.
int SocketAt(const std::string& path, bool connected) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const auto* at = reinterpret_cast<const sockaddr*>(&address);
    if ((connected ? connect(fd, at, sizeof address) : bind(fd, at, sizeof address)) == 0)
        return fd;
    close(fd);
    return -1;
}

class NoticeServerTest : public ::testing::Test {
protected:
    NoticeServerTest() : path_(TempDir() + "/notify") {
        QObject::connect(&server_, &app::NoticeServer::noticeReceived,
                         [this](std::uint32_t value) { taken_.push_back(value); });
    }

    // Sends `bytes` from another thread and gives what came back before the server closed.
    std::string Exchange(const std::string& bytes) {
        auto answer = std::async(std::launch::async, [this, bytes] {
            std::string got;
            const int fd = SocketAt(path_, true);
            if (fd >= 0 && send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) >= 0)
                halvex::test::ReadUntil(fd, got, "", 5000);
            close(fd);
            return got;
        });
        const halvex::test::Deadline deadline = halvex::test::DeadlineIn(6000);
        while (answer.wait_for(std::chrono::seconds(0)) != std::future_status::ready &&
               halvex::test::MsLeft(deadline) > 0)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents();
        return answer.get();
    }

    const std::string path_;
    app::NoticeServer server_;
    std::vector<std::uint32_t> taken_;
};

TEST_F(NoticeServerTest, OnlyAWholeGoodLineFromThisUserIsTaken) {
    ASSERT_TRUE(server_.Listen(QString::fromStdString(path_)));
    const std::string longZeros(40, '0');
    const std::pair<std::string, std::string> lines[] = {
        {"0x10\n", "OK\n"},
        {"ten\n", "ERROR\n"},
        {"4294967296\n", "ERROR\n"},
        {std::string(30, '0') + "7\n", "OK\n"},
        // More than a notice holds, with or without its end: dropped unanswered.
        {longZeros + "7\n", ""},
        {longZeros, ""},
        {"-1\n", "OK\n"}};
    for (const auto& [line, answer] : lines)
        EXPECT_EQ(Exchange(line), answer) << line;
    EXPECT_EQ(taken_, (std::vector<std::uint32_t>{0x10, 7, 0xFFFFFFFFu}));

    // Seen from a server of another user, this process is a stranger.
    server_.ServeUser(getuid() + 1);
    EXPECT_EQ(Exchange("1\n"), "");
    EXPECT_EQ(taken_.size(), 3u);
}

TEST_F(NoticeServerTest, ASecondHalvexCannotTakeTheSocketButALeftOverOneIsTakenOver) {
    const int left = SocketAt(path_, false);
    ASSERT_GE(left, 0);
    close(left);

    ASSERT_TRUE(server_.Listen(QString::fromStdString(path_)));
    app::NoticeServer second;
    EXPECT_FALSE(second.Listen(QString::fromStdString(path_)));
    EXPECT_EQ(Exchange("3\n"), "OK\n");
    EXPECT_EQ(taken_, std::vector<std::uint32_t>{3});
}

}  // namespace
