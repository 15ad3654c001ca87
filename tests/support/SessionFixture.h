#pragma once
// Fixture for phone book tests: the simulated phone of SimPhoneTest plus the one phone session,
// created as g_pPhoneSession for each test and deleted afterwards. "MemoryType" is 0 (an
// ordinary phone) unless a test changes it.

#include <cstdint>
#include <string>
#include <vector>

#include "link/PhoneSession.h"
#include "tests/support/SimPhoneFixture.h"

namespace halvex::test {

class SessionTest : public SimPhoneTest {
public:
    CPhoneSession& session() { return *g_pPhoneSession; }

    // Connects and forgets the probe and everything else the phone heard so far.
    void Connect();
    // Stores an entry straight into a memory of the phone ("ME" or "SM").
    void Put(const std::string& memory, int index, const std::string& number,
             const std::u16string& name);
    // Sets "MemoryType" under HKEY_CURRENT_USER\Comm\MemoryType.
    void SetMemoryType(std::uint32_t value);

    // Command lines received from the transcript entry `from` on.
    std::vector<std::string> CommandsFrom(std::size_t from) const;
    // Milliseconds between each command and the next, from the transcript entry `from` on.
    std::vector<std::uint64_t> GapsFrom(std::size_t from) const;
    // "Connection lost, Please Connect again" and similar notices: caption "Halvex", OK and
    // the exclamation icon.
    void ExpectNotice(const std::u16string& text);

protected:
    SessionTest() = default;
    explicit SessionTest(const std::string& profile) : SimPhoneTest(profile) {}
    void SetUp() override;
    void TearDown() override;
};

}  // namespace halvex::test
