// sms export and import: a box to JSON lines, and the stored sent messages of such a file back
// into the phone with the store command, each into the storage it came from.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Utf8Text.h"
#include "app/cli/Commands.h"
#include "app/cli/Output.h"
#include "sms/MessageBoxes.h"
#include "sms/MessageRows.h"
#include "sms/SmsReplies.h"
#include "sms/codec/ShortMessage.h"
#include "text/Ascii.h"

namespace cli {

namespace {

// "+447700900103  Thanks for lunch!" for the plan, as far as the PDU can be read.
std::string Summary(const std::u16string& pdu) {
    const std::unique_ptr<CShortMessage> message = DecodeStoredMessage(pdu);
    if (!message) {
        return "(not a readable message)";
    }
    return app::Printable(app::ToUtf8(sms::DialBackNumber(message->GetAddress()) + u"  " +
                                      sms::ListText(message->GetText())));
}

// The phone's second storage, where the store command writes, with its room.
class StoreTarget {
public:
    StoreTarget(CSmsEngine& engine) : engine_(engine) {}

    // Selects "SM" for a message that came from the SIM card, "ME" for any other. False when the
    // phone refused: a store would then go to whatever storage was selected before.
    bool Select(bool sim) {
        if (known_ && sim == sim_) {
            return true;
        }
        const std::u16string first = sim ? u"SM" : u"ME";
        if (!engine_.SelectStorage(first, first, u"ME")) {
            known_ = false;
            return false;
        }
        engine_.QueryStorage();
        used_ = CSmsEngine::DecimalValue(engine_.GetStorageUsed());
        total_ = CSmsEngine::DecimalValue(engine_.GetStorageTotal());
        sim_ = sim;
        known_ = true;
        return true;
    }
    // The compose dialog's check before it stores.
    bool Full() const { return total_ > 0 && used_ >= total_; }
    void Stored() { ++used_; }
    // As the pages leave the phone: "ME" as every storage.
    void Restore() {
        if (known_ && sim_) {
            engine_.SelectStorage(u"ME", u"ME", u"ME");
            engine_.QueryStorage();
        }
    }

private:
    CSmsEngine& engine_;
    bool known_ = false;
    bool sim_ = false;
    int used_ = 0;
    int total_ = 0;
};

enum class Fate { Store, AlreadyThere };

}  // namespace

int ExportMessages(Context& c) {
    const bool outbox = c.options.box == sms::Box::Outbox;
    const char* name = outbox ? "outbox" : "inbox";
    bool complete = false;
    const bool loaded = outbox ? sms::LoadOutbox(c.engine, c.session, &complete)
                               : sms::LoadInbox(c.engine, c.session, &complete);
    if (!loaded) {
        Complain(c.err, "the phone is not connected");
        return kExitFailed;
    }
    // A backup that might lack a message is no backup: nothing is written.
    if (!complete) {
        Complain(c.err,
                 std::string("the ") + name + " could not be listed whole; nothing was written");
        return kExitFailed;
    }
    const sms::MessageList& list = outbox ? c.engine.GetOutbox() : c.engine.GetInbox();
    if (!WriteOutput(c, backup::WriteArchive(list, outbox))) {
        return kExitFailed;
    }
    if (!c.options.file.empty()) {
        c.out << list.Count() << " messages of the " << name << " written to " << c.options.file
              << '\n'
              << std::flush;
    }
    return kExitOk;
}

int ImportMessages(Context& c) {
    if (!sms::LoadOutbox(c.engine, c.session)) {
        Complain(c.err, "the phone is not connected");
        return kExitFailed;
    }
    const sms::MessageList& outbox = c.engine.GetOutbox();
    if (outbox.IsFull()) {
        Complain(c.err,
                 "the outbox already lists as many messages as Halvex keeps; nothing "
                 "was stored, so that none is stored twice");
        return kExitFailed;
    }
    // Each message on the phone answers for one line of the file with the same PDU, so that a
    // message the phone holds twice is restored twice.
    const std::vector<backup::ArchivedMessage>& messages = c.messages->messages;
    std::vector<bool> matched(static_cast<std::size_t>(outbox.Count()), false);
    std::vector<Fate> fates;
    for (const backup::ArchivedMessage& message : messages) {
        Fate fate = Fate::Store;
        for (int i = 0; i < outbox.Count(); ++i) {
            if (!matched[static_cast<std::size_t>(i)] &&
                text::EqualsIgnoringCase(outbox.Pdu(i), message.pdu)) {
                matched[static_cast<std::size_t>(i)] = true;
                fate = Fate::AlreadyThere;
                break;
            }
        }
        fates.push_back(fate);
    }
    const auto toStore = std::count(fates.begin(), fates.end(), Fate::Store);
    if (!c.options.json) {
        c.out << "Plan for the outbox from " << c.options.file << ":\n";
        for (std::size_t i = 0; i < messages.size(); ++i) {
            c.out << (fates[i] == Fate::Store ? "  store    " : "  keep     ") << "line "
                  << messages[i].line << "  " << app::ToUtf8(messages[i].storage) << "  "
                  << Summary(messages[i].pdu)
                  << (fates[i] == Fate::Store ? "" : "  (already on the phone)") << '\n';
        }
        c.out << toStore << " to store, " << messages.size() - static_cast<std::size_t>(toStore)
              << " already on the phone.\n"
              << std::flush;
    }

    std::vector<std::string> results(messages.size());
    int stored = 0;
    int refused = 0;
    if (!c.options.dryRun) {
        StoreTarget target(c.engine);
        for (std::size_t i = 0; i < messages.size(); ++i) {
            if (fates[i] != Fate::Store) {
                continue;
            }
            const backup::ArchivedMessage& message = messages[i];
            const bool sim = message.storage == u"SM";
            if (!target.Select(sim)) {
                results[i] = std::string("the phone refused its storage ") + (sim ? "SM" : "ME");
            } else if (target.Full()) {
                results[i] = "the storage is full";
            } else if (c.engine.StorePdu(message.tpduLength, message.pdu,
                                         sms::Status::StoredSent)) {
                target.Stored();
                results[i] = "stored";
            } else {
                results[i] = "the phone did not store it";
            }
            ++(results[i] == "stored" ? stored : refused);
        }
        target.Restore();
    }

    if (c.options.json) {
        nlohmann::ordered_json lines = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < messages.size(); ++i) {
            nlohmann::ordered_json entry = {{"line", messages[i].line},
                                            {"storage", app::ToUtf8(messages[i].storage)},
                                            {"action", fates[i] == Fate::Store ? "store" : "keep"}};
            if (!results[i].empty()) {
                entry["stored"] = results[i] == "stored";
                if (results[i] != "stored") {
                    entry["reason"] = results[i];
                }
            }
            lines.push_back(std::move(entry));
        }
        PrintJson(c.out, {{"dryRun", c.options.dryRun},
                          {"messages", std::move(lines)},
                          {"stored", stored},
                          {"refused", refused}});
    } else if (c.options.dryRun) {
        c.out << "Dry run: nothing was stored.\n" << std::flush;
    } else {
        c.out << "The phone stored " << stored << (stored == 1 ? " message" : " messages")
              << " and refused " << refused << (refused == 0 ? ".\n" : ":\n");
        for (std::size_t i = 0; i < messages.size(); ++i) {
            if (!results[i].empty() && results[i] != "stored") {
                c.out << "  line " << messages[i].line << ": " << results[i] << '\n';
            }
        }
        c.out << std::flush;
    }
    return refused == 0 ? kExitOk : kExitFailed;
}

}  // namespace cli
