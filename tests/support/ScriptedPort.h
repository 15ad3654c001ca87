#pragma once
// A serial port whose far end follows a script, in the time of a Clock (a VirtualClock in tests):
// when a command line arrives, its scripted reply becomes readable after the given delay.
// Everything that happens on the port is recorded; faults are set on its state.
//
//   platform::ScriptedPort port(clock());
//   port.On("ATI", "\r\nNokia\r\n\r\nOK\r\n", 50);
//   ports().Add(u"rfcomm0", port.Factory());
//   port->failReads = true;
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
    struct State {
        struct Rule {
            std::string command, reply;
            std::uint64_t delayMs;
            int times;
        };
        explicit State(Clock& c) : clock(c) {}
        Clock& clock;
        std::vector<Rule> rules;
        std::multimap<std::uint64_t, BYTE> incoming;  // arrival time in ms -> byte
        std::string written, line;
        std::vector<std::string> commands;  // complete lines, terminators removed
        // "open", "close", "state", "timeouts", "dtr", "rts", "purge", "write <bytes>", "flush",
        // "read <n>", "read failed", "clear"
        std::vector<std::string> events;
        DCB dcb{};
        COMMTIMEOUTS timeouts{};
        std::uint32_t writeLimit = 0;  // each write takes at most this many bytes (0: no limit)
        int failWrites = 0;            // the next writes that fail; -1: every one
        bool failReads = false, failSetState = false;
        bool refuseModemLines = false;  // DTR/RTS calls fail, as on a pseudo-terminal
        bool dtr = false, rts = false, open = false;
    };

    explicit ScriptedPort(Clock& clock) : s_(std::make_shared<State>(clock)) {}

    // Makes a device onto this port for every open (null while one is open).
    FakeSerialPorts::Factory Factory();
    // Replies to a command line, given without its terminator (a carriage return or Ctrl-Z).
    // Rules are tried in the order added; `times` -1 answers for ever, else that many times.
    void On(std::string command, std::string reply, std::uint64_t delayMs = 0, int times = -1) {
        s_->rules.push_back({std::move(command), std::move(reply), delayMs, times});
    }

    State* operator->() const { return s_.get(); }
    std::string Written() const { return s_->written; }
    bool IsOpen() const { return s_->open; }

private:
    std::shared_ptr<State> s_;
};

}  // namespace platform
