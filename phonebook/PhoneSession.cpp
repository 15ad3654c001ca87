#include "phonebook/PhoneSession.h"

#include <array>

#include "platform/Win32.h"

using namespace platform;

CPhoneSession* g_pPhoneSession = nullptr;

namespace {

void ShowNotice(const char16_t* text) {
    MessageBoxW(0, text, u"Halvex", MB_OK | MB_ICONEXCLAMATION);
}

// Text after "AT+CPBS=" for the storage codes 1 to 9; 1 and 3 both mean the SIM.
const std::array<const char16_t*, 9> kStorages = {u"\"SM\"", u"\"ME\"", u"\"SM\"",
                                                  u"\"DC\"", u"\"RC\"", u"\"MC\"",
                                                  u"\"MV\"", u"\"HP\"", u"\"BC\""};

}  // namespace

CPhoneSession::CPhoneSession() : m_pEngine(std::make_unique<CPhoneBookEngine>(*this)) {}

CPhoneSession::~CPhoneSession() {
    // The engine closes the port it holds.
    m_pEngine.reset();
    ClearBook(m_phoneBook);
    ClearBook(m_simBook);
}

BOOL CPhoneSession::Connect() {
    ClearBook(m_phoneBook);
    ClearBook(m_simBook);
    if (!m_pEngine || !m_pEngine->Open()) {
        return FALSE;
    }
    m_bConnected = TRUE;
    m_bCharsetSelected = FALSE;
    return TRUE;
}

BOOL CPhoneSession::Disconnect() {
    m_bConnected = FALSE;
    m_bSimRead = FALSE;
    m_bPhoneRead = FALSE;
    m_nSelectedStorage = MemorySim;
    m_bCharsetSelected = FALSE;
    return m_pEngine ? m_pEngine->Close() : FALSE;
}

HANDLE CPhoneSession::GetPortHandle() const {
    return m_pEngine ? m_pEngine->GetPortHandle() : NULL_HANDLE;
}

BOOL CPhoneSession::SelectStorage(int code) {
    if (code < 1 || code > static_cast<int>(kStorages.size())) {
        ShowNotice(u"No this storage type");
        return FALSE;
    }
    if (!m_pEngine ||
        !m_pEngine->SelectPhoneStorage(kStorages[static_cast<std::size_t>(code - 1)])) {
        return FALSE;
    }
    m_nSelectedStorage = code;
    return TRUE;
}

CContactBook* CPhoneSession::GetCurrentBook() {
    if (m_nMemoryType == MemoryPhone) {
        return &m_phoneBook;
    }
    if (m_nMemoryType == MemorySim) {
        return &m_simBook;
    }
    ShowNotice(u"Error Storage Type");
    return nullptr;
}

int CPhoneSession::GetMaxIndex() const {
    if (m_nMemoryType == MemoryPhone) {
        return m_nPhoneMaxIndex;
    }
    if (m_nMemoryType == MemorySim) {
        return m_nSimMaxIndex;
    }
    return 0;
}

BOOL CPhoneSession::CheckDataRead() {
    if (m_nMemoryType == MemoryPhone && !m_bPhoneRead) {
        ShowNotice(u"Please get phone data first.");
        return FALSE;
    }
    if (m_nMemoryType == MemorySim && !m_bSimRead) {
        ShowNotice(u"Please get SIM Data first");
        return FALSE;
    }
    return TRUE;
}

void CPhoneSession::SelectStorageIfNeeded() {
    if (m_nSelectedStorage != m_nMemoryType) {
        SelectStorage(m_nMemoryType);
    }
}

BOOL CPhoneSession::SaveContact(int position) {
    SelectStorageIfNeeded();
    return m_pEngine ? m_pEngine->WriteContact(position) : FALSE;
}

BOOL CPhoneSession::DeleteContact(int position) {
    BeginWaitCursor();
    SelectStorageIfNeeded();
    const BOOL result = m_pEngine ? m_pEngine->DeleteContactEntries(position) : FALSE;
    EndWaitCursor();
    return result;
}

void CPhoneSession::LoadBook(int type) {
    BeginWaitCursor();
    m_nMemoryType = type;
    CContactBook* book = nullptr;
    if (SelectStorage(type)) {
        book = GetCurrentBook();
    }
    if (book == nullptr) {
        EndWaitCursor();
        return;
    }
    ClearBook(*book);
    int& highest = type == MemoryPhone ? m_nPhoneMaxIndex : m_nSimMaxIndex;
    BOOL& read = type == MemoryPhone ? m_bPhoneRead : m_bSimRead;
    if (highest == 0) {
        // The range is asked once per memory for the whole run; the query selects UTF-8 too.
        highest = m_pEngine->QueryIndexRange();
        m_bCharsetSelected = TRUE;
    } else if (!m_bCharsetSelected) {
        // Takes the place of the plain wait, with the same 2 s.
        m_bCharsetSelected = m_pEngine->SelectCharacterSet();
    } else {
        m_pEngine->Wait(2.0f);
    }
    // Set before reading: a failed read disconnects, which clears it again.
    read = TRUE;
    if (highest > 0) {
        m_pEngine->ReadEntries(*book, 1, highest);
    }
    EndWaitCursor();
}

int CPhoneSession::DetectNokia() {
    if (!m_pEngine) {
        return -1;
    }
    std::u16string command = u"ATI";
    if (!m_pEngine->SendCommand(command)) {
        return -1;
    }
    m_pEngine->Wait(0.1f);
    std::u16string reply;
    if (m_pEngine->ReadResponse(reply) <= 0) {
        return 0;
    }
    return reply.find(u"Nokia") != std::u16string::npos ? 1 : 0;
}
