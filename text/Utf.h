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

// Never fails: each maximal invalid subsequence (a lead byte with the continuation bytes that
// fit it so far, or a byte that cannot start a sequence) becomes `replacement`, and decoding goes
// on with the next byte. A surrogate written as three bytes is taken as the unit it encodes.
std::u16string FromUtf8Lenient(std::string_view bytes, char16_t replacement = u'\uFFFD');

}  // namespace text
