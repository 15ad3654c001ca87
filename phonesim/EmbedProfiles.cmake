# Writes OUTPUT, a C++ file holding the JSON files of PROFILES ("|"-separated) as byte arrays.
string(REPLACE "|" ";" PROFILES "${PROFILES}")
set(arrays "")
set(table "")
set(i 0)
foreach(file IN LISTS PROFILES)
    get_filename_component(name "${file}" NAME_WE)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND arrays "const unsigned char kProfile${i}[] = {${bytes}0x00};\n")
    string(APPEND table "        {\"${name}\", {reinterpret_cast<const char*>(kProfile${i}), ${size}}},\n")
    math(EXPR i "${i} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from phonesim/profiles/*.json; do not edit.
#include \"phonesim/ShippedProfiles.h\"

namespace phonesim {

namespace {
${arrays}}  // namespace

const std::vector<ShippedProfileText>& ShippedProfileTexts() {
    static const std::vector<ShippedProfileText> kProfiles = {
${table}    };
    return kProfiles;
}

}  // namespace phonesim
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
