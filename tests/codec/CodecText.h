#pragma once
// Small conversions for the codec tests: the PDUs in the tests are ASCII hex.

#include <string>
#include <string_view>

namespace codectest {

inline std::u16string U(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

// For messages: every character of the text must be ASCII.
inline std::string A(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return out;
}

}  // namespace codectest
