#pragma once
// Which part of a concatenated message a user-data header says its message is: the information
// element 0x00 (8-bit reference) or 0x08 (16-bit reference).

#include <cstdint>
#include <optional>
#include <string_view>

namespace sms {

struct Concatenation {
    std::uint16_t reference = 0;
    std::uint8_t count = 0;      // parts in the whole message, as the header says
    std::uint8_t sequence = 0;   // this part's number, from 1, as the header says
    bool wideReference = false;  // element 0x08
};

// The concatenation element of a header (the octets after UDHL, one character each, as the
// records keep it). An element that repeats counts by its last copy; nothing for a header without
// one, and the walk stops at an element that runs past the header's end. The numbers are not
// checked: part 5 of 3 comes back as such.
std::optional<Concatenation> FindConcatenation(std::u16string_view header);

}  // namespace sms
