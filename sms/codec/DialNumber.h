#pragma once
// Dial strings as the user types them, turned into addresses.

#include <string>
#include <string_view>

#include "sms/codec/SmsTypes.h"

// Drops blanks, tabs and line breaks (the C locale's white space).
std::u16string RemoveWhiteSpace(std::u16string_view text);
// Numbering plan 1; a leading '+' gives type 1 and is dropped, anything else type 0.
// No character is checked.
SmsAddress ParseDialNumber(std::u16string_view text);
