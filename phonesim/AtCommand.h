#pragma once
// Cutting a V.250 command line into its commands, and a command's arguments into fields.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace phonesim {

struct AtCommand {
    enum class Form { Execute, Read, Test, Set };
    std::string name;  // upper case: "+CPBR", "E", "&F", "S7", "I"
    Form form = Form::Execute;
    std::string args;  // Set: the text after '='; a basic command: its number ("0" for E0)
};

// `line` is a whole command line without its CR, starting with "AT" in either case.
// nullopt when it does not start with AT or cannot be cut (unterminated string, stray
// character).
std::optional<std::vector<AtCommand>> SplitCommandLine(std::string_view line);

struct AtArg {
    bool present = false;  // false for an omitted field (",,")
    bool quoted = false;
    std::string text;  // the string between the quotes, or the trimmed bare value
};

// Fields separated by commas outside quotes; blanks around a field are dropped, so
// `129 ,"Ann/M"` gives 129 and Ann/M. nullopt for an unterminated string or text after one.
std::optional<std::vector<AtArg>> SplitArgs(std::string_view args);

}  // namespace phonesim
