#include "app/Notices.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace app {

namespace {

constexpr int kAnswerMs = 5000;

// A directory of this user's that nobody else can enter: no symbolic link, no group or other
// rights.
bool IsPrivateDirectory(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
           (info.st_mode & 077) == 0;
}

class Socket {
public:
    Socket() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

bool Connect(const Socket& socket, const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socket.Fd() < 0 || path.empty() || path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    return connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

}  // namespace

std::string NoticeSocketPath(std::string& error) {
    constexpr const char* kName = "/halvex-notify";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime == '/' && IsPrivateDirectory(runtime)) {
        return std::string(runtime) + kName;
    }
    const std::string fallback = "/tmp/halvex-" + std::to_string(getuid());
    if (mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot make " + fallback + ": " + std::strerror(errno);
        return "";
    }
    if (!IsPrivateDirectory(fallback)) {
        error = fallback + " is not a private directory of this user";
        return "";
    }
    return fallback + kName;
}

std::optional<std::uint32_t> ParseNoticeValue(std::string_view text) {
    if (text == "-1") {
        return 0xFFFFFFFFu;
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, problem] =
        std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || problem != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool SomeoneListens(const std::string& socketPath) {
    Socket socket;
    return Connect(socket, socketPath);
}

NoticeResult SendNotice(const std::string& socketPath, std::uint32_t value) {
    Socket socket;
    if (!Connect(socket, socketPath)) {
        return NoticeResult::NoProgram;
    }
    const std::string line = std::to_string(value) + "\n";
    if (send(socket.Fd(), line.data(), line.size(), MSG_NOSIGNAL) !=
        static_cast<ssize_t>(line.size())) {
        return NoticeResult::NoProgram;
    }
    // The answer "OK" says the notice was taken.
    std::string answer;
    while (answer.find('\n') == std::string::npos && answer.size() < 16) {
        pollfd ready{socket.Fd(), POLLIN, 0};
        if (poll(&ready, 1, kAnswerMs) <= 0) {
            break;
        }
        char buffer[16];
        const ssize_t got = recv(socket.Fd(), buffer, sizeof buffer, 0);
        if (got <= 0) {
            break;
        }
        answer.append(buffer, static_cast<std::size_t>(got));
    }
    return answer.rfind("OK\n", 0) == 0 ? NoticeResult::Delivered : NoticeResult::NoProgram;
}

}  // namespace app
