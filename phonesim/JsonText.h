#pragma once
// How profiles are written: objects one key a line, but an object or array holding only plain
// values on a single line, so that each contact and message takes one line.

#include <nlohmann/json.hpp>
#include <string>

namespace phonesim {

std::string FormatJson(const nlohmann::ordered_json& value);

}  // namespace phonesim
