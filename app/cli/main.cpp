// halvex-cli: the phone book and the messages of a phone from a terminal or a script.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/Arguments.h"
#include "app/cli/Run.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << cli::Usage();
        return 0;
    }
    try {
        return cli::Run(args, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "halvex-cli: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "halvex-cli: unexpected failure\n";
    }
    return 1;
}
