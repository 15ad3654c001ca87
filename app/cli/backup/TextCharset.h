#pragma once
// Text that a file says is in some character set ("ISO-8859-1", "windows-1252", "UTF-8"), made
// UTF-8 with the C library's converter.

#include <optional>
#include <string>
#include <string_view>

namespace backup {

// Null when the character set is not known here or the bytes are not text of it.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, std::string_view charset);

}  // namespace backup
