#pragma once
// One box of the SMS engine: up to 65 messages, each a PDU text, the index the phone gave it and
// the storage it was listed from, kept in three arrays that always move together.

#include <array>
#include <string>
#include <string_view>

#include "sms/MessageKinds.h"

namespace sms {

class MessageList {
public:
    static constexpr int kCapacity = 65;

    MessageList();

    // Empties every slot: texts empty, storages None.
    void Clear();

    int Count() const { return count_; }
    bool IsFull() const { return count_ >= kCapacity; }

    // Out-of-range positions read as an unused slot.
    const std::u16string& Pdu(int position) const;
    const std::u16string& Index(int position) const;
    sms::Storage Storage(int position) const;

    // False, and nothing changes, when the list is full.
    bool Append(std::u16string pdu, std::u16string index, sms::Storage storage);
    // Appends a PDU text only; the slot's index text and storage stay as they are.
    bool AppendPdu(std::u16string pdu);
    // True when an entry in use has this PDU text, compared without regard to case.
    bool HoldsPdu(std::u16string_view pdu) const;
    // Removes the entry; the later ones move up by one. False for a position not in use.
    bool Remove(int position);

private:
    bool InUse(int position) const { return position >= 0 && position < count_; }

    std::array<std::u16string, kCapacity> pdus_;
    std::array<std::u16string, kCapacity> indexes_;
    std::array<sms::Storage, kCapacity> storages_;
    int count_ = 0;
};

}  // namespace sms
