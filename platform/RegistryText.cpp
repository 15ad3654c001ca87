// The .reg text form of the registry: written after every change, read at start.
#include <cstdio>
#include <string_view>

#include "platform/Registry.h"
#include "text/Ascii.h"
#include "text/Decimal.h"
#include "text/Trim.h"
#include "text/Utf.h"

namespace platform {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kOldHeader = "REGEDIT4";

struct RootName {
    HKEY root;
    std::string_view name;
};
constexpr RootName kRoots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
};

// False when `s` holds a lone surrogate, which UTF-8 text cannot carry; `out` then holds what
// comes before it.
bool ToUtf8Text(const std::u16string& s, std::string& out) {
    const std::size_t lone = text::FindLoneSurrogate(s);
    out = text::ToUtf8(std::u16string_view(s).substr(0, lone));
    return lone == std::u16string::npos;
}

// Strict decoding: false on any malformed, overlong or surrogate sequence.
bool FromUtf8Text(std::string_view s, std::u16string& out) {
    std::optional<std::u16string> decoded = text::FromUtf8(s);
    out = decoded ? std::move(*decoded) : std::u16string();
    return decoded.has_value();
}

std::string Quote(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// Parses a quoted string at `pos` (which holds the opening quote); on success `pos` is just
// past the closing quote.
bool Unquote(std::string_view line, std::size_t& pos, std::string& out) {
    out.clear();
    if (pos >= line.size() || line[pos] != '"')
        return false;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '\\') {
            if (++pos >= line.size())
                return false;
            out += line[pos];
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

// Blanks and tabs off both ends, and the carriage return of a line off its end.
std::string_view Trim(std::string_view s) {
    return text::TrimEnd(text::TrimStart(s), " \t\r");
}

bool ParseHexNumber(std::string_view s, DWORD& value) {
    const std::optional<std::uint32_t> number = text::ParseDigits(s, 8, 16);
    if (number)
        value = *number;
    return number.has_value();
}

bool ParseHexBytes(std::string_view s, std::vector<BYTE>& out) {
    out.clear();
    s = Trim(s);
    if (s.empty())
        return true;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = s.find(',', start);
        std::string_view item = Trim(s.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        const std::optional<std::uint32_t> octet = text::ParseDigits(item, 2, 16);
        if (item.size() != 2 || !octet)
            return false;
        out.push_back(BYTE(*octet));
        if (comma == std::string_view::npos)
            return true;
        start = comma + 1;
    }
}

std::string HexBytes(const std::vector<BYTE>& data) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        if (i)
            out += ',';
        out += buf;
    }
    return out;
}

// REG_SZ data that is exactly a string and its null, and fits on one .reg line as text.
bool AsPlainString(const std::vector<BYTE>& data, std::string& utf8) {
    if (data.size() < 2 || data.size() % 2 != 0)
        return false;
    std::u16string s;
    for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
        char16_t c = char16_t(data[i] | (data[i + 1] << 8));
        if (c < 0x20 || c == 0x7F)
            return false;
        s += c;
    }
    if (data[data.size() - 2] != 0 || data[data.size() - 1] != 0)
        return false;
    return ToUtf8Text(s, utf8);
}

}  // namespace

std::string Registry::ToRegText() const {
    std::string out(kHeader);
    out += "\n";
    for (const auto& [id, key] : keys_) {
        std::string_view rootName;
        for (const auto& r : kRoots) {
            if (r.root == key.root)
                rootName = r.name;
        }
        std::string path;
        ToUtf8Text(key.path, path);
        out += "\n[";
        out += rootName;
        if (!path.empty())
            out += "\\" + path;
        out += "]\n";
        for (const auto& v : key.values) {
            std::string name;
            ToUtf8Text(v.name, name);
            out += v.name.empty() ? std::string("@") : Quote(name);
            out += '=';
            std::string text;
            if (v.type == REG_SZ && AsPlainString(v.data, text)) {
                out += Quote(text);
            } else if (v.type == REG_DWORD && v.data.size() == 4) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x",
                              unsigned(v.data[0] | v.data[1] << 8 | v.data[2] << 16 |
                                       unsigned(v.data[3]) << 24));
                out += buf;
            } else if (v.type == REG_BINARY) {
                out += "hex:" + HexBytes(v.data);
            } else {
                char buf[24];
                std::snprintf(buf, sizeof buf, "hex(%x):", unsigned(v.type));
                out += buf + HexBytes(v.data);
            }
            out += '\n';
        }
    }
    return out;
}

LONG Registry::FromRegText(const std::string& input) {
    keys_.clear();
    std::string_view text(input);
    std::string fromUtf16;
    if (text.starts_with("\xFF\xFE")) {
        // Windows writes its exports as UTF-16: accept one copied over as it is.
        std::u16string units;
        for (std::size_t i = 2; i + 1 < text.size(); i += 2)
            units += char16_t(BYTE(text[i]) | BYTE(text[i + 1]) << 8);
        if (text.size() % 2 != 0 || !ToUtf8Text(units, fromUtf16))
            return ERROR_BADDB;
        text = fromUtf16;
    } else if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }

    // Logical lines: a trailing backslash continues a hex list on the next line.
    std::vector<std::string> lines;
    std::string pending;
    bool continuing = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (continuing) {
            pending += line;
        } else {
            pending.assign(line);
        }
        continuing =
            !pending.empty() && pending.back() == '\\' && pending.find("=hex") != std::string::npos;
        if (continuing) {
            pending.pop_back();
            continue;
        }
        lines.push_back(pending);
    }
    if (continuing)
        return ERROR_BADDB;

    bool sawHeader = false;
    Key* current = nullptr;
    for (const std::string& raw : lines) {
        std::string_view line = raw;
        if (line.empty() || line.front() == ';')
            continue;
        if (!sawHeader) {
            if (line != kHeader && line != kOldHeader)
                return ERROR_BADDB;
            sawHeader = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2)
                return ERROR_BADDB;
            std::string_view inner = line.substr(1, line.size() - 2);
            std::size_t slash = inner.find('\\');
            std::string_view rootName = inner.substr(0, slash);
            HKEY root = 0;
            for (const auto& r : kRoots) {
                if (r.name == rootName)
                    root = r.root;
            }
            if (root == 0)
                return ERROR_BADDB;
            std::u16string path;
            if (slash != std::string_view::npos && !FromUtf8Text(inner.substr(slash + 1), path))
                return ERROR_BADDB;
            path = Normalize(path);
            for (char16_t c : path) {
                if (c < 0x20 || c == u']')
                    return ERROR_BADDB;
            }
            current = &Ensure(root, path, nullptr);
            continue;
        }
        if (!current)
            return ERROR_BADDB;

        std::size_t pos = 0;
        std::string nameUtf8;
        if (line.front() == '@') {
            pos = 1;
        } else if (!Unquote(line, pos, nameUtf8)) {
            return ERROR_BADDB;
        }
        std::u16string name;
        if (!FromUtf8Text(nameUtf8, name))
            return ERROR_BADDB;
        if (pos >= line.size() || line[pos] != '=')
            return ERROR_BADDB;
        std::string_view data = Trim(line.substr(pos + 1));

        Value value{name, REG_NONE, {}};
        if (data.starts_with("\"")) {
            std::size_t p = 0;
            std::string s;
            if (!Unquote(data, p, s) || p != data.size())
                return ERROR_BADDB;
            std::u16string units;
            if (!FromUtf8Text(s, units))
                return ERROR_BADDB;
            value.type = REG_SZ;
            for (char16_t c : units) {
                value.data.push_back(BYTE(c & 0xFF));
                value.data.push_back(BYTE(c >> 8));
            }
            value.data.push_back(0);
            value.data.push_back(0);
        } else if (data.starts_with("dword:")) {
            DWORD n = 0;
            if (!ParseHexNumber(data.substr(6), n))
                return ERROR_BADDB;
            value.type = REG_DWORD;
            value.data = {BYTE(n), BYTE(n >> 8), BYTE(n >> 16), BYTE(n >> 24)};
        } else if (data.starts_with("hex:")) {
            value.type = REG_BINARY;
            if (!ParseHexBytes(data.substr(4), value.data))
                return ERROR_BADDB;
        } else if (data.starts_with("hex(")) {
            std::size_t close = data.find("):");
            if (close == std::string_view::npos ||
                !ParseHexNumber(data.substr(4, close - 4), value.type))
                return ERROR_BADDB;
            if (!ParseHexBytes(data.substr(close + 2), value.data))
                return ERROR_BADDB;
        } else {
            return ERROR_BADDB;
        }
        bool replaced = false;
        for (auto& v : current->values) {
            if (text::EqualsIgnoringCase(v.name, name)) {
                v = value;
                replaced = true;
            }
        }
        if (!replaced)
            current->values.push_back(std::move(value));
    }
    return ERROR_SUCCESS;
}

}  // namespace platform
