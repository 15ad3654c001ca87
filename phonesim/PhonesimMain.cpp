// halvex-phonesim: the simulated phone on a pseudo-terminal, for the demo and for other AT
// programs. Prints "port: /dev/pts/N" first, serves until SIGINT or SIGTERM, then saves the
// phone's state when asked and exits 0.

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/PtyServer.h"
#include "phonesim/Text.h"
#include "platform/Registry.h"

namespace {

constexpr const char* kUsage =
    "usage: halvex-phonesim [--profile FILE|NAME] [--save FILE] [--register] [--baud N]\n"
    "                       [--latency MS] [--echo on|off] [--stats]\n"
    "       halvex-phonesim --help\n";

constexpr const char* kHelp =
    "\n"
    "A simulated GSM phone on a pseudo-terminal, to try Halvex and other AT programs without\n"
    "a phone. The first line of standard output is \"port: /dev/pts/N\", the terminal to point\n"
    "them at (halvex --port pts/N); it then answers AT commands until SIGINT (Ctrl+C) or\n"
    "SIGTERM.\n"
    "\n"
    "  --profile FILE|NAME  the phone: a shipped profile (default, nokia, small-sim, empty,\n"
    "                       full, modem, gsm-only) or a JSON profile file; default when left\n"
    "                       out\n"
    "  --save FILE          at the end, write the phone's state to FILE (a profile again)\n"
    "  --register           write the port (pts/N) as \"Port\" into the registry file before\n"
    "                       the port line, so halvex and halvex-cli find it without --port\n"
    "  --baud N             the line speed of the answers (0: unpaced; the profile's, 9600\n"
    "                       in the shipped ones, when left out)\n"
    "  --latency MS         milliseconds before each answer (the profile's when left out)\n"
    "  --echo on|off        echo the commands or not (the profile's when left out)\n"
    "  --stats              at the end, print the bytes that crossed the line each way\n"
    "  --help, -h           this text\n"
    "\n"
    "Registry file: $HALVEX_REGISTRY, else $XDG_CONFIG_HOME/halvex/registry.reg, else\n"
    "~/.config/halvex/registry.reg.\n"
    "Exit status: 0 after SIGINT or SIGTERM, 1 the profile, the terminal or the registry file\n"
    "failed, 2 bad arguments.\n"
    "More, with examples: man halvex-phonesim.\n";

struct Options {
    std::string profile = "default";
    std::optional<std::string> save;
    bool registerPort = false;
    bool stats = false;  // at the end, the bytes that crossed the line
    bool help = false;
    std::optional<std::uint32_t> baud;
    std::optional<std::uint32_t> latency;
    std::optional<bool> echo;
};

int Fail(const std::string& message, int status) {
    std::cerr << "halvex-phonesim: " << message << "\n";
    return status;
}

std::optional<std::uint32_t> Number(const std::string& text) {
    const auto value = phonesim::ParseInt(text);
    if (!value || *value < 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

// Returns an error text, or "" when the arguments are fine.
std::string Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--register") {
            o.registerPort = true;
            continue;
        }
        if (arg == "--stats") {
            o.stats = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            continue;
        }
        if (arg != "--profile" && arg != "--save" && arg != "--baud" && arg != "--latency" &&
            arg != "--echo") {
            return "unknown argument " + arg;
        }
        if (!hasValue)
            return arg + " needs a value";
        const std::string value = argv[++i];
        if (arg == "--profile")
            o.profile = value;
        if (arg == "--save")
            o.save = value;
        if (arg == "--baud" && !(o.baud = Number(value)))
            return "bad --baud " + value;
        if (arg == "--latency" && !(o.latency = Number(value)))
            return "bad --latency " + value;
        if (arg == "--echo") {
            if (value != "on" && value != "off")
                return "--echo takes on or off";
            o.echo = value == "on";
        }
    }
    return "";
}

// The registry holds the port relative to /dev, as the link expects it.
std::string RegisterPort(const std::string& slavePath) {
    const std::string name = slavePath.rfind("/dev/", 0) == 0 ? slavePath.substr(5) : slavePath;
    platform::Registry registry(platform::Registry::DefaultPath());
    if (registry.LoadResult() != platform::ERROR_SUCCESS) {
        return "the registry " + registry.Path() + " is damaged";
    }
    const auto utf16 = phonesim::Utf8ToUtf16(name).value_or(u"");
    if (registry.SetString(platform::HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", utf16) !=
            platform::ERROR_SUCCESS ||
        registry.SaveResult() != platform::ERROR_SUCCESS) {
        return "cannot write the registry " + registry.Path();
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const std::string error = Parse(argc, argv, options);
    if (options.help) {
        std::cout << kUsage << kHelp;
        return 0;
    }
    if (!error.empty())
        return Fail(error + "\n" + kUsage, 2);

    phonesim::Phone phone(phonesim::Profile{});
    try {
        phone.Load(phonesim::LoadProfile(options.profile));
    } catch (const phonesim::ProfileError& e) {
        return Fail(e.what(), 1);
    }
    if (options.baud)
        phone.SetBaud(*options.baud);
    if (options.latency)
        phone.SetLatency(*options.latency);
    if (options.echo)
        phone.State().echo = *options.echo;

    // Signals are taken by sigwait below, never by the server thread.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    phonesim::PtyServer server(phone);
    std::string openError;
    if (!server.Open(openError))
        return Fail(openError, 1);
    // Registered before the port is announced, so whoever reads the line finds it there.
    if (options.registerPort) {
        const std::string registerError = RegisterPort(server.SlavePath());
        if (!registerError.empty())
            return Fail(registerError, 1);
    }
    std::cout << "port: " << server.SlavePath() << std::endl;
    server.Start();

    int signal = 0;
    sigwait(&signals, &signal);
    server.Stop();
    if (options.stats) {
        std::cout << "bytes: " << server.BytesToHost() << " to the program, "
                  << server.BytesFromHost() << " from it" << std::endl;
    }
    if (options.save) {
        try {
            phonesim::SaveProfileFile(phone.ToProfile(), *options.save);
        } catch (const phonesim::ProfileError& e) {
            return Fail(e.what(), 1);
        }
    }
    return 0;
}
