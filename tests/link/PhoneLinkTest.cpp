#include <gtest/gtest.h>

#include <algorithm>

#include "app/BoxNotices.h"
#include "link/ErrorResults.h"
#include "link/PhoneLink.h"
#include "platform/HandleTable.h"
#include "platform/Registry.h"
#include "platform/Win32.h"
#include "tests/support/PlatformFixture.h"
#include "tests/support/Process.h"
#include "tests/support/ScriptedPort.h"

using namespace platform;

namespace {

ExpectedBox Box(std::u16string text, UINT type, int answer = IDOK) {
    return ExpectedBox{std::move(text), answer, type, u"Halvex", HWND(0), {}};
}
ExpectedBox NoPhone(int answer) {
    return Box(u"Unable to connect to phone.", MB_RETRYCANCEL | MB_ICONEXCLAMATION, answer);
}

class PhoneLinkTest : public halvex::test::PlatformTest {
protected:
    PhoneLinkTest() : port(clock()) {
        ports().Add(u"rfcomm0", port.Factory());
        SetPortName(u"rfcomm0");
    }

    // Sends `command`, waits `seconds`, reads; returns the length and leaves the text in `reply`.
    int Exchange(std::u16string command, float seconds) {
        EXPECT_EQ(link.SendCommand(command), 1);
        link.Wait(seconds);
        return link.ReadResponse(reply);
    }
    // What happened on the port after event `from`, without the error clearing before each read.
    std::vector<std::string> EventsFrom(std::size_t from) const {
        std::vector<std::string> out = port->events;
        out.erase(out.begin(), out.begin() + from);
        std::erase(out, "clear");
        return out;
    }

    ScriptedPort port;
    app::BoxNotices notices;
    CPhoneLink link{notices};
    std::u16string reply;
};

// Every way of not having a usable port ends in "Open port error" with the port's name and what
// to do, once, under the wait cursor, with no handle left open. An odd name never reaches the
// ports at all.
TEST_F(PhoneLinkTest, NoUsablePortIsOpenPortErrorWithItsReason) {
    ports().Add(u"ttyUSB0", port.Factory());
    PortFailure denied{PortFailure::Kind::Denied, "/dev/ttyACM0", "", "dialout", false, {}, {}};
    PortFailure held{
        PortFailure::Kind::Held, "/dev/ttyACM1", "", "", false, {{712, "ModemManager", false}}, {}};
    ports().FailWith(u"ttyACM0", denied);
    ports().FailWith(u"ttyACM1", held);
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"",
         u"No port is set for the phone. Choose it with \"Choose phone...\" in the Phone menu "
         u"(halvex-cli: --port NAME; \"halvex-cli ports\" lists them)."},
        {u"../sda", u"\"../sda\" is not a port name: it holds \"..\"."},
        {u"tty\x1b[2J", u"\"tty\x1b[2J\" is not a port name: it holds a control character."},
        {u"rfcomm7", u"rfcomm7 does not exist. Ports there are: rfcomm0 ttyUSB0"},
        {u"ttyACM0",
         u"/dev/ttyACM0: permission denied. Its group is \"dialout\" and you are not in it. Join "
         u"it with: sudo usermod -aG dialout $USER (then log out and in again)."},
        {u"ttyACM1",
         u"/dev/ttyACM1 is held by another program: ModemManager (process 712). ModemManager "
         u"manages the phone: let Halvex pause it when the window asks, or stop it with: sudo "
         u"systemctl stop ModemManager"},
    };
    const std::size_t handles = HandleTable::Instance().OpenCount();
    for (const auto& [name, reason] : cases) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        if (name.empty())
            registry().DeleteValue(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port");
        else
            SetPortName(name);
        ui().Expect(Box(u"Open port error\n\n" + reason, MB_OK | MB_ICONEXCLAMATION));
        const int opened = link.Open();
        EXPECT_EQ(std::tuple(opened, link.GetPortHandle(), ui().Boxes().back().cursorDepth,
                             ui().CursorDepth(), HandleTable::Instance().OpenCount()),
                  std::tuple(0, NULL_HANDLE, 1, 0, handles));
    }
    EXPECT_EQ(ports().OpenLog(), (std::vector<std::u16string>{u"rfcomm7", u"ttyACM0", u"ttyACM1"}));
}

// The name is read whole: a stable by-id name of any length is the port, as it stands.
TEST_F(PhoneLinkTest, ALongPortNameIsUsedWhole) {
    const std::u16string stable = u"/dev/serial/by-id/usb-Quectel_EG25-if02-port0";
    ports().Add(stable, port.Factory());
    ports().Add(stable.substr(0, 9), port.Factory());
    SetPortName(stable);
    EXPECT_EQ(link.Open(), 1);
    EXPECT_EQ(ports().OpenLog(), (std::vector<std::u16string>{stable}));
}

// The port is read from the settings file at every opening: one chosen or fixed by another
// program (halvex-phonesim --register, an editor) while Halvex runs is used without a restart.
TEST_F(PhoneLinkTest, EachOpeningReadsThePortTheSettingsFileHoldsNow) {
    const std::string path = halvex::test::TempDir() + "/registry.reg";
    Registry settings(path);
    ASSERT_EQ(settings.SetString(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", u"rfcomm0"),
              ERROR_SUCCESS);
    ScopedHost withFile(Host{&ports(), &settings, &clock(), &ui()});
    ports().Add(u"ttyUSB0", port.Factory());
    ASSERT_EQ(link.Open(), 1);
    link.Close();

    Registry elsewhere(path);
    elsewhere.SetString(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", u"ttyUSB0");
    ASSERT_EQ(link.Open(), 1);
    EXPECT_EQ(ports().OpenLog(), (std::vector<std::u16string>{u"rfcomm0", u"ttyUSB0"}));
}

// 9600 8N1 without flow control, reads that return at once with what has arrived, both modem
// lines up, and the probe written without waiting for its answer.
TEST_F(PhoneLinkTest, ConfiguresThePortRaisesTheLinesAndWritesTheProbe) {
    ASSERT_EQ(link.Open(), 1);
    const DCB& d = port->dcb;
    const COMMTIMEOUTS& t = port->timeouts;
    EXPECT_EQ(std::vector<DWORD>({d.BaudRate, d.ByteSize, d.Parity, d.StopBits, d.fBinary,
                                  DWORD(d.fOutxCtsFlow | d.fOutxDsrFlow | d.fOutX | d.fInX),
                                  t.ReadIntervalTimeout, t.ReadTotalTimeoutMultiplier,
                                  t.ReadTotalTimeoutConstant}),
              std::vector<DWORD>({9600, 8, NOPARITY, ONESTOPBIT, 1, 0, MAXDWORD, 0, 0}));
    EXPECT_TRUE(port->dtr && port->rts);
    EXPECT_EQ(port->events, (std::vector<std::string>{"open", "state", "timeouts", "dtr", "rts",
                                                      "purge", "write AT+CGMI=?\r", "flush"}));
    EXPECT_EQ(ui().Log(), (std::vector<std::string>{"cursor on", "cursor off"}));
    EXPECT_EQ(clock().NowMs(), 0u);

    EXPECT_EQ(link.Close(), 1);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(link.Close(), 0);
}

TEST_F(PhoneLinkTest, GoesOnWhenThePortRefusesItsSettingsOrModemLines) {
    port->failSetState = port->refuseModemLines = true;
    ui().Expect(Box(u"Unable to configure the serial port", MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(link.Open(), 1);
    EXPECT_EQ(port->commands, (std::vector<std::string>{"AT+CGMI=?"}));
}

// A probe that does not go out, or only in part, asks Retry or Cancel without the wait cursor;
// each retry writes the probe afresh; Cancel closes the port and fails.
TEST_F(PhoneLinkTest, AFailedProbeAsksRetryOrCancel) {
    port->failWrites = 1;
    ui().Expect(NoPhone(IDRETRY));
    EXPECT_EQ(link.Open(), 1);
    EXPECT_EQ(std::ranges::count(port->events, "write AT+CGMI=?\r"), 2);
    link.Close();

    port->writeLimit = 4;
    ui().Expect(NoPhone(IDRETRY)).Expect(NoPhone(IDCANCEL));
    EXPECT_EQ(link.Open(), 0);
    EXPECT_EQ(link.GetPortHandle(), NULL_HANDLE);
    EXPECT_FALSE(port.IsOpen());
    for (const auto& box : ui().Boxes())
        EXPECT_EQ(box.cursorDepth, 0);
    EXPECT_EQ(ui().CursorDepth(), 0);
    EXPECT_EQ(ui().UnbalancedEnds(), 0);
}

// The length is in bytes of UTF-16 with the null; a byte that is not UTF-8 becomes U+FFFD.
TEST_F(PhoneLinkTest, SendsUtf8AfterAPurgeAndReadsUtf8Back) {
    ASSERT_EQ(link.Open(), 1);
    const std::string command = "AT+CPBW=1,\"+33\",145,\"Zo\xC3\xAB \xE2\x82\xAC\xF0\x9F\x98\x80\"";
    port.On(command,
            "\r\n+CPBR: 2,\"Ann\xF0\x9F\x98\x80\",\"B\xFF"
            "b\"\r\nOK\r\n",
            20);
    const std::size_t before = port->events.size();
    const int length = Exchange(u"AT+CPBW=1,\"+33\",145,\"Zo\u00EB \u20AC\U0001F600\"", 0.5f);
    const std::u16string expected = u"\r\n+CPBR: 2,\"Ann\U0001F600\",\"B\uFFFDb\"\r\nOK\r\n";
    EXPECT_EQ(reply, expected);
    EXPECT_EQ(length, int(2 * expected.size() + 2));
    EXPECT_EQ(EventsFrom(before), (std::vector<std::string>{"purge", "write " + command + "\r",
                                                            "flush", "read 32", "read 0"}));
}

// After the caller's wait, at most 128 bytes a read with a second after each non-empty one, until
// a read finds nothing; no reply at all is length 0.
TEST_F(PhoneLinkTest, ReadsChunksOf128BytesWithASecondAfterEachUntilAReadFindsNothing) {
    ASSERT_EQ(link.Open(), 1);
    const std::pair<std::size_t, std::vector<std::string>> cases[] = {
        {0, {"read 0"}}, {300, {"read 128", "read 128", "read 44", "read 0"}}};
    for (const auto& [bytes, reads] : cases) {
        if (bytes > 0)
            port.On("AT+CPBR=1,25", std::string(bytes, 'x'), 20, 1);
        const std::size_t before = port->events.size();
        const std::uint64_t start = clock().NowMs();
        EXPECT_EQ(Exchange(u"AT+CPBR=1,25", 0.5f), bytes > 0 ? int(2 * bytes + 2) : 0);
        EXPECT_EQ(reply, std::u16string(bytes, u'x'));
        auto events = EventsFrom(before);
        EXPECT_EQ(std::vector<std::string>(events.begin() + 3, events.end()), reads);
        EXPECT_EQ(clock().NowMs() - start, 500 + 1000 * (reads.size() - 1));
    }
}

TEST_F(PhoneLinkTest, AShortOrFailedWriteIsZeroWithoutAMessageAndAFailedReadMinusOne) {
    ASSERT_EQ(link.Open(), 1);
    std::u16string command = u"AT";
    port->writeLimit = 2;  // two of the three bytes written
    EXPECT_EQ(link.SendCommand(command), 0);
    port->failWrites = 1;  // no byte at all
    EXPECT_EQ(link.SendCommand(command), 0);

    port->writeLimit = 0;
    port.On("AT+CSCA?", "\r\n+CSCA: \"+3312\",145\r\n", 10);
    command = u"AT+CSCA?";
    ASSERT_EQ(link.SendCommand(command), 1);
    link.Wait(3.0f);
    port->failReads = true;
    reply = u"left over";
    ui().Expect(u"Read port error");
    EXPECT_EQ(link.ReadResponse(reply), -1);
    EXPECT_TRUE(reply.empty());
}

}  // namespace

// Numeric error results get their meaning; the text form, unknown codes and other lines are
// left as they are.
TEST(ErrorResults, NumericCodesAreExplained) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"+CME ERROR: 26", u"+CME ERROR: 26 (dial string too long)"},
        {u"+CME ERROR:20 ", u"+CME ERROR:20  (memory full)"},
        {u"+CMS ERROR: 322", u"+CMS ERROR: 322 (memory full)"},
        {u"+CME ERROR: memory full", u"+CME ERROR: memory full"},
        {u"+CME ERROR: 999", u"+CME ERROR: 999"},
        {u"+CME ERROR: 0026", u"+CME ERROR: 0026"},
        {u"+CMS ERROR: 26", u"+CMS ERROR: 26"},
        {u"ERROR", u"ERROR"}};
    for (const auto& [line, described] : cases)
        EXPECT_EQ(at::DescribeErrorResult(line), described);
}
