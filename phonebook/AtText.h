#pragma once
// Small text helpers for building AT commands, in UTF-16.

#include <string>
#include <string_view>

namespace phonebook {

inline std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

inline std::u16string Decimal(long long value) {
    return Ascii(std::to_string(value));
}

// False for text that could end a quoted field or the command line early on some phone: the
// double quote, the backslash (an escape inside quoted strings), and every control character
// (CR, LF, Ctrl-Z, Esc, DEL, the C1 range).
inline bool IsSafeQuotedField(std::u16string_view text) {
    for (char16_t c : text) {
        if (c < 0x20 || c == u'"' || c == u'\\' || (c >= 0x7F && c <= 0x9F)) {
            return false;
        }
    }
    return true;
}

// The same for a contact's name, which may hold backslashes: phones give quotes and other
// characters of a name as "\22"-style escapes, and such a name must be writable as it was read.
// A backslash cannot end the quoted field or the line.
inline bool IsSafeName(std::u16string_view text) {
    for (char16_t c : text) {
        if (c != u'\\' && !IsSafeQuotedField(std::u16string_view(&c, 1))) {
            return false;
        }
    }
    return true;
}

}  // namespace phonebook
