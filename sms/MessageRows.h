#pragma once
// The rows of the inbox and outbox pages, built from the SMS engine's lists as the pages build
// them: an id from 1, the date as MM/DD/YY, the other party as "+" and its digits, the text (after
// its "FM: name MSG: " prefix) with its line breaks as blanks; plus what the message view shows
// besides (the sender named after "FM:") and the storage the message was listed from.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sms/MessageList.h"
#include "sms/SmsReplies.h"
#include "sms/codec/ShortMessage.h"
#include "sms/codec/SmsStatusReport.h"
#include "sms/codec/SmsTypes.h"

namespace sms {

struct MessageRow {
    int id = 0;             // position + 1
    std::u16string idText;  // "%d" of the id
    // "%2d/%2d/%2d" of month, day and year with blanks as "0". A sent message has no time
    // stamp: 00/00/00 in the outbox, which the page builds but does not show; empty in the inbox.
    std::u16string date;
    // "+" and the digits, whatever the type of number; a sender's name ("BANK") as it is.
    std::u16string number;
    std::u16string text;    // for the list: no prefix, CR and LF as blanks
    std::u16string sender;  // ShownSender of the text as it came
    // The text as it came; for a row that joins the parts of a long message, theirs in order
    // (JoinParts).
    std::u16string fullText;
    // Positions in the engine's list of the messages the row shows, in part order: the row's
    // own position for a message of its own.
    std::vector<int> parts;
    Storage storage = Storage::None;
    // False when the PDU text could not be decoded: the row keeps its place (rows and the
    // engine's entries share positions) and its id and storage, with empty texts.
    bool decoded = false;
    // The message as decoded, of whatever class the PDU gave; null when not decoded.
    std::shared_ptr<const CShortMessage> message;
};

// The row of the entry at `position` of an engine list; `inbox` for the inbox. A PDU is read as
// what it is (DecodeStoredMessage), whichever box it was listed in: a sent message in the inbox
// shows its recipient and text, with no date (it has no time stamp); a status report shows what
// it reports (ReportText).
MessageRow BuildRow(const MessageList& list, int position, bool inbox);
// Every entry in use, in order.
std::vector<MessageRow> BuildRows(const MessageList& list, bool inbox);

// What a status report says, with the time the network gives for it, as
// "Delivered to +447700900123 on 12/24/26 at 10:30:05", or that it cannot tell for a report cut
// short before its status. The number is written as rows write it.
std::u16string ReportText(const CSmsStatusReport& report);

// "%2d/%2d/%2d" of month, day and two-digit year, blanks replaced with "0".
std::u16string DateText(const SmsDateTime& stamp);
// "%2d:%2d:%2d" of hour, minute and second, blanks replaced with "0".
std::u16string TimeText(const SmsDateTime& stamp);
// What a reply or a new copy of a message is sent to: the address's digits, with a "+" when the
// number is international (digits alone would go out as a number of unknown type, which the
// network reads as a national one); empty for a sender that is a name.
std::u16string DialBackNumber(const SmsAddress& address);
// The text as the pages show it: without the "FM: name MSG: " prefix of a text that starts with
// "FM:", any other text whole ("Reply MSG: STOP" is part of what was written).
std::u16string ShownText(std::u16string_view text);
// The name of that prefix; "Unknown" for a text without it.
std::u16string ShownSender(std::u16string_view text);
// ShownText with every CR and LF replaced by a blank.
std::u16string ListText(std::u16string_view text);
// "ME", "SM", "TL", or "" for Storage::None.
std::u16string StorageName(Storage storage);

}  // namespace sms
