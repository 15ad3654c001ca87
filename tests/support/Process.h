#pragma once
// Runs other programs and reads descriptors for the real-time tests, with every wait bounded;
// files and directories for the tests that need real ones.

#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace halvex::test {

using Deadline = std::chrono::steady_clock::time_point;
inline Deadline DeadlineIn(int ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}
// The milliseconds left until `deadline`, 0 once it has passed.
inline int MsLeft(Deadline deadline) {
    using std::chrono::milliseconds;
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Deadline::clock::now());
    return left > milliseconds(0) ? static_cast<int>(left.count()) : 0;
}

// Reads from `fd` into `got` until `until` is in it (with "" until the far end closes) or
// `timeoutMs` passes. False once the far end has closed or hung up, or without a descriptor.
inline bool ReadUntil(int fd, std::string& got, const std::string& until, int timeoutMs) {
    const Deadline deadline = DeadlineIn(timeoutMs);
    while (until.empty() || got.find(until) == std::string::npos) {
        // A negative descriptor is no descriptor: poll just waits.
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, MsLeft(deadline)) <= 0)
            return fd >= 0;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

// A child process with its standard output (and error) on a pipe.
class ChildProcess {
public:
    // `env` entries ("NAME=value") are added to this process's environment. Standard error goes
    // to `errorFd` when one is given.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                 int errorFd = -1) {
        int fds[2];
        if (argv.empty() || ::pipe(fds) != 0)
            return;
        // Everything the child needs is built before fork: other threads may hold locks then.
        // The extra environment entries go first: a name found twice takes its first value.
        std::vector<char*> args, environment;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        for (const std::string& e : env)
            environment.push_back(const_cast<char*>(e.c_str()));
        for (char** e = environ; *e; ++e)
            environment.push_back(*e);
        args.push_back(nullptr);
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
        out_ = pid_ > 0 ? fds[0] : (::close(fds[0]), -1);
    }
    // Kills the child if it still runs.
    ~ChildProcess() {
        Wait(0);
        if (out_ >= 0)
            ::close(out_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // One line of output (without its newline), or "" after `timeoutMs`.
    std::string ReadLine(int timeoutMs) {
        if (!ReadUntil(out_, pending_, "\n", timeoutMs) || pending_.find('\n') == pending_.npos)
            return "";
        const std::string line = pending_.substr(0, pending_.find('\n'));
        pending_.erase(0, line.size() + 1);
        return line;
    }
    // Everything until the child closes its output or `timeoutMs` passes.
    std::string ReadAll(int timeoutMs) {
        ReadUntil(out_, pending_, "", timeoutMs);
        return std::exchange(pending_, {});
    }
    void Signal(int signal) {
        if (pid_ > 0)
            ::kill(pid_, signal);
    }
    // The exit status, or -1 when the child did not end within `timeoutMs` (it is then killed).
    int Wait(int timeoutMs) {
        const Deadline deadline = DeadlineIn(timeoutMs);
        int status = 0;
        while (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) != pid_) {
            if (MsLeft(deadline) == 0) {
                Signal(SIGKILL);
                ::waitpid(std::exchange(pid_, -1), nullptr, 0);
                return -1;
            }
            // Keep taking the output in short slices, so a talkative child never blocks on a
            // full pipe; once it is closed, just wait the slice.
            if (!ReadUntil(out_, pending_, "", std::min(MsLeft(deadline), 20)) && out_ >= 0)
                ::close(std::exchange(out_, -1));
        }
        return std::exchange(pid_, -1) <= 0 ? -1
               : WIFEXITED(status)          ? WEXITSTATUS(status)
                                            : 128 + WTERMSIG(status);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

// Runs a program to its end: its output, and its exit status (-1 after a timeout, 127 when it
// could not be started). A program without a slash in its name is looked for on PATH. Given
// `error`, standard error goes there instead of into the output.
struct RunResult {
    int status = -1;
    std::string output;
};
inline RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                            const std::vector<std::string>& env = {},
                            std::string* error = nullptr) {
    const Deadline deadline = DeadlineIn(timeoutMs);
    std::FILE* errorFile = error != nullptr ? std::tmpfile() : nullptr;
    ChildProcess child(argv, env, errorFile != nullptr ? ::fileno(errorFile) : -1);
    RunResult result{0, child.ReadAll(timeoutMs)};
    result.status = child.Wait(MsLeft(deadline));
    result.output += child.ReadAll(0);
    if (errorFile != nullptr) {
        std::rewind(errorFile);
        ReadUntil(::fileno(errorFile), *error, "", 0);
        std::fclose(errorFile);
    }
    return result;
}

// A fresh empty directory, removed with all in it when the test program ends.
inline std::string TempDir() {
    static const struct Root {
        std::string path = (std::filesystem::temp_directory_path() / "halvex-test-XXXXXX").string();
        Root() { ::mkdtemp(path.data()); }
        ~Root() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } root;
    static int next = 0;
    const std::string dir = root.path + "/" + std::to_string(++next);
    std::filesystem::create_directories(dir);
    return dir;
}

// A whole file ("" when there is none), and a file written whole.
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace halvex::test
