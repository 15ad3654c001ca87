// halvex-pdu run as a user would: arguments in, JSON and exit status out.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/Process.h"

namespace {

struct Outcome : halvex::test::RunResult {
    std::string err;
};

Outcome Pdu(std::vector<std::string> args) {
    args.insert(args.begin(), HALVEX_PDU_PATH);
    Outcome run;
    static_cast<halvex::test::RunResult&>(run) =
        halvex::test::RunProgram(args, 10000, {}, &run.err);
    return run;
}

TEST(CodecTool, DecodePrintsEachClassAsOneJsonLine) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // A header as hex; the text as UTF-8, a lone surrogate as U+FFFD.
        {{"decode", "00440B912143658709F10008201151010300400E050003010201004800E920ACD800"},
         R"({"class":"CSmsDeliver","mti":0,"smsc":{"ton":0,"npi":0,"digits":""},)"
         R"("address":{"ton":1,"npi":1,"digits":"12345678901"},"mms":1,"sri":0,"rp":0,"pid":0,)"
         R"("dcs":8,"timestamp":{"year":2,"month":11,"day":15,"hour":10,"minute":30,"second":0,)"
         R"("zone":60,"zoneSign":1},"header":"0003010201","text":")"
         "H\u00E9\u20AC\uFFFD\"}"},
        // Blanks between octets, as copied from a log.
        {{"decode", "--outgoing", "0791214365870921 B5 00 05912143F5 00 08 A8 04 00480069"},
         R"({"class":"CSmsSubmit","mti":1,"smsc":{"ton":1,"npi":1,"digits":"123456789012"},)"
         R"("address":{"ton":1,"npi":1,"digits":"12345"},"rd":1,"vpf":2,"srr":1,"rp":1,"mr":0,)"
         R"("pid":0,"dcs":8,"validity":{"format":2,"relative":168},"header":"","text":"Hi"})"},
    };
    for (const auto& [args, json] : cases) {
        const Outcome run = Pdu(args);
        EXPECT_EQ(std::tie(run.status, run.err, run.output), std::tuple(0, "", json + "\n"));
    }
}

// As a phone stores it: a sent message and a received one each as itself, without a direction;
// message type 3 gives null (exit 1).
TEST(CodecTool, StoredDecodesByTheMessageTypeAlone) {
    const std::tuple<std::vector<std::string>, std::string, int> cases[] = {
        {{"decode", "--stored", "0011000C914477000940650000AA02C834"},
         R"({"class":"CSmsSubmit")",
         0},
        {{"decode", "--stored", "00040C9144770009103200006221700103000002C834"},
         R"({"class":"CSmsDeliver")",
         0},
        {{"decode", "--stored", "0003"}, "null\n", 1}};
    for (const auto& [args, start, status] : cases) {
        const Outcome run = Pdu(args);
        EXPECT_TRUE(run.output.starts_with(start) && run.status == status) << args.back();
    }
    EXPECT_EQ(Pdu({"decode", "--stored", "--outgoing", "0004"}).status, 2);
}

// What the compose dialog sends, from UTF-8 text, in UCS2 unless another alphabet is asked for.
TEST(CodecTool, SubmitBuildsWhatTheComposeDialogSends) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"submit", "--to", "+12345", "--text", "Hi", "--smsc", "+123456789012"},
         R"({"pdu":"0791214365870921150005912143F50008A80400480069","length":15})"},
        // A check box sets its bit of the first TPDU octet.
        {{"submit", "--srr", "--to", "+12345", "--text", "Hi", "--smsc", "+123456789012"},
         R"({"pdu":"0791214365870921350005912143F50008A80400480069","length":15})"},
        {{"submit", "--to", "12 34", "--text", "\u00E9\u20AC\U0001F600"},
         R"({"pdu":"001500048121430008A80800E920ACD83DDE00","length":18})"},
        {{"submit", "--to", "1", "--text", "abc", "--dcs", "0"},
         R"({"pdu":"0015000181F10000A80361F118","length":12})"},
    };
    for (const auto& [args, json] : cases) {
        const Outcome run = Pdu(args);
        EXPECT_EQ(std::tie(run.status, run.err, run.output), std::tuple(0, "", json + "\n"));
    }
}

TEST(CodecTool, BadArgumentsExitTwoWithOneLine) {
    const std::vector<std::string> cases[] = {
        {"encode"},
        {"decode"},
        {"decode", "12G4"},
        {"submit", "--text", "Hi"},
        {"submit", "--to", "12ab", "--text", "Hi"},
        {"submit", "--to", "1", "--text", "Hi", "--smsc", "+1;AT"},
        {"submit", "--to", "1", "--text"},
        {"submit", "--to", "1", "--text", std::string(71, 'x')},
        {"submit", "--to", "1", "--text", std::string(161, 'x'), "--dcs", "0"},
        // Not UTF-8 (the text library's strict decoding has every case).
        {"submit", "--to", "1", "--text", "\xED\xA0\xBD\xED\xB8\x80"}};
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        const Outcome run = Pdu(args);
        EXPECT_EQ(std::tuple(run.status, run.output, std::ranges::count(run.err, '\n'),
                             run.err.starts_with("halvex-pdu: ")),
                  std::tuple(2, "", 1, true))
            << run.err;
    }
    // The limits themselves are fine.
    EXPECT_EQ(Pdu({"submit", "--to", "1", "--text", std::string(70, 'x')}).status, 0);
    EXPECT_EQ(Pdu({"submit", "--to", "1", "--text", std::string(160, 'x'), "--dcs", "0"}).status,
              0);
}

}  // namespace
