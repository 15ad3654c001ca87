#pragma once
// Runs the built halvex-cli and collects what it printed, every wait bounded.

#include <string>
#include <vector>

#include "tests/support/Process.h"

namespace halvex::test {

using Lines = std::vector<std::string>;

// The lines of `err` that belong to the transcript ("  12.500  AT+CPBR=1,25"), reduced to their
// commands, or (`transcript` false) the others.
Lines ErrLines(const std::string& err, bool transcript);

struct CliRun {
    int status = -1;  // exit status; -1 when it did not end in time (it is then killed)
    std::string out;  // standard output
    std::string err;  // standard error

    Lines Commands() const { return ErrLines(err, true); }
    // The phone book and message writes among them.
    Lines Writes() const;
    // Standard error without the transcript.
    Lines Messages() const { return ErrLines(err, false); }
    // The exit status, standard output and standard error, to be compared in one.
    Lines Whole() const { return {std::to_string(status), out, err}; }
};

// `args` without the program name; `env` ("NAME=value") added to the environment. The registry
// file is always a private one, so a run never touches the user's.
CliRun RunCli(const Lines& args, const Lines& env = {});

// A profile file: a shipped profile (or a file) changed by a JSON merge patch.
std::string ProfileWith(const std::string& profile, const std::string& mergePatch);

}  // namespace halvex::test
