#pragma once
// Small text helpers of the simulated phone: ASCII case, numbers, hex, UTF-8. All but the
// numbers of command arguments and the phone's reading of UTF-8 are the text library's.

#include <optional>
#include <string>
#include <string_view>

#include "text/Ascii.h"
#include "text/Hex.h"
#include "text/Trim.h"
#include "text/Utf.h"

namespace phonesim {

using text::EqualsIgnoringCase;
using text::HexDigit;
using text::HexToOctets;
using text::HexValue;
using text::OctetsToHex;
using text::StartsWithIgnoringCase;
using text::ToUpperAscii;
using text::ToUtf8;  // a lone surrogate is written as U+FFFD
using text::Trim;

// A decimal integer, optionally signed, with at most 9 digits; blanks around it, nothing else.
std::optional<long> ParseInt(std::string_view text);

// Well-formed UTF-8 to UTF-16; a surrogate written as its own 3-byte form is taken as it is.
// nullopt for anything malformed.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);

}  // namespace phonesim
