#pragma once
// Which "AT+CPBR=a,b" ranges read the indices first..last of a memory.

#include <vector>

namespace phonebook {

struct ReadRange {
    int first;
    int last;
    // 1 and 2: the blocks of 25 from the low and the high end, where a command that cannot be
    // sent does not end the read; 3: the rest in one command.
    int step;
};

// The ranges in the order they are read: three blocks of 25 from `first` up, three from `last`
// down, then everything between. Each is clipped to [first, last] and to what no earlier range
// covers, and left out when nothing remains, so small memories are read without asking for an
// index twice or for one the phone does not have.
std::vector<ReadRange> PlanReadRanges(int first, int last);

}  // namespace phonebook
