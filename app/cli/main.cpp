// halvex-cli: the phone book and the messages of a phone from a terminal or a script.

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/Arguments.h"
#include "app/cli/Run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    // --help anywhere before "--" (after it, "-h" may be a name or a text).
    const auto options = std::find(args.begin(), args.end(), "--");
    if (std::find(args.begin(), options, "--help") != options ||
        std::find(args.begin(), options, "-h") != options) {
        std::cout << cli::Usage();
        return 0;
    }
    if (!args.empty() && args[0] == "help") {
        std::cout << "halvex-cli --help explains every command and option; man halvex-cli has "
                     "examples.\n";
        return 0;
    }
    try {
        return cli::Run(args, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    } catch (const std::exception& e) {
        std::cerr << "halvex-cli: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "halvex-cli: unexpected failure\n";
    }
    return 1;
}
