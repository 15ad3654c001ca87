// Any reply to the SMS commands, read by each of their readers: message lists, read replies,
// storage counts, the service centre and the store reply. What they give is taken from the reply
// in its order, never made up: each message's index and PDU, each read PDU, the storage counts,
// the centre's number between its quotes, the stored index; a storage reply that does not parse
// leaves the state alone, and a PDU text passed as good is hex digits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sms/SmsReplies.h"

namespace {

// Where `part` starts in `text` at or after `from`; aborts when it is not there.
std::size_t After(std::u16string_view text, std::u16string_view part, std::size_t from) {
    const std::size_t at = text.find(part, from);
    if (at == std::u16string_view::npos)
        std::abort();
    return at;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string reply(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2)
        reply[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    const std::u16string_view text = sms::UpToNull(reply);
    std::size_t at = 0;
    for (const sms::ListedMessage& message : sms::ParseMessageList(text)) {
        at = After(text, message.index, at) + message.index.size();
        at = After(text, message.pdu, at) + message.pdu.size();
        (void)sms::DecimalValue(message.index);
    }
    at = 0;
    for (const std::u16string& pdu : sms::ParseReadReply(text))
        at = After(text, pdu, at) + pdu.size();
    sms::StorageState state;
    const sms::StorageState before = state;
    if (sms::ParseStorageReply(text, state)) {
        After(text, state.total, After(text, state.used, 0) + state.used.size());
    } else if (state.codes != before.codes || state.used != before.used ||
               state.total != before.total) {
        std::abort();
    }
    if (const auto centre = sms::ParseServiceCentreReply(text)) {
        After(text, u"\"" + centre->number + u"\"", 0);
        for (const auto kind : {phone::Kind::Nokia, phone::Kind::Ordinary, phone::Kind::NoAnswer})
            (void)sms::ServiceCentreNumber(*centre, kind, u"+44");
        (void)sms::ServiceCentreNumber(*centre, std::nullopt, u"+44");
    }
    After(text, sms::ParseStoredIndex(text), 0);
    if (sms::IsPduText(text) &&
        (text.empty() || text.find_first_not_of(u"0123456789ABCDEFabcdef") != text.npos)) {
        std::abort();
    }
    return 0;
}
