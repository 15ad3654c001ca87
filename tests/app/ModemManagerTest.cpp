// Working beside ModemManager, against a stand-in that offers ModemManager's interface on a
// private bus started here, with the system bus address pointed at it: which modem has a port,
// the pause asked for and ended, in that order, and a refusal.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QTableWidget>
#include <QThread>
#include <cstdlib>
#include <mutex>

#include "app/ModemManager.h"
#include "app/OrvGSMApp.h"
#include "app/PortChooserDlg.h"
#include "app/PropPgFormView.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
#include "tests/support/Process.h"
#include "tests/support/SimPhoneFixture.h"
#include "tests/support/WindowFixture.h"

namespace {

// org.freedesktop.ModemManager1: InhibitDevice(s uid, b inhibit).
class FakeManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ModemManager1")
public:
    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
public slots:
    void InhibitDevice(const QString& uid, bool inhibit) {
        std::lock_guard lock(mutex_);
        calls_.push_back("InhibitDevice " + uid.toStdString() + (inhibit ? " true" : " false"));
        if (uid.endsWith(QStringLiteral("refused")))
            sendErrorReply(QStringLiteral("org.freedesktop.ModemManager1.Error.Core.Unauthorized"),
                           QStringLiteral("Not authorized"));
    }

private:
    std::mutex mutex_;
    std::vector<std::string> calls_;
};

// org.freedesktop.ModemManager1.Modem, the properties that name its device and ports.
class FakeModem : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ModemManager1.Modem")
    Q_PROPERTY(QString Device READ Device)
    Q_PROPERTY(QString PrimaryPort READ PrimaryPort)
public:
    FakeModem(QString device, QString primary) : device_(device), primary_(primary) {}
    QString Device() const { return device_; }
    QString PrimaryPort() const { return primary_; }

private:
    QString device_, primary_;
};

// One private bus for the whole run, as the system bus: the program's connection to it is made
// once.
const std::string& PrivateBus() {
    static halvex::test::ChildProcess* bus = new halvex::test::ChildProcess(
        {"dbus-daemon", "--session", "--nofork", "--print-address=1"});
    static const std::string address = [] {
        const std::string line = bus->ReadLine(5000);
        setenv("DBUS_SYSTEM_BUS_ADDRESS", line.c_str(), 1);
        return line;
    }();
    return address;
}

class ModemManagerTest : public ::testing::Test {
public:
    void SetUp() override {
        address_ = PrivateBus();
        ASSERT_FALSE(address_.empty());
    }
    // ModemManager's stand-in, answering from a thread of its own.
    void StartModemManager() {
        thread_.start();
        manager_.moveToThread(&thread_);
        for (FakeModem& modem : modems_)
            modem.moveToThread(&thread_);
        QDBusConnection bus =
            QDBusConnection::connectToBus(QString::fromStdString(address_), QStringLiteral("mm"));
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/ModemManager1"), &manager_,
                                       QDBusConnection::ExportAllSlots));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(
                bus.registerObject(QStringLiteral("/org/freedesktop/ModemManager1/Modem/%1").arg(i),
                                   &modems_[i], QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.ModemManager1")));
    }
    void TearDown() override {
        {
            QDBusConnection bus(QStringLiteral("mm"));
            if (bus.isConnected())
                bus.unregisterService(QStringLiteral("org.freedesktop.ModemManager1"));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("mm"));
        thread_.quit();
        thread_.wait();
    }

public:
    // For the window's test, which borrows this stand-in.
    void TestBody() override {}
    std::vector<std::string> Calls() { return manager_.Calls(); }

protected:
    std::string address_;
    QThread thread_;
    FakeManager manager_;
    FakeModem modems_[3] = {{"/sys/devices/pci0000:00/usb1/1-2", "cdc-wdm0"},
                            {"/sys/devices/pci0000:00/usb1/1-4-refused", "ttyACM0"},
                            {"/sys/devices/virtual/sim", "sim0"}};
};

platform::SerialPortInfo Port(const std::string& device, const std::string& usb) {
    platform::SerialPortInfo port;
    port.path = port.device = device;
    port.usbDevice = usb;
    return port;
}

TEST_F(ModemManagerTest, FindsTheModemOfAPortPausesItAndReleasesIt) {
    StartModemManager();
    app::ModemManager mm;
    ASSERT_TRUE(mm.Running());
    // By the USB device, by the primary port; a port of neither is no modem's.
    EXPECT_EQ(mm.ManagingDevice(Port("/dev/ttyUSB2", "/sys/devices/pci0000:00/usb1/1-2")),
              "/sys/devices/pci0000:00/usb1/1-2");
    EXPECT_EQ(mm.ManagingDevice(Port("/dev/ttyACM0", "")),
              "/sys/devices/pci0000:00/usb1/1-4-refused");
    EXPECT_EQ(mm.ManagingDevice(Port("/dev/rfcomm0", "")), "");

    QString error;
    ASSERT_TRUE(mm.Pause("/sys/devices/pci0000:00/usb1/1-2", error));
    mm.Release();
    mm.Release();
    EXPECT_EQ(manager_.Calls(),
              (std::vector<std::string>{"InhibitDevice /sys/devices/pci0000:00/usb1/1-2 true",
                                        "InhibitDevice /sys/devices/pci0000:00/usb1/1-2 false"}));
}

// The chooser shows which ports ModemManager manages, in a column of their own.
TEST_F(ModemManagerTest, TheChooserNamesThePortsModemManagerManages) {
    StartModemManager();
    CPortChooserDlg::SetSurvey(
        [] {
            return std::vector<platform::SerialPortInfo>{
                Port("/dev/ttyUSB2", "/sys/devices/pci0000:00/usb1/1-2"), Port("/dev/rfcomm0", "")};
        },
        nullptr);
    app::ModemManager mm;
    CPortChooserDlg chooser(nullptr, QString(), &mm);
    QTableWidget* list = chooser.List();
    ASSERT_EQ(list->columnCount(), 5);
    EXPECT_EQ(list->horizontalHeaderItem(4)->text(), "ModemManager");
    EXPECT_EQ(std::pair(list->item(0, 4)->text(), list->item(1, 4)->text()),
              std::pair(QString("manages it"), QString()));
    CPortChooserDlg::SetSurvey(nullptr, nullptr);
}

TEST_F(ModemManagerTest, ARefusalIsToldAndNothingIsReleased) {
    StartModemManager();
    {
        app::ModemManager mm;
        QString error;
        EXPECT_FALSE(mm.Pause("/sys/devices/pci0000:00/usb1/1-4-refused", error));
        EXPECT_EQ(error, "Not authorized");
        EXPECT_FALSE(mm.Paused());
    }
    EXPECT_EQ(
        manager_.Calls(),
        (std::vector<std::string>{"InhibitDevice /sys/devices/pci0000:00/usb1/1-4-refused true"}));
}

TEST_F(ModemManagerTest, WithoutModemManagerEveryAnswerIsNoQuietly) {
    app::ModemManager onBus;
    EXPECT_FALSE(onBus.Running());
    EXPECT_EQ(onBus.ManagingDevice(Port("/dev/ttyUSB0", "/sys/x")), "");
    app::ModemManager noBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                                          QStringLiteral("none")));
    EXPECT_FALSE(noBus.Running());
    // The chooser goes without the column.
    CPortChooserDlg::SetSurvey([] { return std::vector<platform::SerialPortInfo>{}; }, nullptr);
    EXPECT_EQ(CPortChooserDlg(nullptr, QString(), &noBus).List()->columnCount(), 4);
    CPortChooserDlg::SetSurvey(nullptr, nullptr);
}

// The window: a port ModemManager manages is named, the pause asked for before the port is
// opened, and ended at Disconnect.
class ModemManagerWindowTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest> {
protected:
    ModemManagerWindowTest() : WindowTest("default") {
        PrivateBus();
        registry().CreateKey(platform::HKEY_CURRENT_USER, u"Comm");
        g_SmsEngine.ClearInbox();
        g_SmsEngine.ClearOutbox();
    }
    void TearDown() override {
        app_.ExitInstance();
        WindowTest::TearDown();
    }
    COrvGSMApp app_;
};

TEST_F(ModemManagerWindowTest, ConnectPausesModemManagerForThePhoneUntilDisconnect) {
    ModemManagerTest service;  // the stand-in, as above
    service.SetUp();
    service.StartModemManager();
    using platform::ExpectedBox;
    const platform::UINT question =
        platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON2;
    ui().Expect(
        ExpectedBox{u"ModemManager manages the phone on /dev/sim0 and may keep Halvex "
                    u"from it. Pause ModemManager for this phone while Halvex is "
                    u"connected?",
                    platform::IDYES,
                    question,
                    {},
                    {},
                    {}});
    ASSERT_TRUE(app_.InitInstance());
    halvex::test::Settle();
    EXPECT_TRUE(g_pPhoneSession->IsConnected());
    EXPECT_EQ(service.Calls(),
              (std::vector<std::string>{"InhibitDevice /sys/devices/virtual/sim true"}));
    app_.GetView()->OnCommand(res::ID_DISCONNECT);
    EXPECT_EQ(service.Calls(),
              (std::vector<std::string>{"InhibitDevice /sys/devices/virtual/sim true",
                                        "InhibitDevice /sys/devices/virtual/sim false"}));
    service.TearDown();
}

}  // namespace

#include "ModemManagerTest.moc"
