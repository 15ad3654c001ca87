#pragma once
// Names for the message storages of the phone, the status of a stored message and the SMS
// engine's two lists. Storage names and status numbers appear only where a command is built or
// a reply is read.

namespace sms {

// A message storage: the phone's own ("ME"), the SIM's ("SM") or "TL". None stands for a name
// the program does not know, for a slot without a message, and for a selection the phone did
// not confirm.
enum class Storage { None, Phone, Sim, Tl };

// The status of a stored message as the listing and store commands number it; All lists every
// message whatever its status.
enum class Status {
    ReceivedUnread = 0,
    ReceivedRead = 1,
    StoredUnsent = 2,
    StoredSent = 3,
    All = 4
};

// The number of the status on a command line.
constexpr int StatusCode(Status status) {
    return static_cast<int>(status);
}

// The engine's lists: received messages, and messages stored to be sent.
enum class Box { Inbox, Outbox };

}  // namespace sms
