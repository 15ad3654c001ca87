#pragma once
// The implementations the rest of the program talks to instead of the device's operating system.
// main() installs the real ones; tests install fakes through a ScopedHost and get the previous
// ones back when it goes out of scope.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Win32Types.h"

namespace platform {

// One open serial port. Every call returns false on failure and never throws.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    virtual bool GetState(DCB& dcb) = 0;
    virtual bool SetState(const DCB& dcb) = 0;
    virtual bool GetTimeouts(COMMTIMEOUTS& timeouts) = 0;
    virtual bool SetTimeouts(const COMMTIMEOUTS& timeouts) = 0;
    // SETDTR, CLRDTR, SETRTS, CLRRTS, ...
    virtual bool EscapeFunction(DWORD function) = 0;
    // PURGE_TXCLEAR | PURGE_RXCLEAR, ...
    virtual bool Purge(DWORD flags) = 0;
    // Writes at most `size` bytes within the write timeouts; `written` is what went out.
    virtual bool Write(const BYTE* data, DWORD size, DWORD& written) = 0;
    // Waits until everything written has left (bounded by the write timeouts).
    virtual bool Flush() = 0;
    virtual bool ClearError(DWORD& errors) = 0;
    // With the read timeouts the link sets, returns at once with what has arrived (maybe 0).
    virtual bool Read(BYTE* buffer, DWORD capacity, DWORD& read) = 0;
};

// A program that has a port open.
struct PortHolder {
    int pid = 0;
    std::string program;  // its command name ("ModemManager", "halvex", ...)
    bool self = false;    // this very process
};

// Why a port did not open, with what a user needs to put it right.
struct PortFailure {
    enum class Kind {
        Unknown,    // nothing more is known
        BadName,    // not a name a port can have (detail says why); never tried
        Missing,    // no such device (existing: the ports there are)
        Denied,     // no permission (group: the device's group)
        Held,       // another program has it (holders, where they can be seen)
        NotSerial,  // not a serial device; never opened, or closed again at once
        Other,      // detail: the system's words
    };
    Kind kind = Kind::Unknown;
    std::string path;  // the device as tried
    std::string detail;
    std::string group;
    // The user is listed in the group, but this login began before that.
    bool groupJoinedLater = false;
    std::vector<PortHolder> holders;
    std::vector<std::string> existing;
};

// Opens serial ports by device name (as held in the registry value "Port").
class SerialPorts {
public:
    virtual ~SerialPorts() = default;
    // nullptr when the port does not exist, is busy or cannot be opened.
    virtual std::unique_ptr<SerialDevice> Open(const std::u16string& name) = 0;
    // Why the last Open that returned nullptr failed.
    virtual PortFailure LastFailure() const { return {}; }
};

// Milliseconds. The real clock sleeps; a virtual clock only advances.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t NowMs() = 0;
    virtual void Sleep(DWORD ms) = 0;
};

// What the core needs of the user interface: message boxes, the wait cursor, and a line that
// tells how far a long read has come.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    // Returns the button pressed (IDOK, IDCANCEL, IDRETRY, IDYES, IDNO).
    virtual int MessageBox(HWND owner, const std::u16string& text, const std::u16string& caption,
                           UINT type) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // "Reading contacts 75 of 250": replaces the line shown before. EndProgress takes it away
    // once the read is over. A front end without such a line ignores both.
    virtual void ShowProgress(const std::u16string& text) { static_cast<void>(text); }
    virtual void EndProgress() {}
};

// What the windows need of the device's shell besides: the input panel, the shell's window-state
// call and the end of the message loop. Without one (the command-line front end) each is a no-op.
class Shell {
public:
    virtual ~Shell() = default;
    // SIPF_ON shows the input panel, SIPF_OFF hides it.
    virtual bool ShowInputPanel(DWORD flags) = 0;
    // Whether the panel is up (SIPF_ON in fdwFlags) and where it covers the screen.
    virtual bool GetInputPanelInfo(SIPINFO& info) = 0;
    // The shell's window-state call, with a window and a small number.
    virtual void WindowState(HWND window, DWORD value) = 0;
    // Ends the message loop once the current message has been handled.
    virtual void PostQuit(int exitCode) = 0;
};

class Registry;

struct Host {
    SerialPorts* serial = nullptr;
    Registry* registry = nullptr;
    Clock* clock = nullptr;
    UserInterface* ui = nullptr;
    Shell* shell = nullptr;
    // A port named for this run (--port NAME): the link opens it in place of "Port", and it is
    // stored as "Port" only once it has opened, so a mistyped name is never kept.
    std::u16string pendingPort = {};
};

// The implementations in use. Never null members once the program or a test fixture has set them,
// but for the shell, which only the windows have.
Host& CurrentHost();
void InstallHost(const Host& host);

// Installs a host for the lifetime of the object and restores the previous one afterwards.
class ScopedHost {
public:
    explicit ScopedHost(const Host& host) : previous_(CurrentHost()) { InstallHost(host); }
    ~ScopedHost() { InstallHost(previous_); }
    ScopedHost(const ScopedHost&) = delete;
    ScopedHost& operator=(const ScopedHost&) = delete;

private:
    Host previous_;
};

}  // namespace platform
