#include "sms/codec/GsmAlphabet.h"

#include "sms/codec/StringBuild.h"

std::u16string GsmToText(std::u16string_view codes) {
    return sms::BuildString(codes.size(), [&](std::size_t i) -> char16_t {
        const char16_t code = codes[i];
        return code < sms::kGsmToLatin1.size() ? sms::kGsmToLatin1[code] : sms::kNoLatin1;
    });
}

std::u16string TextToGsm(std::u16string_view text) {
    return sms::BuildString(
        text.size(), [&](std::size_t i) -> char16_t { return sms::kLatin1ToGsm[text[i] & 0xFFu]; });
}
