#include "sms/codec/GsmAlphabet.h"

namespace {

constexpr char16_t kEscape = 0x1B;

// The default alphabet's codes that ISO 8859-1 lacks: the Greek capitals.
char16_t Greek(char16_t code) {
    switch (code) {
        case 0x10:
            return u'\u0394';  // Delta
        case 0x12:
            return u'\u03A6';  // Phi
        case 0x13:
            return u'\u0393';  // Gamma
        case 0x14:
            return u'\u039B';  // Lambda
        case 0x15:
            return u'\u03A9';  // Omega
        case 0x16:
            return u'\u03A0';  // Pi
        case 0x17:
            return u'\u03A8';  // Psi
        case 0x18:
            return u'\u03A3';  // Sigma
        case 0x19:
            return u'\u0398';  // Theta
        case 0x1A:
            return u'\u039E';  // Xi
        default:
            return 0;
    }
}

char16_t Extension(char16_t code) {
    switch (code) {
        case 0x0A:
            return u'\f';
        case 0x14:
            return u'^';
        case 0x28:
            return u'{';
        case 0x29:
            return u'}';
        case 0x2F:
            return u'\\';
        case 0x3C:
            return u'[';
        case 0x3D:
            return u'~';
        case 0x3E:
            return u']';
        case 0x40:
            return u'|';
        case 0x65:
            return u'\u20AC';
        default:
            return 0;
    }
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
