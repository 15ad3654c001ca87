#pragma once
// Shared bits of the commands' output: JSON, and the error line.

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "link/PhoneKinds.h"

namespace cli {

// Pretty-printed; never throws, whatever the strings hold.
void PrintJson(std::ostream& out, const nlohmann::ordered_json& value);
// "halvex-cli: MESSAGE" as one line.
void Complain(std::ostream& err, const std::string& message);
// "ME" for 2, "SM" for 3.
const char* MemoryName(phone::Memory memory);

}  // namespace cli
