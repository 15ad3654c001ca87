#pragma once
// Who a received message is from, in words: the name an "FM: name MSG: " text carries, and the
// contact whose number sent it.

#include <functional>
#include <string>
#include <string_view>

#include "sms/MessageRows.h"

namespace sms {

// "From: Alice Smith <+447700900999>" for a row whose text names its sender; empty otherwise.
std::u16string FromLine(const MessageRow& row);

// The name of the contact with a number, empty when there is none: the program's phone book
// answers it (the pages are given it).
using ContactNames = std::function<std::u16string(const std::u16string& number)>;

// The contact name of a sender's number, with its "+" when it is international. Empty when
// none, and for a sender that is a name.
std::u16string ContactName(const ContactNames& names, const SmsAddress& sender);

}  // namespace sms
