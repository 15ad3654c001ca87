#pragma once
// Runs other programs and reads descriptors for the real-time tests, with every wait bounded;
// files and directories for the tests that need real ones.

#include <sys/types.h>

#include <string>
#include <vector>

namespace halvex::test {

// A child process with its standard output (and error) on a pipe.
class ChildProcess {
public:
    // `env` entries ("NAME=value") are added to this process's environment. Standard error goes
    // to `errorFd` when one is given.
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                 int errorFd = -1);
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
// could not be started). A program without a slash in its name is looked for on PATH. Given
// `error`, standard error goes there instead of into the output.
struct RunResult {
    int status = -1;
    std::string output;
};
RunResult RunProgram(const std::vector<std::string>& argv, int timeoutMs,
                     const std::vector<std::string>& env = {}, std::string* error = nullptr);

// Reads from `fd` into `got` until `until` is in it (with "" until the far end closes) or
// `timeoutMs` passes. False once the far end has closed or hung up.
bool ReadUntil(int fd, std::string& got, const std::string& until, int timeoutMs);

// A fresh empty directory, removed with all in it when the test program ends.
std::string TempDir();
// A whole file ("" when there is none), and a file written whole.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

}  // namespace halvex::test
