#include "tests/cli/CliRunner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

extern char** environ;

namespace halvex::test {

namespace {

constexpr int kTimeoutMs = 30000;

// The lines of standard error that belong to the transcript (`transcript`) or not; transcript
// lines as printed or reduced to their commands.
Lines ErrLines(const std::string& err, bool transcript, bool withTimes) {
    static const std::regex kLine(R"(^ *\d+\.\d{3}  (.*)$)");
    Lines lines;
    std::istringstream in(err);
    std::smatch match;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, match, kLine) != transcript) {
            continue;
        }
        lines.push_back(transcript && !withTimes ? std::string(match[1]) : line);
    }
    return lines;
}

struct TempRoot {
    std::filesystem::path path;
    TempRoot() {
        char pattern[] = "/tmp/halvex-cli-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made != nullptr ? made : "/tmp";
    }
    ~TempRoot() {
        std::error_code ignored;
        if (path != "/tmp") {
            std::filesystem::remove_all(path, ignored);
        }
    }
};

}  // namespace

Lines CliRun::Commands(bool withTimes) const {
    return ErrLines(err, true, withTimes);
}

Lines CliRun::Messages() const {
    return ErrLines(err, false, false);
}

std::string TempDir() {
    static TempRoot root;
    static int next = 0;
    std::filesystem::path dir = root.path / std::to_string(++next);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string ProfileWith(const std::string& base, const std::string& mergePatch) {
    const std::string path = TempDir() + "/profile.json";
    // The phone saves its own state, so the test needs no copy of the profile's schema.
    if (RunCli({"--simulate=" + base, "--simulate-save", path, "identify"}).status != 0) {
        return path;
    }
    nlohmann::json profile;
    {
        std::ifstream in(path);
        profile = nlohmann::json::parse(in, nullptr, false);
    }
    profile.merge_patch(nlohmann::json::parse(mergePatch));
    std::ofstream(path) << profile.dump();
    return path;
}

std::string DefaultProfileWith(const std::string& faults) {
    return ProfileWith("default", R"({"faults": )" + faults + "}");
}

CliRun RunCli(const Lines& args, const Lines& env) {
    CliRun run;
    std::vector<std::string> argv = {HALVEX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto isRegistry = [](const std::string& e) {
        return e.rfind("HALVEX_REGISTRY=", 0) == 0;
    };
    std::vector<std::string> environment = env;
    if (std::none_of(env.begin(), env.end(), isRegistry)) {
        environment.push_back("HALVEX_REGISTRY=" + TempDir() + "/registry.reg");
    }
    for (char** e = environ; *e != nullptr; ++e) {
        if (!isRegistry(*e)) {
            environment.push_back(*e);
        }
    }

    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        return run;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        close(err[0]);
        close(err[1]);
        std::vector<char*> cargv;
        for (std::string& a : argv) {
            cargv.push_back(a.data());
        }
        cargv.push_back(nullptr);
        std::vector<char*> cenv;
        for (std::string& e : environment) {
            cenv.push_back(e.data());
        }
        cenv.push_back(nullptr);
        execve(cargv[0], cargv.data(), cenv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    if (pid < 0) {
        close(out[0]);
        close(err[0]);
        return run;
    }

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || poll(fds, 2, static_cast<int>(left)) <= 0) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (pollfd& fd : fds) {
        if (fd.fd >= 0) {
            close(fd.fd);
        }
    }
    int status = 0;
    if (open > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return run;
    }
    // Both pipes are closed: the program has ended or is about to.
    if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    }
    return run;
}

}  // namespace halvex::test
