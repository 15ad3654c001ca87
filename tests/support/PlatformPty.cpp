#include "tests/support/PlatformPty.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace halvex::test {

PtyMaster::PtyMaster() {
    fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    const char* name = (::grantpt(fd_) == 0 && ::unlockpt(fd_) == 0) ? ::ptsname(fd_) : nullptr;
    if (!name) {
        Close();
        return;
    }
    slavePath_ = name;
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

PtyMaster::~PtyMaster() {
    Close();
}

std::u16string PtyMaster::PortName() const {
    std::string rel = slavePath_.rfind("/dev/", 0) == 0 ? slavePath_.substr(5) : slavePath_;
    return std::u16string(rel.begin(), rel.end());
}

bool PtyMaster::Write(const std::string& bytes) {
    // The tests write a few bytes, far less than the terminal holds, so one write takes them.
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::string PtyMaster::Read(std::size_t count, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string out;
    while (out.size() < count) {
        auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !WaitReadable(fd_, static_cast<int>(left)))
            break;
        char buf[256];
        ssize_t n = ::read(fd_, buf, std::min(sizeof buf, count - out.size()));
        if (n <= 0) {
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            break;
        }
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

void PtyMaster::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    int r;
    while ((r = ::poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return r > 0 && (p.revents & POLLIN);
}

}  // namespace halvex::test
