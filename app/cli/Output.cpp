#include "app/cli/Output.h"

#include "app/Utf8Text.h"

namespace cli {

void PrintJson(std::ostream& out, const nlohmann::ordered_json& value) {
    out << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n'
        << std::flush;
}

void Complain(std::ostream& err, const std::string& message) {
    err << "halvex-cli: " << app::Printable(message) << '\n' << std::flush;
}

const char* MemoryName(phone::Memory memory) {
    return memory == phone::Memory::Sim ? "SM" : "ME";
}

}  // namespace cli
