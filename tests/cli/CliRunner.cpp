#include "tests/cli/CliRunner.h"

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

namespace halvex::test {

Lines ErrLines(const std::string& err, bool transcript) {
    static const std::regex kLine(R"(^ *\d+\.\d{3}  (.*)$)");
    Lines lines;
    std::istringstream in(err);
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, match, kLine) == transcript)
            lines.push_back(transcript ? std::string(match[1]) : line);
    }
    return lines;
}

Lines CliRun::Writes() const {
    Lines writes;
    for (const std::string& command : Commands())
        if (command.rfind("AT+CPBW=", 0) == 0 || command.rfind("AT+CMGW=", 0) == 0)
            writes.push_back(command);
    return writes;
}

std::string ProfileWith(const std::string& base, const std::string& mergePatch) {
    const std::string path = TempDir() + "/profile.json";
    // The phone saves its own state, so the test needs no copy of the profile's schema.
    RunCli({"--simulate=" + base, "--simulate-save", path, "identify"});
    nlohmann::json profile = nlohmann::json::parse(ReadFile(path));
    profile.merge_patch(nlohmann::json::parse(mergePatch));
    WriteFile(path, profile.dump());
    return path;
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
