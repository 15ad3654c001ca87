#pragma once
// Profiles describe their messages in words next to the PDU:
//   {"index": 1, "status": 1, "pdu": "07914477...",
//    "deliver": {"from": "+447700900123", "time": "2024-03-05 14:22:10+00:00", "text": "Hi"}}
// and the PDU is made from the description, never typed by hand. A part of a concatenated message
// says which: "part": {"reference": 7, "count": 2, "sequence": 1} ("wideReference": true for a
// 16-bit reference).

#include <string>

namespace phonesim {

// The profile text with every described message's "pdu" made from its "deliver" or "submit"
// description, written in the profiles' layout. Throws ProfileError for text that is not JSON
// or a description that gives no PDU.
std::string RegenerateProfilePdus(const std::string& profileJson);

}  // namespace phonesim
