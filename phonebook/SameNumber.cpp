#include "phonebook/SameNumber.h"

#include <algorithm>
#include <string>

namespace phonebook {

namespace {

struct Digits {
    std::u16string digits;
    bool international = false;
};

Digits Normalised(std::u16string_view number) {
    Digits result;
    for (char16_t c : number) {
        if (c >= u'0' && c <= u'9') {
            result.digits += c;
        } else if (c == u'+' && result.digits.empty()) {
            result.international = true;
        } else if (c != u' ' && c != u'-' && c != u'(' && c != u')' && c != u'.') {
            return {};  // "*", "#" or letters: a service code or a name, matched by nothing
        }
    }
    if (!result.international && result.digits.starts_with(u"00")) {
        result.digits.erase(0, 2);
        result.international = true;
    }
    return result;
}

// A national number and an international one of the same line.
bool NationalOf(const Digits& national, const Digits& international) {
    constexpr std::size_t kShortest = 6;  // shorter ones are service numbers, not lines
    if (national.international || !international.international ||
        !national.digits.starts_with(u'0') || national.digits.size() < kShortest + 1) {
        return false;
    }
    const std::u16string_view line = std::u16string_view(national.digits).substr(1);
    const std::size_t country =
        international.digits.size() - std::min(international.digits.size(), line.size());
    return country >= 1 && country <= 3 &&
           std::u16string_view(international.digits).ends_with(line);
}

}  // namespace

bool SameNumber(std::u16string_view a, std::u16string_view b) {
    const Digits left = Normalised(a);
    const Digits right = Normalised(b);
    if (left.digits.empty() || right.digits.empty()) {
        return false;
    }
    if (left.international == right.international) {
        return left.digits == right.digits;
    }
    return NationalOf(left, right) || NationalOf(right, left);
}

}  // namespace phonebook
