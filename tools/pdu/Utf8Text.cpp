#include "tools/pdu/Utf8Text.h"

#include <cstdint>

namespace pdutool {

std::optional<std::u16string> FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (bytes.size() - i - 1 < extra) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = cp << 6 | (next & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;  // overlong, out of range or an encoded surrogate
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            text.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            text.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            text.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return text;
}

std::string ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            bytes.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | cp >> 6));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | cp >> 12));
            bytes.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | cp >> 18));
            bytes.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return bytes;
}

}  // namespace pdutool
