#pragma once
// Messages as JSON lines, one message a line: the fields of a row of `sms list --json`, and the
// box, the storage, the index and the PDU hex exactly as the phone listed them, so that a
// message can be stored back as it was whether or not this program can read it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "sms/MessageList.h"
#include "sms/MessageRows.h"

namespace backup {

struct ArchivedMessage {
    int line = 0;
    bool outbox = false;
    std::u16string storage;  // "SM", "ME", or whatever the line says
    std::u16string pdu;
    int tpduLength = 0;  // what the store command is given
};

struct MessageArchive {
    std::vector<ArchivedMessage> messages;
    int errorLine = 0;
    std::string error;  // empty when the file was read

    bool Failed() const { return !error.empty(); }
};

// The fields of a row of `sms list --json`, which each line of the archive holds after its box:
// the id, the date (inbox only), the number, the text, the sender, the storage and whether the
// PDU was read.
nlohmann::ordered_json MessageRowJson(const sms::MessageRow& row, bool inbox);

// The archive of every entry of an engine list, `outbox` or not.
std::string WriteArchive(const sms::MessageList& list, bool outbox);
MessageArchive ReadArchive(std::string_view bytes);

// Octets of the TPDU, those after the service-centre field; null when the text is not the hex
// of a PDU that has one.
std::optional<int> TpduLength(std::u16string_view pdu);

}  // namespace backup
