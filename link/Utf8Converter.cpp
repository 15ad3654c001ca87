#include "link/Utf8Converter.h"

#include <cstddef>

using platform::BOOL;
using platform::BYTE;
using platform::DWORD;

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr DWORD kMaxSourceBytes = 0x3FFFFFFF;

// Calls emit(unit) for every UTF-16 code unit the bytes decode to. Never fails: anything that is
// not well-formed UTF-8 becomes U+FFFD, one per maximal invalid subsequence, and decoding goes on
// with the next byte. Three-byte forms of surrogates are decoded as the units they encode, so a
// pair sent as two three-byte sequences comes back whole.
template <typename Emit>
void DecodeUtf8(const BYTE* s, std::size_t n, Emit&& emit) {
    std::size_t i = 0;
    while (i < n) {
        const BYTE b = s[i];
        if (b < 0x80) {
            emit(char16_t(b));
            ++i;
            continue;
        }
        std::size_t len;
        char32_t cp;
        BYTE lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0;  // overlong
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
            if (b == 0xF0)
                lo = 0x90;  // overlong
            if (b == 0xF4)
                hi = 0x8F;  // above U+10FFFF
        } else {
            emit(kReplacement);  // stray continuation byte, C0, C1, F5..FF
            ++i;
            continue;
        }
        std::size_t k = 1;
        for (; k < len && i + k < n; ++k) {
            const BYTE c = s[i + k];
            if (k == 1 ? (c < lo || c > hi) : (c & 0xC0) != 0x80)
                break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (k < len) {
            emit(kReplacement);  // truncated or broken: resume at the offending byte
            i += k;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            emit(char16_t(0xD800 + (cp >> 10)));
            emit(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            emit(char16_t(cp));
        }
        i += len;
    }
}

char16_t UnitAt(const BYTE* s, std::size_t i) {
    return char16_t(s[2 * i] | (s[2 * i + 1] << 8));
}

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Calls emit(byte) for the UTF-8 form of the UTF-16LE units. A surrogate pair becomes one
// four-byte sequence (phones refuse the two three-byte form); any other unit is written by value,
// a lone surrogate included, so that nothing the caller typed is dropped.
template <typename Emit>
void EncodeUtf8(const BYTE* s, std::size_t units, Emit&& emit) {
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = UnitAt(s, i);
        if (u < 0x80) {
            emit(BYTE(u));
        } else if (u < 0x800) {
            emit(BYTE(0xC0 | (u >> 6)));
            emit(BYTE(0x80 | (u & 0x3F)));
        } else if (IsHigh(u) && i + 1 < units && IsLow(UnitAt(s, i + 1))) {
            const char32_t cp =
                0x10000 + ((char32_t(u) - 0xD800) << 10) + (UnitAt(s, i + 1) - 0xDC00);
            emit(BYTE(0xF0 | (cp >> 18)));
            emit(BYTE(0x80 | ((cp >> 12) & 0x3F)));
            emit(BYTE(0x80 | ((cp >> 6) & 0x3F)));
            emit(BYTE(0x80 | (cp & 0x3F)));
            ++i;
        } else {
            emit(BYTE(0xE0 | (u >> 12)));
            emit(BYTE(0x80 | ((u >> 6) & 0x3F)));
            emit(BYTE(0x80 | (u & 0x3F)));
        }
    }
}

// Sizes first, then converts only when the result fits.
template <typename Run>
BOOL Convert(const void* source, DWORD sourceBytes, void* destination, DWORD capacity,
             DWORD* outputBytes, Run&& run) {
    DWORD ignored = 0;
    DWORD& out = outputBytes ? *outputBytes : ignored;
    if (sourceBytes == 0) {
        out = 0;
        return 1;
    }
    // Bounded so that no output size can overflow a DWORD.
    if (!source || sourceBytes > kMaxSourceBytes) {
        out = 0;
        return 0;
    }
    DWORD size = 0;
    run([&size](auto) { ++size; });
    if (!destination || size > capacity) {
        out = size;
        return 0;
    }
    BYTE* dst = static_cast<BYTE*>(destination);
    DWORD written = 0;
    run([&](auto unit) { dst[written++] = unit; });
    out = written;
    return 1;
}

}  // namespace

BOOL CUtf8Converter::ToUtf8(const void* source, DWORD sourceBytes, void* destination,
                            DWORD capacity, DWORD* outputBytes) {
    const BYTE* src = static_cast<const BYTE*>(source);
    // An odd trailing byte is not a code unit and is left out.
    return Convert(source, sourceBytes, destination, capacity, outputBytes,
                   [&](auto&& emit) { EncodeUtf8(src, sourceBytes / 2, emit); });
}

BOOL CUtf8Converter::FromUtf8(const void* source, DWORD sourceBytes, void* destination,
                              DWORD capacity, DWORD* outputBytes) {
    const BYTE* src = static_cast<const BYTE*>(source);
    return Convert(source, sourceBytes, destination, capacity, outputBytes, [&](auto&& emit) {
        DecodeUtf8(src, sourceBytes, [&](char16_t unit) {
            emit(BYTE(unit & 0xFF));
            emit(BYTE(unit >> 8));
        });
    });
}
