#include "app/cli/Output.h"

#include "app/Utf8Text.h"

namespace cli {

nlohmann::ordered_json JsonText(std::u16string_view text) {
    return nlohmann::ordered_json(app::ToUtf8(text));
}

void PrintJson(std::ostream& out, const nlohmann::ordered_json& value) {
    out << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n'
        << std::flush;
}

void Complain(std::ostream& err, const std::string& message) {
    err << "halvex-cli: " << app::Printable(message) << '\n' << std::flush;
}

const char* MemoryName(int memory) {
    return memory == 3 ? "SM" : "ME";
}

}  // namespace cli
