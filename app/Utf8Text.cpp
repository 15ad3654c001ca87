#include "app/Utf8Text.h"

#include <algorithm>
#include <vector>

#include "link/Utf8Converter.h"

namespace app {

namespace {

using platform::BYTE;
using platform::DWORD;

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// A size the converter refuses rather than one cut to 32 bits.
DWORD Bound(std::size_t bytes) {
    return static_cast<DWORD>(std::min<std::size_t>(bytes, platform::MAXDWORD));
}

// The link's converter does the work, sized first; empty when it refuses the source.
template <typename Convert>
std::vector<BYTE> Converted(Convert convert) {
    DWORD size = 0;
    convert(nullptr, 0, &size);
    std::vector<BYTE> out(size);
    if (!convert(out.data(), size, &size)) {
        return {};
    }
    out.resize(size);
    return out;
}

}  // namespace

std::optional<std::u16string> FromUtf8(std::string_view bytes) {
    const std::vector<BYTE> units = Converted([&](void* out, DWORD capacity, DWORD* size) {
        return CUtf8Converter().FromUtf8(bytes.data(), Bound(bytes.size()), out, capacity, size);
    });
    std::u16string text(units.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(units[2 * i] | units[2 * i + 1] << 8);
    }
    // The converter never refuses bytes: it gives U+FFFD for what is not UTF-8 and takes
    // surrogates written as three bytes each. ToUtf8 writes only well-formed UTF-8, so exactly
    // the well-formed bytes come back from it unchanged.
    if (ToUtf8(text) != bytes) {
        return std::nullopt;
    }
    return text;
}

std::string ToUtf8(std::u16string_view text) {
    // UTF-16LE for the converter, which would write a lone surrogate by value: here it becomes
    // U+FFFD.
    std::vector<BYTE> units;
    units.reserve(2 * text.size());
    const auto add = [&units](char16_t u) {
        units.push_back(static_cast<BYTE>(u & 0xFF));
        units.push_back(static_cast<BYTE>(u >> 8));
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
            add(text[i]);
            add(text[++i]);
        } else {
            add(IsHigh(text[i]) || IsLow(text[i]) ? u'\uFFFD' : text[i]);
        }
    }
    const std::vector<BYTE> bytes = Converted([&](void* out, DWORD capacity, DWORD* size) {
        return CUtf8Converter().ToUtf8(units.data(), Bound(units.size()), out, capacity, size);
    });
    return std::string(bytes.begin(), bytes.end());
}

std::string Printable(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20) {
            out.push_back('^');
            out.push_back(static_cast<char>(b + 0x40));
        } else if (b == 0x7F) {
            out += "^?";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace app
