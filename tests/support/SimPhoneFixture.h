#pragma once
// Fixture for tests that talk to the simulated phone through the platform layer, in virtual
// time. On top of PlatformTest (virtual clock, scripted UI, in-memory registry, fake ports) it
// builds a phonesim::Phone from a profile, registers a serial port onto it as "sim0", and writes
// "sim0" as "Port" under HKEY_LOCAL_MACHINE\ExtModems\Bluetooth, so CPhoneLink::Open finds it.
//
//   class InboxTest : public halvex::test::SimPhoneTest {};
//   TEST_F(InboxTest, ListsUnread) {
//       UseProfile("small-sim");
//       phone().AddFault(phonesim::Fault::ErrorReply("AT+CMGD"));
//       ... drive CPhoneLink / engines ...
//       EXPECT_EQ(commands(), (std::vector<std::string>{"AT+CGMI=?", "ATI"}));
//       EXPECT_EQ(transcript()[1].timeMs, 100u);     // virtual ms when the line arrived
//   }
//
// A fixture choosing a profile for all its tests: `MyTest() : SimPhoneTest("nokia") {}`. How the
// phone answers, and how fast, is in phonesim/README.md. The transcript holds each command line
// without its CR, and each PDU entered at the "> " prompt (pdu == true, without Ctrl-Z).

#include <string>
#include <vector>

#include "phonesim/Fault.h"
#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/SimSerialPort.h"
#include "tests/support/PlatformFixture.h"

namespace halvex::test {

class SimPhoneTest : public PlatformTest {
public:
    static constexpr const char16_t* kPortName = u"sim0";

    phonesim::Phone& phone() { return phone_; }
    // Every command line (and prompt PDU) the phone received, with its virtual time.
    const std::vector<phonesim::TranscriptEntry>& transcript() const { return phone_.Transcript(); }
    // The same, lines only.
    std::vector<std::string> commands() const { return phone_.CommandLines(); }
    // Messages the phone sent on to the network (AT+CMGS, AT+CMSS).
    const std::vector<phonesim::SentMessage>& sent() const { return phone_.Sent(); }

    // A shipped profile by name ("default", "nokia", "small-sim", "empty", "full") or a file;
    // it replaces the phone's state, timing, faults and transcript, on the same port.
    void UseProfile(const std::string& nameOrPath) {
        phone_.Load(phonesim::LoadProfile(nameOrPath));
    }

    // True while a port onto the phone is open (the link has not closed it).
    bool PortOpen() const { return opener_.IsOpen(); }

protected:
    explicit SimPhoneTest(const std::string& profile = "default")
        : phone_(phonesim::LoadProfile(profile)), opener_(phone_) {
        phonesim::RegisterSimPort(ports(), kPortName, opener_);
        SetPortName(kPortName);
    }

private:
    phonesim::Phone phone_;
    phonesim::SimPortOpener opener_;
};

}  // namespace halvex::test
