#include "platform/TermiosSerialPort.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <string>
#include <vector>

#include "tests/support/PlatformPty.h"

using namespace platform;
using halvex::test::PtyMaster;

TEST(TermiosPortName, IsADeviceBelowDevOrAnAbsolutePathAndNothingElse) {
    std::vector<std::string> paths;
    for (auto name :
         {u"rfcomm0", u"pts/3", u"/tmp/phone", u"", u"../sda", u"pts/../../etc/x", u"tty\nS0"})
        paths.push_back(TermiosSerialPorts::DevicePath(name));
    EXPECT_EQ(paths, (std::vector<std::string>{"/dev/rfcomm0", "/dev/pts/3", "/tmp/phone", "", "",
                                               "", ""}));
}

// One real-time pass over a pseudo-terminal: raw 9600 8N1, exclusivity, bounded writes, and a
// dropped far end.
TEST(TermiosPort, DrivesAPseudoTerminal) {
    PtyMaster master;
    ASSERT_TRUE(master.Ok());
    TermiosSerialPorts ports;
    auto device = ports.Open(master.PortName());
    ASSERT_NE(device, nullptr) << master.SlavePath();
    EXPECT_EQ(ports.Open(master.PortName()), nullptr);  // exclusive

    DCB dcb;
    ASSERT_TRUE(device->GetState(dcb));
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    EXPECT_TRUE(device->SetState(dcb));
    termios tio{};
    ASSERT_EQ(::tcgetattr(static_cast<TermiosSerialDevice*>(device.get())->Descriptor(), &tio), 0);
    EXPECT_EQ(std::tuple(::cfgetospeed(&tio), tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS),
                         tio.c_lflag & (ICANON | ECHO | ISIG), tio.c_iflag & (IXON | IXOFF | ICRNL),
                         tio.c_cc[VMIN] + tio.c_cc[VTIME]),
              std::tuple(speed_t(B9600), tcflag_t(CS8), tcflag_t(0), tcflag_t(0), 0));
    dcb.BaudRate = 12345;
    EXPECT_FALSE(device->SetState(dcb));

    // Nobody reads the master: the write stops at its time bound and says how far it got.
    ASSERT_TRUE(device->SetTimeouts(COMMTIMEOUTS{MAXDWORD, 0, 0, 0, 100}));
    std::vector<BYTE> big(1 << 20, 'x');
    DWORD count = 0;
    EXPECT_TRUE(device->Write(big.data(), DWORD(big.size()), count));
    EXPECT_LT(count, big.size());

    // The far end goes away: reads report the failure.
    master.Close();
    EXPECT_FALSE(device->Read(big.data(), 128, count));
    EXPECT_EQ(count, 0u);
}
