// halvex's command line and the outside notice's values and socket.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/HalvexOptions.h"
#include "app/Notices.h"
#include "link/PhoneLink.h"
#include "tests/support/PlatformFixture.h"

namespace {

using app::Connection;
using Args = std::vector<std::string>;

TEST(HalvexOptions, TakeTheConnectionOfTheCliAndANoticeAlone) {
    auto parse = [](const Args& args) { return app::ParseHalvexArguments(args); };
    EXPECT_EQ(parse({}).options->host.connection, Connection::Registry);
    const auto simulated = parse({"--simulate=nokia", "--simulate-save", "out.json"});
    ASSERT_TRUE(simulated.options);
    EXPECT_EQ(simulated.options->host.connection, Connection::Simulate);
    EXPECT_EQ(simulated.options->host.profile, "nokia");
    EXPECT_EQ(simulated.options->simulateSave, "out.json");
    const auto port = parse({"--port=rfcomm0"});
    EXPECT_EQ(port.options->host.port, u"rfcomm0");
    EXPECT_TRUE(parse({"-h"}).options->help);
    EXPECT_EQ(parse({"--screenshots", "docs"}).options->screenshots, "docs");
    EXPECT_TRUE(parse({"--fast", "--simulate"}).options->fast);

    const std::pair<const char*, std::uint32_t> notices[] = {{"0", 0},
                                                             {"5", 5},
                                                             {"-1", 0xFFFFFFFFu},
                                                             {"0xFFFFFFFF", 0xFFFFFFFFu},
                                                             {"4294967295", 0xFFFFFFFFu}};
    for (const auto& [text, value] : notices) {
        const auto notice = parse({"--notify", text});
        ASSERT_TRUE(notice.options) << text << notice.error;
        EXPECT_EQ(notice.options->notify, value) << text;
    }

    const std::pair<Args, const char*> refused[] = {
        {{"--port", "rfcomm0", "--simulate"}, "--port and --simulate exclude each other"},
        {{"--simulate-save", "x"}, "--simulate-save goes with --simulate only"},
        {{"--port", "rfcomm0123"},
         "the port name must have 1 to 9 characters (rfcomm0, ttyUSB0, ...)"},
        {{"--notify", "4294967296"},
         "\"4294967296\" is not a notice value (a number, 0x... or -1)"},
        {{"--notify", "-2"}, "\"-2\" is not a notice value (a number, 0x... or -1)"},
        {{"--notify", "0x"}, "\"0x\" is not a notice value (a number, 0x... or -1)"},
        {{"--notify", "1", "--simulate"}, "--notify goes alone"},
        {{"--notify", "1", "--fast"}, "--notify goes alone"},
        {{"--notify"}, "--notify needs a value"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"phonebook"}, "unexpected argument \"phonebook\""},
    };
    for (const auto& [args, error] : refused) {
        const auto result = parse(args);
        EXPECT_FALSE(result.options) << args[0];
        EXPECT_EQ(result.error, error);
    }
}

TEST(Notices, TheSocketLiesInAPrivateDirectoryAndNobodyListeningIsNoProgram) {
    char dir[] = "/tmp/halvex-notice-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("XDG_RUNTIME_DIR", dir, 1);
    std::string error;
    EXPECT_EQ(app::NoticeSocketPath(error), std::string(dir) + "/halvex-notify");
    EXPECT_EQ(app::SendNotice(app::NoticeSocketPath(error), 0), app::NoticeResult::NoProgram);

    // A runtime directory others can enter is not used.
    chmod(dir, 0755);
    const std::string fallback = app::NoticeSocketPath(error);
    EXPECT_EQ(fallback.rfind("/tmp/halvex-", 0), 0u) << error;
    EXPECT_NE(fallback.rfind("/halvex-notify"), std::string::npos);
    rmdir(dir);
    if (saved != nullptr) {
        setenv("XDG_RUNTIME_DIR", previous.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
}

class ExchangeChoice : public halvex::test::PlatformTest {};

TEST_F(ExchangeChoice, TheOptionOrTheRegistrysFastLinkChoosesTheFastExchange) {
    const auto chosen = [](bool option) {
        app::ChooseExchangeMode(option);
        const ExchangeMode mode = CPhoneLink::GetExchangeMode();
        CPhoneLink::SetExchangeMode(ExchangeMode::Timed);
        return mode;
    };
    EXPECT_EQ(chosen(false), ExchangeMode::Timed);
    EXPECT_EQ(chosen(true), ExchangeMode::Fast);
    registry().SetDword(platform::HKEY_CURRENT_USER, u"Software\\Halvex", u"FastLink", 1);
    EXPECT_EQ(chosen(false), ExchangeMode::Fast);
    registry().SetDword(platform::HKEY_CURRENT_USER, u"Software\\Halvex", u"FastLink", 2);
    EXPECT_EQ(chosen(false), ExchangeMode::Timed);
    EXPECT_EQ(chosen(true), ExchangeMode::Fast);
}

}  // namespace
