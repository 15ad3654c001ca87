#include "tests/support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace halvex::test {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, int errorFd) {
    int fds[2];
    if (argv.empty() || ::pipe(fds) != 0)
        return;
    // Everything the child needs is built before fork: other threads may hold locks then.
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    // The extra entries go first: a name found twice takes its first value.
    std::vector<char*> environment;
    for (const std::string& e : env)
        environment.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; ++e)
        environment.push_back(*e);
    environment.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::dup2(errorFd >= 0 ? errorFd : fds[1], STDERR_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execvpe(args[0], args.data(), environment.data());
        ::_exit(127);
    }
    ::close(fds[1]);
    out_ = fds[0];
    if (pid_ < 0) {
        ::close(out_);
        out_ = -1;
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        ::close(out_);
}

std::string ChildProcess::ReadLine(int timeoutMs) {
    ReadUntil(out_, pending_, "\n", timeoutMs);
    const auto newline = pending_.find('\n');
    if (newline == std::string::npos)
        return "";
    std::string line = pending_.substr(0, newline);
    pending_.erase(0, newline + 1);
    return line;
}

std::string ChildProcess::ReadAll(int timeoutMs) {
    ReadUntil(out_, pending_, "", timeoutMs);
    return std::exchange(pending_, {});
}

void ChildProcess::Signal(int signal) {
    if (pid_ > 0)
        ::kill(pid_, signal);
}

int ChildProcess::Wait(int timeoutMs) {
    if (pid_ <= 0)
        return -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (MsLeft(deadline) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        // Keep taking the output in short slices, so a talkative child never blocks on a full
        // pipe; once it is closed, just wait the slice.
        const int slice = std::min(MsLeft(deadline), 20);
        if (out_ < 0) {
            ::poll(nullptr, 0, slice);
        } else if (!ReadUntil(out_, pending_, "", slice)) {
            ::close(out_);
            out_ = -1;
        }
    }
}

RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                     const std::vector<std::string>& env, std::string* error) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::FILE* errorFile = error != nullptr ? std::tmpfile() : nullptr;
    ChildProcess child(argv, env, errorFile != nullptr ? ::fileno(errorFile) : -1);
    RunResult result;
    result.output = child.ReadAll(timeoutMs);
    result.status = child.Wait(MsLeft(deadline));
    result.output += child.ReadAll(0);
    if (errorFile != nullptr) {
        std::rewind(errorFile);
        for (int c; (c = std::fgetc(errorFile)) != EOF;)
            *error += static_cast<char>(c);
        std::fclose(errorFile);
    }
    return result;
}

bool ReadUntil(int fd, std::string& got, const std::string& until, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (until.empty() || got.find(until) == std::string::npos) {
        pollfd p{fd, POLLIN, 0};
        if (fd < 0 || ::poll(&p, 1, MsLeft(deadline)) <= 0)
            return fd >= 0;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

std::string TempDir() {
    struct Root {
        std::filesystem::path path;
        Root() {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "halvex-test-XXXXXX").string();
            if (::mkdtemp(pattern.data()) != nullptr)
                path = pattern;
        }
        ~Root() {
            std::error_code ignored;
            if (!path.empty())
                std::filesystem::remove_all(path, ignored);
        }
    };
    static Root root;
    static int next = 0;
    const std::filesystem::path dir = root.path / std::to_string(++next);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string ReadFile(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace halvex::test
