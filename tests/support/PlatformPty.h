#pragma once
// The master side of a pseudo-terminal for real-time tests of the termios port. Every wait is
// bounded; nothing sleeps a fixed time.

#include <string>

namespace halvex::test {

class PtyMaster {
public:
    PtyMaster();  // check Ok()
    ~PtyMaster();
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;

    bool Ok() const { return fd_ >= 0; }
    // "/dev/pts/N" and the registry form "pts/N".
    const std::string& SlavePath() const { return slavePath_; }
    std::u16string PortName() const;

    bool Write(const std::string& bytes);
    // Reads until `count` bytes came or `timeoutMs` passed; returns what came.
    std::string Read(std::size_t count, int timeoutMs = 1000);
    void Close();

private:
    int fd_ = -1;
    std::string slavePath_;
};

// True when `fd` has input within `timeoutMs`.
bool WaitReadable(int fd, int timeoutMs);

}  // namespace halvex::test
