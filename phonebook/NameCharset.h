#pragma once
// The character sets names travel in between the program and the phone, and names in each.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace phonebook {

enum class NameCharset {
    Utf8,  // names as they are
    Ucs2,  // four hex digits per UTF-16 unit
    Gsm,   // the GSM default alphabet, one code per character on the line (two with the escape)
    Ira,   // ASCII
};

// The name the phone knows the set by ("UTF-8", "UCS2", "GSM", "IRA").
std::u16string_view NameOf(NameCharset charset);
std::optional<NameCharset> CharsetNamed(std::u16string_view name);

// The sets to try after UTF-8 was refused, in the order of preference, of those the phone lists
// in its answer line to "AT+CSCS=?" ("+CSCS: ("GSM","IRA","UCS2")").
std::vector<NameCharset> CharsetsToTry(std::u16string_view offerLine);

// A name as it goes between the quotes of a command, and its length as the phone counts it
// (UTF-16 units; septets for GSM). When the set cannot carry a character, `refused` holds it and
// `text` is empty. In UCS2 and GSM a "\HH" of the name (the form in which a phone sending text
// gives a quote, a backslash or a control character) goes as the character it stands for.
struct EncodedName {
    std::u16string text;
    std::size_t length = 0;
    std::u16string refused;
};
EncodedName EncodeName(std::u16string_view name, NameCharset charset);

// A name field of a reply, between its quotes, as text; nothing when it is not a name in the set
// (UCS2: digits not in fours or a lone surrogate; GSM: an escape at the end or before an unknown
// code).
std::optional<std::u16string> DecodeName(std::u16string_view field, NameCharset charset);

}  // namespace phonebook
