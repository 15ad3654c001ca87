#include "app/cli/backup/TextCharset.h"

#include <iconv.h>

#include <cerrno>

#include "app/Utf8Text.h"
#include "text/Ascii.h"

namespace backup {

namespace {

// Only plain set names reach the converter: "//" suffixes would make it drop or guess
// characters instead of failing.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > 40) {
        return false;
    }
    for (char c : name) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
        if (!plain) {
            return false;
        }
    }
    return true;
}

class Converter {
public:
    explicit Converter(const std::string& from) : cd_(iconv_open("UTF-8", from.c_str())) {}
    ~Converter() {
        if (Valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Convert(std::string_view bytes) {
        std::string in(bytes);
        std::string out;
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            // E2BIG only asks for another round with an empty buffer; anything else is text that
            // is not of this set (or breaks off inside a character).
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
                return std::nullopt;
            }
        }
        // A set with shift states may owe a sequence that ends them.
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::optional<std::string> ConvertToUtf8(std::string_view bytes, std::string_view charset) {
    if (text::EqualsIgnoringCase(charset, "UTF-8") ||
        text::EqualsIgnoringCase(charset, "US-ASCII") ||
        text::EqualsIgnoringCase(charset, "ASCII")) {
        if (!app::FromUtf8(bytes)) {
            return std::nullopt;
        }
        if (!text::EqualsIgnoringCase(charset, "UTF-8")) {
            for (char c : bytes) {
                if (static_cast<unsigned char>(c) >= 0x80) {
                    return std::nullopt;
                }
            }
        }
        return std::string(bytes);
    }
    if (!IsPlainName(charset)) {
        return std::nullopt;
    }
    Converter converter{std::string(charset)};
    if (!converter.Valid()) {
        return std::nullopt;
    }
    return converter.Convert(bytes);
}

}  // namespace backup
