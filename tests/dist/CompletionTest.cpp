// The bash completion of halvex-cli, run by bash as a completion would be: what it offers where.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/dist/DistText.h"
#include "tests/support/Process.h"

namespace {

using Words = std::vector<std::string>;

// What the completion offers for the command line "halvex-cli WORDS...", the last word being
// the one to complete, in a directory that holds only contacts.vcf.
std::set<std::string> Complete(const Words& words) {
    static const std::string dir = [] {
        const std::string d = halvex::test::TempDir();
        halvex::test::WriteFile(d + "/contacts.vcf", "");
        return d;
    }();
    Words argv = {"bash",
                  "--norc",
                  "--noprofile",
                  "-c",
                  "source \"$1\" && cd \"$2\" && shift 2 && COMP_WORDS=(halvex-cli \"$@\") && "
                  "COMP_CWORD=$#; COMP_WORDBREAKS=$' \\t\\n\"\\'><=;|&(:'; _halvex_cli; "
                  "printf '%s\\n' \"${COMPREPLY[@]}\"",
                  "bash",
                  halvex::test::SourceDir() + "/dist/bash-completion/halvex-cli",
                  dir};
    argv.insert(argv.end(), words.begin(), words.end());
    const auto run = halvex::test::RunProgram(argv, 10000);
    EXPECT_EQ(run.status, 0) << run.output;
    std::set<std::string> offered;
    for (const std::string& line : halvex::test::Lines(run.output))
        offered.insert(line);
    offered.erase("");
    return offered;
}

TEST(Completion, OffersTheWordsThatFitWhereTheCursorIs) {
    const std::pair<Words, std::set<std::string>> cases[] = {
        {{""}, {"identify", "phonebook", "sms", "ports", "help"}},
        {{"--fast", "ph"}, {"phonebook"}},
        {{"phonebook", ""}, {"list", "add", "edit", "delete", "export", "import"}},
        {{"--port", "rfcomm0", "sms", ""}, {"list", "send", "delete", "export", "import"}},
        {{"phonebook", "list", ""}, {"ME", "SM"}},
        {{"phonebook", "export", "--memory", ""}, {"ME", "SM"}},
        {{"phonebook", "export", "--format", "c"}, {"csv"}},
        {{"phonebook", "import", ""}, {"contacts.vcf"}},
        {{"sms", "delete", "i"}, {"inbox"}},
        {{"sms", "import", ""}, {"outbox"}},
        {{"sms", "export", "inbox", "c"}, {"contacts.vcf"}},
        {{"sms", "send", "+44", "hi", "--re"}, {"--report", "--reply-path"}},
        {{"--simulate", "=", "n"}, {"nokia"}},
        {{"--simulate-save", ""}, {"contacts.vcf"}},
        {{"phonebook", "add", "Ann", "--home", ""}, {}},
        {{"--", "-"}, {}},
    };
    for (const auto& [words, offered] : cases)
        EXPECT_EQ(Complete(words), offered) << ::testing::PrintToString(words);
}

}  // namespace
