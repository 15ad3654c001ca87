#include "platform/FakeSerialPorts.h"

namespace platform {

void FakeSerialPorts::Add(const std::u16string& name, Factory factory) {
    std::lock_guard lock(mutex_);
    factories_[name] = std::move(factory);
    failures_.erase(name);
}

void FakeSerialPorts::FailWith(const std::u16string& name, PortFailure failure) {
    std::lock_guard lock(mutex_);
    failures_[name] = std::move(failure);
}

PortFailure FakeSerialPorts::LastFailure() const {
    std::lock_guard lock(mutex_);
    return lastFailure_;
}

void FakeSerialPorts::Remove(const std::u16string& name) {
    std::lock_guard lock(mutex_);
    factories_.erase(name);
    failures_.erase(name);
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
        lastFailure_ = PortFailure{};
        lastFailure_.path.assign(name.begin(), name.end());
        if (auto failed = failures_.find(name); failed != failures_.end()) {
            lastFailure_ = failed->second;
            return nullptr;
        }
        auto it = factories_.find(name);
        if (it == factories_.end()) {
            lastFailure_.kind = PortFailure::Kind::Missing;
            for (const auto& [known, unused] : factories_)
                lastFailure_.existing.emplace_back(known.begin(), known.end());
            return nullptr;
        }
        lastFailure_.kind = PortFailure::Kind::Held;
        if (!it->second)
            return nullptr;
        factory = it->second;
    }
    std::unique_ptr<SerialDevice> device = factory();
    if (device) {
        std::lock_guard lock(mutex_);
        lastFailure_ = PortFailure{};
    }
    return device;
}

std::vector<std::u16string> FakeSerialPorts::OpenLog() const {
    std::lock_guard lock(mutex_);
    return openLog_;
}

}  // namespace platform
