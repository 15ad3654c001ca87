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
    SimPhoneTest::SetUp();
    SetMemoryType(0);
    // Each test puts the messages it needs.
    phone().Storage("SM").messages.clear();
    phone().Storage("ME").messages.clear();
    ASSERT_EQ(link.Open(), 1);
    engine.SetPortHandle(link.GetPortHandle());
    Forget();
}

void SmsEngineTest::Put(const std::string& storage, int index, int status, const std::string& pdu) {
    phone().Storage(storage).messages[index] = phonesim::SmsMessage{status, pdu};
}

void SmsEngineTest::SetMemoryType(std::uint32_t value) {
    registry().SetDword(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", value);
}

void SmsEngineTest::Forget() {
    phone().ClearTranscript();
    writes_->clear();
}

std::vector<std::uint64_t> SmsEngineTest::Gaps() {
    std::vector<std::uint64_t> gaps;
    for (std::size_t i = 1; i < transcript().size(); ++i) {
        gaps.push_back(transcript()[i].timeMs - transcript()[i - 1].timeMs);
    }
    if (!transcript().empty()) {
        gaps.push_back(clock().NowMs() - transcript().back().timeMs);
    }
    return gaps;
}

void SmsEngineTest::ExpectMessageFull() {
    platform::ExpectedBox box;
    box.text = u"Message full!";
    box.type = platform::MB_OK;
    box.caption = u"Halvex";
    box.owner = 0;
    ui().Expect(box);
}

void SmsEngineTest::LoadInbox() {
    engine.ClearInbox();
    engine.SelectStorage(u"SM", u"SM", u"ME");
    engine.QueryStorage();
    engine.ListMessages(1, CSmsEngine::kInbox);
    engine.SelectStorage(u"ME", u"ME", u"ME");
    engine.QueryStorage();
    engine.ListMessages(0, CSmsEngine::kInbox);
    engine.ListMessages(1, CSmsEngine::kInbox);
}

void SmsEngineTest::LoadOutbox() {
    engine.ClearOutbox();
    engine.SelectStorage(u"SM", u"SM", u"ME");
    engine.QueryStorage();
    engine.ListMessages(3, CSmsEngine::kOutbox);
    engine.SelectStorage(u"ME", u"ME", u"ME");
    engine.QueryStorage();
    engine.ListMessages(3, CSmsEngine::kOutbox);
}

std::string Deliver(const std::string& from, const std::u16string& text, int minute) {
    phonesim::DeliverSpec spec;
    spec.from = from;
    spec.text = text;
    spec.time = phonesim::SmsTime{3, 5, 2, 14, minute, 9, 4};
    return phonesim::BuildDeliver(spec).value();
}

std::string Submit(const std::string& to, const std::u16string& text) {
    phonesim::SubmitSpec spec;
    spec.to = to;
    spec.text = text;
    return phonesim::BuildSubmit(spec).value();
}

std::u16string U16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace halvex::test
