#pragma once
// The command line of halvex, the program with the window:
//
//   halvex [--port NAME | --simulate[=PROFILE] [--simulate-save FILE]] [--fast]
//          [--screenshots DIR]
//   halvex --notify VALUE
//   halvex --help

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/ProgramHost.h"

namespace app {

struct HalvexOptions {
    HostOptions host;
    std::optional<std::string> simulateSave;
    bool help = false;
    bool fast = false;  // the fast exchange (see link/PhoneLink.h)
    // Deliver this outside notice to the Halvex that is running, and end.
    std::optional<std::uint32_t> notify;
    // Read every page, write a picture of the window with each in front into DIR, and end.
    std::optional<std::string> screenshots;
};

struct HalvexParse {
    std::optional<HalvexOptions> options;
    std::string error;  // one line saying what is wrong, when there are no options
};

HalvexParse ParseHalvexArguments(const std::vector<std::string>& args);
const char* HalvexUsage();

}  // namespace app
