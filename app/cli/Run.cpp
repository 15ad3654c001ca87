#include "app/cli/Run.h"

#include <memory>

#include "app/BoxNotices.h"
#include "app/cli/CliHost.h"
#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "link/PhoneSession.h"
#include "link/PortOpening.h"
#include "link/RegSettings.h"
#include "phonebook/PhoneBooks.h"
#include "platform/Registry.h"
#include "sms/SmsEngine.h"

namespace cli {

namespace {

const char* MakerName(phone::Kind kind) {
    switch (kind) {
        case phone::Kind::Nokia:
            return "nokia";
        case phone::Kind::Ordinary:
            return "other";
        case phone::Kind::NoAnswer:
            break;
    }
    return "unknown";
}

// The main view's start-up: connect, find the kind of phone, store it as "MemoryType".
bool StartUp(CPhoneBooks& books, phone::Kind& kind) {
    if (!books.Connect()) {
        return false;
    }
    kind = books.GetSession().DetectPhoneKind();
    books.GetSession().RecordPhoneKind(kind);
    return true;
}

int RunCommand(const Options& options, CPhoneBooks& books, CSmsEngine& engine, std::ostream& out,
               std::ostream& err) {
    CPhoneSession& session = books.GetSession();
    if (options.action == Action::Ports) {
        return RunPorts(options, out, err);
    }
    // Refused before anything is sent, as the dialog refuses before it connects.
    if (options.action == Action::SmsSend && !SendAccepted(options, engine, session, err)) {
        return kExitBadArguments;
    }
    // A restore reads its whole file first: a file it cannot use changes nothing on the phone.
    // An export makes sure it can write its file before the phone is read.
    backup::CardFile cards;
    backup::MessageArchive messages;
    if ((options.action == Action::PhonebookImport && !ReadContactFile(options, cards, err)) ||
        (options.action == Action::SmsImport && !ReadMessageFile(options, messages, err)) ||
        !OutputWritable(options, err)) {
        return kExitBadArguments;
    }
    phone::Kind kind = phone::Kind::NoAnswer;
    if (!StartUp(books, kind)) {
        // The link has told why.
        return kExitFailed;
    }
    Context context{options, session, books, engine, out, err, kind, &cards, &messages};
    if (options.action == Action::Identify) {
        return RunIdentify(context);
    }
    if (kind == phone::Kind::NoAnswer) {
        // The main view adds no page for a phone that did not take "ATI".
        Complain(err, "the phone did not take the identification command");
        return kExitFailed;
    }
    switch (options.action) {
        case Action::PhonebookList:
        case Action::PhonebookAdd:
        case Action::PhonebookEdit:
        case Action::PhonebookDelete:
        case Action::PhonebookExport:
        case Action::PhonebookImport:
            return RunPhonebook(context);
        default:
            return RunSms(context);
    }
}

}  // namespace

int RunIdentify(Context& c) {
    if (c.options.json) {
        PrintJson(c.out,
                  {{"connected", c.session.IsConnected() != 0}, {"maker", MakerName(c.kind)}});
    } else {
        c.out << "connected, maker " << MakerName(c.kind) << '\n' << std::flush;
    }
    return kExitOk;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal) {
    const ParseResult parsed = ParseArguments(args);
    if (!parsed.options) {
        Complain(err, parsed.error);
        return kExitBadArguments;
    }
    const Options& options = *parsed.options;

    std::string error;
    int status = kExitFailed;
    std::unique_ptr<CliHost> host =
        CliHost::Create(options, err, errIsTerminal && !options.json, error, status);
    if (!host) {
        Complain(err, error);
        return status;
    }
    int result = kExitFailed;
    {
        platform::ScopedHost scoped(host->GetHost());
        // The session closes its port before the platform it was opened on goes away.
        app::BoxNotices notices;
        auto session = std::make_unique<CPhoneSession>(notices);
        session->GetLink().SetExchangeMode(app::ChooseExchangeMode(options.fast));
        auto books = std::make_unique<CPhoneBooks>(*session);
        auto engine = std::make_unique<CSmsEngine>(session->GetLink());
        result = RunCommand(options, *books, *engine, out, err);
        // The port opened (so the link stored it), but the settings did not take it.
        const platform::Host& current = platform::CurrentHost();
        if (options.connection == app::Connection::Port && current.pendingPort.empty() &&
            ports::ReadPortName() != options.port) {
            Complain(err, "the port opened, but its name could not be stored in " +
                              current.registry->Path());
            result = kExitFailed;
        }
        engine.reset();
        books.reset();
        session.reset();
    }
    if (options.transcript) {
        host->GetTranscript().Print(err, host->StartMs());
    }
    if (options.simulateSave && !host->SaveSimulation(*options.simulateSave, error)) {
        Complain(err, error);
        if (result == kExitOk) {
            result = kExitFailed;
        }
    }
    return result;
}

}  // namespace cli
