// halvex-cli's progress line: on a terminal a long read tells how far it has come on one line
// that each step overwrites and that is cleared at the end; scripts (a pipe, --json) never see it.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/cli/CliRunner.h"
#include "tests/support/PlatformPty.h"

namespace halvex::test {
namespace {

// Runs halvex-cli with its standard error on a pseudo-terminal: what the terminal got.
std::string TerminalErr(const Lines& args, int& status) {
    PtyMaster master;
    const int slave =
        master.Ok() ? ::open(master.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC) : -1;
    if (slave < 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return {};
    }
    Lines argv = {HALVEX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildProcess child(argv, {"HALVEX_REGISTRY=" + TempDir() + "/registry.reg"}, slave);
    ::close(slave);
    // Everything, until the child's end closes the terminal's last slave side.
    std::string err;
    ReadUntil(master.Descriptor(), err, "", 30000);
    child.ReadAll(1000);
    status = child.Wait(1000);
    return err;
}

constexpr char kClear[] = "\r\x1b[K";

TEST(CliProgress, ATerminalSeesOneMovingLineThatEndsClearedAndAScriptSeesNone) {
    int status = -1;
    const std::string book = TerminalErr({"--simulate", "phonebook", "list", "ME"}, status);
    EXPECT_EQ(status, 0) << book;
    // Indices read so far, of the memory's 250: the blocks of 25 from both ends, then the
    // middle in one command.
    std::string expected;
    for (int done : {0, 25, 50, 75, 100, 125, 150, 250})
        expected += "\rReading contacts " + std::to_string(done) + " of 250\x1b[K";
    EXPECT_EQ(book, expected + kClear);

    const std::string inbox = TerminalErr({"--simulate", "sms", "list", "inbox"}, status);
    EXPECT_EQ(inbox,
              std::string("\rReading messages: SIM\x1b[K\rReading messages: phone\x1b[K") + kClear);

    EXPECT_EQ(TerminalErr({"--simulate", "--json", "sms", "list", "inbox"}, status), "");
    const CliRun piped = RunCli({"--simulate", "phonebook", "list", "ME"});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
}

}  // namespace
}  // namespace halvex::test
