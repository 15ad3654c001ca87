// Writing and deleting the phone entries of one contact.

#include "app/RegSettings.h"
#include "link/PhoneSession.h"
#include "phonebook/AtText.h"
#include "phonebook/NumberKind.h"
#include "phonebook/PhoneBookEngine.h"
#include "platform/Win32.h"

using namespace platform;
using phonebook::Decimal;

int CPhoneBookEngine::WriteEntry(int index, const std::u16string& number,
                                 const std::u16string& name, int kind) {
    if (index < 0) {
        return 0;
    }
    DWORD memoryType = 0;
    if (!settings::ReadMemoryType(memoryType)) {
        // Without the setting the name's form is unknown: writing a guess could store the
        // entry under the wrong name.
        return -1;
    }
    // User text goes between quotes on the command line. Rather than silently store something
    // else than the user typed, a quote, backslash or control character makes the write fail,
    // and the save reports it.
    if (!phonebook::IsSafeQuotedField(number) || !phonebook::IsSafeQuotedField(name)) {
        return -1;
    }
    std::u16string stored = name;
    if (!settings::IsNokiaMemoryType(memoryType)) {
        if (const NumberKind* k = NumberKind::Of(kind)) {
            stored += k->suffix;
        }
    }
    std::u16string command =
        u"AT+CPBW=" + Decimal(index) + u",\"" + number + u"\",129 ,\"" + stored + u"\"";
    if (!SendCommand(command)) {
        return -1;
    }
    Wait(1.0f);
    std::u16string reply;
    const int length = ReadResponse(reply);
    // A refused write is not saved: the contact keeps its mark and the save reports it.
    if (length < 0 || phonebook::HasErrorResult(reply)) {
        return -1;
    }
    if (CContactBook* book = m_session.GetCurrentBook()) {
        book->MarkIndexUsed(index);
    }
    return 1;
}

BOOL CPhoneBookEngine::DeleteEntries(int from, int to) {
    CContactBook* book = m_session.GetCurrentBook();
    for (long long index = from; index <= to; ++index) {
        std::u16string command = u"AT+CPBW=" + Decimal(index);
        // An unwritten command has no reply to collect, and the entry is still there.
        if (!SendCommand(command)) {
            continue;
        }
        if (book != nullptr) {
            book->MarkIndexFree(static_cast<int>(index));
        }
        std::u16string reply;
        ReadResponse(reply);
    }
    return TRUE;
}

int CPhoneBookEngine::AllocateIndex() {
    const int highest = m_session.GetMaxIndex();
    if (const CContactBook* book = m_session.GetCurrentBook()) {
        // Ends at the first index not taken; at most as many rounds as indices are taken.
        for (int candidate = highest; candidate >= 1; --candidate) {
            if (!book->IsIndexTaken(candidate)) {
                return candidate;
            }
        }
    }
    MessageBoxW(0, u"Out of Entry Number", u"Error", MB_OK);
    return -1;
}

BOOL CPhoneBookEngine::WriteSlot(int& indexField, int kind, const std::u16string& number,
                                 const std::u16string& name) {
    if (!number.empty()) {
        if (indexField == 0) {
            indexField = AllocateIndex();
        }
        // With -1 nothing is sent; "Out of Entry Number" has told the user already.
        return WriteEntry(indexField, number, name, kind) >= 0 ? TRUE : FALSE;
    }
    if (indexField > 0) {
        DeleteEntries(indexField, indexField);
        indexField = 0;
    }
    return TRUE;
}

BOOL CPhoneBookEngine::WriteContact(int position) {
    CContactBook* book = m_session.GetCurrentBook();
    CContactEntry* contact = book != nullptr ? book->GetAt(position) : nullptr;
    if (contact == nullptr) {
        return FALSE;
    }
    if (contact->marks & CContactEntry::MarkName) {
        // Every number goes again under the new name, at the index it had.
        DeleteContactEntries(position);
        Wait(2.0f);
        contact->marks |= CContactEntry::MarkAllNumbers;
    }
    const std::uint32_t marks = contact->marks;
    std::uint32_t unsaved = 0;
    for (const NumberKind& kind : NumberKind::All()) {
        if ((marks & kind.mark) == 0) {
            continue;
        }
        // Home goes first without a pause; Other waits longer than the rest.
        if (kind.kind == 5) {
            Wait(2.0f);
        } else if (kind.kind != 1) {
            Wait(1.0f);
        }
        if (!WriteSlot(contact->*kind.index, kind.kind, contact->*kind.number, contact->name)) {
            unsaved |= kind.mark;
        }
    }
    // A number the phone did not take keeps its mark, so the next save sends it again.
    contact->marks = unsaved;
    return unsaved == 0 ? TRUE : FALSE;
}

BOOL CPhoneBookEngine::DeleteContactEntries(int position) {
    CContactBook* book = m_session.GetCurrentBook();
    CContactEntry* contact = book != nullptr ? book->GetAt(position) : nullptr;
    if (contact == nullptr) {
        return FALSE;
    }
    if (contact->faxIndex > 0) {
        DeleteEntries(contact->faxIndex, contact->faxIndex);
    }
    for (int* index :
         {&contact->homeIndex, &contact->mobileIndex, &contact->otherIndex, &contact->workIndex}) {
        if (*index > 0) {
            Wait(1.0f);
            DeleteEntries(*index, *index);
        }
    }
    contact->marks = 0;
    return TRUE;
}
