// halvex-cli ports: the serial ports a phone can be on, as the window's port chooser lists them.

#include <algorithm>

#include "app/Utf8Text.h"
#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "link/PortOpening.h"
#include "link/PortProbe.h"
#include "platform/PortSurvey.h"
#include "platform/TermiosSerialPort.h"

namespace cli {

namespace {

nlohmann::ordered_json PortJson(const platform::SerialPortInfo& port,
                                const ports::ProbeResult* probe) {
    nlohmann::ordered_json holders = nlohmann::ordered_json::array();
    for (const platform::PortHolder& h : port.holders) {
        holders.push_back({{"pid", h.pid}, {"program", h.program}});
    }
    nlohmann::ordered_json json = {{"path", port.path},
                                   {"device", port.device},
                                   {"maker", port.maker},
                                   {"model", port.model},
                                   {"interface", port.interfaceName},
                                   {"bluetooth", port.bluetooth},
                                   {"exists", port.exists},
                                   {"serial", port.serial},
                                   {"may_open", port.mayOpen},
                                   {"group", port.group},
                                   {"held_by", holders},
                                   {"state", ports::StateText(port)}};
    if (probe != nullptr) {
        json["probe"] = {{"answered", probe->answered},
                         {"maker", probe->maker},
                         {"identity", probe->identity},
                         {"nokia", probe->answered ? nlohmann::ordered_json(probe->nokia == 1)
                                                   : nlohmann::ordered_json()},
                         {"summary", ports::ProbeSummary(*probe)}};
    }
    return json;
}

bool Askable(const platform::SerialPortInfo& port) {
    return port.serial && std::none_of(port.holders.begin(), port.holders.end(),
                                       [](const auto& h) { return ports::IsModemManager(h); });
}

}  // namespace

int RunPorts(const Options& options, std::ostream& out, std::ostream& err) {
    const platform::PortSurvey survey;
    std::vector<platform::SerialPortInfo> found = survey.List();
    for (const std::string& given : options.paths) {
        std::string why;
        const std::optional<std::u16string> name = app::FromUtf8(given);
        const std::string path =
            name ? platform::TermiosSerialPorts::DevicePath(*name, &why) : std::string();
        if (path.empty()) {
            Complain(err, "\"" + app::Printable(given) + "\" is not a port name" +
                              (why.empty() ? "" : ": " + why));
            return kExitBadArguments;
        }
        const bool listed = std::any_of(found.begin(), found.end(), [&](const auto& p) {
            return p.path == path || p.device == path;
        });
        if (!listed) {
            found.push_back(survey.Inspect(path));
        }
    }
    std::vector<ports::ProbeResult> probes(found.size());
    if (options.probe) {
        for (std::size_t i = 0; i < found.size(); ++i) {
            // Only what could be a phone is asked; ModemManager's ports are left to it.
            if (Askable(found[i])) {
                probes[i] = ports::Probe(app::FromUtf8(found[i].path).value_or(u""));
            }
        }
    }
    if (options.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < found.size(); ++i) {
            list.push_back(PortJson(found[i], options.probe ? &probes[i] : nullptr));
        }
        PrintJson(out, list);
        return kExitOk;
    }
    if (found.empty()) {
        out << "no serial port found (is the phone plugged in, or bound with rfcomm?)\n";
    }
    for (std::size_t i = 0; i < found.size(); ++i) {
        const platform::SerialPortInfo& port = found[i];
        out << port.path;
        if (port.device != port.path) {
            out << " -> " << port.device;
        }
        const std::string device = ports::DeviceText(port);
        if (!device.empty()) {
            out << "  " << device;
        }
        out << "  [" << ports::StateText(port) << "]";
        if (options.probe) {
            out << "  probe: " << (Askable(port) ? ports::ProbeSummary(probes[i]) : "not asked");
        }
        out << '\n';
    }
    out << std::flush;
    return kExitOk;
}

}  // namespace cli
