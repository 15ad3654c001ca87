#include "link/Utf8Converter.h"

#include <cstring>
#include <string>

#include "text/Utf.h"

using platform::BOOL;
using platform::BYTE;
using platform::DWORD;

namespace {

// Bounded so that no output size can overflow a DWORD.
constexpr DWORD kMaxSourceBytes = 0x3FFFFFFF;

// Sizes first, then stores the result only when it fits.
template <typename Run>
BOOL Convert(const void* source, DWORD sourceBytes, void* destination, DWORD capacity,
             DWORD* outputBytes, Run&& run) {
    DWORD ignored = 0;
    DWORD& out = outputBytes ? *outputBytes : ignored;
    if (sourceBytes == 0) {
        out = 0;
        return 1;
    }
    if (!source || sourceBytes > kMaxSourceBytes) {
        out = 0;
        return 0;
    }
    const std::string result = run(static_cast<const BYTE*>(source));
    const auto size = static_cast<DWORD>(result.size());
    if (!destination || size > capacity) {
        out = size;
        return 0;
    }
    std::memcpy(destination, result.data(), size);
    out = size;
    return 1;
}

}  // namespace

BOOL CUtf8Converter::ToUtf8(const void* source, DWORD sourceBytes, void* destination,
                            DWORD capacity, DWORD* outputBytes) {
    return Convert(source, sourceBytes, destination, capacity, outputBytes, [&](const BYTE* src) {
        // An odd trailing byte is not a code unit and is left out.
        std::u16string units(sourceBytes / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = static_cast<char16_t>(src[2 * i] | (src[2 * i + 1] << 8));
        }
        // A lone surrogate is written by value, so that nothing the caller typed is dropped;
        // phones refuse a pair as two three-byte forms, so a pair is one four-byte sequence.
        return text::ToUtf8(units, text::LoneSurrogate::Keep);
    });
}

BOOL CUtf8Converter::FromUtf8(const void* source, DWORD sourceBytes, void* destination,
                              DWORD capacity, DWORD* outputBytes) {
    return Convert(source, sourceBytes, destination, capacity, outputBytes, [&](const BYTE* src) {
        // Never fails: what is not UTF-8 becomes U+FFFD; surrogates written as three bytes each
        // come back as the units they encode, so a pair sent that way comes back whole.
        const std::u16string units = text::FromUtf8Lenient(
            std::string_view(reinterpret_cast<const char*>(src), sourceBytes));
        std::string bytes(2 * units.size(), '\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
        }
        return bytes;
    });
}
