#pragma once
// The platform halvex-cli runs on (see app/ProgramHost.h) with the terminal's user-interface
// services, and a transcript of every line written to the port.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "app/ProgramHost.h"
#include "app/cli/Arguments.h"
#include "app/cli/ConsoleUi.h"
#include "app/cli/TranscriptPorts.h"
#include "platform/Host.h"

namespace cli {

class CliHost {
public:
    ~CliHost();
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    // Null, with one line in `error` and the exit `status`, when the platform cannot be made.
    // `progress`: `messages` shows the progress line of long reads (a terminal).
    static std::unique_ptr<CliHost> Create(const Options& options, std::ostream& messages,
                                           bool progress, std::string& error, int& status);

    platform::Host GetHost();
    const Transcript& GetTranscript() const { return transcript_; }
    // Clock time when the run began.
    std::uint64_t StartMs() const { return startMs_; }
    bool SaveSimulation(const std::string& path, std::string& error) const {
        return program_->SaveSimulation(path, error);
    }

private:
    CliHost(const Options& options, std::ostream& messages, bool progress,
            std::unique_ptr<app::ProgramHost> program);

    std::unique_ptr<app::ProgramHost> program_;
    ConsoleUi ui_;
    Transcript transcript_;
    TranscriptPorts recording_;
    std::uint64_t startMs_ = 0;
};

}  // namespace cli
