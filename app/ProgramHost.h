#pragma once
// The platform the programs run on: the real one (termios ports, the registry file, the wall
// clock) or a simulated phone in virtual time with a registry of its own for the run. Each
// program adds its own user interface.

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "link/PhoneLink.h"
#include "platform/Host.h"
#include "platform/Registry.h"

namespace phonesim {
class Phone;
class SimPortOpener;
}  // namespace phonesim

namespace app {

enum class Connection {
    Registry,  // the port the registry names
    Port,      // --port NAME: used for this run, stored as the registry's port once it opened
    Simulate,  // --simulate: an in-process simulated phone in virtual time
};

struct HostOptions {
    Connection connection = Connection::Registry;
    std::u16string port;
    std::string profile = "default";
};

// The connection options every program takes, as given: --simulate (with "=PROFILE" or not),
// --port NAME, --simulate-save FILE. Fills `options` and `simulateSave`; one line saying what is
// wrong, or empty when they go together.
std::string ReadConnectionOptions(const std::optional<std::optional<std::string>>& simulate,
                                  const std::optional<std::string>& port,
                                  const std::optional<std::string>& save, HostOptions& options,
                                  std::optional<std::string>& simulateSave);

// The exchange the program's link uses: fast when the option asks for it or the registry value
// "FastLink" is 1, else timed. Call once the program's host is installed.
ExchangeMode ChooseExchangeMode(bool fastOption);

class ProgramHost {
public:
    ~ProgramHost();
    ProgramHost(const ProgramHost&) = delete;
    ProgramHost& operator=(const ProgramHost&) = delete;

    // Null, with one line in `error`, when the profile cannot be loaded or the port name is no
    // port name; `status` then says whether the arguments (2) or the system (1)
    // were at fault. A registry file that cannot be read is told on `messages` (with `program`
    // in front) and the run goes on with an empty registry.
    static std::unique_ptr<ProgramHost> Create(const HostOptions& options, const char* program,
                                               std::ostream& messages, std::string& error,
                                               int& status);

    platform::Clock& GetClock() { return *clock_; }
    platform::Registry& GetRegistry() { return *registry_; }
    platform::SerialPorts& GetPorts() { return *ports_; }
    bool IsSimulated() const { return phone_ != nullptr; }
    // The port named for this run (see platform::Host::pendingPort); "" for none.
    const std::u16string& PendingPort() const { return pendingPort_; }
    // The simulated phone's state as a profile file; false with `error` when it cannot be
    // written or there is no simulated phone.
    bool SaveSimulation(const std::string& path, std::string& error) const;

private:
    ProgramHost() = default;

    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::Registry> registry_;
    std::unique_ptr<platform::SerialPorts> ports_;
    std::unique_ptr<phonesim::Phone> phone_;
    std::unique_ptr<phonesim::SimPortOpener> opener_;
    std::u16string pendingPort_;
};

}  // namespace app
