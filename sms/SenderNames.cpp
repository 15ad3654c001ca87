#include "sms/SenderNames.h"

namespace sms {

std::u16string FromLine(const MessageRow& row) {
    if (!row.decoded || row.sender == u"Unknown") {
        return u"";
    }
    return u"From: " + row.sender + u" <" + row.number + u">";
}

std::u16string ContactName(const ContactNames& names, const SmsAddress& sender) {
    if (sender.IsAlphanumeric() || sender.number.empty() || !names) {
        return u"";
    }
    constexpr std::int32_t kInternational = 1;
    return names(sender.typeOfNumber == kInternational ? u"+" + sender.number : sender.number);
}

}  // namespace sms
