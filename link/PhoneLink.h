#pragma once
// The serial link to the phone and the exchange of one AT command and its reply.

#include <string>

#include "platform/Win32Types.h"

class CPhoneLink {
public:
    CPhoneLink();
    virtual ~CPhoneLink();
    CPhoneLink(const CPhoneLink&) = delete;
    CPhoneLink& operator=(const CPhoneLink&) = delete;

    // 1 when the port is open, configured and took the probe; shows its own message boxes.
    platform::BOOL Open();
    platform::BOOL Close();
    platform::HANDLE GetPortHandle() const { return m_hPort; }
    // Borrows a handle (the SMS engine takes the session's); the old one is not closed.
    void SetPortHandle(platform::HANDLE handle) { m_hPort = handle; }

    // Appends the carriage return to `text` in place, writes it as UTF-8 after a purge.
    // 1 when every byte reached the port.
    platform::BOOL SendCommand(std::u16string& text);
    void Wait(float seconds);
    // Collects the reply into `text`. Returns its size in bytes of UTF-16 including a
    // terminating null (2n + 2), 0 when nothing arrived, -1 after a port or memory failure.
    int ReadResponse(std::u16string& text);

protected:
    platform::BOOL Configure();
    platform::BOOL SetTimeouts();

    platform::HANDLE m_hPort;
    platform::COMMTIMEOUTS* m_pTimeouts;
    platform::BOOL m_bOpenResult;
};
