#pragma once
// The serial link to the phone and the exchange of one AT command and its reply.

#include <string>
#include <vector>

#include "link/Notices.h"
#include "platform/Win32Types.h"

// How a reply is read. Timed: after the caller's fixed wait, a chunk at a time with a second
// between chunks, until a read finds nothing. Fast: the caller's wait is the longest time to wait
// for the first byte; the reply ends as soon as it holds its final result line (or the "> "
// prompt a command expects), polled every few milliseconds; pauses that wait for nothing are
// skipped. Either way the same commands go out in the same order.
enum class ExchangeMode { Timed, Fast };

class CPhoneLink {
public:
    // What the link has to tell the user goes to `notices`.
    explicit CPhoneLink(phone::Notices& notices);
    virtual ~CPhoneLink();
    CPhoneLink(const CPhoneLink&) = delete;
    CPhoneLink& operator=(const CPhoneLink&) = delete;

    // 1 when the port is open, configured and took the probe; what failed is told to the notices.
    platform::BOOL Open();
    platform::BOOL Close();
    // The last Open failed at the port itself (none set, or it would not open), not at the
    // phone: choosing another port is what helps.
    bool PortOpenFailed() const { return m_bPortOpenFailed; }
    platform::HANDLE GetPortHandle() const { return m_hPort; }

    // Appends the carriage return to `text` in place, writes it as UTF-8 after a purge.
    // 1 when every byte reached the port.
    platform::BOOL SendCommand(std::u16string& text);
    void Wait(float seconds);
    // Collects the reply into `text`. Returns its size in bytes of UTF-16 including a
    // terminating null (2n + 2), 0 when nothing arrived, -1 after a port or memory failure.
    int ReadResponse(std::u16string& text);

    // Where the link, and whoever works on it, tells the user what went wrong.
    phone::Notices& GetNotices() const { return m_notices; }

    // Timed unless the user chose fast.
    void SetExchangeMode(ExchangeMode mode) { m_mode = mode; }
    ExchangeMode GetExchangeMode() const { return m_mode; }

protected:
    platform::BOOL Configure();
    platform::BOOL SetTimeouts();

    platform::HANDLE m_hPort;
    platform::COMMTIMEOUTS* m_pTimeouts;
    platform::BOOL m_bOpenResult;

private:
    // Reads what the port holds, up to one chunk (128 bytes) into `chunk`; false after a port
    // failure (told to the user).
    bool ReadChunk(platform::BYTE* chunk, platform::DWORD& got);

    // Fast mode.
    // Takes what has arrived into m_received; false after a port failure (told to the user).
    bool TakeArrived();
    // Polls until a byte is there or `ms` pass; false after a port failure.
    bool AwaitFirstByte(platform::DWORD ms);
    int ReadResponseFast(std::u16string& text);
    // The reply's bytes as text (see ReadResponse for the result).
    static int Decode(std::vector<platform::BYTE>& received, std::u16string& text);

    phone::Notices& m_notices;
    ExchangeMode m_mode = ExchangeMode::Timed;
    bool m_bPortOpenFailed = false;
    // The reply under way: bytes taken from the port so far.
    std::vector<platform::BYTE> m_received;
    // The last command written is one the phone answers (an AT command, Ctrl-Z or Esc; not the
    // text of a message after the prompt), and whether the answer ends in the "> " prompt.
    bool m_bAnswerExpected = false;
    bool m_bPromptExpected = false;
    // The caller's wait passed without a byte: the reply is empty, no need to wait again.
    bool m_bNothingCame = false;
    // The port failed while waiting (and said so).
    bool m_bPortFailed = false;
    // When the caller's wait for this reply would have ended: a reply is never given up for
    // silence before then.
    platform::DWORD m_waitEnd = 0;
};
