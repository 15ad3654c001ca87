#pragma once
// Blanks off the ends of a text. The blanks are space and tab unless the caller names others.

#include <string_view>

namespace text {

namespace detail {

template <typename Char>
constexpr std::basic_string_view<Char> TrimStart(std::basic_string_view<Char> text,
                                                 std::basic_string_view<Char> blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    return first == text.npos ? text.substr(text.size()) : text.substr(first);
}

template <typename Char>
constexpr std::basic_string_view<Char> TrimEnd(std::basic_string_view<Char> text,
                                               std::basic_string_view<Char> blanks) {
    const std::size_t last = text.find_last_not_of(blanks);
    return last == text.npos ? text.substr(0, 0) : text.substr(0, last + 1);
}

}  // namespace detail

constexpr std::string_view TrimStart(std::string_view text, std::string_view blanks = " \t") {
    return detail::TrimStart(text, blanks);
}
constexpr std::u16string_view TrimStart(std::u16string_view text,
                                        std::u16string_view blanks = u" \t") {
    return detail::TrimStart(text, blanks);
}

constexpr std::string_view TrimEnd(std::string_view text, std::string_view blanks = " \t") {
    return detail::TrimEnd(text, blanks);
}
constexpr std::u16string_view TrimEnd(std::u16string_view text,
                                      std::u16string_view blanks = u" \t") {
    return detail::TrimEnd(text, blanks);
}

// An all-blank text gives an empty one.
constexpr std::string_view Trim(std::string_view text, std::string_view blanks = " \t") {
    return TrimEnd(TrimStart(text, blanks), blanks);
}
constexpr std::u16string_view Trim(std::u16string_view text, std::u16string_view blanks = u" \t") {
    return TrimEnd(TrimStart(text, blanks), blanks);
}

}  // namespace text
