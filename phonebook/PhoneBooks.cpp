#include "phonebook/PhoneBooks.h"

#include "phonebook/AtText.h"
#include "phonebook/SameNumber.h"
#include "platform/Win32.h"

using namespace platform;

CPhoneBooks::CPhoneBooks(CPhoneSession& session)
    : m_session(session),
      m_engine(
          session.GetLink(),
          {.linkLost =
               [this] {
                   m_session.GetLink().GetNotices().Tell(phone::Notice::ConnectionLost);
                   m_session.Disconnect();
               },
           .outOfIndices =
               [&session] { session.GetLink().GetNotices().Tell(phone::Notice::OutOfEntryNumber); },
           .unreadableNames =
               [&session](int count) {
                   session.GetLink().GetNotices().Tell(phone::Notice::UnreadableNames,
                                                       phonebook::Decimal(count));
               }}) {}

CPhoneBooks::~CPhoneBooks() = default;

BOOL CPhoneBooks::Connect() {
    m_phoneBook.Clear();
    m_simBook.Clear();
    return m_session.Connect();
}

BOOL CPhoneBooks::CheckDataRead() {
    if (m_session.IsRead(m_session.GetMemoryType())) {
        return TRUE;
    }
    m_session.GetLink().GetNotices().Tell(m_session.GetMemoryType() == phone::Memory::Phone
                                              ? phone::Notice::PhoneNotRead
                                              : phone::Notice::SimNotRead);
    return FALSE;
}

CPhoneBookEngine::Target CPhoneBooks::CurrentTarget() {
    const bool phone = m_session.GetMemoryType() == phone::Memory::Phone;
    return {GetCurrentBook(), m_session.GetMaxIndex(), m_session.GetPhoneKind(),
            phone ? m_phoneLimits : m_simLimits};
}

BOOL CPhoneBooks::SaveContact(int position) {
    m_session.SelectStorageIfNeeded();
    m_engine.SetTarget(CurrentTarget());
    return m_engine.WriteContact(position);
}

BOOL CPhoneBooks::DeleteContact(int position) {
    BeginWaitCursor();
    m_session.SelectStorageIfNeeded();
    m_engine.SetTarget(CurrentTarget());
    const BOOL result = m_engine.DeleteContactEntries(position);
    EndWaitCursor();
    return result;
}

void CPhoneBooks::LoadBook(phone::Memory memory) {
    BeginWaitCursor();
    m_session.SetMemoryType(memory);
    if (!m_session.SelectStorage(memory)) {
        EndWaitCursor();
        return;
    }
    CContactBook& book = Book(memory);
    book.Clear();
    int highest = m_session.GetMaxIndex(memory);
    if (highest == 0) {
        // The range is asked once per memory for the whole run; the query selects the
        // character set too.
        highest = m_engine.QueryIndexRange();
        m_session.SetMaxIndex(memory, highest);
        (memory == phone::Memory::Phone ? m_phoneLimits : m_simLimits) = m_engine.GetLastLimits();
        m_session.SetCharsetSelected(true);
    } else if (!m_session.IsCharsetSelected()) {
        // Takes the place of the plain wait, with the same 2 s.
        m_session.SetCharsetSelected(m_engine.SelectCharacterSet() != FALSE);
    } else {
        m_session.GetLink().Wait(2.0f);
    }
    // Set before reading: a failed read disconnects, which clears it again.
    m_session.SetRead(memory, TRUE);
    if (highest > 0) {
        m_engine.ReadEntries(book, 1, highest);
    }
    EndWaitCursor();
}

std::u16string CPhoneBooks::NameOf(std::u16string_view number) {
    for (const phone::Memory memory : {phone::Memory::Phone, phone::Memory::Sim}) {
        if (!m_session.IsRead(memory)) {
            continue;
        }
        const CContactBook& book = Book(memory);
        for (int i = 0; i < book.GetSize(); ++i) {
            const CContactEntry* contact = book.GetAt(i);
            for (const std::u16string* own : {&contact->home, &contact->work, &contact->mobile,
                                              &contact->fax, &contact->other}) {
                if (phonebook::SameNumber(*own, number)) {
                    return contact->name;
                }
            }
        }
    }
    return u"";
}
