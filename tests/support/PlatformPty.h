#pragma once
// The master side of a pseudo-terminal for real-time tests of the termios port. Every wait is
// bounded; nothing sleeps a fixed time.

#include <fcntl.h>
#include <stdlib.h>

#include <cerrno>

// Also the poll, the read and the deadlines.
#include "tests/support/Process.h"

namespace halvex::test {

// True when `fd` has input within `timeoutMs`.
inline bool WaitReadable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    int r;
    while ((r = ::poll(&p, 1, timeoutMs)) < 0 && errno == EINTR) {
    }
    return r > 0 && (p.revents & POLLIN);
}

class PtyMaster {
public:
    // Check Ok().
    PtyMaster() : fd_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        const char* name =
            fd_ >= 0 && ::grantpt(fd_) == 0 && ::unlockpt(fd_) == 0 ? ::ptsname(fd_) : nullptr;
        if (name == nullptr) {
            Close();
            return;
        }
        slavePath_ = name;
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyMaster() { Close(); }
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;

    bool Ok() const { return fd_ >= 0; }
    // "/dev/pts/N" and the registry form "pts/N".
    const std::string& SlavePath() const { return slavePath_; }
    std::u16string PortName() const {
        const std::string rel = slavePath_.substr(slavePath_.rfind("/dev/", 0) == 0 ? 5 : 0);
        return std::u16string(rel.begin(), rel.end());
    }

    // The tests write a few bytes, far less than the terminal holds, so one write takes them.
    bool Write(const std::string& bytes) {
        return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Reads until `count` bytes came or `timeoutMs` passed; returns what came.
    std::string Read(std::size_t count, int timeoutMs = 1000) {
        const Deadline deadline = DeadlineIn(timeoutMs);
        std::string out;
        char buffer[256];
        while (out.size() < count && WaitReadable(fd_, MsLeft(deadline))) {
            const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - out.size()));
            if (n < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (n <= 0)
                break;
            out.append(buffer, static_cast<std::size_t>(n));
        }
        return out;
    }
    void Close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    std::string slavePath_;
};

}  // namespace halvex::test
