#pragma once
// The real serial port: POSIX termios on /dev/NAME (a name starting with '/' is a full path),
// opened exclusively, raw, non-blocking, so that a read returns at once with what has arrived.
// Works on pseudo-terminals too, which refuse the modem-line calls: those report failure and
// nothing else.

#include <termios.h>
#include <memory>
#include <string>

#include "platform/Host.h"

namespace platform {

class TermiosSerialPorts : public SerialPorts {
public:
    // Only a character device is opened; anything else is refused before open() sees it.
    std::unique_ptr<SerialDevice> Open(const std::u16string& name) override;
    PortFailure LastFailure() const override { return failure_; }
    // "/dev/NAME", or NAME itself when it starts with '/'; "" for a name that is not a plain
    // device name (empty, a ".." component, a control character, not UTF-16 text), with the
    // reason in `why` when given.
    static std::string DevicePath(const std::u16string& name, std::string* why = nullptr);

private:
    // Records why `path` failed, with the survey's details for the user.
    void Fail(PortFailure::Kind kind, const std::string& path, int error);

    PortFailure failure_;
};

class TermiosSerialDevice : public SerialDevice {
public:
    // Takes ownership of an open terminal descriptor already set raw.
    explicit TermiosSerialDevice(int fd);
    ~TermiosSerialDevice() override;
    TermiosSerialDevice(const TermiosSerialDevice&) = delete;
    TermiosSerialDevice& operator=(const TermiosSerialDevice&) = delete;

    bool GetState(DCB& dcb) override;
    bool SetState(const DCB& dcb) override;
    bool GetTimeouts(COMMTIMEOUTS& timeouts) override;
    bool SetTimeouts(const COMMTIMEOUTS& timeouts) override;
    bool EscapeFunction(DWORD function) override;
    bool Purge(DWORD flags) override;
    bool Write(const BYTE* data, DWORD size, DWORD& written) override;
    bool Flush() override;
    bool ClearError(DWORD& errors) override;
    bool Read(BYTE* buffer, DWORD capacity, DWORD& read) override;

    int Descriptor() const { return fd_; }

private:
    // Milliseconds a transfer of `bytes` may take under the current write timeouts.
    long WriteBudgetMs(DWORD bytes) const;

    int fd_;
    DCB dcb_;  // fields termios cannot hold come back as last set
    COMMTIMEOUTS timeouts_;
};

}  // namespace platform
