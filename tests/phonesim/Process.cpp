#include "tests/phonesim/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace phonesim::test {

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env) {
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
        ::dup2(fds[1], STDERR_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execve(args[0], args.data(), environment.data());
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
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const auto newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        pollfd fd{out_, POLLIN, 0};
        if (out_ < 0 || ::poll(&fd, 1, MsLeft(deadline)) <= 0)
            return "";
        char buffer[512];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0)
            return "";
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ChildProcess::ReadAll(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string out = std::move(pending_);
    pending_.clear();
    while (out_ >= 0) {
        pollfd fd{out_, POLLIN, 0};
        if (::poll(&fd, 1, MsLeft(deadline)) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
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
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (MsLeft(deadline) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
        // Wait for the child's output to close or a short slice to pass; never a fixed sleep.
        pollfd fd{out_, POLLIN, 0};
        if (out_ >= 0 && ::poll(&fd, 1, std::min(MsLeft(deadline), 20)) > 0) {
            char buffer[4096];
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n > 0) {
                pending_.append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(out_);
                out_ = -1;
            }
        } else if (out_ < 0) {
            ::poll(nullptr, 0, std::min(MsLeft(deadline), 20));
        }
    }
}

RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                     const std::vector<std::string>& env) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    ChildProcess child(argv, env);
    RunResult result;
    result.output = child.ReadAll(timeoutMs);
    result.status = child.Wait(MsLeft(deadline));
    result.output += child.ReadAll(0);
    return result;
}

std::string FindOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

}  // namespace phonesim::test
