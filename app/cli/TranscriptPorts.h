#pragma once
// Serial ports that record every line the program writes, with the time of the clock in use,
// for --transcript. Wraps the real ports or the simulated ones; reads and everything else pass
// through unchanged.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace cli {

struct WrittenLine {
    std::uint64_t timeMs = 0;  // clock time of the write that began the line
    std::string bytes;         // as written, without its carriage return
};

class Transcript {
public:
    // Bytes that reached the port at `timeMs`; each carriage return ends a line.
    void Record(const platform::BYTE* data, platform::DWORD size, std::uint64_t timeMs);
    // The lines so far, and a last one not yet ended by a carriage return.
    std::vector<WrittenLine> Lines() const;
    // "  12.500  AT+CPBR=1,25": seconds since `startMs`, control characters as ^X.
    void Print(std::ostream& out, std::uint64_t startMs) const;

private:
    std::vector<WrittenLine> lines_;
    WrittenLine pending_;
    bool hasPending_ = false;
};

class TranscriptPorts : public platform::SerialPorts {
public:
    // Neither `inner` nor `transcript` is owned; the clock is the current host's at each write.
    TranscriptPorts(platform::SerialPorts& inner, Transcript& transcript)
        : inner_(inner), transcript_(transcript) {}

    std::unique_ptr<platform::SerialDevice> Open(const std::u16string& name) override;
    platform::PortFailure LastFailure() const override { return inner_.LastFailure(); }

private:
    platform::SerialPorts& inner_;
    Transcript& transcript_;
};

}  // namespace cli
