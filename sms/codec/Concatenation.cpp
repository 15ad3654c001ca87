#include "sms/codec/Concatenation.h"

namespace sms {

namespace {

constexpr unsigned kConcat8 = 0x00;
constexpr unsigned kConcat16 = 0x08;

unsigned Octet(std::u16string_view header, std::size_t at) {
    return header[at] & 0xFFu;
}

}  // namespace

std::optional<Concatenation> FindConcatenation(std::u16string_view header) {
    std::optional<Concatenation> found;
    std::size_t at = 0;
    while (at + 2 <= header.size()) {
        const unsigned id = Octet(header, at);
        const std::size_t length = Octet(header, at + 1);
        const std::size_t data = at + 2;
        if (length > header.size() - data) {
            break;
        }
        if (id == kConcat8 && length == 3) {
            found = Concatenation{static_cast<std::uint16_t>(Octet(header, data)),
                                  static_cast<std::uint8_t>(Octet(header, data + 1)),
                                  static_cast<std::uint8_t>(Octet(header, data + 2)), false};
        } else if (id == kConcat16 && length == 4) {
            found = Concatenation{
                static_cast<std::uint16_t>(Octet(header, data) << 8 | Octet(header, data + 1)),
                static_cast<std::uint8_t>(Octet(header, data + 2)),
                static_cast<std::uint8_t>(Octet(header, data + 3)), true};
        }
        at = data + length;
    }
    return found;
}

}  // namespace sms
