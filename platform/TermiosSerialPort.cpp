#include "platform/TermiosSerialPort.h"

#include "platform/PortSurvey.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/Utf.h"

namespace platform {

namespace {

struct Speed {
    DWORD baud;
    speed_t code;
};
constexpr Speed kSpeeds[] = {
    {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},   {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

using SteadyClock = std::chrono::steady_clock;

long MsLeft(SteadyClock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<long>(left.count()) : 0;
}

bool ModemLines(int fd, unsigned long request, int bits) {
    return ::ioctl(fd, request, &bits) == 0;
}

}  // namespace

std::string TermiosSerialPorts::DevicePath(const std::u16string& name, std::string* why) {
    const auto refuse = [why](const char* reason) {
        if (why)
            *why = reason;
        return std::string();
    };
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7F)
            return refuse("it holds a control character");
        if (c >= 0xD800)
            return refuse("it holds a character no device name has");
    }
    const std::string utf8 = text::ToUtf8(name);
    if (utf8.empty())
        return refuse("it is empty");
    // "pts/3" is a device below /dev; "../" would leave it.
    std::string padded = "/" + utf8 + "/";
    if (padded.find("/../") != std::string::npos)
        return refuse("it holds \"..\"");
    return utf8.front() == '/' ? utf8 : "/dev/" + utf8;
}

void TermiosSerialPorts::Fail(PortFailure::Kind kind, const std::string& path, int error) {
    failure_ = PortFailure{};
    failure_.kind = kind;
    failure_.path = path;
    const PortSurvey survey;
    switch (kind) {
        case PortFailure::Kind::Missing:
            failure_.existing = survey.Names();
            break;
        case PortFailure::Kind::Denied: {
            const SerialPortInfo info = survey.Inspect(path);
            failure_.group = info.group;
            failure_.groupJoinedLater = info.groupJoinedLater;
            break;
        }
        case PortFailure::Kind::Held: {
            const std::vector<PortHolder> holders = survey.Holders(survey.Inspect(path).device);
            // This process's own descriptor, opened a moment ago, is no holder.
            for (const PortHolder& h : holders) {
                if (!h.self)
                    failure_.holders.push_back(h);
            }
            break;
        }
        case PortFailure::Kind::Other:
            failure_.detail = std::strerror(error);
            break;
        default:
            break;
    }
}

std::unique_ptr<SerialDevice> TermiosSerialPorts::Open(const std::u16string& name) {
    failure_ = PortFailure{};
    std::string why;
    const std::string path = DevicePath(name, &why);
    if (path.empty()) {
        failure_.kind = PortFailure::Kind::BadName;
        failure_.detail = why;
        return nullptr;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int error = errno;
        Fail(error == ENOENT || error == ENOTDIR ? PortFailure::Kind::Missing
             : error == EACCES                   ? PortFailure::Kind::Denied
                                                 : PortFailure::Kind::Other,
             path, error);
        return nullptr;
    }
    // A disk or a file is never opened read-write on a user's say-so.
    if (!S_ISCHR(st.st_mode)) {
        Fail(PortFailure::Kind::NotSerial, path, 0);
        return nullptr;
    }
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        Fail(error == EACCES || error == EPERM                      ? PortFailure::Kind::Denied
             : error == EBUSY                                       ? PortFailure::Kind::Held
             : error == ENOENT || error == ENXIO || error == ENODEV ? PortFailure::Kind::Missing
                                                                    : PortFailure::Kind::Other,
             path, error);
        return nullptr;
    }
    termios tio{};
    if (!::isatty(fd) || ::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        Fail(PortFailure::Kind::NotSerial, path, 0);
        return nullptr;
    }
    // TIOCEXCL keeps out other openers (not root), the lock keeps out a second Halvex whoever
    // runs it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        Fail(error == EWOULDBLOCK ? PortFailure::Kind::Held : PortFailure::Kind::Other, path,
             error);
        ::close(fd);
        return nullptr;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        Fail(PortFailure::Kind::Other, path, error);
        return nullptr;
    }
    return std::make_unique<TermiosSerialDevice>(fd);
}

TermiosSerialDevice::TermiosSerialDevice(int fd) : fd_(fd) {
    dcb_.fBinary = 1;
    GetState(dcb_);
}

TermiosSerialDevice::~TermiosSerialDevice() {
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
}

bool TermiosSerialDevice::GetState(DCB& dcb) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    dcb = dcb_;
    dcb.DCBlength = sizeof(DCB);
    const speed_t speed = ::cfgetospeed(&tio);
    for (const auto& s : kSpeeds) {
        if (s.code == speed)
            dcb.BaudRate = s.baud;
    }
    switch (tio.c_cflag & CSIZE) {
        case CS5:
            dcb.ByteSize = 5;
            break;
        case CS6:
            dcb.ByteSize = 6;
            break;
        case CS7:
            dcb.ByteSize = 7;
            break;
        default:
            dcb.ByteSize = 8;
            break;
    }
    dcb.Parity = !(tio.c_cflag & PARENB)  ? NOPARITY
                 : (tio.c_cflag & PARODD) ? ODDPARITY
                                          : EVENPARITY;
    dcb.StopBits = (tio.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fOutxCtsFlow = (tio.c_cflag & CRTSCTS) ? 1 : 0;
    dcb.fOutX = (tio.c_iflag & IXON) ? 1 : 0;
    dcb.fInX = (tio.c_iflag & IXOFF) ? 1 : 0;
    dcb.XonChar = static_cast<char>(tio.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(tio.c_cc[VSTOP]);
    return true;
}

bool TermiosSerialDevice::SetState(const DCB& dcb) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    speed_t speed = 0;
    bool known = false;
    for (const auto& s : kSpeeds) {
        if (s.baud == dcb.BaudRate) {
            speed = s.code;
            known = true;
        }
    }
    if (!known)
        return false;
    tcflag_t size;
    switch (dcb.ByteSize) {
        case 5:
            size = CS5;
            break;
        case 6:
            size = CS6;
            break;
        case 7:
            size = CS7;
            break;
        case 8:
            size = CS8;
            break;
        default:
            return false;
    }
    if (dcb.Parity > EVENPARITY || (dcb.StopBits != ONESTOPBIT && dcb.StopBits != TWOSTOPBITS))
        return false;

    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    tio.c_cflag = (tio.c_cflag & ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS)) | size;
    if (dcb.Parity != NOPARITY)
        tio.c_cflag |= PARENB;
    if (dcb.Parity == ODDPARITY)
        tio.c_cflag |= PARODD;
    if (dcb.StopBits == TWOSTOPBITS)
        tio.c_cflag |= CSTOPB;
    // fRtsControl 2 is RTS handshaking.
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == 2)
        tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
    if (dcb.fOutX)
        tio.c_iflag |= IXON;
    if (dcb.fInX)
        tio.c_iflag |= IXOFF;
    if (dcb.fParity && dcb.Parity != NOPARITY)
        tio.c_iflag |= INPCK;
    tio.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
        return false;
    dcb_ = dcb;
    // Lines a pseudo-terminal does not have are no reason to refuse the settings.
    if (dcb.fDtrControl == DTR_CONTROL_ENABLE)
        ModemLines(fd_, TIOCMBIS, TIOCM_DTR);
    if (dcb.fRtsControl == RTS_CONTROL_ENABLE)
        ModemLines(fd_, TIOCMBIS, TIOCM_RTS);
    return true;
}

bool TermiosSerialDevice::GetTimeouts(COMMTIMEOUTS& timeouts) {
    timeouts = timeouts_;
    return true;
}

bool TermiosSerialDevice::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    timeouts_ = timeouts;
    return true;
}

bool TermiosSerialDevice::EscapeFunction(DWORD function) {
    switch (function) {
        case SETDTR:
            return ModemLines(fd_, TIOCMBIS, TIOCM_DTR);
        case CLRDTR:
            return ModemLines(fd_, TIOCMBIC, TIOCM_DTR);
        case SETRTS:
            return ModemLines(fd_, TIOCMBIS, TIOCM_RTS);
        case CLRRTS:
            return ModemLines(fd_, TIOCMBIC, TIOCM_RTS);
        default:
            return false;
    }
}

bool TermiosSerialDevice::Purge(DWORD flags) {
    const bool tx = flags & (PURGE_TXCLEAR | PURGE_TXABORT);
    const bool rx = flags & (PURGE_RXCLEAR | PURGE_RXABORT);
    if (!tx && !rx)
        return true;
    return ::tcflush(fd_, tx && rx ? TCIOFLUSH : tx ? TCOFLUSH : TCIFLUSH) == 0;
}

long TermiosSerialDevice::WriteBudgetMs(DWORD bytes) const {
    DWORD multiplier = timeouts_.WriteTotalTimeoutMultiplier;
    DWORD constant = timeouts_.WriteTotalTimeoutConstant;
    // "No timeout" would let a stuck link hang the program: use the link's own bound instead.
    if (multiplier == 0 && constant == 0) {
        multiplier = 10;
        constant = 1000;
    }
    const unsigned long long budget = 1ull * multiplier * bytes + constant;
    return budget > 0x7FFFFFFFull ? 0x7FFFFFFFL : static_cast<long>(budget);
}

bool TermiosSerialDevice::Write(const BYTE* data, DWORD size, DWORD& written) {
    written = 0;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(WriteBudgetMs(size));
    while (written < size) {
        ssize_t n = ::write(fd_, data + written, size - written);
        if (n > 0) {
            written += static_cast<DWORD>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        const long left = MsLeft(deadline);
        if (left == 0)
            break;  // timed out: the count tells the caller
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR)
            return false;
        if (p.revents & (POLLERR | POLLNVAL))
            return false;
    }
    return true;
}

bool TermiosSerialDevice::Flush() {
    // tcdrain cannot be bounded, so watch the output queue empty within the write budget.
    int queued = 0;
    if (::ioctl(fd_, TIOCOUTQ, &queued) != 0)
        return true;
    const auto deadline =
        SteadyClock::now() + std::chrono::milliseconds(WriteBudgetMs(static_cast<DWORD>(queued)));
    while (queued > 0) {
        if (MsLeft(deadline) == 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0)
            return true;
    }
    return true;
}

bool TermiosSerialDevice::ClearError(DWORD& errors) {
    errors = 0;
    return ::fcntl(fd_, F_GETFL) != -1;
}

bool TermiosSerialDevice::Read(BYTE* buffer, DWORD capacity, DWORD& read) {
    read = 0;
    if (capacity == 0)
        return true;
    // With the link's timeouts a read returns at once; a total timeout, if set, waits for the
    // first byte at most that long.
    const bool immediate = timeouts_.ReadIntervalTimeout == MAXDWORD &&
                           timeouts_.ReadTotalTimeoutMultiplier == 0 &&
                           timeouts_.ReadTotalTimeoutConstant == 0;
    if (!immediate) {
        unsigned long long total = 1ull * timeouts_.ReadTotalTimeoutMultiplier * capacity +
                                   timeouts_.ReadTotalTimeoutConstant;
        pollfd p{fd_, POLLIN, 0};
        int ms = total > 0x7FFFFFFFull ? 0x7FFFFFFF : static_cast<int>(total);
        while (::poll(&p, 1, ms) < 0 && errno == EINTR) {
        }
    }
    while (true) {
        ssize_t n = ::read(fd_, buffer, capacity);
        if (n > 0) {
            read = static_cast<DWORD>(n);
            return true;
        }
        if (n == 0) {
            // Nothing has arrived, or the line was hung up (the far end went away): only
            // poll tells them apart.
            pollfd p{fd_, POLLIN, 0};
            return !(::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)));
        }
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

}  // namespace platform
