#pragma once
// Shared bits of the commands' output: JSON with UTF-8 strings, and the error line.

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

namespace cli {

// The JSON text of a UTF-16 string.
nlohmann::ordered_json JsonText(std::u16string_view text);
// Pretty-printed; never throws, whatever the strings hold.
void PrintJson(std::ostream& out, const nlohmann::ordered_json& value);
// "halvex-cli: MESSAGE" as one line.
void Complain(std::ostream& err, const std::string& message);
// "ME" for 2, "SM" for 3.
const char* MemoryName(int memory);

}  // namespace cli
