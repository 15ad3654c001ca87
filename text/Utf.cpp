#include "text/Utf.h"

namespace text {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

// One sequence at `at`: its code point and length, or its maximal invalid subsequence's length
// with `valid` false. A surrogate written as three bytes counts as valid here.
struct Sequence {
    char32_t cp = 0;
    std::size_t length = 1;
    bool valid = false;
};

Sequence Next(std::string_view s, std::size_t at) {
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

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string ToUtf8(std::u16string_view text, LoneSurrogate lone) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if ((IsHigh(u) || IsLow(u)) && lone == LoneSurrogate::Replace) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

std::size_t FindLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
            ++i;
        } else if (IsHigh(text[i]) || IsLow(text[i])) {
            return i;
        }
    }
    return text.npos;
}

std::optional<std::u16string> FromUtf8(std::string_view bytes, EncodedSurrogate surrogate) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const Sequence next = Next(bytes, i);
        if (!next.valid ||
            (surrogate == EncodedSurrogate::Reject && next.cp >= 0xD800 && next.cp <= 0xDFFF)) {
            return std::nullopt;
        }
        AppendUtf16(out, next.cp);
        i += next.length;
    }
    return out;
}

std::u16string FromUtf8Lenient(std::string_view bytes, char16_t replacement) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const Sequence next = Next(bytes, i);
        if (next.valid) {
            AppendUtf16(out, next.cp);
        } else {
            out += replacement;
        }
        i += next.length;
    }
    return out;
}

}  // namespace text
