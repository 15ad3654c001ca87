#pragma once
// Reading the programs' --help and their manual pages: the options each explains.

#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace halvex::test {

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// "--port", "-h", ...: the options named in `text`, not the dashes inside words.
inline std::set<std::string> OptionsIn(const std::string& text) {
    static const std::regex option("(^|[^A-Za-z0-9-])(--?[a-z][a-z0-9-]*)");
    std::set<std::string> options;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it)
        options.insert((*it)[2]);
    return options;
}

// The roff of a manual page as plain words: no font changes, "\-" as "-".
inline std::string PlainRoff(const std::string& line) {
    return std::regex_replace(std::regex_replace(line, std::regex(R"(\\f[A-Z]|\\[&c])"), ""),
                              std::regex(R"(\\-)"), "-");
}

// The tag lines (after .TP or .TQ) of one section of a manual page, in plain words.
inline std::vector<std::string> ManTags(const std::string& page, const std::string& section) {
    std::vector<std::string> tags;
    bool inSection = false, tagNext = false;
    for (const std::string& line : Lines(page)) {
        if (line.starts_with(".SH "))
            inSection = line == ".SH " + section;
        else if (inSection && tagNext)
            tags.push_back(PlainRoff(line));
        tagNext = line == ".TP" || line == ".TQ";
    }
    return tags;
}

// The options --help explains: those at the head of a line that starts with a dash, before the
// explanation ("  --help, -h       this text").
inline std::set<std::string> HelpOptions(const std::string& help) {
    std::set<std::string> options;
    for (const std::string& line : Lines(help)) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] != '-')
            continue;
        const std::size_t gap = line.find("  ", start);
        options.merge(OptionsIn(line.substr(start, gap - start)));
    }
    return options;
}

// The source tree, where the manual pages and the completion are.
inline std::string SourceDir() {
    const char* source = std::getenv("HALVEX_SOURCE_DIR");
    return source ? source : ".";
}

}  // namespace halvex::test
