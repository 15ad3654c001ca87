#pragma once
// UTF-8 on the terminal, in arguments and in files of the programs; UTF-16 in the core.

#include <string>
#include <string_view>

#include "text/Utf.h"

namespace app {

// Null when the bytes are not well-formed UTF-8 (a surrogate written as three bytes is not).
using text::FromUtf8;
// A lone surrogate becomes U+FFFD, so the result is always well-formed.
using text::ToUtf8;
// For one line of a terminal: control characters shown as ^X (^Z for Ctrl-Z, ^? for DEL).
std::string Printable(std::string_view bytes);

}  // namespace app
