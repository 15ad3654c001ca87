#include "phonebook/NameCharset.h"

#include <array>

#include "link/Reply.h"
#include "text/Ascii.h"
#include "text/Gsm.h"
#include "text/Hex.h"
#include "text/Utf.h"

namespace phonebook {

namespace {

constexpr std::array<std::pair<NameCharset, std::u16string_view>, 4> kNames = {{
    {NameCharset::Utf8, u"UTF-8"},
    {NameCharset::Ucs2, u"UCS2"},
    {NameCharset::Gsm, u"GSM"},
    {NameCharset::Ira, u"IRA"},
}};

bool IsHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The character at `at`, both halves of a surrogate pair.
std::u16string CharacterAt(std::u16string_view name, std::size_t at) {
    const std::size_t units =
        IsHigh(name[at]) && at + 1 < name.size() && IsLow(name[at + 1]) ? 2 : 1;
    return std::u16string(name.substr(at, units));
}

// GSM codes that a phone's command line takes for something else than text: the null, the
// backspace (it edits the line), the flow control characters and Ctrl-Z; line ends and the quote
// are refused before any set is looked at.
bool UpsetsTheLine(char16_t code) {
    return code == 0x00 || code == 0x08 || code == 0x0A || code == 0x0D || code == 0x11 ||
           code == 0x13 || code == 0x1A || code == u'"';
}

// A name as read from a phone that sends text gives a quote, a backslash or a control character
// as "\HH"; in a set that carries every character as itself it goes as that character again.
std::u16string Unescaped(std::u16string_view name) {
    std::u16string out;
    for (std::size_t at = 0; at < name.size(); ++at) {
        const int high = at + 2 < name.size() ? text::HexValue(name[at + 1]) : -1;
        const int low = at + 2 < name.size() ? text::HexValue(name[at + 2]) : -1;
        if (name[at] == u'\\' && high >= 0 && low >= 0) {
            out += static_cast<char16_t>(high * 16 + low);
            at += 2;
        } else {
            out += name[at];
        }
    }
    return out;
}

}  // namespace

std::u16string_view NameOf(NameCharset charset) {
    for (const auto& [set, name] : kNames) {
        if (set == charset) {
            return name;
        }
    }
    return u"IRA";
}

std::optional<NameCharset> CharsetNamed(std::u16string_view name) {
    for (const auto& [set, own] : kNames) {
        if (text::EqualsIgnoringCase(name, own)) {
            return set;
        }
    }
    return std::nullopt;
}

std::vector<NameCharset> CharsetsToTry(std::u16string_view offerLine) {
    // The list comes in parentheses as one field, or (some phones) as plain fields.
    std::vector<at::Field> offered = at::Fields::All(offerLine);
    std::u16string inner;
    if (offered.size() == 1 && offered[0].raw.size() >= 2 && offered[0].raw.front() == u'(' &&
        offered[0].raw.back() == u')') {
        inner = std::u16string(offered[0].raw.substr(1, offered[0].raw.size() - 2));
        offered = at::Fields::All(inner);
    }
    std::vector<NameCharset> out;
    for (const NameCharset wanted : {NameCharset::Ucs2, NameCharset::Gsm, NameCharset::Ira}) {
        for (const at::Field& field : offered) {
            if (CharsetNamed(field.text) == wanted) {
                out.push_back(wanted);
                break;
            }
        }
    }
    return out;
}

EncodedName EncodeName(std::u16string_view given, NameCharset charset) {
    EncodedName out;
    const std::u16string own = charset == NameCharset::Ucs2 || charset == NameCharset::Gsm
                                   ? Unescaped(given)
                                   : std::u16string(given);
    const std::u16string_view name = own;
    switch (charset) {
        case NameCharset::Utf8:
            out.text = std::u16string(name);
            out.length = name.size();
            return out;
        case NameCharset::Ucs2:
            if (const std::size_t lone = text::FindLoneSurrogate(name);
                lone != std::u16string_view::npos) {
                return {{}, 0, CharacterAt(name, lone)};
            }
            for (const char16_t unit : name) {
                for (int shift = 12; shift >= 0; shift -= 4) {
                    out.text += static_cast<char16_t>(text::HexDigit(unit >> shift));
                }
            }
            out.length = name.size();
            return out;
        case NameCharset::Gsm:
            for (std::size_t at = 0; at < name.size(); ++at) {
                const std::u16string codes = text::GsmCodesOf(name[at]);
                if (codes.empty() || UpsetsTheLine(codes[0])) {
                    return {{}, 0, CharacterAt(name, at)};
                }
                out.text += codes;
            }
            out.length = out.text.size();
            return out;
        case NameCharset::Ira:
            for (std::size_t at = 0; at < name.size(); ++at) {
                if (name[at] >= 0x80) {
                    return {{}, 0, CharacterAt(name, at)};
                }
            }
            out.text = std::u16string(name);
            out.length = name.size();
            return out;
    }
    return out;
}

std::optional<std::u16string> DecodeName(std::u16string_view field, NameCharset charset) {
    switch (charset) {
        case NameCharset::Ucs2: {
            if (field.size() % 4 != 0) {
                return std::nullopt;
            }
            std::u16string out;
            for (std::size_t at = 0; at < field.size(); at += 4) {
                unsigned unit = 0;
                for (std::size_t k = at; k < at + 4; ++k) {
                    const int digit = text::HexValue(field[k]);
                    if (digit < 0) {
                        return std::nullopt;
                    }
                    unit = unit * 16 + static_cast<unsigned>(digit);
                }
                out += static_cast<char16_t>(unit);
            }
            if (text::FindLoneSurrogate(out) != std::u16string::npos) {
                return std::nullopt;
            }
            return out;
        }
        case NameCharset::Gsm:
            return text::GsmCodesToText(field);
        case NameCharset::Utf8:
        case NameCharset::Ira:
            return std::u16string(field);
    }
    return std::nullopt;
}

}  // namespace phonebook
