// halvex-pages: the pages of the window on the simulated phone, in virtual time, with buttons for
// the main view's commands on the page in front. A tool for trying out and looking at the pages
// until the main window exists; not the program.
//
//   halvex-pages [--simulate[=PROFILE]] [--screenshot DIR]

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "link/RegSettings.h"
#include "phonebook/PhoneBookDlg.h"
#include "phonebook/PhoneBookNokiaDlg.h"
#include "phonebook/PhoneSession.h"
#include "phonesim/Phone.h"
#include "phonesim/Profile.h"
#include "phonesim/SimSerialPort.h"
#include "platform/Clock.h"
#include "platform/FakeSerialPorts.h"
#include "platform/Registry.h"
#include "platform/qt/Commands.h"
#include "platform/qt/PropertySheet.h"
#include "platform/qt/QtUi.h"
#include "sms/InboxPage.h"
#include "sms/OutboxPage.h"

using namespace platform;

namespace {

int Usage() {
    std::fputs("usage: halvex-pages [--simulate[=PROFILE]] [--screenshot DIR]\n", stderr);
    return 2;
}

// Writes a picture of the next modal dialog once it is up, and closes it.
void GrabNextDialog(const QString& path) {
    QTimer::singleShot(0, [path] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->grab().save(path);
            dialog->close();
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string profile = "default";
    QString screenshots;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--simulate") {
            profile = "default";
        } else if (arg.rfind("--simulate=", 0) == 0) {
            profile = arg.substr(11);
        } else if (arg == "--screenshot" && i + 1 < argc) {
            screenshots = QString::fromLocal8Bit(argv[++i]);
        } else {
            return Usage();
        }
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
    {
        std::unique_ptr<CPhoneBookDlg> phoneBook(maker == 1 ? new CPhoneBookNokiaDlg
                                                            : new CPhoneBookDlg);
        CInboxPage inbox;
        COutboxPage outbox;
        QWidget window;
        window.setWindowTitle(QStringLiteral("Halvex pages"));
        auto* layout = new QVBoxLayout(&window);
        auto* buttons = new QHBoxLayout;
        layout->addLayout(buttons);
        qt::CPropertySheet sheet;
        sheet.AddPage(phoneBook.get());
        sheet.AddPage(&inbox);
        sheet.AddPage(&outbox);
        sheet.Create(&window);
        int tab = 0;
        for (const char16_t* label : {u"Phone Book", u"SMS Inbox", u"SMS Outbox"}) {
            sheet.SetTabLabel(tab++, label);
        }
        layout->addWidget(&sheet);
        const auto add = [&](const char* text, std::function<void(int)> action) {
            auto* button = new QPushButton(QString::fromUtf8(text), &window);
            QObject::connect(button, &QPushButton::clicked,
                             qt::AsCommand([&sheet, action] { action(sheet.GetActiveIndex()); }));
            buttons->addWidget(button);
        };
        CPhoneBookDlg* book = phoneBook.get();
        add("Get data", [&](int page) {
            page == 0 ? book->GetData() : page == 1 ? inbox.LoadMessages() : outbox.LoadMessages();
        });
        add("Save data", [&](int page) {
            if (page == 0) {
                book->CommitCurrent(TRUE);
            }
        });
        add("Add User", [&](int page) {
            page == 0 ? book->AddUser() : page == 2 ? outbox.ComposeNew() : void();
        });
        add("Delete", [&](int page) {
            page == 0   ? book->DeleteUser()
            : page == 1 ? inbox.DeleteSelected()
                        : outbox.DeleteSelected();
        });
        window.show();

        int status = 0;
        if (screenshots.isEmpty()) {
            status = app.exec();
        } else {
            // Each page read and drawn, then the message view and the compose dialog.
            QDir().mkpath(screenshots);
            const auto shoot = [&](int page, const char* name) {
                sheet.SetActivePage(page);
                qt::DispatchPostedMessages();
                app.processEvents();
                window.grab().save(screenshots + QLatin1Char('/') + QLatin1String(name));
            };
            book->GetData();
            shoot(0, "phonebook.png");
            inbox.LoadMessages();
            inbox.GetList().SelectItem(1);
            shoot(1, "inbox.png");
            outbox.LoadMessages();
            shoot(2, "outbox.png");
            GrabNextDialog(screenshots + QStringLiteral("/view.png"));
            inbox.GetView().ShowMessage(inbox.GetRows()[0].message.get(), 0);
            inbox.GetView().DoModal();
            GrabNextDialog(screenshots + QStringLiteral("/compose.png"));
            outbox.GetComposeDialog().LoadFromMessage(outbox.GetRows()[0].message.get(), 0);
            outbox.GetComposeDialog().DoModal();
        }
        delete g_pPhoneSession;
        g_pPhoneSession = nullptr;
        return status;
    }
}
