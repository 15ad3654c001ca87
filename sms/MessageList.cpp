#include "sms/MessageList.h"

#include <utility>

#include "sms/SmsReplies.h"
#include "text/Ascii.h"

namespace sms {

namespace {
const std::u16string kEmpty;
}

MessageList::MessageList() {
    Clear();
}

void MessageList::Clear() {
    for (int i = 0; i < kCapacity; ++i) {
        pdus_[i].clear();
        indexes_[i].clear();
        storages_[i] = sms::Storage::None;
    }
    count_ = 0;
}

const std::u16string& MessageList::Pdu(int position) const {
    return InUse(position) ? pdus_[position] : kEmpty;
}

const std::u16string& MessageList::Index(int position) const {
    return InUse(position) ? indexes_[position] : kEmpty;
}

sms::Storage MessageList::Storage(int position) const {
    return InUse(position) ? storages_[position] : sms::Storage::None;
}

bool MessageList::Append(std::u16string pdu, std::u16string index, sms::Storage storage) {
    if (IsFull()) {
        return false;
    }
    pdus_[count_] = std::move(pdu);
    indexes_[count_] = std::move(index);
    storages_[count_] = storage;
    ++count_;
    return true;
}

bool MessageList::AppendPdu(std::u16string pdu) {
    if (IsFull()) {
        return false;
    }
    pdus_[count_] = std::move(pdu);
    ++count_;
    return true;
}

bool MessageList::HoldsPdu(std::u16string_view pdu) const {
    for (int i = 0; i < count_; ++i) {
        if (text::EqualsIgnoringCase(pdus_[i], pdu)) {
            return true;
        }
    }
    return false;
}

bool MessageList::Remove(int position) {
    if (!InUse(position)) {
        return false;
    }
    for (int i = position; i + 1 < count_; ++i) {
        pdus_[i] = std::move(pdus_[i + 1]);
        indexes_[i] = std::move(indexes_[i + 1]);
        storages_[i] = storages_[i + 1];
    }
    --count_;
    // The vacated slot reads as unused again.
    pdus_[count_].clear();
    indexes_[count_].clear();
    storages_[count_] = sms::Storage::None;
    return true;
}

}  // namespace sms
