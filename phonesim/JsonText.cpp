#include "phonesim/JsonText.h"

namespace phonesim {

namespace {

using nlohmann::ordered_json;

bool Flat(const ordered_json& value) {
    if (!value.is_structured())
        return true;
    for (const auto& item : value) {
        if (item.is_structured())
            return false;
    }
    return true;
}

std::string OneLine(const ordered_json& value) {
    if (!value.is_structured())
        return value.dump();
    std::string out = value.is_object() ? "{" : "[";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        out += first ? "" : ", ";
        first = false;
        if (value.is_object())
            out += ordered_json(it.key()).dump() + ": ";
        out += it->dump();
    }
    return out + (value.is_object() ? "}" : "]");
}

void Write(const ordered_json& value, int indent, std::string& out) {
    if (Flat(value)) {
        out += OneLine(value);
        return;
    }
    const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
    out += value.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
        out += first ? "" : ",\n";
        first = false;
        out += pad;
        if (value.is_object())
            out += ordered_json(it.key()).dump() + ": ";
        Write(*it, indent + 2, out);
    }
    out +=
        "\n" + std::string(static_cast<std::size_t>(indent), ' ') + (value.is_object() ? "}" : "]");
}

}  // namespace

std::string FormatJson(const ordered_json& value) {
    std::string out;
    Write(value, 0, out);
    return out + "\n";
}

}  // namespace phonesim
