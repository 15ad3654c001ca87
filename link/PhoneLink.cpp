#include "link/PhoneLink.h"

#include <bit>
#include <new>
#include <vector>

#include "link/Utf8Converter.h"
#include "platform/Win32.h"

using namespace platform;

// The converter takes UTF-16 as little-endian bytes; std::u16string is handed over as it lies.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr const char16_t* kCaption = u"Halvex";
constexpr DWORD kChunkBytes = 128;
// A phone that never stops talking must not hold the program forever (this is over two hours
// of one-second pauses); every real reply is a few kilobytes at most.
constexpr std::size_t kMaxReplyBytes = 1u << 20;

void Notice(const char16_t* text) {
    MessageBoxW(0, text, kCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

CPhoneLink::CPhoneLink()
    : m_hPort(NULL_HANDLE), m_pTimeouts(new COMMTIMEOUTS), m_bOpenResult(FALSE) {}

CPhoneLink::~CPhoneLink() {
    Close();
    delete m_pTimeouts;
}

BOOL CPhoneLink::Open() {
    // "Port" is queried with 20 bytes; the eleventh unit keeps the name terminated whatever the
    // stored value holds.
    char16_t name[11] = {};
    HKEY key = NULL_HANDLE;
    const bool keyOpen = RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", 0,
                                       KEY_ALL_ACCESS, &key) == ERROR_SUCCESS;
    if (keyOpen) {
        DWORD size = 20;
        DWORD type = REG_NONE;
        RegQueryValueExW(key, u"Port", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
        // Ten characters without a null are no name of at most nine: none at all.
        if (name[9] != 0)
            name[0] = 0;
    }

    BeginWaitCursor();
    bool cursorOn = true;
    m_hPort = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, NULL_HANDLE);
    if (m_hPort == INVALID_HANDLE_VALUE) {
        Notice(u"Open port error");
        Close();
        m_bOpenResult = FALSE;
    } else {
        Configure();
        SetTimeouts();
        EscapeCommFunction(m_hPort, SETDTR);
        EscapeCommFunction(m_hPort, SETRTS);
        // The phone's answer to the probe is left unread; the next command's purge drops it.
        while (true) {
            std::u16string probe = u"AT+CGMI=?";
            if (SendCommand(probe)) {
                m_bOpenResult = TRUE;
                break;
            }
            EndWaitCursor();
            cursorOn = false;
            if (MessageBoxW(0, u"Unable to connect to phone.", kCaption,
                            MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
                Close();
                m_bOpenResult = FALSE;
                break;
            }
            BeginWaitCursor();
            cursorOn = true;
        }
    }

    if (cursorOn)
        EndWaitCursor();
    if (keyOpen)
        RegCloseKey(key);
    return m_bOpenResult;
}

BOOL CPhoneLink::Close() {
    BOOL result = CloseHandle(m_hPort);
    m_hPort = NULL_HANDLE;
    return result;
}

BOOL CPhoneLink::Configure() {
    DCB dcb;
    dcb.DCBlength = sizeof(DCB);
    GetCommState(m_hPort, &dcb);
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fTXContinueOnXoff = 1;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = 0;
    if (!SetCommState(m_hPort, &dcb)) {
        Notice(u"Unable to configure the serial port");
        return FALSE;
    }
    return TRUE;
}

BOOL CPhoneLink::SetTimeouts() {
    GetCommTimeouts(m_hPort, m_pTimeouts);
    m_pTimeouts->ReadIntervalTimeout = MAXDWORD;
    m_pTimeouts->ReadTotalTimeoutMultiplier = 0;
    m_pTimeouts->ReadTotalTimeoutConstant = 0;
    m_pTimeouts->WriteTotalTimeoutMultiplier = 10;
    m_pTimeouts->WriteTotalTimeoutConstant = 1000;
    return SetCommTimeouts(m_hPort, m_pTimeouts);
}

BOOL CPhoneLink::SendCommand(std::u16string& text) {
    text.push_back(u'\r');
    CUtf8Converter converter;
    const DWORD sourceBytes = static_cast<DWORD>(text.size() * sizeof(char16_t));
    DWORD size = 0;
    converter.ToUtf8(text.data(), sourceBytes, nullptr, 0, &size);
    std::vector<BYTE> bytes(size, 0);
    if (!converter.ToUtf8(text.data(), sourceBytes, bytes.data(), size, &size))
        return FALSE;

    PurgeComm(m_hPort, PURGE_TXCLEAR | PURGE_RXCLEAR);
    DWORD written = 0;
    if (!WriteFile(m_hPort, bytes.data(), size, &written, nullptr) || written != size)
        return FALSE;
    FlushFileBuffers(m_hPort);
    return TRUE;
}

void CPhoneLink::Wait(float seconds) {
    const float ms = seconds * 1000;
    // Negative, NaN or absurd waits would be undefined as an unsigned conversion.
    if (!(ms >= 1.0f))
        return;
    Sleep(ms >= 4294967295.0f ? MAXDWORD : static_cast<DWORD>(ms));
}

int CPhoneLink::ReadResponse(std::u16string& text) {
    text.clear();
    std::vector<BYTE> received;
    while (received.size() < kMaxReplyBytes) {
        DWORD errors = 0;
        ClearCommError(m_hPort, &errors, nullptr);
        BYTE chunk[kChunkBytes];
        DWORD got = 0;
        if (!ReadFile(m_hPort, chunk, kChunkBytes, &got, nullptr)) {
            Notice(u"Read port error");
            return -1;
        }
        if (got == 0)
            break;
        try {
            received.reserve(received.size() + got + 1);
        } catch (const std::bad_alloc&) {
            Notice(u"realloc Memory error");
            return -1;
        }
        received.insert(received.end(), chunk, chunk + got);
        Wait(1.0f);
    }
    if (received.empty())
        return 0;

    received.push_back(0);
    CUtf8Converter converter;
    DWORD size = 0;
    converter.FromUtf8(received.data(), static_cast<DWORD>(received.size()), nullptr, 0, &size);
    if (size < sizeof(char16_t))
        return 0;
    std::vector<BYTE> utf16(size, 0);
    converter.FromUtf8(received.data(), static_cast<DWORD>(received.size()), utf16.data(), size,
                       &size);
    const std::size_t units = size / sizeof(char16_t) - 1;  // without the terminating null
    text.resize(units);
    for (std::size_t i = 0; i < units; ++i)
        text[i] = static_cast<char16_t>(utf16[2 * i] | (utf16[2 * i + 1] << 8));
    return static_cast<int>(size);
}
