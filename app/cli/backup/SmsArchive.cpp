#include "app/cli/backup/SmsArchive.h"

#include "app/Utf8Text.h"
#include "sms/SmsReplies.h"
#include "sms/codec/ShortMessage.h"

namespace backup {

namespace {

// A PDU holds at most a 12-octet service-centre field and a 164-octet TPDU.
constexpr std::size_t kMaxPduOctets = 176;

struct Failure {
    std::string message;
};

std::string StringField(const nlohmann::json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        throw Failure{std::string("no \"") + key + "\" text"};
    }
    return it->get<std::string>();
}

ArchivedMessage ReadLine(std::string_view line, int number) {
    const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    if (object.is_discarded() || !object.is_object()) {
        throw Failure{"not a JSON object"};
    }
    ArchivedMessage message;
    message.line = number;
    const std::string box = StringField(object, "box");
    if (box != "inbox" && box != "outbox") {
        throw Failure{"the box is neither inbox nor outbox"};
    }
    message.outbox = box == "outbox";
    message.storage = app::FromUtf8(StringField(object, "storage")).value_or(u"");
    message.pdu = app::FromUtf8(StringField(object, "pdu")).value_or(u"");
    const std::optional<int> length = TpduLength(message.pdu);
    if (!length) {
        throw Failure{"the pdu is not the hex of a message"};
    }
    message.tpduLength = *length;
    return message;
}

}  // namespace

std::optional<int> TpduLength(std::u16string_view pdu) {
    if (!sms::IsPduText(pdu) || pdu.size() % 2 != 0 || pdu.size() / 2 > kMaxPduOctets) {
        return std::nullopt;
    }
    const int tpdu = sms::TpduLength(pdu);
    if (tpdu < 1) {
        return std::nullopt;
    }
    return tpdu;
}

nlohmann::ordered_json MessageRowJson(const sms::MessageRow& row, bool inbox) {
    nlohmann::ordered_json object = {{"id", row.id}};
    // The outbox page builds a date too, but a stored outgoing message has none.
    if (inbox) {
        object["date"] = app::ToUtf8(row.date);
    }
    object["number"] = app::ToUtf8(row.number);
    object["text"] = app::ToUtf8(row.text);
    object["sender"] = app::ToUtf8(row.sender);
    object["storage"] = app::ToUtf8(sms::StorageName(row.storage));
    object["decoded"] = row.decoded;
    return object;
}

std::string WriteArchive(const sms::MessageList& list, bool outbox) {
    std::string out;
    for (const sms::MessageRow& row : sms::BuildRows(list, !outbox)) {
        const int position = row.id - 1;
        nlohmann::ordered_json object = {{"box", outbox ? "outbox" : "inbox"}};
        object.update(MessageRowJson(row, !outbox));
        object["index"] = app::ToUtf8(list.Index(position));
        object["pdu"] = app::ToUtf8(list.Pdu(position));
        out += object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        out += '\n';
    }
    return out;
}

MessageArchive ReadArchive(std::string_view bytes) {
    MessageArchive archive;
    int number = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string_view::npos) {
            continue;
        }
        try {
            archive.messages.push_back(ReadLine(line, number));
        } catch (const Failure& failure) {
            archive.messages.clear();
            archive.errorLine = number;
            archive.error = failure.message;
            return archive;
        }
    }
    return archive;
}

}  // namespace backup
