// Writing and deleting the phone entries of one contact.

#include <utility>

#include "link/ErrorResults.h"
#include "link/Reply.h"
#include "phonebook/AtText.h"
#include "phonebook/NameCharset.h"
#include "phonebook/NumberKind.h"
#include "phonebook/PhoneBookEngine.h"
#include "platform/Win32.h"
#include "text/Trim.h"

using namespace platform;
using phonebook::Decimal;

namespace {

// Why a reply is no confirmation: the phone's error result line with its meaning, or that no OK
// came.
std::u16string RefusalOf(std::u16string_view answer) {
    const at::Reply reply = at::ReadReply(answer);
    if (reply.Refused()) {
        return at::DescribeErrorResult(reply.resultLine);
    }
    const bool silent = text::Trim(answer, u" \r\n").empty();
    return silent ? u"no answer" : u"no OK in the answer";
}

}  // namespace

std::u16string CPhoneBookEngine::StoredName(const std::u16string& name, int kind) const {
    std::u16string stored = name;
    if (m_target.kind && *m_target.kind != phone::Kind::Nokia) {
        if (const NumberKind* k = NumberKind::Of(kind)) {
            stored += k->suffix;
        }
    }
    return stored;
}

std::u16string CPhoneBookEngine::CheckEntry(const std::u16string& number,
                                            const std::u16string& name, int kind) const {
    const std::u16string stored = StoredName(name, kind);
    const phonebook::EncodedName encoded = phonebook::EncodeName(stored, m_charset);
    if (!encoded.refused.empty()) {
        return u"The phone cannot store \"" + encoded.refused + u"\" in a name";
    }
    const Limits limits = m_target.limits;
    if (limits.text > 0 && encoded.length > static_cast<std::size_t>(limits.text)) {
        // The user counts the name without the suffix the program adds.
        const std::size_t suffix = stored.size() - name.size();
        const std::size_t room = static_cast<std::size_t>(limits.text);
        return u"The name is too long for the phone, Please use at most " +
               Decimal(static_cast<long long>(room > suffix ? room - suffix : 0)) + u" characters.";
    }
    // A leading "+" is the number's type, not one of its digits.
    const std::size_t digits =
        !number.empty() && number.front() == u'+' ? number.size() - 1 : number.size();
    if (limits.number > 0 && digits > static_cast<std::size_t>(limits.number)) {
        return u"The number is too long for the phone, Please use at most " +
               Decimal(limits.number) + u" digits.";
    }
    return {};
}

int CPhoneBookEngine::WriteEntry(int index, const std::u16string& number,
                                 const std::u16string& name, int kind) {
    if (index < 0) {
        return 0;
    }
    if (!m_target.kind) {
        // Without the setting the name's form is unknown: writing a guess could store the
        // entry under the wrong name.
        NoteRefusal(u"the kind of phone is not known");
        return -1;
    }
    // User text goes between quotes on the command line. Rather than silently store something
    // else than the user typed, a quote or control character makes the write fail, and the save
    // reports it.
    if (!phonebook::IsSafeQuotedField(number) || !phonebook::IsSafeName(name)) {
        NoteRefusal(u"the text cannot go into a command");
        return -1;
    }
    if (std::u16string why = CheckEntry(number, name, kind); !why.empty()) {
        NoteRefusal(std::move(why));
        return -1;
    }
    std::u16string command = u"AT+CPBW=" + Decimal(index) + u",\"" + number + u"\",129 ,\"" +
                             phonebook::EncodeName(StoredName(name, kind), m_charset).text + u"\"";
    if (!m_link.SendCommand(command)) {
        NoteRefusal(u"the command could not be sent");
        return -1;
    }
    m_link.Wait(1.0f);
    std::u16string reply;
    // Only the phone's OK makes it a write: a refusal, silence or an answer that comes too late
    // leaves the contact marked, and the next save sends it again to the same index.
    if (m_link.ReadResponse(reply) < 0 || !at::ReadReply(reply).Accepted()) {
        NoteRefusal(RefusalOf(reply));
        return -1;
    }
    if (m_target.book != nullptr) {
        m_target.book->MarkIndexUsed(index);
    }
    return 1;
}

BOOL CPhoneBookEngine::DeleteEntries(int from, int to) {
    CContactBook* book = m_target.book;
    BOOL all = TRUE;
    for (long long index = from; index <= to; ++index) {
        std::u16string command = u"AT+CPBW=" + Decimal(index);
        // An unwritten command has no reply to collect, and the entry is still there.
        if (!m_link.SendCommand(command)) {
            NoteRefusal(u"the command could not be sent");
            all = FALSE;
            continue;
        }
        // The answer is waited for like a write's: until the phone confirms it the entry may
        // still be there, and its index must not be handed to another number.
        m_link.Wait(1.0f);
        std::u16string reply;
        if (m_link.ReadResponse(reply) < 0 || !at::ReadReply(reply).Accepted()) {
            NoteRefusal(RefusalOf(reply));
            all = FALSE;
            continue;
        }
        if (book != nullptr) {
            book->MarkIndexFree(static_cast<int>(index));
        }
    }
    return all;
}

int CPhoneBookEngine::AllocateIndex() {
    const int highest = m_target.highest;
    if (const CContactBook* book = m_target.book) {
        // Ends at the first index not taken; at most as many rounds as indices are taken.
        for (int candidate = highest; candidate >= 1; --candidate) {
            if (!book->IsIndexTaken(candidate)) {
                return candidate;
            }
        }
    }
    if (m_events.outOfIndices) {
        m_events.outOfIndices();
    }
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
        // The entry stays the number's until the phone confirms its deletion.
        if (!DeleteEntries(indexField, indexField)) {
            return FALSE;
        }
        indexField = 0;
    }
    return TRUE;
}

BOOL CPhoneBookEngine::WriteContact(int position) {
    CContactBook* book = m_target.book;
    CContactEntry* contact = book != nullptr ? book->GetAt(position) : nullptr;
    m_lastWrite = {};
    m_lastCheck.clear();
    if (contact == nullptr) {
        return FALSE;
    }
    if (contact->marks & CContactEntry::MarkName) {
        // Every number goes again under the new name, written over its entry at the index it
        // had. (Deleting the entries first would leave the contact without them, on the phone
        // and after the next read in the program too, when the link fails half-way.)
        contact->marks |= CContactEntry::MarkAllNumbers;
    }
    const std::uint32_t marks = contact->marks;
    // A name or number the phone cannot take stops the whole save before anything is sent, so
    // no entry of the contact is stored under a name the others do not have.
    for (const NumberKind& kind : NumberKind::All()) {
        if ((marks & kind.mark) != 0 && !(contact->*kind.number).empty()) {
            m_lastCheck = CheckEntry(contact->*kind.number, contact->name, kind.kind);
            if (!m_lastCheck.empty()) {
                break;
            }
        }
    }
    if (!m_lastCheck.empty()) {
        // Reported for each number that would have sent something: a write or a deletion.
        for (const NumberKind& kind : NumberKind::All()) {
            if ((marks & kind.mark) != 0 &&
                (!(contact->*kind.number).empty() || contact->*kind.index > 0)) {
                m_lastWrite[static_cast<std::size_t>(kind.kind - 1)] = {SlotOutcome::Refused,
                                                                        m_lastCheck};
            }
        }
        return FALSE;
    }
    std::uint32_t unsaved = 0;
    for (const NumberKind& kind : NumberKind::All()) {
        if ((marks & kind.mark) == 0) {
            continue;
        }
        // Home goes first without a pause; Other waits longer than the rest.
        if (kind.kind == 5) {
            m_link.Wait(2.0f);
        } else if (kind.kind != 1) {
            m_link.Wait(1.0f);
        }
        SlotReport& report = m_lastWrite[static_cast<std::size_t>(kind.kind - 1)];
        m_lastRefusal.clear();
        if (!WriteSlot(contact->*kind.index, kind.kind, contact->*kind.number, contact->name)) {
            unsaved |= kind.mark;
            report = {SlotOutcome::Refused, m_lastRefusal};
        } else if (contact->*kind.index < 0) {
            // Nothing was sent, and nothing will be until the book is read again.
            report.outcome = SlotOutcome::NoIndex;
        } else {
            report.outcome = SlotOutcome::Written;
        }
    }
    // A number the phone did not take keeps its mark, so the next save sends it again.
    contact->marks = unsaved;
    return unsaved == 0 ? TRUE : FALSE;
}

BOOL CPhoneBookEngine::DeleteContactEntries(int position) {
    CContactBook* book = m_target.book;
    CContactEntry* contact = book != nullptr ? book->GetAt(position) : nullptr;
    if (contact == nullptr) {
        return FALSE;
    }
    // Kinds whose entry is gone from the phone; a contact left with some of its entries deleted
    // counts as changed in those numbers, so the book never claims what the phone lost.
    std::uint32_t deleted = 0;
    BOOL all = TRUE;
    auto remove = [&](int index, std::uint32_t mark) {
        if (DeleteEntries(index, index)) {
            deleted |= mark;
        } else {
            all = FALSE;
        }
    };
    if (contact->faxIndex > 0) {
        remove(contact->faxIndex, CContactEntry::MarkFax);
    }
    const std::pair<int*, std::uint32_t> rest[] = {
        {&contact->homeIndex, CContactEntry::MarkHome},
        {&contact->mobileIndex, CContactEntry::MarkMobile},
        {&contact->otherIndex, CContactEntry::MarkOther},
        {&contact->workIndex, CContactEntry::MarkWork}};
    for (const auto& [index, mark] : rest) {
        if (*index > 0) {
            m_link.Wait(1.0f);
            remove(*index, mark);
        }
    }
    contact->marks = all ? 0 : deleted;
    return all;
}
