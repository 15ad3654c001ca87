#pragma once
// What the phone's error results mean: the mobile equipment's "+CME ERROR: n" and the message
// service's "+CMS ERROR: n", in the words of the AT command standards.

#include <string>
#include <string_view>

namespace at {

// The meaning of an error result line in numeric form ("+CME ERROR: 26" gives "dial string too
// long"); "" for a line in text form, an unknown code or any other line.
std::string ErrorMeaning(std::u16string_view line);

// The line with its meaning in parentheses when one is known: "+CME ERROR: 26 (dial string too
// long)".
std::u16string DescribeErrorResult(std::u16string_view line);

}  // namespace at
