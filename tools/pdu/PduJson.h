#pragma once
// A decoded message as one JSON object, its fields named after the TP fields.

#include <nlohmann/json.hpp>

class CShortMessage;

namespace pdutool {

nlohmann::ordered_json MessageToJson(const CShortMessage& message);

}  // namespace pdutool
