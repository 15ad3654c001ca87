#include "link/PortOpening.h"

#include <vector>

#include "platform/Host.h"
#include "platform/Registry.h"
#include "platform/TermiosSerialPort.h"
#include "platform/Win32.h"
#include "text/Utf.h"

using namespace platform;

namespace ports {

namespace {

bool IsHalvex(const PortHolder& holder) {
    return holder.program == "halvex" || holder.program == "halvex-cli";
}

}  // namespace

std::u16string Widen(const std::string& text) {
    return text::FromUtf8Lenient(text, u'?');
}

std::string Narrow(const std::u16string& text) {
    return text::ToUtf8(text, text::LoneSurrogate::Keep);
}

std::u16string ReadPortName() {
    if (!CurrentHost().pendingPort.empty())
        return CurrentHost().pendingPort;
    if (Registry* registry = CurrentHost().registry)
        registry->Refresh(HKEY_LOCAL_MACHINE, kPortKey, kPortValue);
    HKEY key = NULL_HANDLE;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return u"";
    DWORD size = 0;
    DWORD type = REG_NONE;
    std::u16string name;
    if (RegQueryValueExW(key, kPortValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        size >= sizeof(char16_t)) {
        std::vector<BYTE> bytes(size, 0);
        if (RegQueryValueExW(key, kPortValue, nullptr, &type, bytes.data(), &size) ==
            ERROR_SUCCESS) {
            for (DWORD i = 0; i + 1 < size; i += 2) {
                const char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
                if (c == 0)
                    break;
                name += c;
            }
        }
    }
    RegCloseKey(key);
    return name;
}

bool StorePortName(const std::u16string& name) {
    // The stored name is the one in use from now on.
    CurrentHost().pendingPort.clear();
    Registry* registry = CurrentHost().registry;
    return registry != nullptr &&
           registry->SetString(HKEY_LOCAL_MACHINE, kPortKey, kPortValue, name) == ERROR_SUCCESS &&
           registry->SaveResult() == ERROR_SUCCESS;
}

HANDLE OpenPort(const std::u16string& name, PortFailure& why) {
    why = PortFailure{};
    SerialPorts* serial = CurrentHost().serial;
    // An odd name never reaches the ports: "../" out of /dev, a control character, no name.
    if (name.empty() || serial == nullptr ||
        TermiosSerialPorts::DevicePath(name, &why.detail).empty()) {
        why.kind = PortFailure::Kind::BadName;
        return INVALID_HANDLE_VALUE;
    }
    const HANDLE handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL_HANDLE);
    if (handle == INVALID_HANDLE_VALUE)
        why = serial->LastFailure();
    return handle;
}

bool IsModemManager(const PortHolder& holder) {
    return holder.program == "ModemManager";
}

std::string HolderText(const PortHolder& holder) {
    const std::string process = " (process " + std::to_string(holder.pid) + ")";
    if (holder.self)
        return "this Halvex" + process;
    if (IsHalvex(holder))
        return "another Halvex" + process;
    return (holder.program.empty() ? std::string("a program") : holder.program) + process;
}

std::string StateText(const SerialPortInfo& port) {
    if (!port.exists)
        return "missing";
    if (!port.serial)
        return "not a serial device";
    // The program that made a pseudo-terminal keeps its far end open: it is the phone.
    const bool pseudo = port.device.rfind("/dev/pts/", 0) == 0;
    std::string held;
    for (const PortHolder& h : port.holders)
        held += (held.empty() ? (pseudo ? "made by " : "held by ") : ", ") + HolderText(h);
    if (!held.empty())
        return held;
    if (!port.mayOpen)
        return port.groupJoinedLater ? "no permission until you log in again"
                                     : "no permission (group " + port.group + ")";
    return "free";
}

std::string DeviceText(const SerialPortInfo& port) {
    std::string text = port.maker;
    if (!port.model.empty())
        text += (text.empty() ? "" : " ") + port.model;
    if (!port.interfaceName.empty())
        text += (text.empty() ? "" : " ") + ("(" + port.interfaceName + ")");
    if (text.empty() && port.bluetooth)
        text = "Bluetooth";
    if (text.empty() && port.device.rfind("/dev/pts/", 0) == 0)
        text = "pseudo-terminal";
    return text;
}

std::u16string ExplainFailure(const std::u16string& name, const PortFailure& why) {
    using Kind = PortFailure::Kind;
    if (name.empty()) {
        return u"No port is set for the phone. Choose it with \"Choose phone...\" in the Phone "
               u"menu (halvex-cli: --port NAME; \"halvex-cli ports\" lists them).";
    }
    const std::string port = why.path.empty() ? Narrow(name) : why.path;
    std::string text;
    switch (why.kind) {
        case Kind::BadName:
            text = "\"" + Narrow(name) + "\" is not a port name" +
                   (why.detail.empty() ? "" : ": " + why.detail) + ".";
            break;
        case Kind::Missing:
            text = port + " does not exist.";
            if (why.existing.empty()) {
                text +=
                    " No serial port is there: is the phone plugged in, or paired and bound "
                    "with rfcomm?";
            } else {
                text += " Ports there are:";
                for (const std::string& p : why.existing)
                    text += " " + p;
            }
            break;
        case Kind::Denied:
            text = port + ": permission denied.";
            if (why.groupJoinedLater) {
                text += " You are in the group \"" + why.group +
                        "\" since this login began: log out and in again.";
            } else if (!why.group.empty()) {
                text += " Its group is \"" + why.group +
                        "\" and you are not in it. Join it with: sudo usermod -aG " + why.group +
                        " $USER (then log out and in again).";
            }
            break;
        case Kind::Held: {
            text = port + " is held by another program";
            bool modemManager = false;
            bool halvex = false;
            for (std::size_t i = 0; i < why.holders.size(); ++i) {
                text += (i == 0 ? ": " : ", ") + HolderText(why.holders[i]);
                modemManager = modemManager || IsModemManager(why.holders[i]);
                halvex = halvex || IsHalvex(why.holders[i]);
            }
            text += ".";
            if (modemManager) {
                text +=
                    " ModemManager manages the phone: let Halvex pause it when the window "
                    "asks, or stop it with: sudo systemctl stop ModemManager";
            } else if (halvex) {
                text += " Close that Halvex first.";
            } else if (why.holders.empty()) {
                text += " Which one is not visible to you; \"sudo fuser " + port +
                        "\" tells. ModemManager often is: sudo systemctl stop ModemManager";
            }
            break;
        }
        case Kind::NotSerial:
            text = port + " is not a serial device.";
            break;
        case Kind::Other:
            text = port + ": " + (why.detail.empty() ? "it cannot be opened" : why.detail) + ".";
            break;
        case Kind::Unknown:
            text = port + " cannot be opened.";
            break;
    }
    return Widen(text);
}

}  // namespace ports
