#pragma once

#include <cstdint>

#include "platform/Host.h"

namespace platform {

// Wall-clock time: Sleep really sleeps.
class RealClock : public Clock {
public:
    std::uint64_t NowMs() override;
    void Sleep(DWORD ms) override;
};

// Test time: Sleep advances the time at once, so a 90-second exchange takes no real time.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(std::uint64_t startMs = 0) : now_(startMs) {}
    std::uint64_t NowMs() override { return now_; }
    void Sleep(DWORD ms) override { now_ += ms; }
    void Advance(std::uint64_t ms) { now_ += ms; }

private:
    std::uint64_t now_;
};

}  // namespace platform
