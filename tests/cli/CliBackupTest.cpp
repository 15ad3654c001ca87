// halvex-cli end to end: backup and restore of the phone book and the outbox against the
// simulated phone, in virtual time.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/cli/CliRunner.h"

namespace halvex::test {
namespace {

using nlohmann::json;

std::string Write(const std::string& name, const std::string& text) {
    const std::string path = TempDir() + "/" + name;
    WriteFile(path, text);
    return path;
}

Lines Writes(const CliRun& run) {
    Lines writes;
    for (const std::string& command : run.Commands()) {
        if (command.rfind("AT+CPBW=", 0) == 0 || command.rfind("AT+CMGW=", 0) == 0) {
            writes.push_back(command);
        }
    }
    return writes;
}

// A Nokia without entries or messages.
std::string EmptyNokia() {
    static const std::string path =
        ProfileWith("empty", R"({"identity": {"maker": "Nokia", "model": "Nokia 6310i"}})");
    return path;
}

// Export, restore into an empty phone, export again: the same file. The export names the
// entries the phone book does not show.
TEST(CliBackup, ThePhoneBookRoundTripsExactly) {
    const struct {
        std::string profile;
        std::string empty;
        std::string memory;
        std::string format;
        std::string hidden;
    } cases[] = {
        {"default", "empty", "ME", "vcard", "ME at 54"},
        {"default", "empty", "SM", "csv", "SM at 15"},
        // The second "John Smith" entry hides the first.
        {"nokia", EmptyNokia(), "ME", "vcard", "ME at 1"},
    };
    for (const auto& c : cases) {
        const std::string dir = TempDir();
        const CliRun first = RunCli({"--simulate=" + c.profile, "phonebook", "export", "--memory",
                                     c.memory, "--format", c.format, dir + "/first"});
        ASSERT_EQ(first.status, 0) << first.err;
        EXPECT_EQ(first.Messages(),
                  Lines{"halvex-cli: not in the backup: the entries of " + c.hidden +
                        " (the phone book shows one number of each known kind per name)"});
        const CliRun restore =
            RunCli({"--simulate=" + c.empty, "--simulate-save", dir + "/phone.json", "phonebook",
                    "import", "--memory", c.memory, dir + "/first"});
        ASSERT_EQ(restore.status, 0) << restore.out << restore.err;
        const CliRun again = RunCli({"--simulate=" + dir + "/phone.json", "phonebook", "export",
                                     "--memory", c.memory, "--format", c.format, dir + "/again"});
        ASSERT_EQ(again.status, 0) << again.err;
        EXPECT_GT(ReadFile(dir + "/first").size(), 200u);
        EXPECT_EQ(ReadFile(dir + "/again"), ReadFile(dir + "/first"))
            << c.profile << " " << c.memory;
    }
}

// A backup that could lack something is not written: an older one in its place stays.
TEST(CliBackup, AnExportThatCannotReadEverythingWritesNothing) {
    const std::string faulty = "--simulate=" + DefaultProfileWith(R"([
        {"action": "error", "command": "AT+CPBR=26,"},
        {"action": "error", "command": "AT+CMGL=3"}])");
    const std::string file = Write("old-backup", "kept");
    const struct {
        Lines args;
        std::string message;
    } cases[] = {
        {{"phonebook", "export", file}, "halvex-cli: the phone book ME could not be read"},
        {{"sms", "export", "outbox", file},
         "halvex-cli: the outbox could not be listed whole; nothing was written"},
    };
    for (const auto& c : cases) {
        Lines args = {faulty};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.Messages().back(), c.message);
        EXPECT_EQ(ReadFile(file), "kept");
    }
}

// The plan of a 2.1 export with quoted-printable non-ASCII names against the phone's book, and
// not one write.
TEST(CliBackup, DryRunPrintsThePlanAndWritesNothing) {
    const std::string file = Write("phone.vcf",
                                   "BEGIN:VCARD\r\nVERSION:2.1\r\n"
                                   "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=81lvarez;Zo=C3=AB"
                                   ";;;\r\nTEL;CELL:+34 600 000 111\r\nTEL;WORK;FAX:91-555-0100\r\n"
                                   "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:2.1\r\nN:Taylor;Ann\r\n"
                                   "FN:Ann Taylor\r\nTEL;TYPE=FAX:020 7946 0199\r\n"
                                   "TEL;CELL:+44 7700 900999\r\nEND:VCARD\r\n"
                                   "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Nobody\r\nEND:VCARD\r\n");
    const CliRun run =
        RunCli({"--simulate", "--transcript", "phonebook", "import", "--dry-run", file});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Plan for ME from " + file +
                           ":\n"
                           "  add      Zoë Álvarez (line 1): mobile +34600000111, fax 915550100\n"
                           "  fill in  Ann Taylor (line 7): fax 02079460199\n"
                           "             left out: mobile \"+44 7700 900999\": the contact has "
                           "+447700900103 there (--replace takes the file's)\n"
                           "  skip     Nobody (line 14): no number\n"
                           "1 to add, 1 to fill in, 0 to replace, 0 already on the phone, 1 "
                           "skipped.\nDry run: nothing was written.\n");
    EXPECT_TRUE(Writes(run).empty());
}

TEST(CliBackup, ReplaceGivesASameNamedContactTheFilesNumbers) {
    const std::string file =
        Write("ann.csv", "name,home,mobile\nAnn Taylor,01632 960101,+44 7700 900999\n");
    const CliRun run =
        RunCli({"--simulate", "--transcript", "--json", "phonebook", "import", "--replace", file});
    ASSERT_EQ(run.status, 0) << run.err;
    // Work goes, the mobile number is written again at its own index.
    EXPECT_EQ(Writes(run),
              (Lines{"AT+CPBW=2", "AT+CPBW=3,\"+447700900999\",129 ,\"Ann Taylor/M\""}));
    const json result = json::parse(run.out);
    EXPECT_EQ(
        result.at("contacts")[0],
        (json{
            {"line", 2},
            {"name", "Ann Taylor"},
            {"action", "replace"},
            {"numbers",
             {{{"kind", "work"}, {"number", ""}, {"previous", "02079460102"}, {"confirmed", true}},
              {{"kind", "mobile"},
               {"number", "+447700900999"},
               {"previous", "+447700900103"},
               {"confirmed", true}}}}}));
    EXPECT_EQ(result.at("confirmed"), 2);
}

TEST(CliBackup, ImportIntoAMemoryThatFillsUp) {
    const std::string three = ProfileWith(
        "empty", R"({"phonebook": {"memories": [{"name": "ME", "capacity": 3, "numberLength": 40,
                     "textLength": 40, "entries": []}]}})");
    const std::string file =
        Write("three.csv", "name,home,work,mobile,fax,other\nAnn,1,,2,,\nBen,,,3,,4\nCid,,,5,,\n");
    const CliRun run =
        RunCli({"--simulate=" + three, "--transcript", "--json", "phonebook", "import", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(Writes(run),
              (Lines{"AT+CPBW=3,\"1\",129 ,\"Ann/H\"", "AT+CPBW=2,\"2\",129 ,\"Ann/M\"",
                     "AT+CPBW=1,\"3\",129 ,\"Ben/M\""}));
    const json result = json::parse(run.out);
    EXPECT_EQ(
        result.at("contacts")[1].at("leftOut"),
        (json{{{"kind", "other"}, {"text", "4"}, {"reason", "no free place in the memory"}}}));
    EXPECT_EQ(result.at("contacts")[2].at("reason"), "no free place in the memory");
    EXPECT_EQ(result.at("confirmed"), 3);
    EXPECT_EQ(result.at("refused"), 0);
}

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
    ASSERT_GE(run.out.size(), summary.size());
    EXPECT_EQ(run.out.substr(run.out.size() - summary.size()), summary);

    const CliRun list = RunCli({"--simulate=" + saved, "phonebook", "list"});
    // Listed in the order of their indices.
    EXPECT_EQ(list.out, "Cid\n  mobile  4  #247\nBen\n  mobile  2  #248\nAnn\n  mobile  1  #250\n");
}

// A file the import cannot use is refused before the phone is even connected (the readers'
// messages are proven in BackupFormatsTest).
TEST(CliBackup, AMalformedFileChangesNothing) {
    const struct {
        Lines command;
        std::string name;
        std::string text;
        std::string message;
    } cases[] = {
        {{"phonebook", "import"},
         "cut.vcf",
         "BEGIN:VCARD\nVERSION:3.0\nFN:Ann\nTEL:1\n",
         "line 1: the card that begins here has no END:VCARD"},
        {{"sms", "import", "outbox"},
         "bad.jsonl",
         "{\"box\":\"outbox\",\"storage\":\"ME\",\"pdu\":\"0011000B91\"}\n{\"box\":\"outbox\"}\n",
         "line 2: no \"storage\" text"},
    };
    for (const auto& c : cases) {
        const std::string file = Write(c.name, c.text);
        Lines args = {"--simulate", "--transcript"};
        args.insert(args.end(), c.command.begin(), c.command.end());
        args.push_back(file);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.Messages(),
                  Lines{"halvex-cli: " + file + " " + c.message + "; nothing was imported"});
        EXPECT_TRUE(run.Commands().empty());
    }
}

// The outbox back into an empty phone, each message into its storage; the phone gives the
// indices, so only they differ. A second import finds every message there.
TEST(CliBackup, TheOutboxRoundTripsButForTheIndices) {
    const CliRun first = RunCli({"--simulate", "sms", "export", "outbox"});
    ASSERT_EQ(first.status, 0) << first.err;
    std::string archive = first.out;
    // The first message as if it had been on the SIM card.
    archive.replace(archive.find("\"storage\":\"ME\""), 14, "\"storage\":\"SM\"");
    const std::string file = Write("outbox.jsonl", archive);

    const std::string saved = TempDir() + "/phone.json";
    const CliRun restore = RunCli({"--simulate=empty", "--simulate-save", saved, "--transcript",
                                   "sms", "import", "outbox", file});
    ASSERT_EQ(restore.status, 0) << restore.out << restore.err;
    EXPECT_EQ(Writes(restore), (Lines{"AT+CMGW=22,3", "AT+CMGW=29,3", "AT+CMGW=46,3"}));

    const CliRun again = RunCli({"--simulate=" + saved, "sms", "export", "outbox"});
    ASSERT_EQ(again.status, 0) << again.err;
    std::istringstream before(archive);
    std::istringstream after(again.out);
    const Lines indices = {"1", "1", "2"};
    for (const std::string& index : indices) {
        std::string a;
        std::string b;
        ASSERT_TRUE(std::getline(before, a) && std::getline(after, b));
        json expected = json::parse(a);
        expected["index"] = index;
        EXPECT_EQ(json::parse(b), expected);
    }
    EXPECT_FALSE(std::getline(after, archive));

    const CliRun twice =
        RunCli({"--simulate=" + saved, "--transcript", "--json", "sms", "import", "outbox", file});
    ASSERT_EQ(twice.status, 0) << twice.err;
    EXPECT_TRUE(Writes(twice).empty());
    EXPECT_EQ(json::parse(twice.out).at("stored"), 0);
}

}  // namespace
}  // namespace halvex::test
