#include "sms/JoinedMessages.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

#include "sms/codec/Concatenation.h"

namespace sms {

namespace {

std::u16string Decimal(long long value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// Days from 1 Jan 1970 of a calendar date (proleptic Gregorian), for any field values.
long long DaysFromCivil(long long year, long long month, long long day) {
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The time stamp as seconds in UTC. Fields a damaged PDU fills with nonsense give some number,
// never a fault.
long long UtcSeconds(const SmsDateTime& t) {
    const long long month = std::clamp<long long>(t.month, 1, 12);
    const long long days = DaysFromCivil(2000 + t.year, month, t.day);
    const long long local = ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
    const long long zone = static_cast<long long>(t.zone) * 60;
    return t.zoneSign != 0 ? local - zone : local + zone;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\n' || c == u'\r';
}

struct Part {
    std::size_t row;
    Concatenation header;
    long long time;
};

// The part a row is, when it is one that can be joined.
std::optional<Part> PartOf(const MessageRow& row, std::size_t index) {
    // Only received messages (SMS-DELIVER) have a sender and a time stamp to join by.
    if (!row.decoded || !row.message || row.message->GetMessageType() != 0) {
        return std::nullopt;
    }
    const std::optional<Concatenation> header = FindConcatenation(row.message->GetHeader());
    if (!header || header->count < 2 || header->sequence < 1 || header->sequence > header->count) {
        return std::nullopt;
    }
    return Part{index, *header, UtcSeconds(row.message->GetTimeStamp())};
}

struct Group {
    SmsAddress sender;
    Concatenation header;              // reference, count and kind of reference of every part
    long long first = 0;               // time of the earliest part
    std::map<int, std::size_t> parts;  // part number to row
};

bool Fits(const Group& group, const MessageRow& row, const Part& part) {
    return group.header.wideReference == part.header.wideReference &&
           group.header.reference == part.header.reference &&
           group.header.count == part.header.count &&
           group.parts.count(part.header.sequence) == 0 &&
           part.time - group.first <= kJoinWindowSeconds &&
           group.sender == row.message->GetAddress();
}

MessageRow Joined(const std::vector<MessageRow>& rows, const Group& group) {
    const int count = group.header.count;
    const MessageRow& lead = rows[group.parts.begin()->second];
    MessageRow joined = lead;
    joined.parts.clear();
    joined.idText.clear();
    joined.fullText.clear();
    // A notice stands apart from the text beside it by one blank.
    bool afterNotice = false;
    auto append = [&](const std::u16string& piece, bool notice) {
        const bool blank = notice ? !joined.fullText.empty() && !IsBlank(joined.fullText.back())
                                  : afterNotice && !piece.empty() && !IsBlank(piece.front());
        if (blank) {
            joined.fullText += u' ';
        }
        joined.fullText += piece;
        afterNotice = notice;
    };
    for (int sequence = 1; sequence <= count;) {
        const auto found = group.parts.find(sequence);
        if (found == group.parts.end()) {
            const auto next = group.parts.upper_bound(sequence);
            const int last = next == group.parts.end() ? count : next->first - 1;
            append(MissingPartsText(sequence, last, count), true);
            sequence = last + 1;
            continue;
        }
        const MessageRow& part = rows[found->second];
        joined.parts.push_back(part.parts.front());
        joined.idText += (joined.idText.empty() ? u"" : u",") + part.idText;
        append(part.fullText, false);
        ++sequence;
    }
    joined.text = ListText(joined.fullText);
    joined.sender = ShownSender(joined.fullText);
    return joined;
}

}  // namespace

std::u16string MissingPartsText(int first, int last, int count) {
    if (first == last) {
        return u"(part " + Decimal(first) + u" of " + Decimal(count) + u" missing)";
    }
    return u"(parts " + Decimal(first) + u" to " + Decimal(last) + u" of " + Decimal(count) +
           u" missing)";
}

std::vector<MessageRow> JoinParts(std::vector<MessageRow> rows) {
    std::vector<Part> parts;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (std::optional<Part> part = PartOf(rows[i], i)) {
            parts.push_back(*part);
        }
    }
    // In the order they were sent, so that each part meets the parts sent within a day of it.
    std::stable_sort(parts.begin(), parts.end(),
                     [](const Part& a, const Part& b) { return a.time < b.time; });
    std::vector<Group> groups;
    std::vector<std::optional<std::size_t>> groupOf(rows.size());
    for (const Part& part : parts) {
        const MessageRow& row = rows[part.row];
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const Group& g) { return Fits(g, row, part); });
        if (group == groups.end()) {
            groups.push_back({row.message->GetAddress(), part.header, part.time, {}});
            group = groups.end() - 1;
        }
        group->parts[part.header.sequence] = part.row;
        groupOf[part.row] = static_cast<std::size_t>(group - groups.begin());
    }
    std::vector<MessageRow> joined;
    std::vector<bool> shown(groups.size(), false);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!groupOf[i]) {
            joined.push_back(std::move(rows[i]));
        } else if (!shown[*groupOf[i]]) {
            shown[*groupOf[i]] = true;
            joined.push_back(Joined(rows, groups[*groupOf[i]]));
        }
    }
    return joined;
}

}  // namespace sms
