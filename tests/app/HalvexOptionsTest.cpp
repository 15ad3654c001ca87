// halvex's command line and the outside notice's values and socket.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "app/HalvexOptions.h"
#include "app/Notices.h"
#include "link/PhoneLink.h"
#include "tests/support/PlatformFixture.h"
#include "tests/support/Process.h"

namespace {

using app::Connection;
using Args = std::vector<std::string>;

TEST(HalvexOptions, TakeTheConnectionOfTheCliAndANoticeAlone) {
    auto parse = [](const Args& args) { return app::ParseHalvexArguments(args); };
    // --simulate, --screenshots and --help the program itself shows (HalvexBinaryTest).
    EXPECT_EQ(parse({}).options->host.connection, Connection::Registry);
    EXPECT_EQ(parse({"--port=rfcomm0"}).options->host.port, u"rfcomm0");
    // A stable name is taken whole, however long.
    EXPECT_EQ(parse({"--port=/dev/serial/by-id/usb-Quectel_EG25-if02-port0"}).options->host.port,
              u"/dev/serial/by-id/usb-Quectel_EG25-if02-port0");
    EXPECT_TRUE(parse({"--fast", "--simulate"}).options->fast);

    const std::pair<const char*, std::uint32_t> notices[] = {
        {"0", 0}, {"-1", 0xFFFFFFFFu}, {"0xFFFFFFFF", 0xFFFFFFFFu}, {"4294967295", 0xFFFFFFFFu}};
    for (const auto& [text, value] : notices)
        EXPECT_EQ(parse({"--notify", text}).options.value_or(app::HalvexOptions{}).notify, value);

    const std::pair<Args, const char*> refused[] = {
        {{"--port", "rfcomm0", "--simulate"}, "--port and --simulate exclude each other"},
        {{"--simulate-save", "x"}, "--simulate-save goes with --simulate only"},
        {{"--port="}, "--port needs a port name (rfcomm0, ttyUSB0, /dev/serial/by-id/...)"},
        {{"--notify", "4294967296"},
         "\"4294967296\" is not a notice value (a number, 0x... or -1)"},
        {{"--notify", "-2"}, "\"-2\" is not a notice value (a number, 0x... or -1)"},
        {{"--notify", "1", "--simulate"}, "--notify goes alone"},
        {{"--notify"}, "--notify needs a value"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"phonebook"}, "unexpected argument \"phonebook\""}};
    for (const auto& [args, error] : refused)
        EXPECT_EQ(parse(args).error + (parse(args).options ? " (yet taken)" : ""), error);
}

TEST(Notices, TheSocketLiesInAPrivateDirectory) {
    // A runtime directory of this test program's own.
    const std::string dir = halvex::test::TempDir();
    ASSERT_EQ(chmod(dir.c_str(), 0700), 0);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    std::string error;
    EXPECT_EQ(app::NoticeSocketPath(error), dir + "/halvex-notify");

    // A runtime directory others can enter is not used.
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
    EXPECT_EQ(app::NoticeSocketPath(error),
              "/tmp/halvex-" + std::to_string(getuid()) + "/halvex-notify")
        << error;
}

class ExchangeChoice : public halvex::test::PlatformTest {};

TEST_F(ExchangeChoice, TheOptionOrTheRegistrysFastLinkChoosesTheFastExchange) {
    std::vector<ExchangeMode> modes;
    for (int fastLink : {-1, 1, 2}) {  // none, then 1, then 2
        if (fastLink >= 0)
            registry().SetDword(platform::HKEY_CURRENT_USER, u"Software\\Halvex", u"FastLink",
                                fastLink);
        for (bool option : {false, true})
            modes.push_back(app::ChooseExchangeMode(option));
    }
    using enum ExchangeMode;
    EXPECT_EQ(modes, (std::vector<ExchangeMode>{Timed, Fast, Fast, Fast, Timed, Fast}));
}

}  // namespace
