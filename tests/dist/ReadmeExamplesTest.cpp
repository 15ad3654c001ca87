// The README's examples are run as they stand: every "$ command" of its indented blocks, in
// order, in one shell in a directory of its own (so an export feeds the import after it), with
// the programs just built first on PATH and a private registry file. What each prints (standard
// output and error together) must be what the README shows under it; a line "..." there stands
// for any lines, "..." inside a line for any text. A command ending in "&" runs in the background:
// its first line is what it shows, and it is ended with the shell.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/dist/DistText.h"
#include "tests/support/Process.h"

namespace {

using halvex::test::Lines;

struct Example {
    std::size_t line;  // in the README, from 1
    std::string command;
    std::vector<std::string> shown;
};

std::vector<Example> Examples(const std::string& readme) {
    std::vector<Example> examples;
    const std::vector<std::string> lines = Lines(readme);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const bool indented = line.starts_with("    ");
        if (indented && line.substr(4).starts_with("$ ")) {
            examples.push_back({i + 1, line.substr(6), {}});
        } else if (!examples.empty() && indented) {
            examples.back().shown.push_back(line.substr(4));
        } else if (!examples.empty() && line.empty()) {
            examples.back().shown.push_back("");
        } else {
            examples.emplace_back();  // ends the block: what follows shows nothing of it
        }
    }
    std::erase_if(examples, [](const Example& e) { return e.command.empty(); });
    for (Example& e : examples)
        while (!e.shown.empty() && e.shown.back().empty())
            e.shown.pop_back();
    return examples;
}

// "..." inside a line matches any text.
bool LineMatches(const std::string& shown, const std::string& got) {
    const std::size_t dots = shown.find("...");
    if (dots == std::string::npos)
        return shown == got;
    if (got.compare(0, dots, shown, 0, dots) != 0)
        return false;
    for (std::size_t from = dots; from <= got.size(); ++from)
        if (LineMatches(shown.substr(dots + 3), got.substr(from)))
            return true;
    return false;
}

// A line "..." matches any run of lines, none included.
bool Matches(const std::vector<std::string>& shown, std::size_t s,
             const std::vector<std::string>& got, std::size_t g) {
    if (s == shown.size())
        return g == got.size();
    if (shown[s] == "...") {
        for (std::size_t skip = g; skip <= got.size(); ++skip)
            if (Matches(shown, s + 1, got, skip))
                return true;
        return false;
    }
    return g < got.size() && LineMatches(shown[s], got[g]) && Matches(shown, s + 1, got, g + 1);
}

std::string Script(const std::vector<Example>& examples, const std::string& dir) {
    std::string path;
    for (const char* program : {HALVEX_CLI_COMMAND, HALVEX_PDU_COMMAND, HALVEX_PHONESIM_COMMAND})
        path += std::filesystem::path(program).parent_path().string() + ":";
    std::string script = "export PATH='" + path + "'\"$PATH\" HALVEX_REGISTRY='" + dir +
                         "/registry.reg' LC_ALL=C.UTF-8\ncd '" + dir + "' || exit 1\n";
    for (std::size_t i = 0; i < examples.size(); ++i) {
        script += "printf '\\n\\001" + std::to_string(i) + "\\n'\n";
        std::string command = examples[i].command;
        if (command.ends_with("&")) {
            command.pop_back();
            const std::string out = "'" + dir + "/.background" + std::to_string(i) + "'";
            // Its first line, waited for at most half a minute.
            script += command + " >" + out + " 2>&1 &\n" + "for _ in $(seq 300); do [ \"$(wc -l <" +
                      out + ")\" -ge 1 ] && break; sleep 0.1; done; head -n 1 " + out + "\n";
        } else
            script += command + " 2>&1\n";
    }
    return script + "kill $(jobs -p) 2>/dev/null; wait\n";
}

// What each command printed, split at the marks the script prints before it.
std::vector<std::vector<std::string>> Outputs(const std::string& output, std::size_t count) {
    std::vector<std::vector<std::string>> outputs(count);
    std::vector<std::string>* current = nullptr;
    for (const std::string& line : Lines(output))
        if (line.starts_with('\001'))
            current = &outputs.at(std::stoul(line.substr(1)));
        else if (current != nullptr)
            current->push_back(line);
    for (auto& lines : outputs)
        while (!lines.empty() && lines.back().empty())
            lines.pop_back();
    return outputs;
}

TEST(Readme, EveryExampleShowsWhatItPrints) {
    const std::string readme = halvex::test::ReadFile(halvex::test::SourceDir() + "/README.md");
    const std::vector<Example> examples = Examples(readme);
    ASSERT_GE(examples.size(), 8u);

    const std::string dir = halvex::test::TempDir();
    const auto run = halvex::test::RunProgram({"bash", "-c", Script(examples, dir)}, 240000);
    ASSERT_EQ(run.status, 0) << run.output;
    const auto outputs = Outputs(run.output, examples.size());
    for (std::size_t i = 0; i < examples.size(); ++i) {
        EXPECT_TRUE(Matches(examples[i].shown, 0, outputs[i], 0))
            << "README.md:" << examples[i].line << ": $ " << examples[i].command
            << "\nshows: " << ::testing::PrintToString(examples[i].shown)
            << "\nprints: " << ::testing::PrintToString(outputs[i]);
    }
}

}  // namespace
