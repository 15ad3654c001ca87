#include "tests/support/SessionFixture.h"

#include "platform/Win32Types.h"

namespace halvex::test {

void SessionTest::SetUp() {
    SimPhoneTest::SetUp();
    SetMemoryType(0);
    g_pPhoneSession = new CPhoneSession;
}

void SessionTest::TearDown() {
    delete g_pPhoneSession;
    g_pPhoneSession = nullptr;
    SimPhoneTest::TearDown();
}

void SessionTest::Connect() {
    ASSERT_TRUE(session().Connect());
    phone().ClearTranscript();
}

void SessionTest::ConnectAndRead(int memory) {
    Connect();
    session().LoadBook(memory);
    phone().ClearTranscript();
}

void SessionTest::Put(const std::string& memory, int index, const std::string& number,
                      const std::u16string& name) {
    phonesim::PhonebookEntry entry;
    entry.number = number;
    entry.type = !number.empty() && number[0] == '+' ? 145 : 129;
    entry.name = name;
    phone().Phonebook(memory).entries[index] = entry;
}

void SessionTest::SetMemoryType(std::uint32_t value) {
    registry().SetDword(platform::HKEY_CURRENT_USER, u"Comm\\MemoryType", u"MemoryType", value);
}

std::vector<std::string> SessionTest::CommandsFrom(std::size_t from) const {
    std::vector<std::string> out;
    for (std::size_t i = from; i < transcript().size(); ++i) {
        out.push_back(transcript()[i].line);
    }
    return out;
}

std::vector<std::uint64_t> SessionTest::Gaps() {
    std::vector<std::uint64_t> out;
    for (std::size_t i = 1; i < transcript().size(); ++i) {
        out.push_back(transcript()[i].timeMs - transcript()[i - 1].timeMs);
    }
    if (!transcript().empty()) {
        out.push_back(clock().NowMs() - transcript().back().timeMs);
    }
    return out;
}

void SessionTest::ExpectBox(const std::u16string& text, platform::UINT type, int answer,
                            const std::u16string& caption) {
    ui().Expect(platform::ExpectedBox{text, answer, type, caption, platform::HWND{0}, {}});
}

void SessionTest::ExpectNotice(const std::u16string& text) {
    ExpectBox(text, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace halvex::test
