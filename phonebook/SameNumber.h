#pragma once
// Whether two ways of writing a phone number reach the same phone.

#include <string_view>

namespace phonebook {

// True when two phone numbers reach the same phone: the same digits, or a national number
// ("07700900123") and an international one ("+447700900123") that ends in its digits after the
// leading 0, with a country code of one to three digits before them. Blanks, dashes and brackets
// do not count.
bool SameNumber(std::u16string_view a, std::u16string_view b);

}  // namespace phonebook
