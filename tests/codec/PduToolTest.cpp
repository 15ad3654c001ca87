// halvex-pdu run as a user would: arguments in, JSON and exit status out.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

Outcome Pdu(std::vector<std::string> args) {
    args.insert(args.begin(), HALVEX_PDU_PATH);
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    int out[2];
    int err[2];
    Outcome run;
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0) {
        close(out[0]);
        close(err[0]);
        ADD_FAILURE() << "cannot run " << argv[0];
        return run;
    }
    // The outputs are a line or two each, far below a pipe's buffer.
    run.out = ReadAll(out[0]);
    run.err = ReadAll(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

nlohmann::json Json(const Outcome& run) {
    return nlohmann::json::parse(run.out, nullptr, false);
}

TEST(CodecTool, DecodePrintsTheRecordAsJson) {
    const Outcome run =
        Pdu({"decode", "07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto json = Json(run);
    ASSERT_TRUE(json.is_object()) << run.out;
    EXPECT_EQ(json["class"], "CSmsDeliver");
    EXPECT_EQ(json["mti"], 0);
    EXPECT_EQ(json["smsc"], (nlohmann::json{{"ton", 1}, {"npi", 1}, {"digits", "27381000015"}}));
    EXPECT_EQ(json["address"], (nlohmann::json{{"ton", 4}, {"npi", 8}, {"digits", "27838890001"}}));
    EXPECT_EQ(json["mms"], 1);
    EXPECT_EQ(json["sri"], 0);
    EXPECT_EQ(json["rp"], 0);
    EXPECT_EQ(json["pid"], 0);
    EXPECT_EQ(json["dcs"], 0);
    EXPECT_EQ(json["timestamp"], (nlohmann::json{{"year", 99},
                                                 {"month", 3},
                                                 {"day", 29},
                                                 {"hour", 15},
                                                 {"minute", 16},
                                                 {"second", 59},
                                                 {"zone", 120},
                                                 {"zoneSign", 1}}));
    EXPECT_EQ(json["header"], "");
    EXPECT_EQ(json["text"], "hellohello");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

TEST(CodecTool, DecodeShowsHeaderAsHexAndTextAsUtf8) {
    const Outcome run =
        Pdu({"decode", "00440B912143658709F10008201151010300400C050003010201004800E920AC"});
    EXPECT_EQ(run.status, 0);
    const auto json = Json(run);
    EXPECT_EQ(json["header"], "0003010201");
    EXPECT_EQ(json["text"], "H\u00E9\u20AC");
}

TEST(CodecTool, DecodeOutgoingSubmitShowsItsFlagsAndValidity) {
    const Outcome run =
        Pdu({"decode", "--outgoing", "0791214365870921B50005912143F50008A80400480069"});
    EXPECT_EQ(run.status, 0);
    const auto json = Json(run);
    EXPECT_EQ(json["class"], "CSmsSubmit");
    EXPECT_EQ(json["address"]["digits"], "12345");
    EXPECT_EQ(json["rd"], 1);
    EXPECT_EQ(json["vpf"], 2);
    EXPECT_EQ(json["srr"], 1);
    EXPECT_EQ(json["rp"], 1);
    EXPECT_EQ(json["mr"], 0);
    EXPECT_EQ(json["validity"], (nlohmann::json{{"format", 2}, {"relative", 168}}));
    EXPECT_EQ(json["text"], "Hi");
    EXPECT_FALSE(json.contains("timestamp"));
}

TEST(CodecTool, DecodeAcceptsBlanksBetweenOctets) {
    const Outcome run = Pdu({"decode", "0006D60B911326880736F4 11101171955140 11101171957140 00"});
    EXPECT_EQ(run.status, 0);
    const auto json = Json(run);
    EXPECT_EQ(json["class"], "CSmsStatusReport");
    EXPECT_EQ(json["mr"], 214);
    EXPECT_EQ(json["st"], 0);
    EXPECT_EQ(json["discharge"]["second"], 17);
}

TEST(CodecTool, MessageTypeThreeGivesNull) {
    const Outcome run = Pdu({"decode", "0003"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "null\n");
}

TEST(CodecTool, SubmitBuildsWhatTheComposeDialogSends) {
    const Outcome run =
        Pdu({"submit", "--to", "+12345", "--text", "Hi", "--smsc", "+123456789012"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(Json(run), (nlohmann::json{{"pdu", "0791214365870921150005912143F50008A80400480069"},
                                         {"length", 15}}));

    const Outcome both = Pdu(
        {"submit", "--srr", "--to", "+12345", "--text", "Hi", "--smsc", "+123456789012", "--rp"});
    EXPECT_EQ(Json(both)["pdu"], "0791214365870921B50005912143F50008A80400480069");
}

TEST(CodecTool, SubmitTakesUtf8TextAndOtherAlphabets) {
    const Outcome ucs2 = Pdu({"submit", "--to", "12 34", "--text", "\u00E9\u20AC"});
    EXPECT_EQ(Json(ucs2),
              (nlohmann::json{{"pdu", "001500048121430008A80400E920AC"}, {"length", 14}}));
    const Outcome septets = Pdu({"submit", "--to", "1", "--text", "abc", "--dcs", "0"});
    EXPECT_EQ(Json(septets)["pdu"], "0015000181F10000A80361F118");
    const Outcome hex = Pdu({"submit", "--to", "1", "--text", "Hi", "--dcs", "0x04"});
    EXPECT_EQ(Json(hex)["pdu"], "0015000181F10004A8024869");
}

TEST(CodecTool, BadArgumentsExitTwoWithOneLine) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"encode"},
        {"decode"},
        {"decode", "123"},
        {"decode", "12G4"},
        {"decode", "--incoming", "0004"},
        {"decode", "0004", "0004"},
        {"submit", "--text", "Hi"},
        {"submit", "--to", "+12345"},
        {"submit", "--to", "12ab", "--text", "Hi"},
        {"submit", "--to", "+", "--text", "Hi"},
        {"submit", "--to", "123456789012345678901", "--text", "Hi"},
        {"submit", "--to", "1", "--text", "Hi", "--smsc", "+1;AT"},
        {"submit", "--to", "1", "--text", "Hi", "--dcs", "256"},
        {"submit", "--to", "1", "--text", "Hi", "--dcs", "x"},
        {"submit", "--to", "1", "--text"},
        {"submit", "--to", "1", "--text", "Hi", "--flash"},
        {"submit", "--to", "1", "--text", std::string(71, 'x')},
        {"submit", "--to", "1", "--text", std::string(161, 'x'), "--dcs", "0"},
        {"submit", "--to", "1", "--text", "\xC3("},
    };
    for (const auto& args : cases) {
        const Outcome run = Pdu(args);
        std::string shown;
        for (const auto& a : args) {
            shown += a.substr(0, 20) + " ";
        }
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << shown << run.err;
        EXPECT_EQ(run.err.rfind("halvex-pdu: ", 0), 0u) << shown << run.err;
    }
    // The limits themselves are fine.
    EXPECT_EQ(Pdu({"submit", "--to", "1", "--text", std::string(70, 'x')}).status, 0);
    EXPECT_EQ(Pdu({"submit", "--to", "1", "--text", std::string(160, 'x'), "--dcs", "0"}).status,
              0);
}

}  // namespace
