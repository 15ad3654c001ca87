// Any bytes into the converter, both ways: sizes asked first as the link asks them, never a
// write past the output, and well-formed UTF-8 comes back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/Utf8Converter.h"
#include "text/Utf.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DWORD n = static_cast<DWORD>(size);
    bool ok = false;
    (void)Convert(true, data, n & ~1u, ok);
    const std::vector<BYTE> utf16 = Convert(false, data, n, ok);
    // Well-formed as the strict decoder (the text tests' table) takes it: no overlong forms, no
    // surrogates.
    if (ok && text::FromUtf8({reinterpret_cast<const char*>(data), size})) {
        bool back = false;
        const std::vector<BYTE> utf8 =
            Convert(true, utf16.data(), static_cast<DWORD>(utf16.size()), back);
        if (!back || utf8 != std::vector<BYTE>(data, data + size))
            std::abort();
    }
    return 0;
}
