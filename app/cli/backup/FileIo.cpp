#include "app/cli/backup/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace backup {

namespace {

constexpr std::size_t kMaxFileBytes = 64u << 20;

std::string Why(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string Directory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Why("cannot read " + path);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = Why("cannot read " + path);
            close(fd);
            return false;
        }
        if (got == 0) {
            break;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > kMaxFileBytes) {
            error = path + " is larger than 64 MiB: not a backup of a phone";
            close(fd);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return true;
}

bool CanReplace(const std::string& path, std::string& error) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        error = path + " is a directory";
        return false;
    }
    const std::string directory = Directory(path);
    if (access(directory.c_str(), W_OK | X_OK) != 0) {
        error = Why("cannot write in " + directory);
        return false;
    }
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& bytes, std::string& error) {
    std::string temporary = path + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        error = Why("cannot write " + path);
        return false;
    }
    temporary = name.data();
    // The first step that fails gives the reason.
    std::string failure;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            failure = Why("cannot write " + path);
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (failure.empty() && fsync(fd) != 0) {
        failure = Why("cannot write " + path);
    }
    if (close(fd) != 0 && failure.empty()) {
        failure = Why("cannot write " + path);
    }
    if (failure.empty() && rename(temporary.c_str(), path.c_str()) != 0) {
        failure = Why("cannot replace " + path);
    }
    if (!failure.empty()) {
        unlink(temporary.c_str());
        error = failure;
        return false;
    }
    return true;
}

}  // namespace backup
