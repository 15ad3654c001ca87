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

std::vector<std::uint64_t> SessionTest::GapsFrom(std::size_t from) const {
    std::vector<std::uint64_t> out;
    for (std::size_t i = from + 1; i < transcript().size(); ++i) {
        out.push_back(transcript()[i].timeMs - transcript()[i - 1].timeMs);
    }
    return out;
}

void SessionTest::ExpectNotice(const std::u16string& text) {
    platform::ExpectedBox box;
    box.text = text;
    box.answer = platform::IDOK;
    box.type = platform::MB_OK | platform::MB_ICONEXCLAMATION;
    box.caption = u"Halvex";
    box.owner = 0;
    ui().Expect(box);
}

}  // namespace halvex::test
