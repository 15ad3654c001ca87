#pragma once
// UTF-8 on the terminal, in arguments and in files of the programs; UTF-16 in the core.

#include <optional>
#include <string>
#include <string_view>

namespace app {

// Null when the bytes are not well-formed UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view bytes);
// A lone surrogate becomes U+FFFD, so the result is always well-formed.
std::string ToUtf8(std::u16string_view text);
// For one line of a terminal: control characters shown as ^X (^Z for Ctrl-Z, ^? for DEL).
std::string Printable(std::string_view bytes);

}  // namespace app
