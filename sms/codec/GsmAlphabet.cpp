#include "sms/codec/GsmAlphabet.h"

#include <utility>

namespace {

constexpr char16_t kEscape = 0x1B;

// The default alphabet's codes 0x10 to 0x1A that ISO 8859-1 lacks: the Greek capitals (0 where
// the Latin-1 table holds the character, 0x11 '_').
constexpr char16_t kGreek[] = {u'\u0394', 0,         u'\u03A6', u'\u0393', u'\u039B', u'\u03A9',
                               u'\u03A0', u'\u03A8', u'\u03A3', u'\u0398', u'\u039E'};

// The extension table, reached through the escape code.
constexpr std::pair<char16_t, char16_t> kExtension[] = {
    {0x0A, u'\f'}, {0x14, u'^'}, {0x28, u'{'}, {0x29, u'}'}, {0x2F, u'\\'},
    {0x3C, u'['},  {0x3D, u'~'}, {0x3E, u']'}, {0x40, u'|'}, {0x65, u'\u20AC'}};

char16_t Greek(char16_t code) {
    return code >= 0x10 && code <= 0x1A ? kGreek[code - 0x10] : 0;
}

char16_t Extension(char16_t code) {
    for (const auto& [gsm, text] : kExtension) {
        if (gsm == code) {
            return text;
        }
    }
    return 0;
}

char16_t Default(char16_t code) {
    if (code >= sms::kGsmToLatin1.size()) {
        return sms::kNoLatin1;
    }
    if (const char16_t greek = Greek(code)) {
        return greek;
    }
    return sms::kGsmToLatin1[code];
}

}  // namespace

std::u16string GsmToText(std::u16string_view codes) {
    std::u16string text;
    text.reserve(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] != kEscape) {
            text.push_back(Default(codes[i]));
            continue;
        }
        if (++i == codes.size()) {
            break;
        }
        if (codes[i] == kEscape) {
            text.push_back(u' ');  // reserved for a further table
        } else if (const char16_t extended = Extension(codes[i])) {
            text.push_back(extended);
        } else {
            text.push_back(Default(codes[i]));
        }
    }
    return text;
}

std::u16string TextToGsm(std::u16string_view text) {
    std::u16string codes(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        codes[i] = sms::kLatin1ToGsm[text[i] & 0xFFu];
    }
    return codes;
}
