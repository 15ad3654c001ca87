#pragma once
// Who a received message is from, in words: the name an "FM: name MSG: " text carries, and the
// contact of the phone book read since connecting whose number sent it.

#include <string>
#include <string_view>

#include "phonebook/PhoneSession.h"
#include "sms/MessageRows.h"

namespace sms {

// "From: Alice Smith <+447700900999>" for a row whose text names its sender; empty otherwise.
std::u16string FromLine(const MessageRow& row);

// True when two phone numbers reach the same phone: the same digits, or a national number
// ("07700900123") and an international one ("+447700900123") that ends in its digits after the
// leading 0, with a country code of one to three digits before them. Blanks, dashes and brackets
// do not count.
bool SameNumber(std::u16string_view a, std::u16string_view b);

// The name of the first contact in the phone memory's book, then the SIM's, with a number that
// is the sender's (SameNumber); only books read since connecting count. Empty when none, and for
// a sender that is a name.
std::u16string ContactName(CPhoneSession& session, const SmsAddress& sender);

}  // namespace sms
