#pragma once
// Misbehaviour scripted into the simulated phone, per command or per moment.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace phonesim {

struct Fault {
    enum class Action {
        Silent,       // the command is not carried out; nothing is echoed or answered
        Error,        // the command is not carried out; the answer is a plain ERROR
        Pause,        // the answer stops after `offset` bytes (default: half) for `pauseMs`
        Reply,        // the command is not carried out; `bytes` go out instead of the answer
        Corrupt,      // the answer carries `bytes` (default 0xFF, not UTF-8) at `offset`
        Unsolicited,  // "\r\n" + `bytes` + "\r\n" at `atMs`, or after the command's answer
        Drop,         // the link drops at `atMs`, or when the command arrives (no answer)
    };

    Action action = Action::Silent;
    // Case-insensitive prefix of the command line ("AT+CMGD", "AT+CPBR=26,"); empty: any.
    std::string command;
    // Command faults: only commands arriving at or after this time. Unsolicited and Drop
    // without a command: the moment it happens.
    std::optional<std::uint64_t> atMs;
    // Applies to the PDU step of AT+CMGS/AT+CMGW (after Ctrl-Z) instead of the command line.
    bool pdu = false;
    int skip = 0;   // matching commands to let through first
    int times = 1;  // how many matching commands it hits; 0 or less: every one
    std::uint32_t pauseMs = 0;
    std::optional<std::size_t> offset;
    std::string bytes;

    static Fault NoReply(std::string command);
    static Fault ErrorReply(std::string command);
    static Fault PausedReply(std::string command, std::uint32_t pauseMs,
                             std::optional<std::size_t> afterBytes = std::nullopt);
    static Fault RawReply(std::string command, std::string bytes);
    static Fault CorruptReply(std::string command, std::string bytes = "\xFF",
                              std::optional<std::size_t> offset = std::nullopt);
    static Fault UnsolicitedAt(std::uint64_t atMs, std::string result);
    static Fault UnsolicitedAfter(std::string command, std::string result);
    static Fault DropAt(std::uint64_t atMs);
    static Fault DropOn(std::string command);
};

}  // namespace phonesim
