#include "tests/cli/CliRunner.h"

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "tests/support/Process.h"

namespace halvex::test {

namespace {

// The lines of standard error that belong to the transcript (reduced to their commands), or
// the others.
Lines ErrLines(const std::string& err, bool transcript) {
    static const std::regex kLine(R"(^ *\d+\.\d{3}  (.*)$)");
    Lines lines;
    std::istringstream in(err);
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, match, kLine) == transcript) {
            lines.push_back(transcript ? std::string(match[1]) : line);
        }
    }
    return lines;
}

}  // namespace

Lines CliRun::Commands() const {
    return ErrLines(err, true);
}

Lines CliRun::Messages() const {
    return ErrLines(err, false);
}

std::string ProfileWith(const std::string& base, const std::string& mergePatch) {
    const std::string path = TempDir() + "/profile.json";
    // The phone saves its own state, so the test needs no copy of the profile's schema.
    if (RunCli({"--simulate=" + base, "--simulate-save", path, "identify"}).status != 0) {
        return path;
    }
    nlohmann::json profile = nlohmann::json::parse(ReadFile(path), nullptr, false);
    profile.merge_patch(nlohmann::json::parse(mergePatch));
    WriteFile(path, profile.dump());
    return path;
}

std::string DefaultProfileWith(const std::string& faults) {
    return ProfileWith("default", R"({"faults": )" + faults + "}");
}

CliRun RunCli(const Lines& args, const Lines& env) {
    Lines argv = {HALVEX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    // The first of two entries of a name counts, so a test's own registry wins over this one.
    Lines environment = env;
    environment.push_back("HALVEX_REGISTRY=" + TempDir() + "/registry.reg");
    CliRun run;
    RunResult result = RunProgram(argv, 30000, environment, &run.err);
    run.status = result.status;
    run.out = std::move(result.output);
    return run;
}

}  // namespace halvex::test
