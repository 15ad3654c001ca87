#include "sms/SmsReplies.h"

#include <algorithm>
#include <cstdint>

#include "link/Reply.h"
#include "text/Ascii.h"
#include "text/Hex.h"
#include "text/Trim.h"

namespace sms {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

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
    if (at::ResultOf(text) != at::Result::None) {
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

Storage StorageOf(std::u16string_view name) {
    if (name.size() != 2) {
        return Storage::None;
    }
    const char16_t a = text::UpperAscii(name[0]);
    const char16_t b = text::UpperAscii(name[1]);
    if (a == u'M' && b == u'E') {
        return Storage::Phone;
    }
    if (a == u'S' && b == u'M') {
        return Storage::Sim;
    }
    if (a == u'T' && b == u'L') {
        return Storage::Tl;
    }
    return Storage::None;
}

bool Contains(std::u16string_view text, std::u16string_view what) {
    return text.find(what) != npos;
}

std::u16string_view UpToNull(std::u16string_view reply) {
    return reply.substr(0, std::min(reply.find(u'\0'), reply.size()));
}

bool ParseStorageReply(std::u16string_view reply, StorageState& state) {
    const std::size_t pos = reply.find(u"CPMS:");
    if (pos == npos) {
        return false;
    }
    // Three storages, each a quoted name and its used and total counts; only the second (the
    // one written to) keeps its counts. A phone that names two storages only ends its line
    // after the second one's total.
    const std::vector<at::Field> fields = at::Fields::All(reply.substr(pos + 5));
    std::size_t k = 0;
    for (std::size_t i = 0; i < fields.size() && k < state.codes.size(); ++i) {
        if (!fields[i].quoted) {
            continue;
        }
        const Storage storage = StorageOf(fields[i].text);
        if (storage != Storage::None) {
            state.codes[k] = storage;
        }
        if (k++ != 1) {
            continue;
        }
        if (i + 2 >= fields.size()) {
            break;
        }
        state.used = std::u16string(fields[i + 1].raw);
        state.total = std::u16string(fields[i + 2].raw);
        i += 2;
    }
    return true;
}

std::optional<ServiceCentreReply> ParseServiceCentreReply(std::u16string_view reply) {
    const std::size_t marker = reply.find(u"CSCA:");
    if (marker == npos) {
        return std::nullopt;
    }
    const std::vector<at::Field> fields = at::Fields::All(reply.substr(marker + 5));
    if (fields.empty() || !fields[0].quoted) {
        return std::nullopt;
    }
    ServiceCentreReply result;
    result.number = std::u16string(fields[0].text);
    result.typeFollows = fields.size() >= 2;
    return result;
}

std::u16string ServiceCentreNumber(const ServiceCentreReply& reply, std::optional<phone::Kind> kind,
                                   const std::u16string& previous) {
    if (!kind) {
        return previous;
    }
    std::u16string number = reply.number;
    if (*kind == phone::Kind::Nokia && !number.empty() && number[0] == u'+') {
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
        // The index is the first field; the status and the rest follow it.
        at::Fields fields(reply.substr(p));
        at::Field index;
        at::Field next;
        if (!fields.Next(index) || !fields.Next(next)) {
            break;
        }
        const std::optional<PduLine> pdu = PduLineAfter(reply, p);
        if (!pdu) {
            break;
        }
        entries.push_back({std::u16string(index.raw), std::u16string(pdu->text)});
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
