#include "sms/codec/DialNumber.h"

namespace {

// What isspace() accepts in the C locale; wide characters are never white space here.
bool IsWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

std::u16string RemoveWhiteSpace(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (char16_t c : text) {
        if (!IsWhiteSpace(c)) {
            result.push_back(c);
        }
    }
    return result;
}

SmsAddress ParseDialNumber(std::u16string_view text) {
    SmsAddress address;
    address.numberingPlan = 1;
    address.number = RemoveWhiteSpace(text);
    if (!address.number.empty() && address.number.front() == u'+') {
        address.typeOfNumber = 1;
        address.number.erase(0, 1);
    }
    return address;
}
