#include "link/Utf8Converter.h"

#include <string>
#include <string_view>

#include "text/Utf.h"

using platform::BOOL;
using platform::BYTE;
using platform::DWORD;

namespace {

// Bounded so that no output size can overflow a DWORD.
constexpr DWORD kMaxSourceBytes = 0x3FFFFFFF;

// run(emit) calls emit(byte) for every output byte: once to size the output, and once more to
// store it when it fits.
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
    DWORD size = 0;
    run([&size](BYTE) { ++size; });
    if (!destination || size > capacity) {
        out = size;
        return 0;
    }
    BYTE* dst = static_cast<BYTE*>(destination);
    DWORD written = 0;
    run([&](BYTE byte) { dst[written++] = byte; });
    out = written;
    return 1;
}

}  // namespace

BOOL CUtf8Converter::ToUtf8(const void* source, DWORD sourceBytes, void* destination,
                            DWORD capacity, DWORD* outputBytes) {
    std::string bytes;
    if (source && sourceBytes <= kMaxSourceBytes) {
        // An odd trailing byte is not a code unit and is left out.
        const BYTE* src = static_cast<const BYTE*>(source);
        std::u16string units(sourceBytes / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = static_cast<char16_t>(src[2 * i] | (src[2 * i + 1] << 8));
        }
        // A lone surrogate is written by value, so that nothing the caller typed is dropped;
        // phones refuse a pair as two three-byte forms, so a pair is one four-byte sequence.
        bytes = text::ToUtf8(units, text::LoneSurrogate::Keep);
    }
    return Convert(source, sourceBytes, destination, capacity, outputBytes, [&](auto&& emit) {
        for (char c : bytes) {
            emit(static_cast<BYTE>(c));
        }
    });
}

BOOL CUtf8Converter::FromUtf8(const void* source, DWORD sourceBytes, void* destination,
                              DWORD capacity, DWORD* outputBytes) {
    const std::string_view bytes(static_cast<const char*>(source), source ? sourceBytes : 0);
    return Convert(source, sourceBytes, destination, capacity, outputBytes, [&](auto&& emit) {
        // Never fails: what is not UTF-8 becomes U+FFFD; surrogates written as three bytes each
        // come back as the units they encode, so a pair sent that way comes back whole.
        text::DecodeUtf8Lenient(bytes, u'\uFFFD', [&](char16_t unit) {
            emit(static_cast<BYTE>(unit & 0xFF));
            emit(static_cast<BYTE>(unit >> 8));
        });
    });
}
