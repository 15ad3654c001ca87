// halvex-pages: one page of the window on the simulated phone, in virtual time, with buttons for
// the main view's commands. A tool for trying out and looking at the pages; not the program.
//
//   halvex-pages [--simulate[=PROFILE]] [--screenshot FILE] phonebook

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "app/RegSettings.h"
#include "link/PhoneSession.h"
#include "phonebook/PhoneBookDlg.h"
#include "phonebook/PhoneBookNokiaDlg.h"
#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/SimSerialPort.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPorts.h"
#include "platform/Registry.h"
#include "platform/qt/Commands.h"
#include "platform/qt/PropertySheet.h"
#include "platform/qt/QtUi.h"

using namespace platform;

namespace {

int Usage() {
    std::fputs("usage: halvex-pages [--simulate[=PROFILE]] [--screenshot FILE] phonebook\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string profile = "default";
    std::string screenshot;
    std::string page;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--simulate") {
            profile = "default";
        } else if (arg.rfind("--simulate=", 0) == 0) {
            profile = arg.substr(11);
        } else if (arg == "--screenshot" && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (arg.rfind("--", 0) == 0 || !page.empty()) {
            return Usage();
        } else {
            page = arg;
        }
    }
    if (page != "phonebook") {
        return Usage();
    }

    std::unique_ptr<phonesim::Phone> phone;
    try {
        phone = std::make_unique<phonesim::Phone>(phonesim::LoadProfile(profile));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "halvex-pages: %s\n", e.what());
        return 2;
    }
    VirtualClock virtualClock;
    qt::RepaintingClock clock(virtualClock);
    phonesim::SimPortOpener opener(*phone, &virtualClock);
    FakeSerialPorts ports;
    phonesim::RegisterSimPort(ports, u"sim0", opener);
    Registry registry;
    registry.SetString(HKEY_LOCAL_MACHINE, u"ExtModems\\Bluetooth", u"Port", u"sim0");
    registry.CreateKey(HKEY_CURRENT_USER, u"Comm");
    qt::QtUi ui;
    qt::QtShell shell;
    ScopedHost host(Host{&ports, &registry, &clock, &ui, &shell});

    g_pPhoneSession = new CPhoneSession;
    g_pPhoneSession->Connect();
    const int maker = g_pPhoneSession->DetectNokia();
    settings::StoreMemoryType(maker < 0 ? settings::kMemoryTypeNoAnswer
                                        : static_cast<DWORD>(maker));

    QWidget window;
    window.setWindowTitle(QStringLiteral("Halvex pages"));
    auto* layout = new QVBoxLayout(&window);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    std::unique_ptr<CPhoneBookDlg> phoneBook(maker == 1 ? new CPhoneBookNokiaDlg
                                                        : new CPhoneBookDlg);
    auto* sheet = new qt::CPropertySheet;
    sheet->AddPage(phoneBook.get());
    sheet->Create(&window);
    sheet->SetTabLabel(0, u"Phone Book");
    layout->addWidget(sheet);
    const auto add = [&](const char* text, std::function<void()> action) {
        auto* button = new QPushButton(QString::fromUtf8(text), &window);
        button->setObjectName(QString::fromUtf8(text));
        QObject::connect(button, &QPushButton::clicked, qt::AsCommand(std::move(action)));
        buttons->addWidget(button);
    };
    CPhoneBookDlg* book = phoneBook.get();
    add("Get data", [book] { book->GetData(); });
    add("Save data", [book] { book->CommitCurrent(TRUE); });
    add("Add User", [book] { book->AddUser(); });
    add("Delete", [book] { book->DeleteUser(); });
    window.show();

    int status = 0;
    if (!screenshot.empty()) {
        book->GetData();
        qt::DispatchPostedMessages();
        app.processEvents();
        status = window.grab().save(QString::fromStdString(screenshot)) ? 0 : 1;
    } else {
        status = app.exec();
    }
    delete sheet;
    phoneBook.reset();
    delete g_pPhoneSession;
    g_pPhoneSession = nullptr;
    return status;
}
