#pragma once
// The application's one connection to the phone: whether it is connected, which phone book
// memory the user works with, which storage the phone has selected, and the contacts of both
// memories. The phone book engine it owns holds the one open port.

#include <memory>

#include "phonebook/ContactBook.h"
#include "phonebook/PhoneBookEngine.h"
#include "platform/Win32Types.h"

class CPhoneSession {
public:
    // Memory in use; the same numbers are storage codes ("ME" and "SM").
    static constexpr int MemoryPhone = 2;
    static constexpr int MemorySim = 3;

    CPhoneSession();
    virtual ~CPhoneSession();
    CPhoneSession(const CPhoneSession&) = delete;
    CPhoneSession& operator=(const CPhoneSession&) = delete;

    // Empties both books, then opens the port. 1 when connected.
    platform::BOOL Connect();
    // Clears the connected and read flags, falls back to storage 3 and closes the port; the
    // books and the highest entry numbers are kept.
    platform::BOOL Disconnect();
    platform::BOOL IsConnected() const { return m_bConnected; }
    platform::HANDLE GetPortHandle() const;

    // Sends "AT+CPBS=" for a storage code 1 to 9; nonzero when the command was written.
    platform::BOOL SelectStorage(int code);
    int GetSelectedStorage() const { return m_nSelectedStorage; }

    // The book of the memory in use; "Error Storage Type" and null for any other memory.
    CContactBook* GetCurrentBook();
    void SetMemoryType(int type) { m_nMemoryType = type; }
    int GetMemoryType() const { return m_nMemoryType; }
    // Highest entry number of the memory in use, 0 while unknown.
    int GetMaxIndex() const;
    // 1 when the memory in use has been read since connecting, else tells the user so.
    platform::BOOL CheckDataRead();

    // Write or delete the phone entries of the contact at a position of the current book,
    // selecting the memory's storage first when the phone has another one selected.
    // Each returns 0 when the phone did not confirm every write or deletion.
    platform::BOOL SaveContact(int position);
    platform::BOOL DeleteContact(int position);

    // Reads the phone book of memory 2 or 3 into its book.
    void LoadBook(int type);
    void ClearBook(CContactBook& book) { book.Clear(); }

    // 1 when the identification reply names the maker "Nokia", 0 otherwise, -1 when "ATI"
    // could not be written.
    int DetectNokia();

    CContactBook& GetPhoneBook() { return m_phoneBook; }
    CContactBook& GetSimBook() { return m_simBook; }
    CPhoneBookEngine* GetEngine() { return m_pEngine.get(); }
    int GetPhoneMaxIndex() const { return m_nPhoneMaxIndex; }
    int GetSimMaxIndex() const { return m_nSimMaxIndex; }
    platform::BOOL IsPhoneRead() const { return m_bPhoneRead; }
    platform::BOOL IsSimRead() const { return m_bSimRead; }

private:
    void SelectStorageIfNeeded();

    CContactBook m_phoneBook;
    CContactBook m_simBook;
    platform::BOOL m_bConnected = platform::FALSE;
    int m_nMemoryType = MemoryPhone;
    // After connecting the phone is taken to have the SIM selected.
    int m_nSelectedStorage = MemorySim;
    std::unique_ptr<CPhoneBookEngine> m_pEngine;
    int m_nSimMaxIndex = 0;
    int m_nPhoneMaxIndex = 0;
    platform::BOOL m_bSimRead = platform::FALSE;
    platform::BOOL m_bPhoneRead = platform::FALSE;
    // UTF-8 names were selected on this connection. A reconnected phone may have gone back to
    // its default character set, so every connection selects it again with its first read.
    platform::BOOL m_bCharsetSelected = platform::FALSE;
};

// The one session, created by the application object and deleted when it exits.
extern CPhoneSession* g_pPhoneSession;
