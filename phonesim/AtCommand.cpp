#include "phonesim/AtCommand.h"

#include <algorithm>

#include "phonesim/Text.h"

namespace phonesim {

namespace {

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Characters V.250 allows in an extended command name after its prefix.
bool IsNameChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '!' || c == '%' || c == '-' || c == '.' || c == '/' ||
           c == ':' || c == '_';
}

// The end of an extended command's argument text: the first ';' outside quotes.
std::optional<std::size_t> ArgumentEnd(std::string_view text, std::size_t from) {
    bool inString = false;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '"')
            inString = !inString;
        if (text[i] == ';' && !inString)
            return i;
    }
    if (inString)
        return std::nullopt;
    return text.size();
}

}  // namespace

std::optional<std::vector<AtCommand>> SplitCommandLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (line.size() - i < 2 || !EqualsIgnoringCase(line.substr(i, 2), "AT"))
        return std::nullopt;
    i += 2;

    std::vector<AtCommand> commands;
    while (true) {
        while (i < line.size() && (IsBlank(line[i]) || line[i] == ';'))
            ++i;
        if (i >= line.size())
            break;
        AtCommand command;
        const char c = line[i];
        if (c == '+' || c == '*' || c == '#' || c == '$' || c == '^') {
            std::size_t end = i + 1;
            while (end < line.size() && IsNameChar(line[end]))
                ++end;
            if (end == i + 1)
                return std::nullopt;
            command.name = ToUpperAscii(line.substr(i, end - i));
            i = end;
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            if (i < line.size() && line[i] == '?') {
                command.form = AtCommand::Form::Read;
                ++i;
            } else if (i < line.size() && line[i] == '=') {
                ++i;
                while (i < line.size() && IsBlank(line[i]))
                    ++i;
                if (i < line.size() && line[i] == '?') {
                    command.form = AtCommand::Form::Test;
                    ++i;
                } else {
                    command.form = AtCommand::Form::Set;
                    const auto argEnd = ArgumentEnd(line, i);
                    if (!argEnd)
                        return std::nullopt;
                    command.args = std::string(line.substr(i, *argEnd - i));
                    i = *argEnd;
                }
            }
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            if (i < line.size() && line[i] != ';')
                return std::nullopt;
        } else if (IsLetter(c) || c == '&') {
            std::size_t start = i;
            if (c == '&') {
                ++i;
                if (i >= line.size() || !IsLetter(line[i]))
                    return std::nullopt;
            }
            ++i;
            command.name = ToUpperAscii(line.substr(start, i - start));
            if (command.name == "S") {
                // S-parameters: Sn? reads, Sn=v sets.
                std::size_t end = i;
                while (end < line.size() && IsDigit(line[end]))
                    ++end;
                if (end == i)
                    return std::nullopt;
                command.name += std::string(line.substr(i, end - i));
                i = end;
                if (i < line.size() && line[i] == '?') {
                    command.form = AtCommand::Form::Read;
                    ++i;
                } else if (i < line.size() && line[i] == '=') {
                    command.form = AtCommand::Form::Set;
                    ++i;
                    end = i;
                    while (end < line.size() && IsDigit(line[end]))
                        ++end;
                    command.args = std::string(line.substr(i, end - i));
                    i = end;
                }
            } else if (command.name == "D") {
                // A dial string runs to the end of the line.
                command.args = std::string(line.substr(i));
                i = line.size();
            } else {
                std::size_t end = i;
                while (end < line.size() && IsDigit(line[end]))
                    ++end;
                command.args = std::string(line.substr(i, end - i));
                i = end;
            }
        } else {
            return std::nullopt;
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

std::optional<std::vector<AtArg>> SplitArgs(std::string_view args) {
    std::vector<AtArg> out;
    std::size_t i = 0;
    while (true) {
        AtArg arg;
        while (i < args.size() && IsBlank(args[i]))
            ++i;
        if (i < args.size() && args[i] == '"') {
            const std::size_t close = args.find('"', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            arg.present = true;
            arg.quoted = true;
            arg.text = std::string(args.substr(i + 1, close - i - 1));
            i = close + 1;
            while (i < args.size() && IsBlank(args[i]))
                ++i;
            if (i < args.size() && args[i] != ',')
                return std::nullopt;
        } else {
            const std::size_t comma = std::min(args.find(',', i), args.size());
            const std::string_view value = Trim(args.substr(i, comma - i));
            if (value.find('"') != std::string_view::npos)
                return std::nullopt;
            arg.present = !value.empty();
            arg.text = std::string(value);
            i = comma;
        }
        out.push_back(std::move(arg));
        if (i >= args.size())
            break;
        ++i;  // the comma
    }
    return out;
}

}  // namespace phonesim
