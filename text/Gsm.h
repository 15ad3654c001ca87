#pragma once
// The GSM 7-bit default alphabet with its extension table, one code (0 to 127) a septet; a
// character of the extension table is the escape 0x1B followed by its code.

#include <optional>
#include <string>
#include <string_view>

namespace text {

inline constexpr char16_t kGsmEscape = 0x1B;

// The codes of one character: one, or the escape and a second; empty when the alphabet lacks
// the character.
std::u16string GsmCodesOf(char16_t c);

// Codes to text, strictly: nothing for a code above 127, an escape at the end or before a code
// the extension table does not have.
std::optional<std::u16string> GsmCodesToText(std::u16string_view codes);

}  // namespace text
