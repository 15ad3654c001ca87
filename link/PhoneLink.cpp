#include "link/PhoneLink.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <new>
#include <string_view>
#include <vector>

#include "link/PortOpening.h"
#include "link/Reply.h"
#include "link/Utf8Converter.h"
#include "platform/Win32.h"
#include "text/Ascii.h"

using namespace platform;

// The converter takes UTF-16 as little-endian bytes; std::u16string is handed over as it lies.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr DWORD kChunkBytes = 128;
// A phone that never stops talking must not hold the program forever (this is over two hours
// of one-second pauses); every real reply is a few kilobytes at most.
constexpr std::size_t kMaxReplyBytes = 1u << 20;

// Fast mode: the port is looked at this often, and a reply that stops without its final line
// ends after this much silence (longer than the pause between two chunks of the timed mode, so
// a phone that pauses within a reply is still read whole).
constexpr DWORD kPollMs = 5;
constexpr DWORD kQuietMs = 2000;
constexpr DWORD kLineFeedMs = 20;

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text::StartsWithIgnoringCase(text, prefix);
}

// V.250's final result codes, and the mobile equipment's and the message service's errors. The
// prompt is looked for on its own, only when a command expects it.
bool IsFinalResult(std::string_view line) {
    const at::Result result = at::ResultOf(line);
    return result != at::Result::None && result != at::Result::Prompt;
}

enum class Completion { No, Yes, UnlessLineFeedFollows };

// Whether the bytes hold a whole final result line, or end in the prompt when one is due. A
// final line whose carriage return is the last byte so far is whole unless its line feed is
// still on the way.
Completion ReplyComplete(const std::vector<BYTE>& bytes, bool promptExpected) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (promptExpected && text.ends_with("> ")) {
        return Completion::Yes;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            return Completion::No;  // a line still arriving
        }
        if (IsFinalResult(text.substr(start, end - start))) {
            return end + 1 == text.size() && text[end] == '\r' ? Completion::UnlessLineFeedFollows
                                                               : Completion::Yes;
        }
        start = end + 1;
    }
    return Completion::No;
}

}  // namespace

CPhoneLink::CPhoneLink(phone::Notices& notices)
    : m_hPort(NULL_HANDLE),
      m_pTimeouts(new COMMTIMEOUTS),
      m_bOpenResult(FALSE),
      m_notices(notices) {}

CPhoneLink::~CPhoneLink() {
    Close();
    delete m_pTimeouts;
}

BOOL CPhoneLink::Open() {
    // "Port" is taken whole and as it stands now: a port chosen or fixed since the last
    // connection is the one used.
    const std::u16string name = ports::ReadPortName();

    BeginWaitCursor();
    bool cursorOn = true;
    platform::PortFailure why;
    m_hPort = ports::OpenPort(name, why);
    m_bPortOpenFailed = m_hPort == INVALID_HANDLE_VALUE;
    if (m_hPort == INVALID_HANDLE_VALUE) {
        m_notices.Tell(phone::Notice::PortNotOpened, ports::ExplainFailure(name, why));
        Close();
        m_bOpenResult = FALSE;
    } else {
        // A port named for this run is kept once it proved to be one.
        if (!CurrentHost().pendingPort.empty()) {
            ports::StorePortName(name);
        }
        Configure();
        SetTimeouts();
        EscapeCommFunction(m_hPort, SETDTR);
        EscapeCommFunction(m_hPort, SETRTS);
        // The phone's answer to the probe is left unread; the next command's purge drops it.
        while (true) {
            std::u16string probe = u"AT+CGMI=?";
            if (SendCommand(probe)) {
                m_bOpenResult = TRUE;
                if (m_mode == ExchangeMode::Fast) {
                    // A reply ends at its first final line: an answer to the probe still on its
                    // way would pass for the answer to the next command.
                    std::u16string answer;
                    Wait(1.0f);
                    ReadResponse(answer);
                }
                break;
            }
            EndWaitCursor();
            cursorOn = false;
            if (!m_notices.RetryConnect()) {
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
        m_notices.Tell(phone::Notice::PortNotConfigured);
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
    m_received.clear();
    m_bNothingCame = false;
    m_bPortFailed = false;
    m_waitEnd = GetTickCount();
    // A message's text after the prompt is answered only once Ctrl-Z or Esc follows it.
    m_bAnswerExpected = StartsWithNoCase(text, u"AT") || text[0] == 0x1A || text[0] == 0x1B;
    m_bPromptExpected = StartsWithNoCase(text, u"AT+CMGS=") || StartsWithNoCase(text, u"AT+CMGW=");
    DWORD written = 0;
    if (!WriteFile(m_hPort, bytes.data(), size, &written, nullptr) || written != size) {
        m_bAnswerExpected = false;
        return FALSE;
    }
    FlushFileBuffers(m_hPort);
    return TRUE;
}

void CPhoneLink::Wait(float seconds) {
    const float ms = seconds * 1000;
    // Negative, NaN or absurd waits would be undefined as an unsigned conversion.
    if (!(ms >= 1.0f))
        return;
    const DWORD whole = ms >= 4294967295.0f ? MAXDWORD : static_cast<DWORD>(ms);
    if (m_mode == ExchangeMode::Timed) {
        Sleep(whole);
        return;
    }
    // Fast: wait for the answer, not for the clock; a pause with no answer due takes no time.
    if (m_bAnswerExpected && m_received.empty() && !m_bNothingCame && !m_bPortFailed) {
        m_waitEnd = GetTickCount() + whole;
        m_bPortFailed = !AwaitFirstByte(whole);
        m_bNothingCame = !m_bPortFailed && m_received.empty();
    }
}

bool CPhoneLink::ReadChunk(BYTE* chunk, DWORD& got) {
    DWORD errors = 0;
    ClearCommError(m_hPort, &errors, nullptr);
    got = 0;
    if (!ReadFile(m_hPort, chunk, kChunkBytes, &got, nullptr)) {
        m_notices.Tell(phone::Notice::ReadFailed);
        return false;
    }
    return true;
}

bool CPhoneLink::TakeArrived() {
    while (m_received.size() < kMaxReplyBytes) {
        BYTE chunk[kChunkBytes];
        DWORD got = 0;
        if (!ReadChunk(chunk, got))
            return false;
        if (got == 0)
            break;
        m_received.insert(m_received.end(), chunk, chunk + got);
    }
    return true;
}

bool CPhoneLink::AwaitFirstByte(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (!TakeArrived())
            return false;
        if (!m_received.empty() || GetTickCount() - start >= ms)
            return true;
        Sleep(std::min<DWORD>(kPollMs, ms - (GetTickCount() - start)));
    }
}

int CPhoneLink::ReadResponseFast(std::u16string& text) {
    bool failed = m_bPortFailed;
    if (!m_bNothingCame && !failed) {
        DWORD quietSince = GetTickCount();
        std::size_t seen = m_received.size();
        while (m_received.size() < kMaxReplyBytes) {
            const Completion complete = ReplyComplete(m_received, m_bPromptExpected);
            if (complete == Completion::Yes) {
                break;
            }
            if (!TakeArrived()) {
                failed = true;
                break;
            }
            if (m_received.size() != seen) {
                seen = m_received.size();
                quietSince = GetTickCount();
                continue;
            }
            // Silence ends a reply only once it lasted and the caller's wait is over; after a
            // final line, a moment is enough for its line feed.
            const DWORD now = GetTickCount();
            const DWORD quiet = now - quietSince;
            if (complete == Completion::UnlessLineFeedFollows
                    ? quiet >= kLineFeedMs
                    : quiet >= kQuietMs && static_cast<std::int32_t>(now - m_waitEnd) >= 0)
                break;
            Sleep(kPollMs);
        }
    }
    std::vector<BYTE> received;
    received.swap(m_received);
    m_bAnswerExpected = false;
    m_bNothingCame = false;
    m_bPortFailed = false;
    m_waitEnd = GetTickCount();
    if (failed)
        return -1;
    return Decode(received, text);
}

int CPhoneLink::ReadResponse(std::u16string& text) {
    text.clear();
    if (m_mode == ExchangeMode::Fast)
        return ReadResponseFast(text);
    std::vector<BYTE> received;
    while (received.size() < kMaxReplyBytes) {
        BYTE chunk[kChunkBytes];
        DWORD got = 0;
        if (!ReadChunk(chunk, got))
            return -1;
        if (got == 0)
            break;
        try {
            received.reserve(received.size() + got + 1);
        } catch (const std::bad_alloc&) {
            m_notices.Tell(phone::Notice::ReplyTooLarge);
            return -1;
        }
        received.insert(received.end(), chunk, chunk + got);
        Wait(1.0f);
    }
    return Decode(received, text);
}

int CPhoneLink::Decode(std::vector<BYTE>& received, std::u16string& text) {
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
