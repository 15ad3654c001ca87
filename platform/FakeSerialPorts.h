#pragma once
// Serial ports by name for tests and the in-process simulated phone: each name maps to a factory
// that makes a fresh device whenever the port is opened. Unknown names fail to open, as a missing
// /dev node does. A factory may return null to model a busy port.

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Host.h"

namespace platform {

class FakeSerialPorts : public SerialPorts {
public:
    using Factory = std::function<std::unique_ptr<SerialDevice>()>;

    // Replaces any factory registered under the same name.
    void Add(const std::u16string& name, Factory factory);
    void Remove(const std::u16string& name);
    bool Has(const std::u16string& name) const;

    // The port then fails to open for this reason (until Add or Remove).
    void FailWith(const std::u16string& name, PortFailure failure);

    // An unknown name is missing (the known ones exist); a factory's null is a held port.
    std::unique_ptr<SerialDevice> Open(const std::u16string& name) override;
    PortFailure LastFailure() const override;

    // Every name asked for, in order, whether it opened or not.
    std::vector<std::u16string> OpenLog() const;

private:
    mutable std::mutex mutex_;
    std::map<std::u16string, Factory> factories_;
    std::map<std::u16string, PortFailure> failures_;
    PortFailure lastFailure_;
    std::vector<std::u16string> openLog_;
};

}  // namespace platform
