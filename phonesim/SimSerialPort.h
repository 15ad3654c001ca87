#pragma once
// The simulated phone as a serial port of the platform layer, in the time of the clock in use
// (platform::CurrentHost().clock at every call, so a VirtualClock drives it in tests):
// a read returns the answer bytes that have arrived by now, a purge drops those and leaves the
// bytes still on the line to arrive later, and once the link has dropped every call fails.

#include <memory>
#include <string>

#include "phonesim/Phone.h"
#include "platform/FakeSerialPorts.h"
#include "platform/Host.h"

namespace phonesim {

class SimSerialPort : public platform::SerialDevice {
public:
    // `clock` nullptr: the current host's clock at every call. The phone must outlive the port.
    explicit SimSerialPort(Phone& phone, platform::Clock* clock = nullptr);
    ~SimSerialPort() override;

    bool GetState(platform::DCB& dcb) override;
    bool SetState(const platform::DCB& dcb) override;
    bool GetTimeouts(platform::COMMTIMEOUTS& timeouts) override;
    bool SetTimeouts(const platform::COMMTIMEOUTS& timeouts) override;
    bool EscapeFunction(platform::DWORD function) override;
    bool Purge(platform::DWORD flags) override;
    bool Write(const platform::BYTE* data, platform::DWORD size, platform::DWORD& written) override;
    bool Flush() override;
    bool ClearError(platform::DWORD& errors) override;
    bool Read(platform::BYTE* buffer, platform::DWORD capacity, platform::DWORD& read) override;

    // What the host last set (tests may check the link configured the port).
    const platform::DCB& LineState() const { return dcb_; }
    bool Dtr() const { return dtr_; }
    bool Rts() const { return rts_; }

private:
    friend class SimPortOpener;
    std::uint64_t Now();
    bool Up();

    Phone* phone_;
    platform::Clock* clock_;
    platform::DCB dcb_;
    platform::COMMTIMEOUTS timeouts_;
    bool dtr_ = false;
    bool rts_ = false;
    std::shared_ptr<int> openCount_;
};

// Opens ports onto one phone, one at a time like a real (exclusively opened) serial port.
// Plug Open() into the test platform's FakeSerialPorts under a port name.
class SimPortOpener {
public:
    explicit SimPortOpener(Phone& phone, platform::Clock* clock = nullptr);
    // nullptr while another port onto the phone is open, or when the link is down.
    std::unique_ptr<platform::SerialDevice> Open();
    bool IsOpen() const { return *openCount_ > 0; }

private:
    Phone* phone_;
    platform::Clock* clock_;
    std::shared_ptr<int> openCount_;
};

// Registers `opener` under `name` (e.g. u"sim0"), so that CreateFileW(name, ...) opens a port
// onto its phone. The opener must outlive the registration.
void RegisterSimPort(platform::FakeSerialPorts& ports, const std::u16string& name,
                     SimPortOpener& opener);

}  // namespace phonesim
