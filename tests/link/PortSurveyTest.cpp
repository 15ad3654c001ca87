// The ports a phone can be on, found in a made-up /dev, /sys, /proc and /etc: stable by-id names
// with the device behind them, the USB maker, model and interface, who may open each, and who
// holds it; and what the real port refuses to open.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/PortOpening.h"
#include "platform/PortSurvey.h"
#include "platform/TermiosSerialPort.h"
#include "tests/support/Process.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;

class FakeTree {
public:
    FakeTree() : root_(halvex::test::TempDir() + "/tree") {}
    const std::string& Root() const { return root_; }

    void File(const std::string& path, const std::string& text = "", mode_t mode = 0644) {
        fs::create_directories(fs::path(root_ + path).parent_path());
        std::ofstream(root_ + path) << text;
        ::chmod((root_ + path).c_str(), mode);
    }
    void Link(const std::string& path, const std::string& target) {
        fs::create_directories(fs::path(root_ + path).parent_path());
        fs::create_symlink(target, root_ + path);
    }
    // A USB serial port: the device's descriptors, its interface, and the tty class link.
    void Usb(const std::string& tty, const std::string& device, const std::string& iface,
             const std::string& maker, const std::string& model, const std::string& ifaceName) {
        const std::string dev = "/sys/devices/pci0000:00/usb1/" + device;
        File(dev + "/idVendor", "2c7c\n");
        File(dev + "/manufacturer", maker + "\n");
        File(dev + "/product", model + "\n");
        File(dev + "/" + iface + "/bInterfaceNumber", iface.substr(iface.size() - 1) + "\n");
        if (!ifaceName.empty())
            File(dev + "/" + iface + "/interface", ifaceName + "\n");
        File(dev + "/" + iface + "/" + tty + "/tty/" + tty + "/dev", "188:0\n");
        Link("/sys/class/tty/" + tty,
             "../../devices/pci0000:00/usb1/" + device + "/" + iface + "/" + tty + "/tty/" + tty);
    }

private:
    std::string root_;
};

TEST(PortSurvey, FindsByIdNamesUsbDetailsRightsAndHolders) {
    FakeTree tree;
    const unsigned me = ::getuid() + 1;  // not the files' owner: their group and mode count
    tree.File("/etc/passwd", "root:x:0:0::/root:/bin/sh\nann:x:" + std::to_string(me) +
                                 ":100::/home/ann:/bin/sh\n");
    tree.File("/etc/group", "dialout:x:" + std::to_string(::getgid()) + ":ann\n");
    tree.File("/dev/ttyUSB0", "", 0660);
    tree.File("/dev/ttyUSB1", "", 0660);
    tree.File("/dev/ttyUSB10", "", 0666);
    tree.File("/dev/ttyACM0", "", 0666);
    tree.File("/dev/rfcomm0", "", 0666);
    tree.File("/dev/ttyS0", "", 0666);  // a board's own UART: no phone is there
    fs::create_directories(tree.Root() + "/dev/sda");
    tree.Link("/dev/serial/by-id/usb-Quectel_EG25-if02-port0", "../../ttyUSB1");
    tree.Usb("ttyUSB1", "1-2", "1-2:1.2", "Quectel", "EG25", "");
    tree.Usb("ttyACM0", "1-3", "1-3:1.1", "Nokia", "Nokia 6230i", "CDC Comms");
    tree.File("/proc/712/comm", "ModemManager\n");
    tree.Link("/proc/712/fd/9", "/dev/ttyACM0");
    tree.File("/proc/990/comm", "halvex\n");
    tree.Link("/proc/990/fd/4", "/dev/ttyUSB10");
    tree.Link("/proc/990/fd/5", "/dev/null");

    PortSurvey::Options options{tree.Root(), me, {}, true};
    const PortSurvey survey(options);
    std::vector<std::vector<std::string>> rows;
    for (const SerialPortInfo& p : survey.List())
        rows.push_back({p.path, p.device, ports::DeviceText(p), ports::StateText(p)});
    const std::vector<std::vector<std::string>> expected = {
        {"/dev/serial/by-id/usb-Quectel_EG25-if02-port0", "/dev/ttyUSB1",
         "Quectel EG25 (interface 2)", "no permission until you log in again"},
        {"/dev/rfcomm0", "/dev/rfcomm0", "Bluetooth", "free"},
        {"/dev/ttyACM0", "/dev/ttyACM0", "Nokia Nokia 6230i (CDC Comms)",
         "held by ModemManager (process 712)"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0", "", "no permission until you log in again"},
        {"/dev/ttyUSB10", "/dev/ttyUSB10", "", "held by another Halvex (process 990)"},
    };
    EXPECT_EQ(rows, expected);

    // In the group, the group's rights count; outside it and not listed there, say which group.
    options.gids = {static_cast<unsigned>(::getgid())};
    EXPECT_EQ(ports::StateText(PortSurvey(options).Inspect("/dev/ttyUSB0")), "free");
    tree.File("/etc/group", "dialout:x:" + std::to_string(::getgid()) + ":\n");
    options.gids.clear();
    const SerialPortInfo refused = PortSurvey(options).Inspect("/dev/ttyUSB0");
    EXPECT_EQ(ports::StateText(refused), "no permission (group dialout)");
    EXPECT_EQ(ports::StateText(survey.Inspect("/dev/sda")), "not a serial device");
    EXPECT_EQ(ports::StateText(survey.Inspect("/dev/ttyUSB7")), "missing");
    // What ModemManager knows the modem by.
    EXPECT_EQ(survey.Inspect("/dev/ttyACM0").usbDevice, "/sys/devices/pci0000:00/usb1/1-3");
}

// The real port refuses what is not a character device before opening it, and says why.
TEST(PortSurvey, TheRealPortRefusesWhatIsNoSerialDevice) {
    const std::string file = halvex::test::TempDir() + "/not-a-port";
    std::ofstream(file) << "data";
    TermiosSerialPorts real;
    const std::pair<std::u16string, PortFailure::Kind> cases[] = {
        {std::u16string(file.begin(), file.end()), PortFailure::Kind::NotSerial},
        {u"/dev/halvex-no-such-port", PortFailure::Kind::Missing},
        {u"pts/../sda", PortFailure::Kind::BadName},
        {u"null", PortFailure::Kind::NotSerial},  // a device, but no terminal
    };
    for (const auto& [name, kind] : cases) {
        EXPECT_EQ(real.Open(name), nullptr);
        EXPECT_EQ(real.LastFailure().kind, kind);
    }
    EXPECT_EQ(halvex::test::ReadFile(file), "data");  // untouched
}

}  // namespace
