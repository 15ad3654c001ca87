#pragma once
// The serial ports a phone can be on, as Linux shows them: /dev/serial/by-id/* (the names that
// stay when the phone is plugged in elsewhere), ttyUSB*, ttyACM* and rfcomm*; the USB maker,
// model and interface sysfs knows for each; whether this user may open it; and who holds it,
// from /proc where that is visible. Everything is read below a root directory ("" for the real
// system), so that a test can hand it a made-up tree.

#include <optional>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace platform {

struct SerialPortInfo {
    std::string path;    // as a user names it: /dev/serial/by-id/usb-... or /dev/ttyUSB0
    std::string device;  // the node behind it: /dev/ttyUSB0 (the same as path for a node)
    std::string maker, model, interfaceName;  // from the USB descriptors; "" where unknown
    std::string usbDevice;   // the USB device's sysfs directory (/sys/devices/...), or ""
    bool bluetooth = false;  // an rfcomm port
    bool exists = false;
    bool serial = false;  // a character device (checked before anything opens it)
    bool mayOpen = false;
    std::string group;              // the device's group, by name where /etc/group has it
    bool groupJoinedLater = false;  // see PortFailure
    std::vector<PortHolder> holders;
};

class PortSurvey {
public:
    struct Options {
        std::string root;  // prefix of /dev, /sys, /proc and /etc; "" for the system itself
        // Whose rights count; this process's when not given.
        std::optional<unsigned> uid;
        std::vector<unsigned> gids;
        // A made-up tree cannot hold device nodes without root: its plain files stand for them.
        bool filesAreDevices = false;
    };

    PortSurvey() = default;
    explicit PortSurvey(Options options) : options_(std::move(options)) {}

    // Every port found: by-id names first (each device once, under its stable name), then the
    // nodes no by-id name points to, in natural order (ttyUSB2 before ttyUSB10).
    std::vector<SerialPortInfo> List() const;
    // One port by path (a by-id name, a node, a pseudo-terminal, anything).
    SerialPortInfo Inspect(const std::string& path) const;
    // The programs that hold the device (its path without the root).
    std::vector<PortHolder> Holders(const std::string& device) const;
    // The paths List() would give.
    std::vector<std::string> Names() const;

private:
    std::string Real(const std::string& path) const { return options_.root + path; }
    // The path a link leads to, without the root; the path itself when it is no link.
    std::string Resolve(const std::string& path) const;
    void ReadUsb(SerialPortInfo& info) const;
    void ReadAccess(SerialPortInfo& info) const;

    Options options_;
};

}  // namespace platform
