// halvex-cli end to end: backup and restore of the phone book and the outbox against the
// simulated phone, in virtual time.

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <regex>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using nlohmann::json;

std::string Crlf(const std::string& text) {
    return std::regex_replace(text, std::regex("\n"), "\r\n");
}
std::string Write(const std::string& name, const std::string& text) {
    const std::string path = TempDir() + "/" + name;
    WriteFile(path, text);
    return path;
}

// Export, restore into an empty phone, export again: the same file. The export names the
// entries the phone book does not show.
TEST(CliBackup, ThePhoneBookRoundTripsExactly) {
    const std::string emptyNokia =
        ProfileWith("empty", R"({"identity": {"maker": "Nokia", "model": "Nokia 6310i"}})");
    const struct {
        std::string profile, empty, memory, format, hidden;
    } cases[] = {{"default", "empty", "ME", "vcard", "ME at 54"},
                 {"default", "empty", "SM", "csv", "SM at 15"},
                 // The second "John Smith" entry hides the first.
                 {"nokia", emptyNokia, "ME", "vcard", "ME at 1"}};
    for (const auto& c : cases) {
        const std::string dir = TempDir();
        const CliRun first = RunCli({"--simulate=" + c.profile, "phonebook", "export", "--memory",
                                     c.memory, "--format", c.format, dir + "/first"});
        EXPECT_EQ(first.status, 0);
        EXPECT_EQ(first.Messages(),
                  Lines{"halvex-cli: not in the backup: the entries of " + c.hidden +
                        " (the phone book shows one number of each known kind per name)"});
        const CliRun restore =
            RunCli({"--simulate=" + c.empty, "--simulate-save", dir + "/phone.json", "phonebook",
                    "import", "--memory", c.memory, dir + "/first"});
        ASSERT_EQ(restore.status, 0) << restore.out << restore.err;
        const CliRun again = RunCli({"--simulate=" + dir + "/phone.json", "phonebook", "export",
                                     "--memory", c.memory, "--format", c.format, dir + "/again"});
        EXPECT_GT(ReadFile(dir + "/first").size(), 200u);
        EXPECT_EQ(ReadFile(dir + "/again"), ReadFile(dir + "/first")) << c.profile << c.memory;
    }
}

// A backup that could lack something is not written: an older one in its place stays.
TEST(CliBackup, AnExportThatCannotReadEverythingWritesNothing) {
    const std::string faulty = "--simulate=" + ProfileWith("default", R"({"faults": [
        {"action": "error", "command": "AT+CPBR=26,"}, {"action": "error", "command": "AT+CMGL=3"}]})");
    const std::string file = Write("old-backup", "kept");
    const std::pair<Lines, std::string> cases[] = {
        {{faulty, "phonebook", "export", file}, "halvex-cli: the phone book ME could not be read"},
        {{faulty, "sms", "export", "outbox", file},
         "halvex-cli: the outbox could not be listed whole; nothing was written"}};
    for (const auto& [args, message] : cases) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.Messages().back(), message);
        EXPECT_EQ(ReadFile(file), "kept");
    }
}

// The plan against the phone's book in its lines, and not one write.
TEST(CliBackup, DryRunPrintsThePlanAndWritesNothing) {
    const std::string file = Write("phone.csv",
                                   "name,mobile,fax\nZoë Álvarez,+34 600 000 111,91-555-0100\n"
                                   "Ann Taylor,+44 7700 900999,020 7946 0199\nNobody,,\n");
    const CliRun run =
        RunCli({"--simulate", "--transcript", "phonebook", "import", "--dry-run", file});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Plan for ME from " + file +
                           ":\n"
                           "  add      Zoë Álvarez (line 2): mobile +34600000111, fax 915550100\n"
                           "  fill in  Ann Taylor (line 3): fax 02079460199\n"
                           "             left out: mobile \"+44 7700 900999\": the contact has "
                           "+447700900103 there (--replace takes the file's)\n"
                           "  skip     Nobody (line 4): no number\n"
                           "1 to add, 1 to fill in, 0 to replace, 0 already on the phone, 1 "
                           "skipped.\nDry run: nothing was written.\n");
    EXPECT_EQ(run.Writes(), Lines{});
}

TEST(CliBackup, ReplaceGivesASameNamedContactTheFilesNumbers) {
    const std::string file =
        Write("ann.csv", "name,home,mobile\nAnn Taylor,01632 960101,+44 7700 900999\n");
    const CliRun run =
        RunCli({"--simulate", "--transcript", "--json", "phonebook", "import", "--replace", file});
    EXPECT_EQ(run.status, 0) << run.err;
    // Work goes, the mobile number is written again at its own index.
    EXPECT_EQ(run.Writes(),
              (Lines{"AT+CPBW=2", "AT+CPBW=3,\"+447700900999\",129 ,\"Ann Taylor/M\""}));
    EXPECT_EQ(json::parse(run.out).at("confirmed"), 2);
}

// What no free place can take is the plan's (BackupFormatsTest); a write the phone refuses is
// told, and the rest goes on.
TEST(CliBackup, ARefusedWriteIsReportedAndTheRestGoesOn) {
    const std::string refusing = ProfileWith(
        "empty", R"({"faults": [{"action": "error", "command": "AT+CPBW=", "skip": 1}]})");
    const std::string file = Write("three.csv", "name,home,mobile\nAnn,,1\nBen,3,2\nCid,,4\n");
    const std::string saved = TempDir() + "/phone.json";
    const CliRun run =
        RunCli({"--simulate=" + refusing, "--simulate-save", saved, "phonebook", "import", file});
    EXPECT_EQ(run.status, 1);
    const std::string summary =
        "The phone confirmed 3 numbers and refused 1:\n  Ben: home 3: ERROR\n";
    EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), summary.size())), summary);
    // Listed in the order of their indices.
    EXPECT_EQ(RunCli({"--simulate=" + saved, "phonebook", "list"}).out,
              "Cid\n  mobile  4  #247\nBen\n  mobile  2  #248\nAnn\n  mobile  1  #250\n");
}

// A phone's export with a card cut inside a line among good ones (the readers' quirks are
// BackupFormatsTest's): the others are restored, the cut one is named, and the exit status tells
// it was skipped, with --dry-run too.
TEST(CliBackup, APhonesExportWithABrokenCardRestoresTheOthers) {
    const std::string file =
        Write("phone.vcf", Crlf("BEGIN:VCARD\nVERSION:2.1\nN:Ann;;;;\nTEL;CELL:1\nEND:VCARD\n"
                                "BEGIN:VCARD\nVERSION:2.1\nN:Ben;;;;\nTEL;CELL;VOICE\nEND:VCARD\n"
                                "BEGIN:VCARD\nVERSION:2.1\nN:Cid;;;;\nTEL;CELL:3\nEND:VCARD.\n"));
    for (const bool dryRun : {false, true}) {
        Lines args = {"--simulate=empty", "--transcript", "phonebook", "import", file};
        if (dryRun)
            args.push_back("--dry-run");
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.Messages(), Lines{"halvex-cli: 1 card of " + file +
                                        " could not be read and was skipped (line 6)"});
        EXPECT_EQ(std::tuple(run.status, run.Writes().size()), std::tuple(1, dryRun ? 0u : 2u));
        EXPECT_NE(run.out.find("  skip     Ben (line 6): cannot be read: line 9: not a vCard "
                               "property (a name, then \":\" and a value)\n"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(dryRun ? "Dry run: nothing was written.\n"
                                      : "The phone confirmed 2 numbers and refused 0.\n"),
                  std::string::npos)
            << run.out;
    }
}

// A file the import cannot use is refused before the phone is even connected (the readers'
// messages are proven in BackupFormatsTest).
TEST(CliBackup, AMalformedFileChangesNothing) {
    const std::string card = Write("cut.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:Ann\nTEL:1\n");
    const std::string archive = Write(
        "bad.jsonl",
        "{\"box\":\"outbox\",\"storage\":\"ME\",\"pdu\":\"0011000B91\"}\n{\"box\":\"outbox\"}\n");
    const std::pair<Lines, std::string> cases[] = {
        {{"--simulate", "--transcript", "phonebook", "import", card},
         card + " line 1: the card that begins here has no END:VCARD"},
        {{"--simulate", "--transcript", "sms", "import", "outbox", archive},
         archive + " line 2: no \"storage\" text"}};
    for (const auto& [args, message] : cases)
        EXPECT_EQ(RunCli(args).Whole(),
                  (Lines{"2", "", "halvex-cli: " + message + "; nothing was imported\n"}));
}

// The outbox back into an empty phone, each message into its storage; the phone gives the
// indices, so only they differ.
TEST(CliBackup, TheOutboxRoundTripsButForTheIndices) {
    std::string archive = RunCli({"--simulate", "sms", "export", "outbox"}).out;
    // The first message as if it had been on the SIM card.
    archive.replace(archive.find("\"storage\":\"ME\""), 14, "\"storage\":\"SM\"");
    const std::string file = Write("outbox.jsonl", archive);

    const std::string saved = TempDir() + "/phone.json";
    const CliRun restore =
        RunCli({"--simulate=empty", "--simulate-save", saved, "sms", "import", "outbox", file});
    EXPECT_EQ(restore.status, 0) << restore.out << restore.err;

    const std::regex index(R"("index":"\d+")");
    EXPECT_EQ(std::regex_replace(RunCli({"--simulate=" + saved, "sms", "export", "outbox"}).out,
                                 index, ""),
              std::regex_replace(archive, index, ""));
}

// What the phone does not take is told, line by line, with the counts and exit status 1.
TEST(CliBackup, TheOutboxRestoreTellsWhatThePhoneDidNotTake) {
    const Lines pdus = {
        "079144872000302311000C914477000920130000AA094F37A89D07DDC379",
        "079144872000302311000C914477000910300000AA115474D8BD9E83CC6F39885D778FD121"};
    // Line i of the file; `lower` writes the PDU's hex digits in lower case.
    const auto line = [&](std::size_t i, const char* storage, bool lower = false) {
        std::string pdu = pdus[i];
        if (lower)
            std::transform(pdu.begin(), pdu.end(), pdu.begin(), ::tolower);
        return R"({"box":"outbox","storage":")" + std::string(storage) + R"(","pdu":")" + pdu +
               "\"}\n";
    };
    const auto sms = [](const std::string& storages) {
        return R"({"sms": {"storages": [)" + storages + "]}}";
    };
    std::string full;
    for (int i = 1; i <= 65; ++i) {
        full += (i > 1 ? "," : "") + std::string(R"({"index": )") + std::to_string(i) +
                R"(, "status": 3, "pdu": ")" + pdus[0] + "\"}";
    }
    const struct {
        std::string profile, file;
        int status;
        Lines writes;
        std::string tail;
    } cases[] = {
        // Each message on the phone answers for one line, whatever the case of its hex digits.
        {"default",
         line(0, "ME") + line(0, "ME") + line(1, "ME", true),
         0,
         {"AT+CMGW=22,3"},
         "1 to store, 2 already on the phone.\nThe phone stored 1 message and refused 0.\n"},
        {ProfileWith("empty", sms(R"({"name": "ME", "capacity": 1, "messages": []})")),
         line(0, "ME") + line(1, "ME"),
         1,
         {"AT+CMGW=22,3"},
         "The phone stored 1 message and refused 1:\n  line 2: the storage is full\n"},
        {ProfileWith("empty",
                     R"({"faults": [{"action": "error", "command": "AT+CMGW=", "skip": 1}]})"),
         line(0, "ME") + line(1, "ME") + line(0, "ME"),
         1,
         {"AT+CMGW=22,3", "AT+CMGW=29,3", "AT+CMGW=22,3"},
         "The phone stored 2 messages and refused 1:\n  line 2: the phone did not store it\n"},
        {ProfileWith(
             "empty",
             R"({"faults": [{"action": "error", "command": "AT+CPMS=\"SM\"", "skip": 1}]})"),
         line(0, "SM") + line(1, "ME"),
         1,
         {"AT+CMGW=29,3"},
         "The phone stored 1 message and refused 1:\n  line 1: the phone refused its storage SM\n"},
        {ProfileWith("empty",
                     sms(R"({"name": "ME", "capacity": 150, "messages": [)" + full + "]}")),
         line(1, "ME"),
         1,
         {},
         "halvex-cli: the outbox already lists as many messages as Halvex keeps; nothing was "
         "stored, so that none is stored twice\n"}};
    for (const auto& c : cases) {
        const CliRun run = RunCli({"--simulate=" + c.profile, "--transcript", "sms", "import",
                                   "outbox", Write("restore.jsonl", c.file)});
        // What was told last: the summary, or the refusal on standard error.
        const Lines messages = run.Messages();
        const std::string told =
            run.out.empty() && !messages.empty() ? messages.back() + "\n" : run.out;
        EXPECT_EQ(std::tuple(run.status, run.Writes(),
                             told.substr(told.size() - std::min(told.size(), c.tail.size()))),
                  std::tuple(c.status, c.writes, c.tail))
            << c.file << run.out << run.err;
    }
}

}  // namespace
}  // namespace halvex::test
