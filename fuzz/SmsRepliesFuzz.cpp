// Any reply to the SMS commands, read by each of their readers: message lists, read replies,
// storage counts, the service centre and the store reply.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sms/SmsReplies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string reply(size / 2, u'\0');
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        reply[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
    }
    const std::u16string_view text = sms::UpToNull(reply);
    for (const sms::ListedMessage& message : sms::ParseMessageList(text)) {
        if (message.pdu.size() > text.size() || message.index.size() > text.size()) {
            std::abort();
        }
        (void)sms::DecimalValue(message.index);
    }
    (void)sms::ParseReadReply(text);
    sms::StorageState state;
    if (sms::ParseStorageReply(text, state)) {
        (void)sms::DecimalValue(state.used);
        (void)sms::DecimalValue(state.total);
    }
    if (const auto centre = sms::ParseServiceCentreReply(text)) {
        for (std::optional<unsigned> flag : {std::optional<unsigned>(), std::optional<unsigned>(1u),
                                             std::optional<unsigned>(0u)}) {
            (void)sms::ServiceCentreNumber(*centre, flag, u"+44");
        }
    }
    (void)sms::ParseStoredIndex(text);
    (void)sms::IsPduText(text);
    return 0;
}
