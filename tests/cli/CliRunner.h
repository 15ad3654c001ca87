#pragma once
// Runs the built halvex-cli and collects what it printed, every wait bounded.

#include <string>
#include <vector>

namespace halvex::test {

struct CliRun {
    int status = -1;  // exit status; -1 when it did not end in time (it is then killed)
    std::string out;  // standard output
    std::string err;  // standard error

    // Lines of standard error without their times: the transcript's commands, and the rest.
    std::vector<std::string> ErrLines() const;
    // The transcript's lines ("  12.500  AT+CPBR=1,25") reduced to the commands, in order.
    std::vector<std::string> Commands() const;
    // The transcript's lines with their times, as printed.
    std::vector<std::string> TranscriptLines() const;
    // Standard error without the transcript.
    std::vector<std::string> Messages() const;
};

// `args` without the program name; `env` ("NAME=value") added to the environment. The registry
// file is always a private one, so a run never touches the user's.
CliRun RunCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

// A profile file: the shipped default one with these faults (a JSON array).
std::string DefaultProfileWith(const std::string& faults);

// A fresh empty directory for one test's files, removed at exit of the test binary.
std::string TempDir();

}  // namespace halvex::test
