#pragma once
// Small text helpers for building AT commands and searching replies, in UTF-16.

#include <string>
#include <string_view>

namespace phonebook {

inline std::u16string Ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

inline std::u16string Decimal(long long value) {
    return Ascii(std::to_string(value));
}

// Calls `match` with each line of a reply, blanks around it trimmed; true as soon as it does.
template <typename Match>
bool AnyReplyLine(std::u16string_view reply, Match match) {
    std::size_t start = 0;
    while (start < reply.size()) {
        std::size_t end = reply.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) {
            end = reply.size();
        }
        std::u16string_view line = reply.substr(start, end - start);
        while (!line.empty() && line.front() == u' ') {
            line.remove_prefix(1);
        }
        while (!line.empty() && line.back() == u' ') {
            line.remove_suffix(1);
        }
        if (match(line)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// True when a line of the reply is an error result ("ERROR", "+CME ERROR: ...", "+CMS ERROR:
// ..."). Only whole result lines count: the echo of a command or an entry's name may well
// contain the word.
inline bool HasErrorResult(std::u16string_view reply) {
    return AnyReplyLine(reply, [](std::u16string_view line) {
        return line == u"ERROR" || line.starts_with(u"+CME ERROR") ||
               line.starts_with(u"+CMS ERROR");
    });
}

// True when the phone confirmed the command: a line "OK" and no error result. Silence, a reply
// cut short or one that arrived too late is no confirmation.
inline bool IsConfirmed(std::u16string_view reply) {
    return !HasErrorResult(reply) &&
           AnyReplyLine(reply, [](std::u16string_view line) { return line == u"OK"; });
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
