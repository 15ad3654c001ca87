#pragma once
// A serial port whose far end follows a script, in the time of a Clock (a VirtualClock in tests):
// when a command line arrives, its scripted reply becomes readable after the given delays, at an
// optional line speed. Everything that happens on the port is recorded with its time.
//
//   platform::ScriptedPort port(clock());
//   port.On("ATI", "\r\nNokia\r\n\r\nOK\r\n", 50);
//   ports().Add(u"rfcomm0", port.Factory());
//
// The port is exclusive like a real one: opening it again while a device is open fails.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FakeSerialPorts.h"
#include "platform/Host.h"

namespace platform {

class ScriptedPort {
public:
    struct Piece {
        std::uint64_t delayMs = 0;  // after the command's last byte was written
        std::string bytes;
    };
    struct Event {
        std::uint64_t atMs = 0;
        std::string what;  // "open", "close", "state", "timeouts", "dtr", "rts", "purge",
                           // "write <bytes>", "flush", "read <n>", "clear"
    };

    explicit ScriptedPort(Clock& clock);

    // Makes a device onto this port for every open (null while one is open, or when failing).
    FakeSerialPorts::Factory Factory();

    // Replies to a command line, given without its terminator (a carriage return or Ctrl-Z).
    // Rules are tried in the order added; `times` -1 answers for ever, else that many times.
    void On(std::string command, std::string reply, std::uint64_t delayMs = 0, int times = -1);
    void On(std::string command, std::vector<Piece> pieces, int times = -1);
    // Bytes that arrive at an absolute time whatever was sent (e.g. "\r\nRING\r\n").
    void Arrive(std::string bytes, std::uint64_t atMs);
    // Line speed: microseconds per byte of every reply (9600 baud: about 1042); 0 is instant.
    void SetByteTimeUs(std::uint32_t us);
    void SetEcho(bool echo);

    // Faults.
    void FailOpen(bool fail);
    void FailNextWrites(int count);         // -1: every write fails
    void LimitWrites(std::uint32_t bytes);  // each write takes at most this many bytes
    void FailReads(bool fail);
    void FailSetState(bool fail);
    void RefuseModemLines(bool refuse);  // DTR/RTS calls fail, as on a pseudo-terminal

    // Observations.
    std::string Written() const;
    std::vector<std::string> Commands() const;  // complete lines, terminators removed
    std::vector<Event> Events() const;
    std::vector<std::string> EventNames() const;  // Events() without the times
    DCB LineState() const;
    COMMTIMEOUTS Timeouts() const;
    bool Dtr() const;
    bool Rts() const;
    int Opens() const;
    bool IsOpen() const;
    // Bytes that have arrived by now and were not read or purged.
    std::size_t Unread() const;

    struct Shared;

private:
    std::shared_ptr<Shared> state_;
};

}  // namespace platform
