// Any reply to a phone book read: cut into records, each parsed, merged into a book by name.
// The records cover the reply from their first marker on, in order; the merged book has each
// name once; each number it holds sits at the index of the last complete record of that name and
// kind, and every index a record names stays taken.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "link/PhoneLink.h"
#include "phonebook/NumberKind.h"
#include "phonebook/PhoneBookEngine.h"

#define CHECK(c) ((c) ? void() : std::abort())

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two bytes a character, so every UTF-16 unit can come.
    std::u16string reply(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2)
        reply[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    static CPhoneLink* link = new CPhoneLink(phone::Notices::Silent());
    static CPhoneBookEngine& engine = *new CPhoneBookEngine(*link, {});
    CContactBook book;
    engine.SplitRecords(reply);
    std::size_t covered = engine.GetRecords().empty()
                              ? reply.size()
                              : static_cast<std::size_t>(engine.GetRecords()[0]->position);
    std::map<std::pair<std::u16string, int>, int> lastIndex;  // (name, kind): index
    std::set<std::u16string> names;
    for (const auto& record : engine.GetRecords()) {
        CHECK(static_cast<std::size_t>(record->position) == covered &&
              reply.compare(covered, record->line.size(), record->line) == 0);
        covered += record->line.size();
        CHECK(!CPhoneBookEngine::ParseRecord(*record) || record->index >= 1);
        if (record->complete) {
            names.insert(record->name);
            if (NumberKind::Of(record->kind) != nullptr)
                lastIndex[{record->name, record->kind}] = record->index;
        }
    }
    CHECK(covered == reply.size());
    engine.MergeRecords(book);
    for (const auto& record : engine.GetRecords())
        CHECK(record->index <= 0 || book.IsIndexTaken(record->index));
    engine.ClearRecords();
    std::set<std::u16string> seen;
    for (int i = 0; i < book.GetSize(); ++i) {
        const CContactEntry& contact = *book.GetAt(i);
        CHECK(seen.insert(contact.name).second && names.count(contact.name) != 0);
        for (const NumberKind& kind : NumberKind::All()) {
            const auto last = lastIndex.find({contact.name, kind.kind});
            CHECK(contact.*kind.index == (last == lastIndex.end() ? 0 : last->second));
        }
    }
    CHECK(seen == names);
    return 0;
}
