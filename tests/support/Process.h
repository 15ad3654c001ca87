#pragma once
// Runs other programs and reads descriptors for the real-time tests, with every wait bounded.

#include <sys/types.h>

#include <string>
#include <vector>

namespace halvex::test {

// A child process with its standard output (and error) on a pipe.
class ChildProcess {
public:
    // `env` entries ("NAME=value") are added to this process's environment.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {});
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    // One line of output (without its newline), or "" after `timeoutMs`.
    std::string ReadLine(int timeoutMs);
    // Everything until the child closes its output or `timeoutMs` passes.
    std::string ReadAll(int timeoutMs);
    void Signal(int signal);
    // The exit status, or -1 when the child did not end within `timeoutMs` (it is then killed).
    int Wait(int timeoutMs);

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string pending_;
};

// Runs a program to its end: its output, and its exit status (-1 after a timeout, 127 when it
// could not be started). A program without a slash in its name is looked for on PATH.
struct RunResult {
    int status = -1;
    std::string output;
};
RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                     const std::vector<std::string>& env = {});

// Reads from `fd` into `got` until `until` is in it (with "" until the far end closes) or
// `timeoutMs` passes. False once the far end has closed or hung up.
bool ReadUntil(int fd, std::string& got, const std::string& until, int timeoutMs);

}  // namespace halvex::test
