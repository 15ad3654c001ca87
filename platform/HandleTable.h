#pragma once
// The one table of open ports and registry keys. Handles are numbers from 1 up and are never
// reused, so a handle kept after its object was closed can only ever fail: it cannot reach freed
// memory nor a port opened later.

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "platform/Host.h"
#include "platform/Win32Types.h"

namespace platform {

// An open registry key: where it is, not a pointer to it, so a registry replaced or destroyed
// meanwhile never leaves a dangling reference behind.
struct RegistryKeyRef {
    HKEY root = 0;
    std::u16string path;
};

class HandleTable {
public:
    static HandleTable& Instance();

    // NULL_HANDLE when the table is exhausted or `device` is null.
    HANDLE AddPort(std::unique_ptr<SerialDevice> device);
    HANDLE AddKey(RegistryKeyRef key);

    // Null / empty for a closed, unknown or differently typed handle. The device stays alive
    // for the caller even if another thread closes the handle meanwhile.
    std::shared_ptr<SerialDevice> Port(HANDLE handle) const;
    std::optional<RegistryKeyRef> Key(HANDLE handle) const;

    // False for a null, closed or unknown handle.
    bool Close(HANDLE handle);
    bool ClosePort(HANDLE handle);
    bool CloseKey(HANDLE handle);

    std::size_t OpenCount() const;

private:
    using Entry = std::variant<std::shared_ptr<SerialDevice>, RegistryKeyRef>;
    HANDLE Add(Entry entry);

    mutable std::mutex mutex_;
    std::map<HANDLE, Entry> entries_;
    HANDLE next_ = 1;
};

}  // namespace platform
