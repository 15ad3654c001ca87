#include "app/cli/CliHost.h"

namespace cli {

CliHost::CliHost(const Options& options, std::ostream& messages, bool progress,
                 std::unique_ptr<app::ProgramHost> program)
    : program_(std::move(program)),
      ui_(messages, options.yes, progress),
      recording_(program_->GetPorts(), transcript_),
      startMs_(program_->GetClock().NowMs()) {}

CliHost::~CliHost() = default;

std::unique_ptr<CliHost> CliHost::Create(const Options& options, std::ostream& messages,
                                         bool progress, std::string& error, int& status) {
    std::unique_ptr<app::ProgramHost> program = app::ProgramHost::Create(
        {options.connection, options.port, options.profile}, "halvex-cli", messages, error, status);
    if (!program) {
        return nullptr;
    }
    return std::unique_ptr<CliHost>(new CliHost(options, messages, progress, std::move(program)));
}

platform::Host CliHost::GetHost() {
    platform::Host host;
    host.serial = &recording_;
    host.registry = &program_->GetRegistry();
    host.clock = &program_->GetClock();
    host.ui = &ui_;
    host.pendingPort = program_->PendingPort();
    return host;
}

}  // namespace cli
