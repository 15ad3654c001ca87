#include "phonebook/PhoneBookEngine.h"

#include <climits>
#include <iterator>
#include <unordered_map>
#include <utility>
#include <vector>

#include "link/Reply.h"
#include "phonebook/AtText.h"
#include "phonebook/NumberKind.h"
#include "phonebook/ReadRanges.h"
#include "platform/Win32.h"
#include "text/Decimal.h"
#include "text/Hex.h"
#include "text/Trim.h"

using namespace platform;
using phonebook::Decimal;

namespace {

constexpr std::u16string_view kMarker = u"+CPBR:";

// The number without the blanks and quotes around it.
std::u16string Unquote(std::u16string_view text) {
    text = text::Trim(text, u" ");
    if (!text.empty() && text.front() == u'"') {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.back() == u'"') {
        text.remove_suffix(1);
    }
    return std::u16string(text);
}

}  // namespace

CPhoneBookEngine::CPhoneBookEngine(CPhoneLink& link, Events events)
    : m_link(link), m_events(std::move(events)) {}

CPhoneBookEngine::~CPhoneBookEngine() {
    ClearRecords();
}

int CPhoneBookEngine::QueryIndexRange() {
    int highest = 0;
    m_lastLimits = {};
    std::u16string command = u"AT+CPBR=?";
    if (m_link.SendCommand(command)) {
        m_link.Wait(3.0f);
        std::u16string text;
        // The usual reply is "+CPBR: (1-250),40,14": the highest index ends the list of the
        // first field.
        if (m_link.ReadResponse(text) > 0) {
            const at::Reply reply = at::ReadReply(text);
            if (const std::u16string* line = reply.Line(u"+CPBR:")) {
                const std::vector<at::Field> fields = at::Fields::All(*line);
                if (!fields.empty()) {
                    if (const auto range = fields[0].Range(); range && range->second <= INT_MAX) {
                        highest = static_cast<int>(range->second);
                    }
                }
                // Then the longest number and the longest name.
                const auto limit = [&fields](std::size_t at) {
                    const auto value = at < fields.size() ? fields[at].Number() : std::nullopt;
                    return value && *value > 0 && *value <= INT_MAX ? static_cast<int>(*value) : 0;
                };
                m_lastLimits = {limit(1), limit(2)};
            }
        }
    }
    SelectCharacterSet();
    return highest > 0 ? highest : 0;
}

BOOL CPhoneBookEngine::SelectCharacterSet() {
    using phonebook::NameCharset;
    m_charset = NameCharset::Utf8;
    // The answer decides only when the phone refuses: one that stays silent is taken at its
    // word as before.
    const auto ask = [this](std::u16string command) -> std::optional<at::Reply> {
        if (!m_link.SendCommand(command)) {
            return std::nullopt;
        }
        m_link.Wait(2.0f);
        std::u16string text;
        m_link.ReadResponse(text);
        return at::ReadReply(text);
    };
    const auto select = [&ask](NameCharset charset) {
        return ask(u"AT+CSCS=\"" + std::u16string(phonebook::NameOf(charset)) + u"\"");
    };
    const std::optional<at::Reply> utf8 = select(NameCharset::Utf8);
    if (!utf8) {
        return FALSE;
    }
    if (!utf8->Refused()) {
        return TRUE;
    }
    if (const auto offer = ask(u"AT+CSCS=?")) {
        if (const std::u16string* line = offer->Line(u"+CSCS:")) {
            for (const NameCharset charset : phonebook::CharsetsToTry(*line)) {
                // A phone may list a set it then refuses: the next one is tried.
                if (const auto taken = select(charset); taken && taken->Accepted()) {
                    m_charset = charset;
                    return TRUE;
                }
            }
        }
    }
    // Nothing offered was taken: the names go in the set the phone keeps, when it says which
    // one and it is known here, else as plain ASCII, which every set carries alike.
    m_charset = NameCharset::Ira;
    if (const auto current = ask(u"AT+CSCS?")) {
        if (const std::u16string* line = current->Line(u"+CSCS:")) {
            const std::vector<at::Field> fields = at::Fields::All(*line);
            if (!fields.empty()) {
                m_charset = phonebook::CharsetNamed(fields[0].text).value_or(NameCharset::Ira);
            }
        }
    }
    return TRUE;
}

void CPhoneBookEngine::DecodeNames() {
    if (m_charset == phonebook::NameCharset::Utf8 || m_charset == phonebook::NameCharset::Ira) {
        return;
    }
    for (auto& record : m_records) {
        const std::vector<at::Field> fields = at::Fields::All(record->line);
        if (fields.size() < 4 || !fields[3].quoted) {
            continue;
        }
        const std::u16string_view field = fields[3].text;
        const auto name = phonebook::DecodeName(field, m_charset);
        if (!name) {
            record->garbled = true;
            continue;
        }
        // The name goes back into the line the way a phone sending text gives it: characters
        // that would end the field or the line as "\HH", so the line still parses as sent.
        std::u16string own;
        for (const char16_t c : *name) {
            if (c < 0x20 || c == u'"' || c == u'\\') {
                own += u'\\';
                own += static_cast<char16_t>(text::HexDigit(c >> 4));
                own += static_cast<char16_t>(text::HexDigit(c));
            } else {
                own += c;
            }
        }
        const auto at = static_cast<std::size_t>(field.data() - record->line.data());
        record->line.replace(at, field.size(), own);
    }
}

void CPhoneBookEngine::ReadEntries(CContactBook& book, int first, int last) {
    const std::vector<phonebook::ReadRange> ranges = phonebook::PlanReadRanges(first, last);
    // How many indices are read so far, of all: the ranges jump from the low end to the high one
    // before the middle, so the highest index read would tell nothing.
    int total = 0;
    for (const phonebook::ReadRange& range : ranges) {
        total += range.last - range.first + 1;
    }
    int done = 0;
    // Entries left out because their names could not be read.
    int unreadable = 0;
    const auto showProgress = [&done, total] {
        ShowProgress(u"Reading contacts " + Decimal(done) + u" of " + Decimal(total));
    };
    showProgress();
    for (const phonebook::ReadRange& range : ranges) {
        std::u16string command = u"AT+CPBR=" + Decimal(range.first) + u"," + Decimal(range.last);
        if (!m_link.SendCommand(command)) {
            if (m_events.linkLost) {
                m_events.linkLost();
            }
            if (range.step == 3) {
                break;
            }
            continue;
        }
        m_link.Wait(0.5f);
        std::u16string reply;
        // Only a reply the phone ended with OK holds every entry of its range: one that is
        // refused, silent or cut short would leave a book that looks complete and is not (and
        // an index it missed could be handed to a new number). Bytes that were not UTF-8 (each
        // read as U+FFFD) are as bad: they may have broken a marker or changed a name.
        if (m_link.ReadResponse(reply) <= 0 || !at::ReadReply(reply).Accepted() ||
            reply.find(u'\uFFFD') != std::u16string::npos) {
            if (m_events.linkLost) {
                m_events.linkLost();
            }
            break;
        }
        SplitRecords(reply);
        DecodeNames();
        for (auto& record : m_records) {
            ParseRecord(*record);
            record->complete = record->complete && !record->garbled;
            unreadable += record->garbled ? 1 : 0;
        }
        MergeRecords(book);
        ClearRecords();
        done += range.last - range.first + 1;
        showProgress();
    }
    EndProgress();
    if (unreadable > 0 && m_events.unreadableNames) {
        m_events.unreadableNames(unreadable);
    }
}

void CPhoneBookEngine::SplitRecords(const std::u16string& reply) {
    std::vector<std::size_t> starts;
    for (std::size_t at = reply.find(kMarker); at != std::u16string::npos;
         at = reply.find(kMarker, at + kMarker.size())) {
        starts.push_back(at);
    }
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : reply.size();
        auto record = std::make_unique<CPbrRecord>();
        record->position = static_cast<int>(starts[i]);
        record->line = reply.substr(starts[i], end - starts[i]);
        m_records.push_back(std::move(record));
    }
}

BOOL CPhoneBookEngine::ParseRecord(CPbrRecord& record) {
    const std::u16string_view line = record.line;
    bool hasName = false;

    const std::size_t slash = line.find(u'/');
    if (slash != std::u16string_view::npos) {
        // "Ann/M": the name runs from the last quote before the first "/" up to it.
        const std::u16string_view head = line.substr(0, slash);
        const std::size_t quote = head.rfind(u'"');
        if (quote != std::u16string_view::npos) {
            record.name = std::u16string(head.substr(quote + 1));
            hasName = true;
        }
        record.kind = slash + 1 < line.size() ? NumberKind::FromLetter(line[slash + 1]) : 0;
    } else {
        // No suffix (a Nokia phone): the name is the quoted field after the number type, up to
        // its closing quote, so commas inside it survive, and neither fields a phone may add
        // after it nor the blank line and "OK" that end the reply count.
        const std::u16string_view own = line.substr(0, line.find_first_of(u"\r\n"));
        std::size_t at = std::u16string_view::npos;
        std::size_t from = 0;
        for (int commas = 0; commas < 3; ++commas) {
            at = own.find(u',', from);
            if (at == std::u16string_view::npos) {
                break;
            }
            from = at + 1;
        }
        if (at != std::u16string_view::npos) {
            const std::size_t open = own.find_first_not_of(u' ', at + 1);
            if (open != std::u16string_view::npos && own[open] == u'"') {
                const std::size_t close = own.find(u'"', open + 1);
                if (close != std::u16string_view::npos) {
                    record.name = std::u16string(own.substr(open + 1, close - open - 1));
                    hasName = true;
                }
            }
        }
        record.kind = 1;
    }

    // Index, number (with its quotes; the merge takes them off), type, text: the number counts
    // only with a field after it.
    const std::vector<at::Field> fields = at::Fields::All(line);
    const bool hasNumber = fields.size() >= 3;
    if (hasNumber) {
        record.number = std::u16string(fields[1].raw);
    }
    record.index = 0;
    if (fields.size() >= 2 && line.substr(0, kMarker.size()) == kMarker) {
        record.index = ParseDecimal(fields[0].raw);
    }

    record.complete = hasName && hasNumber && record.index > 0;
    return record.complete ? TRUE : FALSE;
}

void CPhoneBookEngine::MergeRecords(CContactBook& book) {
    // Contacts by name; the views stay valid because names are not changed here and contacts
    // are only appended.
    std::unordered_multimap<std::u16string_view, CContactEntry*> byName;
    byName.reserve(static_cast<std::size_t>(book.GetSize()) + m_records.size());
    for (int i = 0; i < book.GetSize(); ++i) {
        CContactEntry* contact = book.GetAt(i);
        byName.emplace(contact->name, contact);
    }
    for (const auto& record : m_records) {
        // The phone holds an entry there even if the line cannot be used.
        book.MarkIndexUsed(record->index);
        if (!record->complete) {
            continue;
        }
        const NumberKind* kind = NumberKind::Of(record->kind);
        const std::u16string number = Unquote(record->number);
        auto [first, last] = byName.equal_range(record->name);
        if (first == last) {
            CContactEntry* contact = book.Add(record->name);
            first = byName.emplace(contact->name, contact);
            last = std::next(first);
        }
        if (kind == nullptr) {
            continue;
        }
        for (auto it = first; it != last; ++it) {
            it->second->*kind->number = number;
            it->second->*kind->index = record->index;
        }
    }
}

void CPhoneBookEngine::ClearRecords() {
    m_records.clear();
}

int CPhoneBookEngine::ParseDecimal(std::u16string_view text) {
    // atoi on the text as converted into a 32-byte buffer: 31 characters and the null.
    return text::LeadingInt(text.substr(0, 31));
}
