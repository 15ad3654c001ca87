// halvex: the handset manager's window.

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/HalvexOptions.h"
#include "app/MainFrame.h"
#include "app/Notices.h"
#include "app/OrvGSMApp.h"
#include "app/PortChooserDlg.h"
#include "app/ProgramHost.h"
#include "app/PropPgFormView.h"
#include "platform/qt/Commands.h"
#include "platform/qt/Icons.h"
#include "platform/qt/QtUi.h"
#include "platform/qt/StatusLine.h"
#include "res/DialogTemplate.h"
#include "res/Resource.h"

namespace {

int Notify(std::uint32_t value) {
    std::string error;
    const std::string socket = app::NoticeSocketPath(error);
    if (socket.empty()) {
        std::cerr << "halvex: " << error << '\n';
        return 1;
    }
    if (app::SendNotice(socket, value) != app::NoticeResult::Delivered) {
        std::cerr << "halvex: no Halvex of this user is running\n";
        return 1;
    }
    return 0;
}

// Every page read from the phone and drawn into DIR, as the README shows them: at the window's
// smallest size, then the phone book page on a large desktop and the inbox at twice the scale.
// On a real port, the port chooser too (chooser.png).
int TakeScreenshots(QApplication& qt, COrvGSMApp& application, const QString& directory,
                    bool withChooser) {
    if (!QDir().mkpath(directory)) {
        std::cerr << "halvex: cannot make " << directory.toStdString() << '\n';
        return 1;
    }
    CMainFrame* frame = application.GetMainFrame();
    CMyFormView* view = application.GetView();
    frame->resize(frame->sizeHint());
    platform::qt::DispatchPostedMessages();
    const char* names[] = {"phonebook.png", "inbox.png", "outbox.png", "about.png"};
    CViewPropertySheet& sheet = view->GetSheet();
    for (int page = 0; page < sheet.GetPageCount() && page < 4; ++page) {
        sheet.SetActivePage(page);
        if (page != CPropPgFormView::kAboutPage) {
            view->OnCommand(res::ID_GET_DATA);
        }
        if (page == CPropPgFormView::kInboxPage) {
            view->GetInboxPage().GetList().SelectItem(0);
        }
        platform::qt::DispatchPostedMessages();
        qt.processEvents();
        const QString path = directory + QLatin1Char('/') + QLatin1String(names[page]);
        if (!frame->grab().save(path)) {
            std::cerr << "halvex: cannot write " << path.toStdString() << '\n';
            return 1;
        }
    }
    // A desktop of 1280 x 800: the phone book page maximised on it, and the inbox on the same
    // desktop at twice the scale (640 x 400 of its pixels, drawn at 2x).
    const auto shoot = [&](int page, QSize size, qreal scale, const char* name) {
        sheet.SetActivePage(page);
        frame->resize(size);
        platform::qt::DispatchPostedMessages();
        qt.processEvents();
        QPixmap image(frame->size() * scale);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        frame->render(&image);
        const QString path = directory + QLatin1Char('/') + QLatin1String(name);
        if (!image.save(path)) {
            std::cerr << "halvex: cannot write " << path.toStdString() << '\n';
            return false;
        }
        return true;
    };
    if (sheet.GetPageCount() > CPropPgFormView::kInboxPage &&
        (!shoot(CPropPgFormView::kPhoneBookPage, QSize(1280, 800), 1.0, "phonebook-large.png") ||
         !shoot(CPropPgFormView::kInboxPage, QSize(640, 400), 2.0, "inbox-2x.png"))) {
        return 1;
    }
    if (!withChooser) {
        return 0;
    }
    // The port chooser as a user finds the phone's port with it: asked, and answering.
    if (CPhoneSession* session = application.GetSession()) {
        session->Disconnect();
    }
    CPortChooserDlg chooser(frame);
    chooser.show();
    chooser.Probe();
    qt.processEvents();
    const QString path = directory + QStringLiteral("/chooser.png");
    if (!chooser.grab().save(path)) {
        std::cerr << "halvex: cannot write " << path.toStdString() << '\n';
        return 1;
    }
    return 0;
}

// Qt ends the program with abort() when it finds no display, after advice that does not fit
// ("Reinstalling the application may fix this problem"). While the application object is made,
// its messages are held back; a fatal one becomes advice of our own and status 1.
QStringList g_heldQtMessages;

void HoldQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        g_heldQtMessages.append(message);
        return;
    }
    QString reason = message;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        reason = QStringLiteral("DISPLAY and WAYLAND_DISPLAY are not set");
    } else if (const QStringList said = g_heldQtMessages.filter(QStringLiteral("display"));
               !said.isEmpty()) {
        reason = said.first();  // "could not connect to display :1"
    }
    std::cerr << "halvex: no display found (" << reason.trimmed().toStdString()
              << ").\nThe window needs one. Without a display, halvex-cli does the same from a "
                 "terminal,\nor QT_QPA_PLATFORM=offscreen draws the window without a screen.\n"
              << std::flush;
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    const app::HalvexParse parsed = app::ParseHalvexArguments(args);
    if (!parsed.options) {
        std::cerr << "halvex: " << parsed.error << "\n" << app::HalvexUsage();
        return 2;
    }
    const app::HalvexOptions& options = *parsed.options;
    if (options.help) {
        std::cout << app::HalvexUsage();
        return 0;
    }
    if (options.notify) {
        return Notify(*options.notify);
    }

    const QtMessageHandler qtMessages = qInstallMessageHandler(HoldQtMessages);
    QApplication qt(argc, argv);
    qInstallMessageHandler(qtMessages);
    for (const QString& message : std::exchange(g_heldQtMessages, {})) {
        std::cerr << message.toStdString() << '\n';
    }
    QApplication::setApplicationName(QStringLiteral("Halvex"));
    QApplication::setDesktopFileName(QStringLiteral("halvex"));
    QApplication::setWindowIcon(platform::qt::LoadIcon(res::IDR_MAINFRAME));

    std::string error;
    int status = 1;
    std::unique_ptr<app::ProgramHost> host =
        app::ProgramHost::Create(options.host, "halvex", std::cerr, error, status);
    if (!host) {
        std::cerr << "halvex: " << error << '\n';
        return status;
    }
    platform::qt::RepaintingClock clock(host->GetClock());
    platform::qt::QtUi boxes;
    platform::qt::StatusLineUi ui(boxes);
    platform::qt::QtShell shell;
    int result = 0;
    {
        platform::ScopedHost scoped(platform::Host{&host->GetPorts(), &host->GetRegistry(), &clock,
                                                   &ui, &shell, host->PendingPort()});
        COrvGSMApp application(app::ChooseExchangeMode(options.fast));
        if (!application.InitInstance()) {
            return 1;
        }
        result = options.screenshots ? TakeScreenshots(qt, application,
                                                       QString::fromStdString(*options.screenshots),
                                                       !host->IsSimulated())
                                     : QApplication::exec();
        application.ExitInstance();
    }
    if (options.simulateSave && !host->SaveSimulation(*options.simulateSave, error)) {
        std::cerr << "halvex: " << error << '\n';
        return 1;
    }
    return result;
}
