#pragma once
// The application's one connection to the phone: the link it owns, whether it is connected,
// which phone book memory the user works with, which storage the phone has selected, what the
// reads of each memory found, and the kind of phone. The engines are given its link; none of
// them calls back into it.

#include <optional>
#include <string>

#include "link/PhoneKinds.h"
#include "link/PhoneLink.h"
#include "platform/Win32Types.h"

class CPhoneSession {
public:
    // The link tells `notices` what goes wrong, and so does everything working on it.
    explicit CPhoneSession(phone::Notices& notices);
    ~CPhoneSession();
    CPhoneSession(const CPhoneSession&) = delete;
    CPhoneSession& operator=(const CPhoneSession&) = delete;

    // Opens the port. 1 when connected.
    platform::BOOL Connect();
    // Clears the connected and read flags, falls back to the SIM's storage and closes the port;
    // the highest entry numbers are kept.
    platform::BOOL Disconnect();
    platform::BOOL IsConnected() const { return m_bConnected; }
    platform::HANDLE GetPortHandle() const { return m_link.GetPortHandle(); }
    CPhoneLink& GetLink() { return m_link; }
    // The last Connect failed at the port itself: choosing another port is what helps.
    bool PortOpenFailed() const { return m_link.PortOpenFailed(); }

    // Sends "AT+CPBS=" for a storage code 1 to 9 and gives it 2 s; nonzero when the command was
    // written. Codes 2 and 3 are the phone's memory and the SIM (StorageCode).
    platform::BOOL SelectStorage(int code);
    platform::BOOL SelectStorage(phone::Memory memory) {
        return SelectStorage(StorageCode(memory));
    }
    int GetSelectedStorage() const { return m_nSelectedStorage; }
    static constexpr int StorageCode(phone::Memory memory) {
        return memory == phone::Memory::Phone ? 2 : 3;
    }
    // Selects the storage of the memory in use when the phone has another one selected.
    void SelectStorageIfNeeded();

    void SetMemoryType(phone::Memory memory) { m_memory = memory; }
    phone::Memory GetMemoryType() const { return m_memory; }
    // Highest entry number of a memory (of the memory in use without one), 0 while unknown.
    int GetMaxIndex() const { return GetMaxIndex(m_memory); }
    int GetMaxIndex(phone::Memory memory) const;
    void SetMaxIndex(phone::Memory memory, int highest);
    int GetPhoneMaxIndex() const { return m_nPhoneMaxIndex; }
    int GetSimMaxIndex() const { return m_nSimMaxIndex; }
    // Whether a memory was read since connecting.
    platform::BOOL IsRead(phone::Memory memory) const;
    void SetRead(phone::Memory memory, platform::BOOL read);
    platform::BOOL IsPhoneRead() const { return m_bPhoneRead; }
    platform::BOOL IsSimRead() const { return m_bSimRead; }
    // UTF-8 names were selected on this connection. A reconnected phone may have gone back to
    // its default character set, so every connection selects it again with its first read.
    bool IsCharsetSelected() const { return m_bCharsetSelected; }
    void SetCharsetSelected(bool selected) { m_bCharsetSelected = selected; }

    // Asks "ATI": the kind of phone by the maker its identification names, NoAnswer when "ATI"
    // could not be written. The settings keep it for the pages ("MemoryType"); RecallPhoneKind
    // takes it from there.
    phone::Kind DetectPhoneKind();
    // Stores a kind in the settings and recalls it.
    platform::LONG RecordPhoneKind(phone::Kind kind);
    // Reads the kind the settings hold; nothing when they cannot be read. Each connection
    // recalls it; the engines are handed it instead of reading the settings themselves.
    void RecallPhoneKind();
    std::optional<phone::Kind> GetPhoneKind() const { return m_phoneKind; }

private:
    CPhoneLink m_link;
    platform::BOOL m_bConnected = platform::FALSE;
    phone::Memory m_memory = phone::Memory::Phone;
    // After connecting the phone is taken to have the SIM selected.
    int m_nSelectedStorage = StorageCode(phone::Memory::Sim);
    int m_nSimMaxIndex = 0;
    int m_nPhoneMaxIndex = 0;
    platform::BOOL m_bSimRead = platform::FALSE;
    platform::BOOL m_bPhoneRead = platform::FALSE;
    bool m_bCharsetSelected = false;
    std::optional<phone::Kind> m_phoneKind;
};
