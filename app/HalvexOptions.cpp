#include "app/HalvexOptions.h"

#include "app/Notices.h"

namespace app {

const char* HalvexUsage() {
    return "usage: halvex [--port NAME | --simulate[=PROFILE] [--simulate-save FILE]] [--fast]\n"
           "              [--screenshots DIR]\n"
           "       halvex --notify VALUE\n"
           "       halvex --help\n"
           "\n"
           "The handset manager: the phone book, the SIM and the short messages of a phone\n"
           "on a Bluetooth or USB serial port.\n"
           "\n"
           "  --port NAME            the phone's port below /dev (rfcomm0, ttyUSB0, ...), kept\n"
           "                         in the registry file once it opened\n"
           "  --simulate[=PROFILE]   a simulated phone instead (default, nokia, small-sim,\n"
           "                         empty, full, modem, gsm-only, or a profile file), in\n"
           "                         virtual time\n"
           "  --simulate-save FILE   keep the simulated phone's changes in FILE\n"
           "  --fast                 read each reply as soon as the phone has ended it, instead\n"
           "                         of the fixed waits (also: registry value FastLink = 1)\n"
           "  --notify VALUE         tell the running Halvex that Bluetooth restarts:\n"
           "                         -1 (or 0xFFFFFFFF) it goes down, 0 it is back, another\n"
           "                         number it could not come back; exit 0 when Halvex took\n"
           "                         it, 1 when none is running\n"
           "  --screenshots DIR      read every page and write a picture of each into DIR\n"
           "  --help, -h             this text\n"
           "\n"
           "The window needs a display ($DISPLAY or $WAYLAND_DISPLAY). Without one, use\n"
           "halvex-cli, or draw the window offscreen with QT_QPA_PLATFORM=offscreen.\n"
           "Registry file: $HALVEX_REGISTRY, else $XDG_CONFIG_HOME/halvex/registry.reg, else\n"
           "~/.config/halvex/registry.reg. Exit status: 0 done, 1 failed, 2 bad arguments.\n"
           "More, with examples: man halvex.\n";
}

HalvexParse ParseHalvexArguments(const std::vector<std::string>& args) {
    HalvexParse result;
    HalvexOptions options;
    std::optional<std::optional<std::string>> simulate;
    std::optional<std::string> port;
    std::optional<std::string> save;
    std::optional<std::string> notify;
    const auto fail = [&](const std::string& error) {
        result.error = error;
        return result;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        std::optional<std::string> value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        }
        if ((name == "--help" || name == "-h") && !value) {
            options.help = true;
        } else if (name == "--fast" && !value) {
            options.fast = true;
        } else if (name == "--simulate") {
            if (simulate) {
                return fail("--simulate is given twice");
            }
            simulate = value;
        } else if (name == "--port" || name == "--simulate-save" || name == "--notify" ||
                   name == "--screenshots") {
            std::optional<std::string>& slot = name == "--port"            ? port
                                               : name == "--simulate-save" ? save
                                               : name == "--notify"        ? notify
                                                                           : options.screenshots;
            if (slot) {
                return fail(name + " is given twice");
            }
            // The value with "=" or as the next word.
            if (!value && i + 1 < args.size()) {
                value = args[++i];
            }
            if (!value) {
                return fail(name + " needs a value");
            }
            slot = value;
        } else {
            return fail(arg.rfind("-", 0) == 0 ? "unknown option " + name
                                               : "unexpected argument \"" + arg + "\"");
        }
    }
    if (notify) {
        if (simulate || port || save || options.screenshots || options.fast) {
            return fail("--notify goes alone");
        }
        options.notify = ParseNoticeValue(*notify);
        if (!options.notify) {
            return fail("\"" + *notify + "\" is not a notice value (a number, 0x... or -1)");
        }
    }
    const std::string problem =
        ReadConnectionOptions(simulate, port, save, options.host, options.simulateSave);
    if (!problem.empty()) {
        return fail(problem);
    }
    result.options = options;
    return result;
}

}  // namespace app
