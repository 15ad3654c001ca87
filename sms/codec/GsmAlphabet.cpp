#include "sms/codec/GsmAlphabet.h"

std::u16string GsmToText(std::u16string_view codes) {
    std::u16string text(codes.size(), u'\0');
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const char16_t code = codes[i];
        text[i] = code < sms::kGsmToLatin1.size() ? sms::kGsmToLatin1[code] : sms::kNoLatin1;
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
