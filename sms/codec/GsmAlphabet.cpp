#include "sms/codec/GsmAlphabet.h"

#include <bit>
#include <cstring>

#include "text/Gsm.h"

namespace {

constexpr std::uint8_t kEscape = 0x1B;

// The default alphabet and its extension table are the text library's.
constexpr const std::array<char16_t, 128>& kDefault = text::kGsmDefault;
constexpr const std::array<char16_t, 128>& kExtension = text::kGsmExtension;

// Any code unit, as the codes of a text hand them in: above 127 is no GSM code.
char16_t Default(char16_t code) {
    return code < kDefault.size() && code != kEscape ? kDefault[code] : sms::kNoLatin1;
}

// The character of the code after an escape.
char16_t Escaped(char16_t code) {
    if (code == kEscape) {
        return u' ';  // reserved for a further table
    }
    if (code < kExtension.size() && kExtension[code] != 0) {
        return kExtension[code];
    }
    return Default(code);
}

}  // namespace

std::u16string GsmToText(std::u16string_view codes) {
    std::u16string text(codes.size(), u'\0');
    char16_t* out = text.data();
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != kEscape) {
            *out++ = Default(codes[i]);
        } else if (++i < codes.size()) {
            *out++ = Escaped(codes[i]);
        }  // a final escape gives nothing
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

std::u16string SeptetsToText(std::span<const std::uint8_t> octets, std::size_t firstBit,
                             std::size_t count) {
    const std::uint8_t* data = octets.data();
    // The seven bits from `bit` on, with the octet after when there is one.
    const auto septet = [data, size = octets.size()](std::size_t bit) {
        const std::size_t octet = bit / 8;
        unsigned window = data[octet];
        if (octet + 1 < size) {
            window |= static_cast<unsigned>(data[octet + 1]) << 8;
        }
        return static_cast<std::uint8_t>((window >> (bit % 8)) & 0x7Fu);
    };
    std::u16string text(count, u'\0');
    char16_t* out = text.data();
    std::size_t bit = firstBit;
    const std::size_t end = firstBit + 7 * count;
    // Eight septets at a time from eight octets read at once, while a ninth septet follows (the
    // one after an escape) and the eight octets lie inside the span.
    while (end - bit >= 9 * 7 && bit / 8 + 8 <= octets.size()) {
        std::uint64_t window;
        std::memcpy(&window, data + bit / 8, sizeof window);
        if constexpr (std::endian::native == std::endian::big) {
            window = __builtin_bswap64(window);
        }
        window >>= bit % 8;
        std::size_t k = 0;
        for (; k < 8; ++k) {
            const auto code = static_cast<std::uint8_t>((window >> (7 * k)) & 0x7Fu);
            if (code == kEscape) {
                break;
            }
            *out++ = kDefault[code];
        }
        bit += 7 * k;
        if (k < 8) {
            *out++ = Escaped(septet(bit + 7));
            bit += 14;
        }
    }
    // Every septet but the last is followed by another, so the octet after its first one is
    // there to be read.
    const std::size_t last = bit == end ? end : end - 7;
    while (bit < last) {
        const std::size_t octet = bit / 8;
        const unsigned window = data[octet] | static_cast<unsigned>(data[octet + 1]) << 8;
        const std::uint8_t code = (window >> (bit % 8)) & 0x7Fu;
        bit += 7;
        if (code != kEscape) {
            *out++ = kDefault[code];
        } else {
            *out++ = Escaped(septet(bit));
            bit += 7;
        }
    }
    if (bit < end) {
        const std::uint8_t code = septet(bit);
        if (code != kEscape) {
            *out++ = kDefault[code];  // a final escape gives nothing
        }
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

std::u16string TextToGsm(std::u16string_view text) {
    std::u16string codes(text.size(), u'\0');
    char16_t* out = codes.data();
    for (char16_t c : text) {
        *out++ = sms::kLatin1ToGsm[c & 0xFFu];
    }
    return codes;
}
