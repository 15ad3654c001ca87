#include "phonesim/Text.h"

#include <cstdint>

#include "text/Decimal.h"

namespace phonesim {

std::optional<long> ParseInt(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::optional<std::uint32_t> value = text::ParseDigits(text, 9);
    if (!value) {
        return std::nullopt;
    }
    return negative ? -static_cast<long>(*value) : static_cast<long>(*value);
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
    return text::FromUtf8(text, text::EncodedSurrogate::Accept);
}

}  // namespace phonesim
