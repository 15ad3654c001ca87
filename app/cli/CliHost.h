#pragma once
// The platform the front end runs on: the real one (termios ports, the registry file, the wall
// clock) or, with --simulate, a simulated phone in virtual time with a registry of its own for
// the run. Either way the terminal's user-interface services, and a transcript of every line
// written to the port.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "app/cli/Arguments.h"
#include "app/cli/ConsoleUi.h"
#include "app/cli/TranscriptPorts.h"
#include "platform/Host.h"
#include "platform/Registry.h"

namespace phonesim {
class Phone;
class SimPortOpener;
}  // namespace phonesim

namespace cli {

class CliHost {
public:
    ~CliHost();
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // Null, with one line in `error`, when the profile cannot be loaded or the port name cannot
    // be stored in the registry; `status` then says whether the arguments (2) or the system (1)
    // were at fault.
    static std::unique_ptr<CliHost> Create(const Options& options, std::ostream& messages,
                                           std::string& error, int& status);

    platform::Host GetHost();
    const Transcript& GetTranscript() const { return transcript_; }
    // Clock time when the run began.
    std::uint64_t StartMs() const { return startMs_; }
    // The simulated phone's state as a profile file; false with `error` when it cannot be
    // written. Only with --simulate.
    bool SaveSimulation(const std::string& path, std::string& error) const;

private:
    CliHost(const Options& options, std::ostream& messages);

    ConsoleUi ui_;
    std::unique_ptr<platform::Clock> clock_;
    std::unique_ptr<platform::Registry> registry_;
    std::unique_ptr<platform::SerialPorts> ports_;
    Transcript transcript_;
    std::unique_ptr<TranscriptPorts> recording_;
    std::unique_ptr<phonesim::Phone> phone_;
    std::unique_ptr<phonesim::SimPortOpener> opener_;
    std::uint64_t startMs_ = 0;
};

}  // namespace cli
