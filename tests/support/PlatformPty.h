#pragma once
// The master side of a pseudo-terminal for the real-time test of the termios port.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <utility>

namespace halvex::test {

class PtyMaster {
public:
    // Check Ok().
    PtyMaster() : fd_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (fd_ < 0 || ::grantpt(fd_) != 0 || ::unlockpt(fd_) != 0 || !::ptsname(fd_))
            Close();
        else
            slavePath_ = ::ptsname(fd_);
    }
    ~PtyMaster() { Close(); }
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;

    bool Ok() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // "/dev/pts/N" and the registry form "pts/N".
    const std::string& SlavePath() const { return slavePath_; }
    std::u16string PortName() const {
        const std::string rel = slavePath_.substr(slavePath_.rfind("/dev/", 0) == 0 ? 5 : 0);
        return std::u16string(rel.begin(), rel.end());
    }

    void Close() {
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));
    }

private:
    int fd_ = -1;
    std::string slavePath_;
};

}  // namespace halvex::test
