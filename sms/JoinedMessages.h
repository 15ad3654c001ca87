#pragma once
// A long message arrives as several stored messages, each carrying in its user-data header the
// sender's reference, the number of parts and its own part number. The inbox shows such parts as
// one row, in part order, whatever order the phone stored them in.

#include <string>
#include <vector>

#include "sms/MessageRows.h"

namespace sms {

// Parts further apart than this (by their service-centre time stamps) are not joined: a sender
// starts again at reference 0 sooner or later.
inline constexpr long long kJoinWindowSeconds = 24 * 60 * 60;

// The inbox rows (BuildRows of the inbox, in list order) with the parts of each long message
// joined into one row, at the place of its part listed first. Parts are joined only where the
// sender, the reference (8-bit and 16-bit ones never meet) and the number of parts agree and no
// part number repeats; a missing part shows as "(part 2 of 3 missing)" where it belongs. A part
// whose header makes no sense (part 0, part 5 of 3, a message of 0 or 1 parts) stays a row of its
// own, as does every message without such a header. No stored message is left out: the rows'
// parts together are every position exactly once.
std::vector<MessageRow> JoinParts(std::vector<MessageRow> rows);

// "(part 2 of 3 missing)"; for a run of missing parts "(parts 2 to 4 of 5 missing)".
std::u16string MissingPartsText(int first, int last, int count);

}  // namespace sms
