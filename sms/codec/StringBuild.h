#pragma once
// Builds a string character by character through a small stack buffer: appending whole chunks
// is several times faster than filling a sized string first and overwriting it.

#include <algorithm>
#include <cstddef>
#include <string>

namespace sms {

// `make(i)` gives character i of n.
template <typename Make>
std::u16string BuildString(std::size_t n, Make make) {
    std::u16string out;
    out.reserve(n);
    char16_t chunk[256];
    for (std::size_t done = 0; done < n;) {
        const std::size_t take = std::min(n - done, std::size(chunk));
        for (std::size_t k = 0; k < take; ++k) {
            chunk[k] = make(done + k);
        }
        out.append(chunk, take);
        done += take;
    }
    return out;
}

}  // namespace sms
