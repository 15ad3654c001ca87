#pragma once
// What the link, the session and the engines have to tell the user, and the one question the
// link asks. They say which and when; the program decides how it is shown (the window and the
// command line show message boxes, app/BoxNotices).

#include <string_view>

namespace phone {

enum class Notice {
    PortNotOpened,      // the detail says why
    PortNotConfigured,  // the line settings were refused
    ReadFailed,         // the port failed while a reply was read
    ReplyTooLarge,      // no memory for a reply
    NoSuchStorage,      // a phone book storage code outside the table
    ConnectionLost,     // a phone book read could not go on
    OutOfEntryNumber,   // no free index for a new number
    PhoneNotRead,       // the phone memory's book was not read since connecting
    SimNotRead,         // the same for the SIM
    MessageFull,        // a message list has no room for more
    UnreadableNames,    // the detail says how many phone book entries were left out
};

class Notices {
public:
    virtual ~Notices() = default;
    virtual void Tell(Notice notice, std::u16string_view detail = {}) = 0;
    // The phone did not take the probe: true to try again.
    virtual bool RetryConnect() = 0;

    // Tells nobody and never tries again: for a link no user watches (benchmarks, fuzzing).
    static Notices& Silent();
};

}  // namespace phone
