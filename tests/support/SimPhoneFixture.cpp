#include "tests/support/SimPhoneFixture.h"

#include "phonesim/Profile.h"

namespace halvex::test {

SimPhoneTest::SimPhoneTest() : SimPhoneTest("default") {}

SimPhoneTest::SimPhoneTest(const std::string& profile)
    : phone_(phonesim::LoadProfile(profile)), opener_(phone_) {
    phonesim::RegisterSimPort(ports(), kPortName, opener_);
    SetPortName(kPortName);
}

void SimPhoneTest::UseProfile(const std::string& nameOrPath) {
    phone_.Load(phonesim::LoadProfile(nameOrPath));
}

}  // namespace halvex::test
