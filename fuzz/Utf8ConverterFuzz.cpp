// Any bytes into the converter, both ways: sizes asked first as the link asks them, never a
// write past the output, and well-formed UTF-8 comes back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/Utf8Converter.h"

namespace {

using platform::BYTE;
using platform::DWORD;

std::vector<BYTE> Convert(bool toUtf8, const BYTE* data, DWORD size, bool& ok) {
    CUtf8Converter converter;
    const auto convert = toUtf8 ? &CUtf8Converter::ToUtf8 : &CUtf8Converter::FromUtf8;
    DWORD needed = 0;
    (converter.*convert)(data, size, nullptr, 0, &needed);
    std::vector<BYTE> out(needed);
    DWORD written = 0;
    ok = (converter.*convert)(data, size, out.data(), needed, &written);
    if (written > needed)
        std::abort();
    out.resize(written);
    return out;
}

// Whether the bytes are UTF-8 as the standard defines it (no overlong forms, no surrogates).
bool WellFormed(const BYTE* s, std::size_t n) {
    for (std::size_t i = 0; i < n;) {
        const BYTE b = s[i];
        std::size_t len = b < 0x80         ? 1
                          : (b >> 5) == 6  ? 2
                          : (b >> 4) == 14 ? 3
                          : (b >> 3) == 30 ? 4
                                           : 0;
        if (len == 0 || i + len > n)
            return false;
        char32_t cp = len == 1 ? b : b & (0x7F >> len);
        for (std::size_t k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            cp = cp << 6 | (s[i + k] & 0x3F);
        }
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DWORD n = static_cast<DWORD>(size);
    bool ok = false;
    (void)Convert(true, data, n & ~1u, ok);
    const std::vector<BYTE> utf16 = Convert(false, data, n, ok);
    if (ok && WellFormed(data, size)) {
        bool back = false;
        const std::vector<BYTE> utf8 =
            Convert(true, utf16.data(), static_cast<DWORD>(utf16.size()), back);
        if (!back || utf8 != std::vector<BYTE>(data, data + size))
            std::abort();
    }
    return 0;
}
