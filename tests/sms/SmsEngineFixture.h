#pragma once
// The SMS engine on the simulated phone, as the pages use it: on the session's link, connected.
// Every byte the engine writes is recorded too.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "phonesim/PduBuilder.h"
#include "platform/Win32Types.h"
#include "sms/MessageRows.h"
#include "sms/SmsEngine.h"
#include "tests/support/SessionFixture.h"
#include "text/Utf.h"

namespace halvex::test {

using Strings = std::vector<std::string>;
using Ms = std::vector<std::uint64_t>;

// The simulated phone's port, with every write kept.
class RecordingPort : public phonesim::SimSerialPort {
public:
    RecordingPort(phonesim::Phone& phone, std::shared_ptr<Strings> writes)
        : SimSerialPort(phone), writes_(std::move(writes)) {}

    bool Write(const platform::BYTE* data, platform::DWORD size,
               platform::DWORD& written) override {
        const bool ok = SimSerialPort::Write(data, size, written);
        if (ok)
            writes_->emplace_back(reinterpret_cast<const char*>(data), written);
        return ok;
    }

private:
    std::shared_ptr<Strings> writes_;
};

class SmsEngineTest : public SessionTest {
protected:
    SmsEngineTest() {
        ports().Add(u"rec0", [this] { return std::make_unique<RecordingPort>(phone(), writes_); });
        SetPortName(u"rec0");
    }
    void SetUp() override {
        SessionTest::SetUp();
        Connect();
        // The user acts a moment later: the probe's answer has arrived, and the first command's
        // purge drops it, as after the program's identification.
        clock().Advance(1000);
        Forget();
        ui().Clear();  // the connection's wait cursor
    }

    // Puts a message straight into a storage of the phone ("SM" or "ME").
    void Put(const std::string& storage, int index, int status, const std::string& pdu) {
        phone().Storage(storage).messages[index] = phonesim::SmsMessage{status, pdu};
    }
    // Forgets what the phone heard and what was written so far.
    void Forget() {
        phone().ClearTranscript();
        writes_->clear();
    }
    // The writes that reached the port, in order.
    const Strings& Writes() const { return *writes_; }
    // "Message full!": OK, no icon.
    void ExpectMessageFull() { ExpectBox(u"Message full!", platform::MB_OK); }

    CSmsEngine& engine = sms();

private:
    std::shared_ptr<Strings> writes_ = std::make_shared<Strings>();
};

// A received message from `from` with `text`.
inline std::string Deliver(const std::string& from, const std::u16string& text,
                           phonesim::SmsTime time = {}) {
    return phonesim::BuildDeliver({.from = from, .time = time, .text = text}).value();
}
// A message to `to` with `text` as the compose dialog would store it.
inline std::string Submit(const std::string& to, const std::u16string& text) {
    return phonesim::BuildSubmit({.to = to, .text = text}).value();
}
inline std::u16string U16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}
// The entries of a box as "index@storage", in order.
inline Strings Slots(const sms::MessageList& list) {
    Strings slots;
    for (int i = 0; i < list.Count(); ++i)
        slots.push_back(text::ToUtf8(list.Index(i) + u"@" + sms::StorageName(list.Storage(i))));
    return slots;
}

}  // namespace halvex::test
