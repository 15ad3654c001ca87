#include "platform/HandleTable.h"

namespace platform {

namespace {
// Predefined registry roots start at 0x80000000; plain handles stay below them.
constexpr HANDLE kLastHandle = 0x7FFFFFFFu;
}  // namespace

HandleTable& HandleTable::Instance() {
    static HandleTable table;
    return table;
}

HANDLE HandleTable::Add(Entry entry) {
    std::lock_guard lock(mutex_);
    if (next_ > kLastHandle)
        return NULL_HANDLE;
    HANDLE handle = next_++;
    entries_.emplace(handle, std::move(entry));
    return handle;
}

HANDLE HandleTable::AddPort(std::unique_ptr<SerialDevice> device) {
    if (!device)
        return NULL_HANDLE;
    return Add(Entry{std::shared_ptr<SerialDevice>(std::move(device))});
}

HANDLE HandleTable::AddKey(RegistryKeyRef key) {
    return Add(Entry{std::move(key)});
}

std::shared_ptr<SerialDevice> HandleTable::Port(HANDLE handle) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(handle);
    if (it == entries_.end())
        return nullptr;
    if (auto* port = std::get_if<std::shared_ptr<SerialDevice>>(&it->second))
        return *port;
    return nullptr;
}

std::optional<RegistryKeyRef> HandleTable::Key(HANDLE handle) const {
    std::lock_guard lock(mutex_);
    auto it = entries_.find(handle);
    if (it == entries_.end())
        return std::nullopt;
    if (auto* key = std::get_if<RegistryKeyRef>(&it->second))
        return *key;
    return std::nullopt;
}

bool HandleTable::Close(HANDLE handle) {
    std::shared_ptr<SerialDevice> last;  // destroyed outside the lock
    std::lock_guard lock(mutex_);
    auto it = entries_.find(handle);
    if (it == entries_.end())
        return false;
    if (auto* port = std::get_if<std::shared_ptr<SerialDevice>>(&it->second))
        last = *port;
    entries_.erase(it);
    return true;
}

bool HandleTable::ClosePort(HANDLE handle) {
    if (!Port(handle))
        return false;
    return Close(handle);
}

bool HandleTable::CloseKey(HANDLE handle) {
    if (!Key(handle))
        return false;
    return Close(handle);
}

std::size_t HandleTable::OpenCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

}  // namespace platform
