#pragma once
// The contacts of both phone book memories and the phone book work on them: reading a memory,
// saving and deleting a contact, each on the session's connection. The session keeps what the
// connection knows (memory in use, selected storage, highest indices, read flags); this object
// keeps the books and the engine that fills them, and decides what a failed read means for the
// connection.

#include <string>
#include <string_view>

#include "link/PhoneKinds.h"
#include "link/PhoneSession.h"
#include "phonebook/ContactBook.h"
#include "phonebook/PhoneBookEngine.h"
#include "platform/Win32Types.h"

class CPhoneBooks {
public:
    explicit CPhoneBooks(CPhoneSession& session);
    ~CPhoneBooks();
    CPhoneBooks(const CPhoneBooks&) = delete;
    CPhoneBooks& operator=(const CPhoneBooks&) = delete;

    // Empties both books, then connects the session. 1 when connected.
    platform::BOOL Connect();

    // The book of the memory in use.
    CContactBook* GetCurrentBook() { return &Book(m_session.GetMemoryType()); }
    CContactBook& Book(phone::Memory memory) {
        return memory == phone::Memory::Phone ? m_phoneBook : m_simBook;
    }
    CContactBook& GetPhoneBook() { return m_phoneBook; }
    CContactBook& GetSimBook() { return m_simBook; }
    // 1 when the memory in use has been read since connecting, else tells the user so.
    platform::BOOL CheckDataRead();

    // Reads the phone book of a memory into its book, making it the memory in use.
    void LoadBook(phone::Memory memory);
    // Write or delete the phone entries of the contact at a position of the current book,
    // selecting the memory's storage first when the phone has another one selected.
    // Each returns 0 when the phone did not confirm every write or deletion.
    platform::BOOL SaveContact(int position);
    platform::BOOL DeleteContact(int position);

    // The name of the first contact in the phone memory's book, then the SIM's, with a number
    // that reaches the same phone (phonebook::SameNumber); only books read since connecting
    // count. Empty when none.
    std::u16string NameOf(std::u16string_view number);

    CPhoneBookEngine& GetEngine() { return m_engine; }
    CPhoneSession& GetSession() { return m_session; }

private:
    CPhoneBookEngine::Target CurrentTarget();

    CPhoneSession& m_session;
    CContactBook m_phoneBook;
    CContactBook m_simBook;
    // What each memory takes, as its range reply said (asked once per memory, like the range).
    CPhoneBookEngine::Limits m_phoneLimits;
    CPhoneBookEngine::Limits m_simLimits;
    CPhoneBookEngine m_engine;
};
