// sms list, send and delete: the pages' loaders and delete sequence, the compose dialog's send.

#include <algorithm>
#include <string>

#include "app/Utf8Text.h"
#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "app/cli/backup/SmsArchive.h"
#include "sms/ComposeSender.h"
#include "sms/JoinedMessages.h"
#include "sms/MessageBoxes.h"
#include "sms/MessageRows.h"

namespace cli {

namespace {

const char* BoxName(sms::Box box) {
    return box == sms::Box::Inbox ? "inbox" : "outbox";
}

bool Load(Context& c) {
    const bool loaded = c.options.box == sms::Box::Inbox ? sms::LoadInbox(c.engine, c.session)
                                                         : sms::LoadOutbox(c.engine, c.session);
    if (!loaded) {
        Complain(c.err, "the phone is not connected");
    }
    return loaded;
}

const sms::MessageList& List(Context& c) {
    return c.options.box == sms::Box::Inbox ? c.engine.GetInbox() : c.engine.GetOutbox();
}

int ListMessages(Context& c) {
    if (!Load(c)) {
        return kExitFailed;
    }
    const bool inbox = c.options.box == sms::Box::Inbox;
    std::vector<sms::MessageRow> rows = sms::BuildRows(List(c), inbox);
    if (inbox && !c.options.parts) {
        rows = sms::JoinParts(std::move(rows));
    }
    if (c.options.json) {
        nlohmann::ordered_json array = nlohmann::ordered_json::array();
        for (const sms::MessageRow& row : rows) {
            nlohmann::ordered_json object = backup::MessageRowJson(row, inbox);
            // The ids sms delete takes for every stored part of the message, in part order.
            object["parts"] = nlohmann::ordered_json::array();
            for (int position : row.parts) {
                object["parts"].push_back(position + 1);
            }
            array.push_back(std::move(object));
        }
        PrintJson(c.out, array);
        return kExitOk;
    }
    for (const sms::MessageRow& row : rows) {
        // A long message shows the ids of all its parts ("14,13").
        std::string id = app::ToUtf8(row.idText);
        if (id.size() < 2) {
            id.insert(0, 2 - id.size(), ' ');
        }
        c.out << id << "  ";
        if (!row.decoded) {
            c.out << app::ToUtf8(sms::StorageName(row.storage)) << "  (not a readable message)\n";
            continue;
        }
        if (inbox) {
            // A sent message has no date: blanks keep the columns.
            std::string date = app::ToUtf8(row.date);
            if (date.size() < 8) {
                date.resize(8, ' ');
            }
            c.out << date << "  ";
        }
        std::string number = app::ToUtf8(row.number);
        if (number.size() < 14) {
            number.resize(14, ' ');
        }
        c.out << number << "  " << app::ToUtf8(sms::StorageName(row.storage)) << "  "
              << app::Printable(app::ToUtf8(row.text));
        if (row.sender != u"Unknown") {
            c.out << "  (from " << app::Printable(app::ToUtf8(row.sender)) << ")";
        }
        c.out << '\n';
    }
    c.out << std::flush;
    return kExitOk;
}

sms::ComposeFields Fields(const Options& options) {
    sms::ComposeFields fields;
    fields.recipient = options.recipient;
    fields.text = options.text;
    fields.deliverReport = options.report;
    fields.replyPath = options.replyPath;
    return fields;
}

int Send(Context& c) {
    sms::CComposeSender sender(c.engine, c.session);
    const sms::SendOutcome outcome = sender.Send(Fields(c.options), c.options.save);
    if (outcome == sms::SendOutcome::Refused) {
        return kExitBadArguments;
    }
    if (outcome == sms::SendOutcome::NotConnected) {
        Complain(c.err, "the phone is not connected");
        return kExitFailed;
    }
    const bool sent =
        outcome != sms::SendOutcome::SendError && outcome != sms::SendOutcome::Unconfirmed;
    const bool saved = c.options.save && outcome == sms::SendOutcome::Sent;
    if (c.options.json) {
        nlohmann::ordered_json result = {
            {"sent", sent}, {"outcome", app::ToUtf8(sms::CComposeSender::OutcomeText(outcome))}};
        if (c.options.save) {
            result["saved"] = saved;
        }
        PrintJson(c.out, result);
    }
    return outcome == sms::SendOutcome::Sent ? kExitOk : kExitFailed;
}

int Delete(Context& c) {
    if (!Load(c)) {
        return kExitFailed;
    }
    const int count = List(c).Count();
    std::vector<int> rows;
    std::vector<int> ids;
    for (int id : c.options.ids) {
        if (id > count) {
            Complain(c.err, "no message " + std::to_string(id) + " in the " +
                                BoxName(c.options.box) + " (it holds " + std::to_string(count) +
                                ")");
            return kExitBadArguments;
        }
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
            ids.push_back(id);
            rows.push_back(id - 1);
        }
    }
    if (!sms::ConfirmDelete(!rows.empty())) {
        Complain(c.err, "nothing deleted; confirm with --yes");
        return kExitBadArguments;
    }
    const std::vector<bool> deleted = sms::DeleteRows(c.engine, c.session, c.options.box, rows);
    nlohmann::ordered_json done = nlohmann::ordered_json::array();
    nlohmann::ordered_json failed = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (deleted[i]) {
            done.push_back(ids[i]);
        } else {
            failed.push_back(ids[i]);
            Complain(c.err, "message " + std::to_string(ids[i]) + " was not deleted");
        }
    }
    if (c.options.json) {
        PrintJson(c.out, {{"deleted", done}, {"failed", failed}});
    }
    return failed.empty() ? kExitOk : kExitFailed;
}

}  // namespace

bool SendAccepted(const Options& options, CSmsEngine& engine, CPhoneSession& session,
                  std::ostream& err) {
    const sms::ComposeFields fields = Fields(options);
    if (sms::CComposeSender(engine, session).CheckFields(fields)) {
        return true;
    }
    if (!fields.recipient.empty() && !fields.text.empty() && !sms::IsDialNumber(fields.recipient)) {
        Complain(err, "a number to send to is digits only, at most " +
                          std::to_string(sms::CComposeSender::kMaxRecipientDigits) +
                          ", with + in front for an international one (+447700900123); blanks "
                          "are left out");
    }
    return false;
}

int RunSms(Context& c) {
    switch (c.options.action) {
        case Action::SmsList:
            return ListMessages(c);
        case Action::SmsSend:
            return Send(c);
        case Action::SmsDelete:
            return Delete(c);
        case Action::SmsExport:
            return ExportMessages(c);
        case Action::SmsImport:
            return ImportMessages(c);
        default:
            return kExitBadArguments;
    }
}

}  // namespace cli
