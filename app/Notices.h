#pragma once
// The outside notice: the Bluetooth software tells a running Halvex that it restarts the
// Bluetooth device. Each user's Halvex listens on a local socket of that user's own; "halvex
// --notify VALUE" delivers one value to it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// The socket of this user: in $XDG_RUNTIME_DIR when that is a private directory of the user's,
// else in a private directory made for it under /tmp. Empty, with `error`, when there is no
// safe place.
std::string NoticeSocketPath(std::string& error);

// A notice value as given on the command line: a decimal number, "0x" and hex digits, or -1
// (0xFFFFFFFF). Nothing for anything else or a number beyond 32 bits.
std::optional<std::uint32_t> ParseNoticeValue(std::string_view text);

enum class NoticeResult {
    Delivered,  // a running Halvex took it
    NoProgram,  // nobody listens on the socket
};

// True when a running Halvex listens on the socket (nothing is sent to it).
bool SomeoneListens(const std::string& socketPath);

// Sends the value and waits (a few seconds at most) for the running Halvex to take it.
NoticeResult SendNotice(const std::string& socketPath, std::uint32_t value);

}  // namespace app
