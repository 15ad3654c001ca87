#pragma once
// halvex-cli from its arguments to its exit status.

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// `args` without the program name. Results go to `out`; message boxes, complaints and the
// transcript to `err`. When `err` is a terminal, long reads also show their progress there
// (never with --json).
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool errIsTerminal = false);

}  // namespace cli
