#include "app/Utf8Text.h"

namespace app {

std::string Printable(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20) {
            out.push_back('^');
            out.push_back(static_cast<char>(b + 0x40));
        } else if (b == 0x7F) {
            out += "^?";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace app
