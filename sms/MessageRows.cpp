#include "sms/MessageRows.h"

#include <memory>
#include <string>

#include "sms/codec/ShortMessage.h"

namespace sms {

namespace {

// "%2d" with the blank padding turned into "0".
std::u16string TwoDigits(unsigned value) {
    const std::string digits = std::to_string(value);
    std::u16string text(digits.begin(), digits.end());
    if (text.size() < 2) {
        text.insert(text.begin(), u'0');
    }
    return text;
}

}  // namespace

std::u16string DateText(const SmsDateTime& stamp) {
    return TwoDigits(stamp.month) + u"/" + TwoDigits(stamp.day) + u"/" + TwoDigits(stamp.year);
}

std::u16string TimeText(const SmsDateTime& stamp) {
    return TwoDigits(stamp.hour) + u":" + TwoDigits(stamp.minute) + u":" + TwoDigits(stamp.second);
}

std::u16string DialBackNumber(const SmsAddress& address) {
    constexpr std::int32_t kInternational = 1;
    if (address.IsAlphanumeric()) {
        return u"";
    }
    return address.typeOfNumber == kInternational && !address.number.empty() ? u"+" + address.number
                                                                             : address.number;
}

namespace {

bool HasSenderPrefix(std::u16string_view text) {
    return text.starts_with(u"FM:");
}

}  // namespace

std::u16string ShownText(std::u16string_view text) {
    return HasSenderPrefix(text) ? StripMessagePrefix(text) : std::u16string(text);
}

std::u16string ShownSender(std::u16string_view text) {
    return HasSenderPrefix(text) ? ExtractSender(text) : u"Unknown";
}

std::u16string ListText(std::u16string_view text) {
    std::u16string copy(text);
    for (char16_t& c : copy) {
        if (c == u'\r' || c == u'\n') {
            c = u' ';
        }
    }
    return ShownText(copy);
}

std::u16string StorageName(Storage storage) {
    switch (storage) {
        case Storage::Phone:
            return u"ME";
        case Storage::Sim:
            return u"SM";
        case Storage::Tl:
            return u"TL";
        case Storage::None:
            break;
    }
    return u"";
}

MessageRow BuildRow(const MessageList& list, int position, bool incoming) {
    MessageRow row;
    row.id = position + 1;
    const std::string id = std::to_string(row.id);
    row.idText.assign(id.begin(), id.end());
    row.storage = list.Storage(position);
    row.parts = {position};
    std::shared_ptr<const CShortMessage> message = DecodeMessage(list.Pdu(position), incoming);
    if (!message) {
        return row;
    }
    const std::u16string text = message->GetText();
    row.date = DateText(message->GetTimeStamp());
    const SmsAddress address = message->GetAddress();
    // A sender's name is shown as it is; numbers get their "+", whatever their type.
    row.number = address.IsAlphanumeric() ? address.number : u"+" + address.number;
    row.text = ListText(text);
    row.sender = ShownSender(text);
    row.fullText = text;
    row.decoded = true;
    row.message = std::move(message);
    return row;
}

std::vector<MessageRow> BuildRows(const MessageList& list, bool incoming) {
    std::vector<MessageRow> rows;
    rows.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        rows.push_back(BuildRow(list, i, incoming));
    }
    return rows;
}

}  // namespace sms
