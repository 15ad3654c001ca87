#pragma once
// Base fixture for every test that goes through the platform layer. It installs, for the life of
// the test, a virtual clock (Sleep advances time at once), a scripted user interface, an
// in-memory registry and a set of fake serial ports, and restores the previous host afterwards.
// The host is installed in the constructor, so derived fixtures can use it in theirs.
//
// TearDown fails the test for every message box that was not expected and every expected box
// that never appeared; a fixture that overrides TearDown must call PlatformTest::TearDown().

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/FakeSerialPorts.h"
#include "platform/Host.h"
#include "platform/Registry.h"
#include "tests/support/ScriptedUi.h"

namespace halvex::test {

class PlatformTest : public ::testing::Test {
public:
    platform::VirtualClock& clock() { return clock_; }
    platform::ScriptedUi& ui() { return ui_; }
    platform::Registry& registry() { return registry_; }
    platform::FakeSerialPorts& ports() { return ports_; }

    // Sets HKEY_LOCAL_MACHINE\ExtModems\Bluetooth "Port", where the link finds its port.
    void SetPortName(const std::u16string& name) {
        ASSERT_EQ(registry_.SetString(platform::HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth",
                                      u"Port", name),
                  platform::ERROR_SUCCESS);
    }

protected:
    PlatformTest() : host_(platform::Host{&ports_, &registry_, &clock_, &ui_}) {}
    void TearDown() override {
        for (const auto& problem : ui_.Unexpected())
            ADD_FAILURE() << problem;
        for (const auto& box : ui_.PendingDescriptions())
            ADD_FAILURE() << "expected message box never shown: " << box;
    }

private:
    platform::VirtualClock clock_;
    platform::ScriptedUi ui_;
    platform::Registry registry_;
    platform::FakeSerialPorts ports_;
    platform::ScopedHost host_;
};

}  // namespace halvex::test
