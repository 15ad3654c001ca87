// Any reply to a phone book read: cut into records, each parsed, merged into a book by name.
// Nothing is read outside the reply, and every contact of the book keeps to its kinds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "phonebook/PhoneBookEngine.h"
#include "phonebook/PhoneSession.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Two bytes a character, so every UTF-16 unit can come.
    std::u16string reply(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        reply[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    }
    static CPhoneSession* session = new CPhoneSession;
    CPhoneBookEngine& engine = *session->GetEngine();
    CContactBook book;
    engine.SplitRecords(reply);
    for (const auto& record : engine.GetRecords()) {
        CPhoneBookEngine::ParseRecord(*record);
        if (record->complete && record->index <= 0) {
            std::abort();
        }
    }
    engine.MergeRecords(book);
    engine.ClearRecords();
    for (int i = 0; i < book.GetSize(); ++i) {
        if (book.GetAt(i) == nullptr || book.Find(book.GetAt(i)->name) > i) {
            std::abort();
        }
    }
    return 0;
}
