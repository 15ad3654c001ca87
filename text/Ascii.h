#pragma once
// ASCII letter case. Only 'A'..'Z' and 'a'..'z' change; every other character stays as it is.

#include <algorithm>
#include <concepts>
#include <string>
#include <string_view>

namespace text {

template <typename Char>
concept Character = std::same_as<Char, char> || std::same_as<Char, char16_t>;

template <Character Char>
constexpr Char UpperAscii(Char c) {
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

template <Character Char>
constexpr Char LowerAscii(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

namespace detail {

template <Character Char, typename Fold>
std::basic_string<Char> Folded(std::basic_string_view<Char> text, Fold fold) {
    std::basic_string<Char> out(text);
    std::transform(out.begin(), out.end(), out.begin(), fold);
    return out;
}

template <Character Char>
constexpr bool EqualsIgnoringCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Char x, Char y) {
               return UpperAscii(x) == UpperAscii(y);
           });
}

}  // namespace detail

inline std::string ToUpperAscii(std::string_view text) {
    return detail::Folded(text, UpperAscii<char>);
}
inline std::u16string ToUpperAscii(std::u16string_view text) {
    return detail::Folded(text, UpperAscii<char16_t>);
}
inline std::string ToLowerAscii(std::string_view text) {
    return detail::Folded(text, LowerAscii<char>);
}
inline std::u16string ToLowerAscii(std::u16string_view text) {
    return detail::Folded(text, LowerAscii<char16_t>);
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return detail::EqualsIgnoringCase(a, b);
}
constexpr bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return detail::EqualsIgnoringCase(a, b);
}

constexpr bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}
constexpr bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace text
