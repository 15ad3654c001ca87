#include "phonesim/LineQueue.h"

#include <algorithm>
#include <vector>

namespace phonesim {

std::uint64_t LineQueue::Send(std::string_view bytes, std::uint64_t readyNs) {
    if (bytes.empty())
        return readyNs;
    // Bytes that become ready only after these step back and follow them.
    std::vector<Byte> later;
    while (!bytes_.empty() && bytes_.back().readyNs > readyNs) {
        later.push_back(bytes_.back());
        bytes_.pop_back();
    }
    std::uint64_t free = bytes_.empty() ? lastGoneNs_ : bytes_.back().arriveNs;
    auto append = [&](char value, std::uint64_t ready) {
        const std::uint64_t start = std::max(ready, free);
        free = start + byteNs_;
        bytes_.push_back({ready, free, value});
    };
    for (char c : bytes)
        append(c, readyNs);
    const std::uint64_t end = free;
    for (auto it = later.rbegin(); it != later.rend(); ++it)
        append(it->value, it->readyNs);
    return end;
}

void LineQueue::PopFront() {
    lastGoneNs_ = bytes_.front().arriveNs;
    bytes_.pop_front();
}

std::string LineQueue::Take(std::uint64_t nowNs, std::size_t max) {
    const std::size_t count = std::min(Arrived(nowNs), max);
    std::string out(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        out[i] = bytes_[i].value;
    if (count > 0)
        lastGoneNs_ = bytes_[count - 1].arriveNs;
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(count));
    return out;
}

std::size_t LineQueue::Discard(std::uint64_t nowNs) {
    std::size_t count = 0;
    while (!bytes_.empty() && bytes_.front().arriveNs <= nowNs) {
        PopFront();
        ++count;
    }
    return count;
}

std::size_t LineQueue::Arrived(std::uint64_t nowNs) const {
    // Arrival times never decrease along the queue.
    const auto firstLater = std::partition_point(
        bytes_.begin(), bytes_.end(), [nowNs](const Byte& b) { return b.arriveNs <= nowNs; });
    return static_cast<std::size_t>(firstLater - bytes_.begin());
}

void LineQueue::Clear() {
    bytes_.clear();
    lastGoneNs_ = 0;
}

}  // namespace phonesim
