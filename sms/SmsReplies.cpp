#include "sms/SmsReplies.h"

#include <algorithm>
#include <cstdint>

#include "text/Ascii.h"
#include "text/Hex.h"
#include "text/Trim.h"

namespace sms {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

char16_t UpperAscii(char16_t c) {
    return text::UpperAscii(c);
}

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// The end of the field starting at `from`: the next comma or line end, or the end of the reply.
std::size_t FieldEnd(std::u16string_view text, std::size_t from) {
    while (from < text.size() && text[from] != u',' && !IsLineEnd(text[from])) {
        ++from;
    }
    return from;
}

std::u16string TrimBlanks(std::u16string_view text) {
    return std::u16string(text::Trim(text, u" "));
}

// Passes over the line end and any blanks before a PDU line: everything that is a carriage
// return or outside '0'..'{'.
std::size_t SkipToPduLine(std::u16string_view text, std::size_t from) {
    while (from < text.size() && (text[from] == u'\r' || text[from] < u'0' || text[from] > u'{')) {
        ++from;
    }
    return from;
}

struct PduLine {
    std::u16string_view text;
    std::size_t end;  // the carriage return after it
};

// The PDU line after the line holding `from`; nothing where the reply breaks off first or the
// final "OK" stands there instead.
std::optional<PduLine> PduLineAfter(std::u16string_view reply, std::size_t from) {
    const std::size_t lineEnd = reply.find(u'\r', from);
    if (lineEnd == npos) {
        return std::nullopt;
    }
    const std::size_t start = SkipToPduLine(reply, lineEnd);
    if (start >= reply.size()) {
        return std::nullopt;
    }
    const std::size_t end = reply.find(u'\r', start);
    if (end == npos) {
        return std::nullopt;
    }
    const std::u16string_view text = reply.substr(start, end - start);
    if (Contains(text, u"OK")) {
        return std::nullopt;
    }
    return PduLine{text, end};
}

}  // namespace

int DecimalValue(std::u16string_view text) {
    // Unsigned arithmetic wraps instead of overflowing on texts that are not small numbers.
    std::uint32_t value = 0;
    std::uint32_t scale = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        value += (static_cast<std::uint32_t>(*it) - 48u) * scale;
        scale *= 10u;
    }
    return static_cast<int>(value);
}

int StorageCodeOf(std::u16string_view name) {
    if (name.size() != 2) {
        return kStorageNone;
    }
    const char16_t a = UpperAscii(name[0]);
    const char16_t b = UpperAscii(name[1]);
    if (a == u'M' && b == u'E') {
        return kStoragePhone;
    }
    if (a == u'S' && b == u'M') {
        return kStorageSim;
    }
    if (a == u'T' && b == u'L') {
        return kStorageTl;
    }
    return kStorageNone;
}

bool Contains(std::u16string_view text, std::u16string_view what) {
    return text.find(what) != npos;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return text::EqualsIgnoringCase(a, b);
}

std::u16string_view UpToNull(std::u16string_view reply) {
    return reply.substr(0, std::min(reply.find(u'\0'), reply.size()));
}

bool ParseStorageReply(std::u16string_view reply, StorageState& state) {
    std::size_t pos = reply.find(u"CPMS:");
    if (pos == npos) {
        return false;
    }
    // Only three storages exist; whatever follows the third is not read.
    for (std::size_t k = 0; k < state.codes.size() && pos < reply.size(); ++k) {
        const std::size_t open = reply.find(u'"', pos);
        if (open == npos) {
            break;
        }
        const std::size_t close = reply.find(u'"', open + 1);
        if (close == npos) {
            break;
        }
        const int code = StorageCodeOf(reply.substr(open + 1, close - open - 1));
        if (code != kStorageNone) {
            state.codes[k] = code;
        }
        pos = close + 1;
        if (k != 1) {
            continue;
        }
        // The second storage (the one written to) keeps its used and total counts.
        const std::size_t usedComma = FieldEnd(reply, close + 1);
        if (usedComma >= reply.size() || reply[usedComma] != u',') {
            break;
        }
        const std::size_t totalComma = FieldEnd(reply, usedComma + 1);
        if (totalComma >= reply.size() || reply[totalComma] != u',') {
            break;
        }
        // A total at the end of its line (a phone that names two storages only) ends there.
        const std::size_t totalEnd = FieldEnd(reply, totalComma + 1);
        state.used = TrimBlanks(reply.substr(usedComma + 1, totalComma - usedComma - 1));
        state.total = TrimBlanks(reply.substr(totalComma + 1, totalEnd - totalComma - 1));
        pos = totalEnd + 1;
    }
    return true;
}

std::optional<ServiceCentreReply> ParseServiceCentreReply(std::u16string_view reply) {
    const std::size_t marker = reply.find(u"CSCA:");
    if (marker == npos) {
        return std::nullopt;
    }
    const std::size_t open = reply.find(u'"', marker);
    if (open == npos) {
        return std::nullopt;
    }
    const std::size_t close = reply.find(u'"', open + 1);
    if (close == npos) {
        return std::nullopt;
    }
    ServiceCentreReply result;
    result.number = std::u16string(reply.substr(open + 1, close - open - 1));
    result.typeFollows = reply.find(u',', close + 1) != npos;
    return result;
}

std::u16string ServiceCentreNumber(const ServiceCentreReply& reply, std::optional<unsigned> flag,
                                   const std::u16string& previous) {
    if (!flag) {
        return previous;
    }
    std::u16string number = reply.number;
    if (*flag == 1 && !number.empty() && number[0] == u'+') {
        number.erase(0, 1);
    }
    if (!reply.typeFollows && (number.empty() || number[0] != u'+')) {
        number.insert(0, 1, u'+');
    }
    return number;
}

std::vector<ListedMessage> ParseMessageList(std::u16string_view reply) {
    constexpr std::u16string_view kMarker = u"+CMGL:";
    std::vector<ListedMessage> entries;
    std::size_t p = reply.find(kMarker);
    while (p != npos && p < reply.size()) {
        // The index is the number after the colon, blanks skipped, up to the comma.
        std::size_t first = p + kMarker.size();
        while (first < reply.size() && reply[first] == u' ') {
            ++first;
        }
        const std::size_t comma = FieldEnd(reply, first);
        if (comma >= reply.size() || reply[comma] != u',') {
            break;
        }
        const std::optional<PduLine> pdu = PduLineAfter(reply, p);
        if (!pdu) {
            break;
        }
        entries.push_back(
            {TrimBlanks(reply.substr(first, comma - first)), std::u16string(pdu->text)});
        p = reply.find(kMarker, pdu->end + 1);
    }
    return entries;
}

std::vector<std::u16string> ParseReadReply(std::u16string_view reply) {
    std::vector<std::u16string> lines;
    std::size_t p = reply.find(u"+CMGR:");
    while (p != npos && p < reply.size()) {
        const std::optional<PduLine> line = PduLineAfter(reply, p);
        if (!line) {
            break;
        }
        lines.emplace_back(line->text);
        p = line->end + 1;
    }
    return lines;
}

std::u16string ParseStoredIndex(std::u16string_view reply) {
    const std::size_t marker = reply.find(u"CMGW:");
    if (marker == npos) {
        return {};
    }
    std::size_t first = marker + 5;
    while (first < reply.size() && (reply[first] < u'0' || reply[first] > u'9')) {
        ++first;
    }
    std::size_t last = first;
    while (last < reply.size() && reply[last] >= u'0' && reply[last] <= u'9') {
        ++last;
    }
    return std::u16string(reply.substr(first, last - first));
}

bool IsPduText(std::u16string_view pdu) {
    return pdu.size() >= 3 &&
           std::all_of(pdu.begin(), pdu.end(), [](char16_t c) { return text::HexValue(c) >= 0; });
}

}  // namespace sms
