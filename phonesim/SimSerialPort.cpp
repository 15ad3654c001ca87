#include "phonesim/SimSerialPort.h"

#include <algorithm>
#include <cstring>

namespace phonesim {

SimSerialPort::SimSerialPort(Phone& phone, platform::Clock* clock)
    : phone_(&phone), clock_(clock), openCount_(std::make_shared<int>(0)) {
    dcb_.BaudRate = 9600;
    dcb_.ByteSize = 8;
    ++*openCount_;
}

SimSerialPort::~SimSerialPort() {
    --*openCount_;
}

std::uint64_t SimSerialPort::Now() {
    platform::Clock* clock = clock_ ? clock_ : platform::CurrentHost().clock;
    return clock ? clock->NowMs() : 0;
}

bool SimSerialPort::Up() {
    return phone_->LinkUp(Now());
}

bool SimSerialPort::GetState(platform::DCB& dcb) {
    if (!Up())
        return false;
    dcb = dcb_;
    return true;
}

bool SimSerialPort::SetState(const platform::DCB& dcb) {
    if (!Up())
        return false;
    dcb_ = dcb;
    return true;
}

bool SimSerialPort::GetTimeouts(platform::COMMTIMEOUTS& timeouts) {
    if (!Up())
        return false;
    timeouts = timeouts_;
    return true;
}

bool SimSerialPort::SetTimeouts(const platform::COMMTIMEOUTS& timeouts) {
    if (!Up())
        return false;
    timeouts_ = timeouts;
    return true;
}

bool SimSerialPort::EscapeFunction(platform::DWORD function) {
    if (!Up())
        return false;
    switch (function) {
        case platform::SETDTR:
            dtr_ = true;
            return true;
        case platform::CLRDTR:
            dtr_ = false;
            return true;
        case platform::SETRTS:
            rts_ = true;
            return true;
        case platform::CLRRTS:
            rts_ = false;
            return true;
        case platform::SETXON:
        case platform::SETXOFF:
            return true;
        default:
            return false;
    }
}

bool SimSerialPort::Purge(platform::DWORD flags) {
    if (!Up())
        return false;
    // Only what has already reached the host can be thrown away; the rest is still coming.
    if (flags & platform::PURGE_RXCLEAR)
        phone_->Purge(Now());
    return true;
}

bool SimSerialPort::Write(const platform::BYTE* data, platform::DWORD size,
                          platform::DWORD& written) {
    written = 0;
    if (!Up() || (size > 0 && data == nullptr))
        return false;
    phone_->Receive(std::string_view(reinterpret_cast<const char*>(data), size), Now());
    written = size;
    return true;
}

bool SimSerialPort::Flush() {
    return Up();
}

bool SimSerialPort::ClearError(platform::DWORD& errors) {
    errors = 0;
    return Up();
}

bool SimSerialPort::Read(platform::BYTE* buffer, platform::DWORD capacity, platform::DWORD& read) {
    read = 0;
    if (!Up() || (capacity > 0 && buffer == nullptr))
        return false;
    const std::string bytes = phone_->Read(Now(), capacity);
    std::memcpy(buffer, bytes.data(), bytes.size());
    read = static_cast<platform::DWORD>(bytes.size());
    return true;
}

SimPortOpener::SimPortOpener(Phone& phone, platform::Clock* clock)
    : phone_(&phone), clock_(clock), openCount_(std::make_shared<int>(0)) {}

std::unique_ptr<platform::SerialDevice> SimPortOpener::Open() {
    if (*openCount_ > 0)
        return nullptr;
    platform::Clock* clock = clock_ ? clock_ : platform::CurrentHost().clock;
    if (!phone_->LinkUp(clock ? clock->NowMs() : 0))
        return nullptr;
    auto port = std::make_unique<SimSerialPort>(*phone_, clock_);
    // The port counts itself as open in the opener's count instead of its own.
    --*port->openCount_;
    port->openCount_ = openCount_;
    ++*openCount_;
    return port;
}

void RegisterSimPort(platform::FakeSerialPorts& ports, const std::u16string& name,
                     SimPortOpener& opener) {
    ports.Add(name, [&opener] { return opener.Open(); });
}

}  // namespace phonesim
