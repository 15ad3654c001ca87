#pragma once
// The JSON texts of phonesim/profiles/*.json, compiled in at build time.

#include <string_view>
#include <vector>

namespace phonesim {

struct ShippedProfileText {
    std::string_view name;  // the file name without ".json"
    std::string_view json;
};

const std::vector<ShippedProfileText>& ShippedProfileTexts();

}  // namespace phonesim
