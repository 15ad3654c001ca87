#include "phonesim/PhoneState.h"

#include "phonesim/Text.h"

namespace phonesim {

namespace {

template <typename Map>
int LowestFree(const Map& used, int capacity) {
    int index = 1;
    for (const auto& [taken, unused] : used) {
        (void)unused;
        if (taken > index)
            break;
        if (taken == index)
            ++index;
    }
    return index <= capacity ? index : 0;
}

template <typename T>
T* FindByName(std::vector<T>& items, const std::string& name) {
    for (auto& item : items) {
        if (EqualsIgnoringCase(item.name, name))
            return &item;
    }
    return nullptr;
}

}  // namespace

int PhonebookMemory::FirstFree() const {
    return LowestFree(entries, capacity);
}

int SmsStorage::FirstFree() const {
    return LowestFree(messages, capacity);
}

PhonebookMemory* PhoneState::FindPhonebook(const std::string& name) {
    return FindByName(phonebooks, name);
}

bool PhoneState::Offers(Charset charset) const {
    if (charsets.empty())
        return true;
    for (const std::string& name : charsets) {
        if (CharsetByName(name) == charset)
            return true;
    }
    return false;
}

const PhonebookMemory* PhoneState::FindPhonebook(const std::string& name) const {
    return const_cast<PhoneState*>(this)->FindPhonebook(name);
}

SmsStorage* PhoneState::FindStorage(const std::string& name) {
    return FindByName(storages, name);
}

const SmsStorage* PhoneState::FindStorage(const std::string& name) const {
    return const_cast<PhoneState*>(this)->FindStorage(name);
}

}  // namespace phonesim
