#include <gtest/gtest.h>

#include "link/PhoneLink.h"
#include "platform/HandleTable.h"
#include "platform/TermiosSerialPort.h"
#include "tests/support/PlatformFixture.h"
#include "tests/support/PlatformPty.h"

using namespace platform;

namespace {

// Real time over a pseudo-terminal, waits in virtual time: the whole exchange the link does
// with a phone, in a few milliseconds.
class PhoneLinkPty : public halvex::test::PlatformTest {
protected:
    TermiosSerialPorts termios;
    ScopedHost host{Host{&termios, &registry(), &clock(), &ui()}};
    halvex::test::PtyMaster master;
};

TEST_F(PhoneLinkPty, OpensProbesAndExchangesACommand) {
    ASSERT_TRUE(master.Ok());
    SetPortName(master.PortName());
    CPhoneLink link;
    ASSERT_EQ(link.Open(), 1);  // modem lines are refused by the pty, silently
    EXPECT_EQ(master.Read(10), "AT+CGMI=?\r");

    auto device = HandleTable::Instance().Port(link.GetPortHandle());
    auto* tty = dynamic_cast<TermiosSerialDevice*>(device.get());
    ASSERT_NE(tty, nullptr);
    // The probe's answer arrives and is left unread; the next command purges it.
    ASSERT_TRUE(master.Write("\r\n+CGMI: \r\n\r\nOK\r\n"));
    ASSERT_TRUE(halvex::test::WaitReadable(tty->Descriptor(), 1000));

    std::u16string command = u"AT";
    ASSERT_EQ(link.SendCommand(command), 1);
    EXPECT_EQ(master.Read(3), "AT\r");
    ASSERT_TRUE(master.Write("\r\nOK\r\n"));
    ASSERT_TRUE(halvex::test::WaitReadable(tty->Descriptor(), 1000));
    std::u16string reply;
    EXPECT_EQ(link.ReadResponse(reply), 14);
    EXPECT_EQ(reply, u"\r\nOK\r\n");

    // The far end goes away: the next read reports it.
    master.Close();
    ui().Expect(u"Read port error");
    EXPECT_EQ(link.ReadResponse(reply), -1);
}

}  // namespace
