// Working beside ModemManager, against a stand-in that offers ModemManager's interface on a
// private bus started here, with the system bus address pointed at it: which modem has a port,
// the pause asked for and ended, in that order, and a refusal.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QThread>
#include <mutex>

#include "app/ModemManager.h"
#include "app/OrvGSMApp.h"
#include "app/PropPgFormView.h"
#include "res/Resource.h"
#include "sms/SmsEngine.h"
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
    Q_PROPERTY(QString Device MEMBER device)
    Q_PROPERTY(QString PrimaryPort MEMBER primary)
public:
    FakeModem(QString d, QString p) : device(d), primary(p) {}
    QString device, primary;
};

// One private bus for the whole run, as the system bus: the program's connection to it is made
// once.
QString PrivateBus() {
    static halvex::test::ChildProcess* bus = new halvex::test::ChildProcess(
        {"dbus-daemon", "--session", "--nofork", "--print-address=1"});
    static const std::string address = [] {
        const std::string line = bus->ReadLine(5000);
        setenv("DBUS_SYSTEM_BUS_ADDRESS", line.c_str(), 1);
        return line;
    }();
    return QString::fromStdString(address);
}

// ModemManager's stand-in on that bus, answering from a thread of its own.
struct StandIn {
    StandIn() {
        thread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(PrivateBus(), QStringLiteral("mm"));
        manager.moveToThread(&thread);
        EXPECT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/ModemManager1"), &manager,
                                       QDBusConnection::ExportAllSlots));
        for (int i = 0; i < 3; ++i) {
            modems[i].moveToThread(&thread);
            EXPECT_TRUE(
                bus.registerObject(QStringLiteral("/org/freedesktop/ModemManager1/Modem/%1").arg(i),
                                   &modems[i], QDBusConnection::ExportAllProperties));
        }
        EXPECT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.ModemManager1")));
    }
    ~StandIn() {
        QDBusConnection(QStringLiteral("mm"))
            .unregisterService(QStringLiteral("org.freedesktop.ModemManager1"));
        QDBusConnection::disconnectFromBus(QStringLiteral("mm"));
        thread.quit();
        thread.wait();
    }
    QThread thread;
    FakeManager manager;
    FakeModem modems[3] = {{"/sys/devices/pci0000:00/usb1/1-2", "cdc-wdm0"},
                           {"/sys/devices/pci0000:00/usb1/1-4-refused", "ttyACM0"},
                           {"/sys/devices/virtual/sim", "sim0"}};
};

platform::SerialPortInfo Port(const std::string& device, const std::string& usb) {
    platform::SerialPortInfo port;
    port.path = port.device = device;
    port.usbDevice = usb;
    return port;
}

using Calls = std::vector<std::string>;
const std::string kUsb = "/sys/devices/pci0000:00/usb1/1-2",
                  kRefused = "/sys/devices/pci0000:00/usb1/1-4-refused";

TEST(ModemManagerTest, FindsTheModemOfAPortPausesItReleasesItAndTellsARefusal) {
    StandIn service;
    QString error;
    {
        app::ModemManager refused;
        EXPECT_FALSE(refused.Pause(QString::fromStdString(kRefused), error));
        EXPECT_EQ(std::pair(error, refused.Paused()), std::pair(QString("Not authorized"), false));
    }
    app::ModemManager mm;
    ASSERT_TRUE(mm.Running());
    // By the USB device, by the primary port; a port of neither is no modem's.
    EXPECT_EQ(mm.ManagingDevice(Port("/dev/ttyUSB2", kUsb)), QString::fromStdString(kUsb));
    EXPECT_EQ(mm.ManagingDevice(Port("/dev/ttyACM0", "")), QString::fromStdString(kRefused));
    EXPECT_EQ(mm.ManagingDevice(Port("/dev/rfcomm0", "")), "");
    ASSERT_TRUE(mm.Pause(QString::fromStdString(kUsb), error));
    mm.Release();
    mm.Release();
    // Nothing released after the refusal; the pause ended once.
    EXPECT_EQ(service.manager.Calls(),
              (Calls{"InhibitDevice " + kRefused + " true", "InhibitDevice " + kUsb + " true",
                     "InhibitDevice " + kUsb + " false"}));
}

// The window: a port ModemManager manages is named, the pause asked for before the port is
// opened, and ended at Disconnect.
class ModemManagerWindowTest : public halvex::test::WindowTest<halvex::test::SimPhoneTest> {
protected:
    ModemManagerWindowTest() : WindowTest("default") {
        PrivateBus();
        registry().CreateKey(platform::HKEY_CURRENT_USER, u"Comm");
    }
    void TearDown() override {
        app_.ExitInstance();
        WindowTest::TearDown();
    }
    COrvGSMApp app_;
};

TEST_F(ModemManagerWindowTest, ConnectPausesModemManagerForThePhoneUntilDisconnect) {
    StandIn service;
    const std::u16string question =
        u"ModemManager manages the phone on /dev/sim0 and may keep Halvex from it. Pause "
        u"ModemManager for this phone while Halvex is connected?";
    using namespace platform;
    ui().Expect(
        ExpectedBox{question, IDYES, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, {}, {}, {}});
    ASSERT_TRUE(app_.InitInstance());
    halvex::test::Settle();
    EXPECT_TRUE(app_.GetSession()->IsConnected());
    const std::string sim = "InhibitDevice /sys/devices/virtual/sim";
    EXPECT_EQ(service.manager.Calls(), Calls{sim + " true"});
    app_.GetView()->OnCommand(res::ID_DISCONNECT);
    EXPECT_EQ(service.manager.Calls(), (Calls{sim + " true", sim + " false"}));
}

}  // namespace

#include "ModemManagerTest.moc"
