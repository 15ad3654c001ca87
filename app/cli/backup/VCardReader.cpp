#include "app/cli/backup/VCardReader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/Utf8Text.h"
#include "app/cli/backup/TextCharset.h"
#include "text/Ascii.h"
#include "text/Hex.h"
#include "text/Trim.h"

namespace backup {

namespace {

struct Failure {
    int line;
    std::string message;
};

// One piece of a content line as it stood in the file.
struct Piece {
    std::string_view text;
    bool fold = false;  // began with the blank of a fold
};

struct ContentLine {
    int line = 0;  // the file line it begins on
    std::vector<Piece> pieces;
};

// Parameters and value of a content line.
struct Property {
    std::string name;                                         // upper case, without its group
    std::vector<std::pair<std::string, std::string>> params;  // key upper case; "" for bare
    std::string value;

    std::optional<std::string> Param(std::string_view key) const {
        for (const auto& [k, v] : params) {
            if (k == key) {
                return v;
            }
        }
        return std::nullopt;
    }
    bool HasBare(std::string_view word) const {
        return std::any_of(params.begin(), params.end(), [word](const auto& p) {
            return p.first.empty() && text::EqualsIgnoringCase(p.second, word);
        });
    }
};

// Where the head of a line ends: its first ":" outside quotes, before the value; npos when
// there is none.
std::size_t ValueStart(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Splits at `separator` outside double quotes.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            quoted = !quoted;
        } else if (text[i] == separator && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string Unquote(std::string_view text) {
    text = text::Trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    return std::string(text);
}

std::optional<Property> ParseProperty(std::string_view line) {
    const std::size_t colon = ValueStart(line);
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    Property property;
    property.value = std::string(line.substr(colon + 1));
    const std::vector<std::string_view> head = SplitOutsideQuotes(line.substr(0, colon), ';');
    std::string_view name = text::Trim(head[0]);
    if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
        name.remove_prefix(dot + 1);
    }
    if (name.empty()) {
        return std::nullopt;
    }
    for (char c : name) {
        const bool word = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (!word) {
            return std::nullopt;
        }
    }
    property.name = text::ToUpperAscii(name);
    for (std::size_t i = 1; i < head.size(); ++i) {
        const std::string_view param = text::Trim(head[i]);
        const std::size_t equals = param.find('=');
        if (equals == std::string_view::npos) {
            property.params.emplace_back("", Unquote(param));
            continue;
        }
        property.params.emplace_back(text::ToUpperAscii(text::Trim(param.substr(0, equals))),
                                     Unquote(param.substr(equals + 1)));
    }
    return property;
}

bool IsEncoded(const Property& property, std::string_view encoding) {
    const std::optional<std::string> value = property.Param("ENCODING");
    return (value && text::EqualsIgnoringCase(*value, encoding)) || property.HasBare(encoding);
}

bool IsQuotedPrintable(std::string_view line) {
    const std::optional<Property> property = ParseProperty(line);
    return property && (IsEncoded(*property, "QUOTED-PRINTABLE") || IsEncoded(*property, "Q"));
}

bool IsBase64(std::string_view line) {
    const std::optional<Property> property = ParseProperty(line);
    return property && (IsEncoded(*property, "BASE64") || IsEncoded(*property, "B"));
}

std::string DecodeQuotedPrintable(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size() && text::HexValue(text[i + 1]) >= 0 &&
            text::HexValue(text[i + 2]) >= 0) {
            bytes.push_back(
                static_cast<char>(text::HexValue(text[i + 1]) * 16 + text::HexValue(text[i + 2])));
            i += 2;
        } else {
            // A lone "=" is taken as it stands rather than dropping what follows it.
            bytes.push_back(text[i]);
        }
    }
    return bytes;
}

// The physical lines, with CR LF, LF or CR as their ends.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.push_back(bytes.substr(start, i - start));
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < bytes.size()) {
        lines.push_back(bytes.substr(start));
    }
    return lines;
}

// Physical lines into content lines: folds, quoted-printable soft breaks, and the unindented
// base64 lines some phones write after a picture, up to the blank line that ends it. Some phones
// break a quoted-printable value without the "=" of a soft break; a line that follows one and is
// no property (no name, then ":") holds the rest of the value, and follows it without a gap.
std::vector<ContentLine> ContentLines(std::string_view bytes) {
    std::vector<ContentLine> content;
    bool open = false;  // the last content line may still go on
    bool inBase64 = false;
    bool quotedPrintable = false;  // the last content line
    const std::vector<std::string_view> lines = SplitLines(bytes);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view text = lines[i];
        const bool blank = text::Trim(text).empty();
        const bool folded = !blank && (text.front() == ' ' || text.front() == '\t');
        if (open && quotedPrintable) {
            ContentLine& current = content.back();
            std::string_view& last = current.pieces.back().text;
            if (!last.empty() && last.back() == '=') {
                // A soft line break: the "=" goes, the next line follows without a gap.
                last.remove_suffix(1);
                current.pieces.push_back({text, false});
                continue;
            }
            if (!blank && !folded && !ParseProperty(text)) {
                current.pieces.push_back({text, false});
                continue;
            }
        }
        if (blank) {
            open = false;
            inBase64 = false;
            continue;
        }
        const bool base64Data = inBase64 && text.find(':') == std::string_view::npos;
        if (open && (folded || base64Data)) {
            content.back().pieces.push_back({text, folded});
            continue;
        }
        content.push_back({static_cast<int>(i) + 1, {{folded ? text::Trim(text) : text, false}}});
        open = true;
        inBase64 = IsBase64(text);
        quotedPrintable = IsQuotedPrintable(text);
    }
    return content;
}

std::string Join(const ContentLine& line, bool keepFoldBlank) {
    std::string joined;
    for (const Piece& piece : line.pieces) {
        joined.append(piece.fold && !keepFoldBlank ? piece.text.substr(1) : piece.text);
    }
    return joined;
}

// Splits at ';' not escaped by a backslash; the escapes stay for Unescape.
std::vector<std::u16string> SplitComponents(const std::u16string& text) {
    std::vector<std::u16string> parts(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            parts.back() += text.substr(i, 2);
            ++i;
        } else if (text[i] == u';') {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

std::u16string Unescape(const std::u16string& text) {
    std::u16string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t next = i + 1 < text.size() ? text[i + 1] : u'\0';
        if (text[i] == u'\\' && (next == u'\\' || next == u',' || next == u';' || next == u':')) {
            plain += next;
            ++i;
        } else if (text[i] == u'\\' && (next == u'n' || next == u'N')) {
            plain += u'\n';
            ++i;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : lines_(ContentLines(bytes)) {}

    // A card that cannot be read is passed over up to its END (or the next BEGIN:VCARD), and
    // so are lines between cards; the file fails only when it has no card that can be read.
    CardFile Read() {
        CardFile file;
        std::size_t i = 0;
        while (i < lines_.size()) {
            if (!IsBegin(i)) {
                const int line = lines_[i].line;
                while (i < lines_.size() && !IsBegin(i)) {
                    ++i;
                }
                file.unreadable.push_back({line, line, u"", "expected BEGIN:VCARD"});
                continue;
            }
            i = ReadCard(i, file);
        }
        if (file.cards.empty() && !file.unreadable.empty()) {
            file.errorLine = file.unreadable.front().faultLine;
            file.error = file.unreadable.front().reason;
            file.unreadable.clear();
        }
        return file;
    }

private:
    struct Names {
        std::u16string formatted;
        std::vector<std::u16string> structured;
        std::u16string organisation;

        // FN, else N, else ORG.
        std::u16string Best() const {
            std::u16string name(text::Trim(formatted));
            if (name.empty()) {
                name = NameOfParts(structured);
            }
            return name.empty() ? organisation : name;
        }
    };

    std::optional<Property> PropertyAt(std::size_t i) const {
        return ParseProperty(Join(lines_[i], false));
    }

    bool IsBegin(std::size_t i) const {
        const std::optional<Property> p = PropertyAt(i);
        return p && p->name == "BEGIN" && text::EqualsIgnoringCase(text::Trim(p->value), "VCARD");
    }

    // "END:VCARD", also with stray characters after it ("END:VCARD." of some phones).
    static bool EndsCard(std::string_view value) {
        value = text::Trim(value);
        if (value.size() < 5 || !text::EqualsIgnoringCase(value.substr(0, 5), "VCARD")) {
            return false;
        }
        const char next = value.size() > 5 ? value[5] : '.';
        return !((next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z') ||
                 (next >= '0' && next <= '9'));
    }

    // The card that begins at content line `begin`, read or named as unreadable; returns the
    // line after it.
    std::size_t ReadCard(std::size_t begin, CardFile& file) {
        Names names;
        try {
            return ReadCard(begin, names, file.cards);
        } catch (const Failure& failure) {
            file.unreadable.push_back(
                {lines_[begin].line, failure.line, names.Best(), failure.message});
        }
        // On from where the reader gave up, to the card's END or the next card's BEGIN.
        for (std::size_t i = at_; i < lines_.size(); ++i) {
            if (i != begin && IsBegin(i)) {
                return i;
            }
            if (const std::optional<Property> p = PropertyAt(i); p && p->name == "END") {
                return i + 1;
            }
        }
        return lines_.size();
    }

    // Reads the card into `cards` and returns the line after its END, or throws a Failure with
    // `at_` at the line it gave up on; `names` keeps what was read of the name.
    std::size_t ReadCard(std::size_t begin, Names& names, std::vector<ContactCard>& cards) {
        const ContentLine& first = lines_[begin];
        at_ = begin;
        const bool version21 = IsVersion21(begin + 1);
        ContactCard card;
        card.line = first.line;
        for (std::size_t i = begin + 1; i < lines_.size(); ++i) {
            at_ = i;
            const ContentLine& line = lines_[i];
            const std::optional<Property> property = ParseProperty(Join(line, version21));
            if (!property) {
                throw Failure{line.line, "not a vCard property (a name, then \":\" and a value)"};
            }
            const std::string& name = property->name;
            if (name == "BEGIN") {
                throw Failure{line.line, "a card begins inside the card of line " +
                                             std::to_string(first.line)};
            }
            if (name == "END") {
                if (!EndsCard(property->value)) {
                    throw Failure{line.line, "expected END:VCARD"};
                }
                card.name = names.Best();
                cards.push_back(std::move(card));
                return i + 1;
            }
            if (name == "VERSION") {
                const std::string_view version = text::Trim(property->value);
                if (version != "2.1" && version != "3.0" && version != "4.0") {
                    throw Failure{line.line, "vCard version \"" + Printable(version) +
                                                 "\" is not read (2.1, 3.0 or 4.0)"};
                }
            } else if (name == "FN" && names.formatted.empty()) {
                names.formatted = Unescape(Text(*property, line.line));
            } else if (name == "N" && names.structured.empty()) {
                for (const std::u16string& part : SplitComponents(Text(*property, line.line))) {
                    names.structured.push_back(std::u16string(text::Trim(Unescape(part))));
                }
            } else if (name == "ORG" && names.organisation.empty()) {
                names.organisation =
                    text::Trim(Unescape(SplitComponents(Text(*property, line.line))[0]));
            } else if (name == "TEL") {
                AddNumber(*property, line.line, card);
            }
        }
        at_ = lines_.size();
        throw Failure{first.line, "the card that begins here has no END:VCARD"};
    }

    // Whether the card's VERSION line, looked for up to its end, says 2.1.
    bool IsVersion21(std::size_t from) const {
        for (std::size_t i = from; i < lines_.size(); ++i) {
            const std::optional<Property> p = ParseProperty(Join(lines_[i], false));
            if (!p || p->name == "END" || p->name == "BEGIN") {
                break;
            }
            if (p->name == "VERSION") {
                return text::Trim(p->value) == "2.1";
            }
        }
        return false;
    }

    static std::string Printable(std::string_view text) {
        std::string shown;
        for (char c : text.substr(0, 20)) {
            shown.push_back(c >= 0x20 && c < 0x7F ? c : '?');
        }
        return shown;
    }

    // The value as UTF-16, its transfer encoding and character set undone; escapes stay.
    static std::u16string Text(const Property& property, int line) {
        std::string bytes = property.value;
        if (IsEncoded(property, "QUOTED-PRINTABLE") || IsEncoded(property, "Q")) {
            bytes = DecodeQuotedPrintable(bytes);
        } else if (IsEncoded(property, "BASE64") || IsEncoded(property, "B")) {
            throw Failure{line, "a base64 " + property.name + " value is not read"};
        } else if (const std::optional<std::string> encoding = property.Param("ENCODING");
                   encoding && !text::EqualsIgnoringCase(*encoding, "8BIT") &&
                   !text::EqualsIgnoringCase(*encoding, "7BIT")) {
            throw Failure{line, "unknown ENCODING \"" + Printable(*encoding) + "\""};
        }
        const std::string charset = property.Param("CHARSET").value_or("UTF-8");
        const std::optional<std::string> utf8 = ConvertToUtf8(bytes, charset);
        if (!utf8) {
            throw Failure{line, "the " + property.name + " value is not " + Printable(charset) +
                                    " text (a CHARSET parameter names the one it is in)"};
        }
        return app::FromUtf8(*utf8).value_or(u"");
    }

    // N's parts (family; given; additional; prefix; suffix) in the order a name is said.
    static std::u16string NameOfParts(const std::vector<std::u16string>& parts) {
        std::u16string name;
        for (std::size_t index : {3u, 1u, 2u, 0u, 4u}) {
            if (index < parts.size() && !parts[index].empty()) {
                name += (name.empty() ? u"" : u" ") + parts[index];
            }
        }
        return name;
    }

    static void AddNumber(const Property& property, int line, ContactCard& card) {
        std::vector<std::string> types;
        for (const auto& [key, value] : property.params) {
            if (key.empty()) {
                types.push_back(text::ToLowerAscii(value));  // 2.1: TEL;CELL;HOME
            } else if (key == "TYPE") {
                for (std::string_view type : SplitOutsideQuotes(value, ',')) {
                    types.push_back(text::ToLowerAscii(text::Trim(type)));
                }
            }
        }
        std::u16string number(text::Trim(Unescape(Text(property, line))));
        if (number.size() >= 4 &&
            (number.compare(0, 4, u"tel:") == 0 || number.compare(0, 4, u"TEL:") == 0)) {
            number = text::Trim(number.substr(4));
        }
        if (!number.empty()) {
            card.numbers.push_back({KindOfTypes(types), std::move(number)});
        }
    }

    std::vector<ContentLine> lines_;
    std::size_t at_ = 0;  // the content line being read
};

}  // namespace

int KindOfTypes(const std::vector<std::string>& types) {
    const auto has = [&types](std::string_view type) {
        return std::find(types.begin(), types.end(), type) != types.end();
    };
    if (has("fax")) {
        return kFax;
    }
    if (has("cell") || has("mobile") || has("iphone")) {
        return kMobile;
    }
    if (has("work")) {
        return kWork;
    }
    if (has("home")) {
        return kHome;
    }
    return kOther;
}

CardFile ReadVCards(std::string_view bytes) {
    return Reader(bytes).Read();
}

}  // namespace backup
