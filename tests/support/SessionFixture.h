#pragma once
// Fixture for tests of the phone book and the pages' phone work: the simulated phone of
// SimPhoneTest, starting from the "empty" profile (each test puts what it needs) unless the
// fixture names another, plus the one phone session, created as g_pPhoneSession for each test and
// deleted afterwards. "MemoryType" is 0 (an ordinary phone) unless a test changes it.

#include <cstdint>
#include <string>
#include <vector>

#include "phonebook/PhoneSession.h"
#include "tests/support/SimPhoneFixture.h"

namespace halvex::test {

class SessionTest : public SimPhoneTest {
public:
    CPhoneSession& session() { return *g_pPhoneSession; }

    // Connects and forgets the probe and everything else the phone heard so far.
    void Connect();
    // Connects, reads a memory of the phone book and forgets the commands of the read.
    void ConnectAndRead(int memory = CPhoneSession::MemoryPhone);
    // Stores an entry straight into a memory of the phone ("ME" or "SM").
    void Put(const std::string& memory, int index, const std::string& number,
             const std::u16string& name);
    // Sets "MemoryType" under HKEY_CURRENT_USER\Comm\MemoryType.
    void SetMemoryType(std::uint32_t value);

    // Command lines received from the transcript entry `from` on.
    std::vector<std::string> CommandsFrom(std::size_t from) const;
    // Milliseconds between each command the phone received and the next, and from the last one
    // to now.
    std::vector<std::uint64_t> Gaps();
    // A box with this text and type (buttons, icon, default button), no owner, answered with
    // `answer`; the caption is "Halvex" unless given.
    void ExpectBox(const std::u16string& text, platform::UINT type, int answer = platform::IDOK,
                   const std::u16string& caption = u"Halvex");
    // "Connection lost, Please Connect again" and the other notices: OK and the exclamation icon.
    void ExpectNotice(const std::u16string& text);

protected:
    SessionTest() : SimPhoneTest("empty") {}
    explicit SessionTest(const std::string& profile) : SimPhoneTest(profile) {}
    void SetUp() override;
    void TearDown() override;
};

}  // namespace halvex::test
