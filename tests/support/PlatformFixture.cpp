#include "tests/support/PlatformFixture.h"

namespace halvex::test {

PlatformTest::PlatformTest() : host_(platform::Host{&ports_, &registry_, &clock_, &ui_}) {}

void PlatformTest::SetPortName(const std::u16string& name) {
    ASSERT_EQ(
        registry_.SetString(platform::HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", name),
        platform::ERROR_SUCCESS);
}

void PlatformTest::TearDown() {
    for (const auto& problem : ui_.Unexpected())
        ADD_FAILURE() << problem;
    for (const auto& box : ui_.PendingDescriptions())
        ADD_FAILURE() << "expected message box never shown: " << box;
}

}  // namespace halvex::test
