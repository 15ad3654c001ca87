#pragma once
// UTF-8 at the command line, UTF-16 in the codec.

#include <optional>
#include <string>
#include <string_view>

namespace pdutool {

// Null when the bytes are not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view bytes);
// A lone surrogate becomes U+FFFD, so the result is always well-formed.
std::string ToUtf8(std::u16string_view text);

}  // namespace pdutool
