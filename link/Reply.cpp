#include "link/Reply.h"

#include <algorithm>
#include <array>

#include "text/Ascii.h"
#include "text/Trim.h"

namespace at {

namespace {

// The phone's lines are trimmed of spaces only.
std::u16string_view TrimBlanks(std::u16string_view line) {
    return text::Trim(line, u" ");
}
std::string_view TrimBlanks(std::string_view line) {
    return text::Trim(line, " ");
}

// Whether `line` begins with the ASCII text `prefix`, character for character.
template <typename Char>
bool Begins(std::basic_string_view<Char> line, std::string_view prefix) {
    return line.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), line.begin(),
                                                      [](char a, Char b) { return Char(a) == b; });
}

template <typename Char>
bool Is(std::basic_string_view<Char> line, std::string_view text) {
    return line.size() == text.size() && Begins(line, text);
}

template <typename Char>
Result ResultOfLine(std::basic_string_view<Char> line) {
    line = TrimBlanks(line);
    if (Is(line, "OK")) {
        return Result::Ok;
    }
    if (Is(line, "ERROR")) {
        return Result::Error;
    }
    if (Begins(line, "+CME ERROR")) {
        return Result::CmeError;
    }
    if (Begins(line, "+CMS ERROR")) {
        return Result::CmsError;
    }
    if (Is(line, ">")) {
        return Result::Prompt;
    }
    for (std::string_view code : {"NO CARRIER", "NO DIALTONE", "BUSY", "NO ANSWER"}) {
        if (Is(line, code)) {
            return Result::Other;
        }
    }
    return Begins(line, "CONNECT") ? Result::Other : Result::None;
}

bool IsError(Result result) {
    return result == Result::Error || result == Result::CmeError || result == Result::CmsError;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

Result ResultOf(std::u16string_view line) {
    return ResultOfLine(line);
}

Result ResultOf(std::string_view line) {
    return ResultOfLine(line);
}

bool IsUnsolicited(std::u16string_view line) {
    line = TrimBlanks(line);
    if (Is(line, "RING")) {
        return true;
    }
    constexpr std::array<std::string_view, 11> kCodes = {
        "+CRING:", "+CLIP:", "+CMTI:", "+CMT:",  "+CDSI:", "+CDS:",
        "+CBMI:",  "+CBM:",  "+CREG:", "+CUSD:", "+CGREG:"};
    return std::any_of(kCodes.begin(), kCodes.end(),
                       [line](std::string_view code) { return Begins(line, code); });
}

const std::u16string* Reply::Line(std::u16string_view prefix) const {
    for (const std::u16string& line : lines) {
        if (std::u16string_view(line).starts_with(prefix)) {
            return &line;
        }
    }
    return nullptr;
}

Reply ReadReply(std::u16string_view text) {
    text = text.substr(0, std::min(text.find(u'\0'), text.size()));
    Reply reply;
    bool prompted = false;
    std::u16string_view other;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) {
            end = text.size();
        }
        const std::u16string_view line = TrimBlanks(text.substr(start, end - start));
        start = end + 1;
        if (line.empty()) {
            continue;
        }
        const Result result = ResultOf(line);
        if (IsError(result)) {
            if (!reply.Refused()) {
                reply.result = result;
                reply.resultLine = line;
            }
        } else if (result == Result::Prompt) {
            prompted = true;
        } else if (result != Result::None) {
            if (other.empty()) {
                other = line;
            }
        } else if (IsUnsolicited(line)) {
            reply.unsolicited.emplace_back(line);
        } else if (!text::StartsWithIgnoringCase(line, u"AT")) {
            reply.lines.emplace_back(line);
        }
    }
    if (reply.Refused()) {
        return reply;
    }
    if (prompted) {
        reply.result = Result::Prompt;
        reply.resultLine = u">";
    } else if (!other.empty()) {
        reply.result = ResultOf(other);
        reply.resultLine = other;
    }
    return reply;
}

std::optional<long long> Field::Number() const {
    if (text.empty() || text.size() > 10 || quoted ||
        !std::all_of(text.begin(), text.end(), IsDigit)) {
        return std::nullopt;
    }
    long long value = 0;
    for (char16_t c : text) {
        value = value * 10 + (c - u'0');
    }
    if (value > 0xFFFFFFFFLL) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::pair<long long, long long>> Field::Range() const {
    if (quoted || raw.size() < 3 || raw.front() != u'(' || raw.back() != u')') {
        return std::nullopt;
    }
    std::optional<long long> low;
    std::optional<long long> high;
    for (std::u16string_view rest = raw.substr(1, raw.size() - 2); !rest.empty();) {
        const std::size_t end = std::min(rest.find_first_of(u",-"), rest.size());
        const Field part{TrimBlanks(rest.substr(0, end)), TrimBlanks(rest.substr(0, end))};
        const std::optional<long long> value = part.Number();
        if (!value) {
            return std::nullopt;
        }
        low = std::min(low.value_or(*value), *value);
        high = std::max(high.value_or(*value), *value);
        rest = end < rest.size() ? rest.substr(end + 1) : std::u16string_view();
    }
    if (!low) {
        return std::nullopt;
    }
    return std::pair(*low, *high);
}

Fields::Fields(std::u16string_view line) {
    line = line.substr(0, std::min(line.find_first_of(u"\r\n"), line.size()));
    line = TrimBlanks(line);
    if (!line.empty() && line.front() == u'+') {
        const std::size_t colon = line.find(u':');
        if (colon != std::u16string_view::npos) {
            line.remove_prefix(colon + 1);
        }
    }
    rest_ = line;
}

bool Fields::Next(Field& field) {
    if (done_) {
        return false;
    }
    bool inQuotes = false;
    int depth = 0;
    std::size_t end = 0;
    for (; end < rest_.size(); ++end) {
        const char16_t c = rest_[end];
        if (c == u'"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes && c == u'(') {
            ++depth;
        } else if (!inQuotes && c == u')' && depth > 0) {
            --depth;
        } else if (!inQuotes && depth == 0 && c == u',') {
            break;
        }
    }
    field.raw = TrimBlanks(rest_.substr(0, end));
    field.quoted = field.raw.size() >= 2 && field.raw.front() == u'"' && field.raw.back() == u'"';
    field.text = field.quoted ? field.raw.substr(1, field.raw.size() - 2) : field.raw;
    if (end < rest_.size()) {
        rest_.remove_prefix(end + 1);
    } else {
        done_ = true;
    }
    return true;
}

std::vector<Field> Fields::All(std::u16string_view line) {
    std::vector<Field> all;
    Fields fields(line);
    for (Field field; fields.Next(field);) {
        all.push_back(field);
    }
    return all;
}

}  // namespace at
