#pragma once
// One "+CPBR:" line of a phone book reply, as cut out of the reply and parsed.

#include <string>

struct CPbrRecord {
    std::u16string name;    // contact name without its kind suffix
    std::u16string line;    // from its "+CPBR:" marker up to the next marker or the reply's end
    std::u16string number;  // second comma-separated field, still in its quotes
    int kind = 0;           // 1 to 5, or 0 for an unknown suffix letter
    int index = 0;          // phone index; 0 when the line has none
    int position = 0;       // where the marker starts in the reply, in characters
    // The line gave a name, a number field and an index of 1 or more; only then is it merged.
    bool complete = false;
    // The name field is no text in the character set in use: the line is not merged.
    bool garbled = false;
};
