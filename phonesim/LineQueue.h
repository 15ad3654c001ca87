#pragma once
// The bytes on their way from the phone to the host, each with the moment its last bit
// arrives. The line carries one byte at a time: a byte starts when it is ready and the line
// is free, and takes 10 bits at the line speed. Bytes queued for later (an answer waiting out
// its latency) let earlier-ready bytes (an echo) go first, as a phone's output would.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace phonesim {

class LineQueue {
public:
    void SetBaud(std::uint32_t baud) { byteNs_ = baud == 0 ? 0 : 10'000'000'000ull / baud; }
    // Queues `bytes`, the first ready at `readyNs`. Returns when the last one arrives.
    std::uint64_t Send(std::string_view bytes, std::uint64_t readyNs);
    std::string Take(std::uint64_t nowNs, std::size_t max);
    std::size_t Discard(std::uint64_t nowNs);
    std::size_t Arrived(std::uint64_t nowNs) const;
    std::size_t Pending(std::uint64_t nowNs) const { return bytes_.size() - Arrived(nowNs); }
    bool Empty() const { return bytes_.empty(); }
    // When the next byte arrives; 0 when nothing is queued.
    std::uint64_t NextArrivalNs() const { return bytes_.empty() ? 0 : bytes_.front().arriveNs; }
    void Clear();

private:
    struct Byte {
        std::uint64_t readyNs;
        std::uint64_t arriveNs;
        char value;
    };
    void PopFront();

    std::deque<Byte> bytes_;
    std::uint64_t byteNs_ = 1'041'667;
    std::uint64_t lastGoneNs_ = 0;  // arrival of the last byte no longer queued
};

}  // namespace phonesim
