#include "platform/TermiosSerialPort.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>

#include "tests/support/PlatformPty.h"

using namespace platform;
using halvex::test::PtyMaster;
using halvex::test::WaitReadable;

TEST(TermiosPortName, IsADeviceBelowDevOrAnAbsolutePathAndNothingElse) {
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u"rfcomm0"), "/dev/rfcomm0");
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u"pts/3"), "/dev/pts/3");
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u"/tmp/phone"), "/tmp/phone");
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u""), "");
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u"../sda"), "");
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u"pts/../../etc/x"), "");
    EXPECT_EQ(TermiosSerialPorts::DevicePath(u"tty\nS0"), "");
}

TEST(TermiosPort, RefusesMissingDevicesAndFilesThatAreNoTerminal) {
    TermiosSerialPorts ports;
    EXPECT_EQ(ports.Open(u"halvex-no-such-port"), nullptr);
    EXPECT_EQ(ports.Open(u"null"), nullptr);  // /dev/null is a device, but no terminal
}

// One real-time pass over a pseudo-terminal: raw 9600 8N1, modem lines refused without harm,
// bytes both ways, purge, exclusivity, bounded writes, and a dropped far end.
TEST(TermiosPort, DrivesAPseudoTerminal) {
    PtyMaster master;
    ASSERT_TRUE(master.Ok());
    TermiosSerialPorts ports;
    auto device = ports.Open(master.PortName());
    ASSERT_NE(device, nullptr) << master.SlavePath();
    auto* tty = static_cast<TermiosSerialDevice*>(device.get());
    EXPECT_EQ(ports.Open(master.PortName()), nullptr);  // exclusive

    DCB dcb;
    ASSERT_TRUE(device->GetState(dcb));
    dcb.BaudRate = 9600;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fParity = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    EXPECT_TRUE(device->SetState(dcb));
    termios tio{};
    ASSERT_EQ(::tcgetattr(tty->Descriptor(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    DCB back;
    ASSERT_TRUE(device->GetState(back));
    EXPECT_EQ(back.BaudRate, 9600u);
    EXPECT_EQ(back.ByteSize, 8);
    dcb.BaudRate = 12345;
    EXPECT_FALSE(device->SetState(dcb));

    // A pseudo-terminal has no modem lines: the calls fail, the port goes on working.
    EXPECT_FALSE(device->EscapeFunction(SETDTR));
    EXPECT_FALSE(device->EscapeFunction(SETRTS));

    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 10, 1000};
    ASSERT_TRUE(device->SetTimeouts(timeouts));
    BYTE buffer[128];
    DWORD count = 99;
    EXPECT_TRUE(device->Read(buffer, sizeof buffer, count));  // nothing yet: returns at once
    EXPECT_EQ(count, 0u);

    EXPECT_TRUE(device->Write(reinterpret_cast<const BYTE*>("AT\r"), 3, count));
    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(device->Flush());
    EXPECT_EQ(master.Read(3), "AT\r");

    ASSERT_TRUE(master.Write("stale"));
    ASSERT_TRUE(WaitReadable(tty->Descriptor(), 1000));
    EXPECT_TRUE(device->Purge(PURGE_TXCLEAR | PURGE_RXCLEAR));
    ASSERT_TRUE(master.Write("\r\nOK\r\n"));
    ASSERT_TRUE(WaitReadable(tty->Descriptor(), 1000));
    std::string got;
    for (int i = 0; i < 100 && got.size() < 6; ++i) {
        ASSERT_TRUE(device->Read(buffer, sizeof buffer, count));
        got.append(reinterpret_cast<char*>(buffer), count);
        if (got.size() < 6)
            WaitReadable(tty->Descriptor(), 100);
    }
    EXPECT_EQ(got, "\r\nOK\r\n");

    // Nobody reads the master: the write stops at its time bound and says how far it got.
    timeouts.WriteTotalTimeoutMultiplier = 0;
    timeouts.WriteTotalTimeoutConstant = 100;
    ASSERT_TRUE(device->SetTimeouts(timeouts));
    std::vector<BYTE> big(1 << 20, 'x');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(device->Write(big.data(), DWORD(big.size()), count));
    EXPECT_LT(count, big.size());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_TRUE(device->Purge(PURGE_TXCLEAR));

    // The far end goes away: reads report the failure.
    master.Close();
    EXPECT_FALSE(device->Read(buffer, sizeof buffer, count));
    EXPECT_EQ(count, 0u);
}
