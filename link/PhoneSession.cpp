#include "link/PhoneSession.h"

#include <array>

#include "link/RegSettings.h"

using namespace platform;

namespace {

// Text after "AT+CPBS=" for the storage codes 1 to 9; 1 and 3 both mean the SIM.
const std::array<const char16_t*, 9> kStorages = {u"\"SM\"", u"\"ME\"", u"\"SM\"",
                                                  u"\"DC\"", u"\"RC\"", u"\"MC\"",
                                                  u"\"MV\"", u"\"HP\"", u"\"BC\""};

}  // namespace

CPhoneSession::CPhoneSession(phone::Notices& notices) : m_link(notices) {}

// The link closes the port it holds.
CPhoneSession::~CPhoneSession() = default;

BOOL CPhoneSession::Connect() {
    if (!m_link.Open()) {
        return FALSE;
    }
    m_bConnected = TRUE;
    m_bCharsetSelected = false;
    RecallPhoneKind();
    return TRUE;
}

BOOL CPhoneSession::Disconnect() {
    m_bConnected = FALSE;
    m_bSimRead = FALSE;
    m_bPhoneRead = FALSE;
    m_nSelectedStorage = StorageCode(phone::Memory::Sim);
    m_bCharsetSelected = false;
    return m_link.Close();
}

BOOL CPhoneSession::SelectStorage(int code) {
    if (code < 1 || code > static_cast<int>(kStorages.size())) {
        m_link.GetNotices().Tell(phone::Notice::NoSuchStorage);
        return FALSE;
    }
    // Nothing depends on the answer: written, given 2 s, read and dropped.
    std::u16string command = u"AT+CPBS=";
    command += kStorages[static_cast<std::size_t>(code - 1)];
    if (!m_link.SendCommand(command)) {
        return FALSE;
    }
    m_link.Wait(2.0f);
    std::u16string reply;
    m_link.ReadResponse(reply);
    m_nSelectedStorage = code;
    return TRUE;
}

void CPhoneSession::SelectStorageIfNeeded() {
    if (m_nSelectedStorage != StorageCode(m_memory)) {
        SelectStorage(m_memory);
    }
}

int CPhoneSession::GetMaxIndex(phone::Memory memory) const {
    return memory == phone::Memory::Phone ? m_nPhoneMaxIndex : m_nSimMaxIndex;
}

void CPhoneSession::SetMaxIndex(phone::Memory memory, int highest) {
    (memory == phone::Memory::Phone ? m_nPhoneMaxIndex : m_nSimMaxIndex) = highest;
}

BOOL CPhoneSession::IsRead(phone::Memory memory) const {
    return memory == phone::Memory::Phone ? m_bPhoneRead : m_bSimRead;
}

void CPhoneSession::SetRead(phone::Memory memory, BOOL read) {
    (memory == phone::Memory::Phone ? m_bPhoneRead : m_bSimRead) = read;
}

phone::Kind CPhoneSession::DetectPhoneKind() {
    std::u16string command = u"ATI";
    if (!m_link.SendCommand(command)) {
        return phone::Kind::NoAnswer;
    }
    m_link.Wait(0.1f);
    std::u16string reply;
    if (m_link.ReadResponse(reply) <= 0) {
        return phone::Kind::Ordinary;
    }
    return reply.find(u"Nokia") != std::u16string::npos ? phone::Kind::Nokia
                                                        : phone::Kind::Ordinary;
}

void CPhoneSession::RecallPhoneKind() {
    m_phoneKind = settings::ReadPhoneKind();
}

LONG CPhoneSession::RecordPhoneKind(phone::Kind kind) {
    const LONG result = settings::StorePhoneKind(kind);
    RecallPhoneKind();
    return result;
}
