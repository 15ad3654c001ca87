#include "phonesim/Fault.h"

#include <utility>

namespace phonesim {

namespace {

Fault Make(Fault::Action action, std::string command) {
    Fault f;
    f.action = action;
    f.command = std::move(command);
    return f;
}

}  // namespace

Fault Fault::NoReply(std::string command) {
    return Make(Action::Silent, std::move(command));
}

Fault Fault::ErrorReply(std::string command) {
    return Make(Action::Error, std::move(command));
}

Fault Fault::PausedReply(std::string command, std::uint32_t pauseMs,
                         std::optional<std::size_t> afterBytes) {
    Fault f = Make(Action::Pause, std::move(command));
    f.pauseMs = pauseMs;
    f.offset = afterBytes;
    return f;
}

Fault Fault::RawReply(std::string command, std::string bytes) {
    Fault f = Make(Action::Reply, std::move(command));
    f.bytes = std::move(bytes);
    return f;
}

Fault Fault::CorruptReply(std::string command, std::string bytes,
                          std::optional<std::size_t> offset) {
    Fault f = Make(Action::Corrupt, std::move(command));
    f.bytes = std::move(bytes);
    f.offset = offset;
    return f;
}

Fault Fault::UnsolicitedAt(std::uint64_t atMs, std::string result) {
    Fault f = Make(Action::Unsolicited, "");
    f.atMs = atMs;
    f.bytes = std::move(result);
    return f;
}

Fault Fault::UnsolicitedAfter(std::string command, std::string result) {
    Fault f = Make(Action::Unsolicited, std::move(command));
    f.bytes = std::move(result);
    return f;
}

Fault Fault::DropAt(std::uint64_t atMs) {
    Fault f = Make(Action::Drop, "");
    f.atMs = atMs;
    return f;
}

Fault Fault::DropOn(std::string command) {
    return Make(Action::Drop, std::move(command));
}

}  // namespace phonesim
