#include "text/Gsm.h"

namespace text {

std::u16string GsmCodesOf(char16_t c) {
    if (c == 0) {
        return {};
    }
    for (std::size_t code = 0; code < kGsmDefault.size(); ++code) {
        if (kGsmDefault[code] == c) {
            return std::u16string(1, static_cast<char16_t>(code));
        }
    }
    for (std::size_t code = 0; code < kGsmExtension.size(); ++code) {
        if (kGsmExtension[code] == c) {
            return {kGsmEscape, static_cast<char16_t>(code)};
        }
    }
    return {};
}

std::optional<std::u16string> GsmCodesToText(std::u16string_view codes) {
    std::u16string out;
    out.reserve(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] >= kGsmDefault.size()) {
            return std::nullopt;
        }
        if (codes[i] != kGsmEscape) {
            out += kGsmDefault[codes[i]];
            continue;
        }
        if (++i == codes.size() || codes[i] >= kGsmExtension.size() ||
            kGsmExtension[codes[i]] == 0) {
            return std::nullopt;
        }
        out += kGsmExtension[codes[i]];
    }
    return out;
}

}  // namespace text
