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

namespace {

// "+" and the digits, whatever the type of number; a sender's name ("BANK") as it is.
std::u16string RowNumber(const SmsAddress& address) {
    return address.IsAlphanumeric() ? address.number : u"+" + address.number;
}

}  // namespace

std::u16string ReportText(const CSmsStatusReport& report) {
    // TP-ST: 0x00-0x1F the message reached the recipient (0x01: handed on without a
    // confirmation), 0x20-0x3F the centre is still trying, every other value a failure (the
    // reserved values above 0x7F too, which count as the service rejected).
    const std::uint8_t status = report.GetStatus();
    const std::u16string to = RowNumber(report.GetRecipient());
    const SmsDateTime& when = report.GetDischargeTime();
    const std::u16string at = u" on " + DateText(when) + u" at " + TimeText(when);
    if (!report.HasStatus()) {
        // A report cut short must not read as a delivery.
        return u"Report on the message to " + to + u" cut short: delivery unknown";
    }
    if (status == 0x01) {
        return u"Passed on to " + to + at + u", delivery not confirmed";
    }
    if (status < 0x20) {
        return u"Delivered to " + to + at;
    }
    if (status < 0x40) {
        return u"Still trying to deliver to " + to + u" (last try" + at + u")";
    }
    return u"Not delivered to " + to + at;
}

MessageRow BuildRow(const MessageList& list, int position, bool inbox) {
    MessageRow row;
    row.id = position + 1;
    const std::string id = std::to_string(row.id);
    row.idText.assign(id.begin(), id.end());
    row.storage = list.Storage(position);
    row.parts = {position};
    std::shared_ptr<const CShortMessage> message = DecodeStoredMessage(list.Pdu(position));
    if (!message) {
        return row;
    }
    const auto* report = dynamic_cast<const CSmsStatusReport*>(message.get());
    const std::u16string text = report != nullptr ? ReportText(*report) : message->GetText();
    // A sent message has no time stamp: the outbox builds 00/00/00 and does not show it, the
    // inbox shows no date rather than that one.
    constexpr std::int32_t kSubmit = 1;
    if (!inbox || message->GetMessageType() != kSubmit) {
        row.date = DateText(message->GetTimeStamp());
    }
    row.number = RowNumber(message->GetAddress());
    row.text = ListText(text);
    row.sender = ShownSender(text);
    row.fullText = text;
    row.decoded = true;
    row.message = std::move(message);
    return row;
}

std::vector<MessageRow> BuildRows(const MessageList& list, bool inbox) {
    std::vector<MessageRow> rows;
    rows.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        rows.push_back(BuildRow(list, i, inbox));
    }
    return rows;
}

}  // namespace sms
