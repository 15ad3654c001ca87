// Text the benchmarks build their messages from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace bench {

// `phrase` repeated and cut to `length` characters.
inline std::u16string Repeated(std::u16string_view phrase, std::size_t length) {
    std::u16string text;
    while (text.size() < length) {
        text += phrase;
    }
    text.resize(length);
    return text;
}

}  // namespace bench
