#include "phonesim/PtyServer.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace phonesim {

namespace {

std::uint64_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace

PtyServer::PtyServer(Phone& phone) : phone_(phone) {}

PtyServer::~PtyServer() {
    Stop();
    CloseAll();
}

bool PtyServer::Open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = std::string("pseudo-terminal: ") + std::strerror(errno);
        CloseAll();
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = std::string("ptsname: ") + std::strerror(errno);
        CloseAll();
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = slavePath_ + ": " + std::strerror(errno);
        CloseAll();
        return false;
    }
    // Raw both ways: no echo, no line editing, no CR/LF translation by the terminal itself.
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (::pipe(wake_) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        CloseAll();
        return false;
    }
    return true;
}

void PtyServer::CloseAll() {
    CloseFd(master_);
    CloseFd(slave_);
    CloseFd(wake_[0]);
    CloseFd(wake_[1]);
}

std::uint64_t PtyServer::NowMs() const {
    return SteadyMs() - startMs_;
}

void PtyServer::Start() {
    if (thread_.joinable() || master_ < 0)
        return;
    stop_ = false;
    startMs_ = SteadyMs();
    thread_ = std::thread([this] { Loop(); });
}

void PtyServer::Stop() {
    if (!thread_.joinable())
        return;
    stop_ = true;
    const char byte = 0;
    if (wake_[1] >= 0)
        (void)!::write(wake_[1], &byte, 1);
    thread_.join();
}

void PtyServer::Loop() {
    std::string out;  // arrived at the host's side of the line, not yet taken by the terminal
    char buffer[512];
    while (!stop_) {
        std::uint64_t now = NowMs();
        if (!dropped_ && !phone_.LinkUp(now)) {
            // A dropped link is a hang-up: the program on the slave side gets read errors.
            dropped_ = true;
            CloseFd(slave_);
            CloseFd(master_);
        }
        if (!dropped_) {
            out += phone_.Read(now);
            while (!out.empty()) {
                const ssize_t n = ::write(master_, out.data(), out.size());
                if (n <= 0)
                    break;  // the terminal's buffer is full: try again later
                out.erase(0, static_cast<std::size_t>(n));
                toHost_ += static_cast<std::uint64_t>(n);
            }
        }

        int timeout = 200;
        if (!dropped_) {
            if (const auto next = phone_.NextChangeMs(now)) {
                timeout =
                    *next > now ? static_cast<int>(std::min<std::uint64_t>(*next - now, 200)) : 0;
            }
            if (!out.empty())
                timeout = std::min(timeout, 5);
        }
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {master_, POLLIN, 0}};
        const int count = dropped_ ? 1 : 2;
        if (::poll(fds, count, timeout) < 0 && errno != EINTR)
            break;
        if (fds[0].revents & POLLIN)
            continue;  // Stop() wakes the loop
        if (count == 2 && (fds[1].revents & POLLIN)) {
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n > 0) {
                fromHost_ += static_cast<std::uint64_t>(n);
                phone_.Receive(std::string_view(buffer, static_cast<std::size_t>(n)), NowMs());
            }
        }
    }
}

}  // namespace phonesim
