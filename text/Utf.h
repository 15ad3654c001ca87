#pragma once
// UTF-8 and UTF-16. Every function says what becomes of text that is not well-formed: a
// surrogate without its partner on the UTF-16 side; on the UTF-8 side overlong forms, stray or
// missing continuation bytes, values above U+10FFFF and surrogates written as three bytes.

#include <optional>
#include <string>
#include <string_view>

namespace text {

// Appends the UTF-8 form of a code point up to U+10FFFF; a surrogate's value is written as
// three bytes like any other.
void AppendUtf8(std::string& out, char32_t codePoint);

// What UTF-16 to UTF-8 makes of a surrogate without its partner.
enum class LoneSurrogate {
    Replace,  // U+FFFD, so that the bytes are always well-formed
    Keep,     // its own three-byte form, so that nothing is dropped
};

// A pair becomes one four-byte sequence.
std::string ToUtf8(std::u16string_view text, LoneSurrogate lone = LoneSurrogate::Replace);
// Where the first surrogate without its partner stands; npos when there is none.
std::size_t FindLoneSurrogate(std::u16string_view text);

// What strict UTF-8 to UTF-16 makes of a surrogate written as its own three bytes (as
// LoneSurrogate::Keep and older software write them).
enum class EncodedSurrogate {
    Reject,
    Accept,  // the unit it encodes; two such in a row give back a pair
};

// Well-formed UTF-8 only: nullopt for anything else.
std::optional<std::u16string> FromUtf8(std::string_view bytes,
                                       EncodedSurrogate surrogate = EncodedSurrogate::Reject);

namespace detail {

// One sequence at `at`: its code point and length, or its maximal invalid subsequence's length
// with `valid` false. A surrogate written as three bytes counts as valid here.
struct Utf8Sequence {
    char32_t cp = 0;
    std::size_t length = 1;
    bool valid = false;
};

inline Utf8Sequence NextUtf8(std::string_view s, std::size_t at) {
    const auto b = static_cast<unsigned char>(s[at]);
    if (b < 0x80) {
        return {b, 1, true};
    }
    std::size_t length;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        cp = b & 0x0F;
        if (b == 0xE0) {
            lo = 0xA0;  // overlong
        }
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        cp = b & 0x07;
        if (b == 0xF0) {
            lo = 0x90;  // overlong
        }
        if (b == 0xF4) {
            hi = 0x8F;  // above U+10FFFF
        }
    } else {
        return {};  // a continuation byte, C0, C1, F5..FF
    }
    std::size_t k = 1;
    for (; k < length && at + k < s.size(); ++k) {
        const auto c = static_cast<unsigned char>(s[at + k]);
        if (k == 1 ? (c < lo || c > hi) : (c & 0xC0) != 0x80) {
            break;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (k < length) {
        return {0, k, false};
    }
    return {cp, length, true};
}

}  // namespace detail

// Never fails: each maximal invalid subsequence (a lead byte with the continuation bytes that
// fit it so far, or a byte that cannot start a sequence) becomes `replacement`, and decoding goes
// on with the next byte. A surrogate written as three bytes is taken as the unit it encodes.
std::u16string FromUtf8Lenient(std::string_view bytes, char16_t replacement = u'\uFFFD');

// The same, a code unit at a time into emit(char16_t), for callers that store the units their
// own way.
template <typename Emit>
void DecodeUtf8Lenient(std::string_view bytes, char16_t replacement, Emit&& emit) {
    for (std::size_t i = 0; i < bytes.size();) {
        const detail::Utf8Sequence next = detail::NextUtf8(bytes, i);
        if (!next.valid) {
            emit(replacement);
        } else if (next.cp >= 0x10000) {
            emit(static_cast<char16_t>(0xD800 + ((next.cp - 0x10000) >> 10)));
            emit(static_cast<char16_t>(0xDC00 + ((next.cp - 0x10000) & 0x3FF)));
        } else {
            emit(static_cast<char16_t>(next.cp));
        }
        i += next.length;
    }
}

}  // namespace text
