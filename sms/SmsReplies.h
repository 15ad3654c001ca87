#pragma once
// Readers of the phone's replies to the SMS commands. They work on the reply text alone, keep
// every position inside it, and give up quietly where a reply breaks off.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/PhoneKinds.h"
#include "sms/MessageKinds.h"

namespace sms {

// The number a digit text stands for: sum of (c - '0') * 10^k from the right, no sign, no check
// for digits; empty gives 0.
int DecimalValue(std::u16string_view text);

// The storage a name stands for ("ME", "SM", "TL"), compared without regard to case;
// Storage::None for any other name.
Storage StorageOf(std::u16string_view name);

// Plain substring search, for a marker in a reply (whether the phone took a command is
// link/Reply's question).
bool Contains(std::u16string_view text, std::u16string_view what);

// The reply up to its first null character: a reply that was cut at a bad UTF-8 sequence carries
// zeros after the part that converted.
std::u16string_view UpToNull(std::u16string_view reply);

// What the storage query keeps: the three storages and the fill level of the second storage.
struct StorageState {
    std::array<Storage, 3> codes{Storage::Sim, Storage::Sim, Storage::Phone};
    std::u16string used;
    std::u16string total;
};

// Reads the "CPMS:" part of a storage query reply into `state`. Names it does not know leave
// their storage alone; a fourth storage and anything after it are ignored. Returns false (and
// leaves `state` alone) when the reply has no "CPMS:".
bool ParseStorageReply(std::u16string_view reply, StorageState& state);

struct ServiceCentreReply {
    std::u16string number;     // between the quotes
    bool typeFollows = false;  // a comma follows the closing quote (the type of address)
};

// The quoted number after "CSCA:"; nothing when the marker or either quote is missing.
std::optional<ServiceCentreReply> ParseServiceCentreReply(std::u16string_view reply);

// The service-centre number to keep after a reply, given the kind of phone (nothing when it is
// not known) and the number kept so far. A Nokia reports the number with its "+", which is
// dropped here; a reply without a type gets the "+" back.
std::u16string ServiceCentreNumber(const ServiceCentreReply& reply, std::optional<phone::Kind> kind,
                                   const std::u16string& previous);

struct ListedMessage {
    std::u16string index;  // as the phone wrote it
    std::u16string pdu;
};

// The entries of a message list reply, in order, up to the final result code or to where the
// reply breaks off.
std::vector<ListedMessage> ParseMessageList(std::u16string_view reply);

// The PDU lines after "+CMGR:" of a read reply, up to the final result code or the break-off.
std::vector<std::u16string> ParseReadReply(std::u16string_view reply);

// The storage index after "CMGW:" in a store reply; empty when there is none.
std::u16string ParseStoredIndex(std::u16string_view reply);

// True for a PDU text that can go on a command line: hex digits only, long enough to hold the
// service-centre type digit.
bool IsPduText(std::u16string_view pdu);

}  // namespace sms
