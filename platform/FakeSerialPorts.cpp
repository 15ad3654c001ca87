#include "platform/FakeSerialPorts.h"

namespace platform {

void FakeSerialPorts::Add(const std::u16string& name, Factory factory) {
    std::lock_guard lock(mutex_);
    factories_[name] = std::move(factory);
}

void FakeSerialPorts::Remove(const std::u16string& name) {
    std::lock_guard lock(mutex_);
    factories_.erase(name);
}

bool FakeSerialPorts::Has(const std::u16string& name) const {
    std::lock_guard lock(mutex_);
    return factories_.count(name) != 0;
}

std::unique_ptr<SerialDevice> FakeSerialPorts::Open(const std::u16string& name) {
    Factory factory;
    {
        std::lock_guard lock(mutex_);
        openLog_.push_back(name);
        auto it = factories_.find(name);
        if (it == factories_.end() || !it->second)
            return nullptr;
        factory = it->second;
    }
    return factory();
}

std::vector<std::u16string> FakeSerialPorts::OpenLog() const {
    std::lock_guard lock(mutex_);
    return openLog_;
}

}  // namespace platform
