#include "tests/sms/SmsEngineFixture.h"

#include "platform/Win32Types.h"

namespace halvex::test {

namespace {

// The simulated phone's port, with every write kept.
class RecordingPort : public phonesim::SimSerialPort {
public:
    RecordingPort(phonesim::Phone& phone, std::shared_ptr<std::vector<std::string>> writes)
        : SimSerialPort(phone), writes_(std::move(writes)) {}

    bool Write(const platform::BYTE* data, platform::DWORD size,
               platform::DWORD& written) override {
        const bool ok = SimSerialPort::Write(data, size, written);
        if (ok) {
            writes_->emplace_back(reinterpret_cast<const char*>(data), written);
        }
        return ok;
    }

private:
    std::shared_ptr<std::vector<std::string>> writes_;
};

}  // namespace

SmsEngineTest::SmsEngineTest() : writes_(std::make_shared<std::vector<std::string>>()) {
    ports().Add(u"rec0", [this] { return std::make_unique<RecordingPort>(phone(), writes_); });
    SetPortName(u"rec0");
}

void SmsEngineTest::SetUp() {
    SessionTest::SetUp();
    Connect();
    // The user acts a moment later: the probe's answer has arrived, and the first command's purge
    // drops it, as after the program's identification.
    clock().Advance(1000);
    engine.SetPortHandle(session().GetPortHandle());
    Forget();
    ui().Clear();  // the connection's wait cursor
}

void SmsEngineTest::Put(const std::string& storage, int index, int status, const std::string& pdu) {
    phone().Storage(storage).messages[index] = phonesim::SmsMessage{status, pdu};
}

void SmsEngineTest::Forget() {
    phone().ClearTranscript();
    writes_->clear();
}

std::string Deliver(const std::string& from, const std::u16string& text, phonesim::SmsTime time) {
    return phonesim::BuildDeliver({.from = from, .time = time, .text = text}).value();
}

std::string Submit(const std::string& to, const std::u16string& text) {
    return phonesim::BuildSubmit({.to = to, .text = text}).value();
}

std::u16string U16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

Strings Slots(const sms::MessageList& list) {
    Strings slots;
    for (int i = 0; i < list.Count(); ++i) {
        const std::u16string& index = list.Index(i);
        slots.push_back(std::string(index.begin(), index.end()) + "@" +
                        std::to_string(list.Storage(i)));
    }
    return slots;
}

}  // namespace halvex::test
