// The backup files on their own: vCard as phones and address books write it, CSV, the numbers
// the phone book takes, the message archive. That every reader survives any input and that what
// is written reads back the same, fuzz/BackupFilesFuzz.cpp proves. Then the plan of a restore
// against a phone book as read: what is added, filled in, replaced, kept, left out and skipped,
// and why.

#include <gtest/gtest.h>

#include <regex>
#include <tuple>

#include "app/Utf8Text.h"
#include "app/cli/backup/ContactCard.h"
#include "app/cli/backup/ImportPlan.h"
#include "app/cli/backup/PhoneNumber.h"
#include "app/cli/backup/SmsArchive.h"

namespace {

using backup::CardFile;
using backup::ContactCard;
using backup::PlanItem;
using Lines = std::vector<std::string>;

// The cards of a contact file as "Name: kind number, kind number", those passed over as
// "skip LINE Name: line FAULT: reason", then its fault and line.
Lines Read(const std::string& bytes) {
    const CardFile file = backup::ReadContacts(bytes);
    Lines shown;
    for (const ContactCard& card : file.cards) {
        shown.push_back(app::ToUtf8(card.name) + ":");
        for (const backup::CardNumber& n : card.numbers)
            shown.back() += std::string(" ") + backup::KindName(n.kind) + " " + app::ToUtf8(n.text);
    }
    for (const backup::UnreadableCard& card : file.unreadable)
        shown.push_back("skip " + std::to_string(card.line) + " " + app::ToUtf8(card.name) +
                        ": line " + std::to_string(card.faultLine) + ": " + card.reason);
    if (file.Failed())
        shown.push_back("line " + std::to_string(file.errorLine) + ": " + file.error);
    return shown;
}

std::string Crlf(const std::string& text) {
    return std::regex_replace(text, std::regex("\n"), "\r\n");
}

// A file as a phone or an address book writes it, and what is read from it.
struct ReadCase {
    const char* what;
    std::string file;
    Lines cards;
};

TEST(VCardRead, WhatPhonesAndAddressBooksWrite) {
    const ReadCase cases[] = {
        {"2.1 of a phone: quoted-printable UTF-8 with a soft line break, bare types, no FN",
         Crlf("BEGIN:VCARD\nVERSION:2.1\n"
              "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=B6rg;;Dr.;\n"
              "TEL;CELL;PREF:+49 171 1234567\nTEL;HOME;VOICE:030 1234567\n"
              "TEL;WORK;FAX:030 7654321\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:2.1\n"
              "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Fran=C3=A7oise Mar=\ntin\n"
              "TEL;TYPE=CELL:06 12 34 56 78\nEND:VCARD\n"),
         {"Dr. Jörg Müller: mobile +49 171 1234567 home 030 1234567 fax 030 7654321",
          "Françoise Martin: mobile 06 12 34 56 78"}},
        {"2.1 in Latin-1, LF line ends, a picture in unindented base64 up to a blank line",
         "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:J=F6rg\n"
         "PHOTO;ENCODING=BASE64;TYPE=JPEG:/9j/4AAQ\nSkZJRgABAQ\n\nTEL;HOME:1\nEND:VCARD\n",
         {"Jörg: home 1"}},
        {"2.1 fold keeps its blank; 3.0 fold drops it",
         Crlf("BEGIN:VCARD\nVERSION:2.1\nFN:Ann\n Taylor\nTEL:1\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Ann Tay\n lor\nTEL:2\nEND:VCARD\n"),
         {"Ann Taylor: other 1", "Ann Taylor: other 2"}},
        {"3.0 of an address book: escapes, groups, TYPE lists in any case, five numbers",
         Crlf("BEGIN:VCARD\nVERSION:3.0\nN:Smith;John;;;\nFN:Smith\\, John \\\\ Co\\; Ltd\n"
              "item1.TEL;type=WORK;type=VOICE:020 7946 0102\nTEL;TYPE=home,voice:0163\n"
              "TEL;TYPE=iPhone:+44 7700\nTEL;TYPE=WORK,FAX:0207\nTEL:999\n"
              "EMAIL;TYPE=INTERNET:j@example.org\nEND:VCARD\n"),
         {"Smith, John \\ Co; Ltd: work 020 7946 0102 home 0163 mobile +44 7700 fax 0207 other "
          "999"}},
        {"4.0: quoted TYPE list and a tel: URI",
         Crlf("BEGIN:VCARD\nVERSION:4.0\nFN:Ann\nTEL;VALUE=uri;TYPE=\"voice,cell\";PREF=1:tel:"
              "+44-7700-900103\nEND:VCARD\n"),
         {"Ann: mobile +44-7700-900103"}},
        {"no FN or N: the organisation; no name at all; no number",
         Crlf("BEGIN:VCARD\nVERSION:3.0\nORG:ACME Ltd;Sales\nTEL:1\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nTEL:2\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nFN:Nobody\nTEL:\nEND:VCARD\n"),
         {"ACME Ltd: other 1", ": other 2", "Nobody:"}},
        {"CSV: columns in any order and case, LF line ends, a byte order mark, blank lines",
         "\xEF\xBB\xBFMobile,NAME\n+4477,Ann\n\n07,\"Bob\"\n",
         {"Ann: mobile +4477", "Bob: mobile 07"}}};
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.file), c.cards) << c.what;
}

// A card that cannot be read is passed over, named with its line, the line of its fault and as
// much of its name as was read; the rest of the file is read.
TEST(VCardRead, ThePhonesQuirksAndBrokenCardsAmongGoodOnes) {
    const ReadCase cases[] = {
        {"quoted-printable values broken without the \"=\" of a soft break",
         Crlf("BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J\n"
              "=C3=B6rg;;;\nTEL;CELL:1\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:2.1\nN;QUOTED-PRINTABLE:Do\ne;John;;;\nTEL:2\nEND:VCARD\n"),
         {"Jörg Müller: mobile 1", "John Doe: other 2"}},
        {"END:VCARD with stray characters after it",
         "BEGIN:VCARD\nFN:Ann\nTEL:1\nEND:VCARD.\nBEGIN:VCARD\nFN:Ben\nTEL:2\nend:vcard ;\n",
         {"Ann: other 1", "Ben: other 2"}},
        {"good and broken cards mixed, and lines between cards",
         "BEGIN:VCARD\nFN:Ann\nTEL:1\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Ben\nthis is no property\nTEL:2\nEND:VCARD\n"
         "stray\nlines\n"
         "BEGIN:VCARD\nFN:Cid\nBEGIN:VCARD\nFN:Dan\nTEL:4\nEND:VCARDS\n"
         "BEGIN:VCARD\nVERSION:5.0\nFN:Eve\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Fay\nTEL:6\nEND:VCARD\n"
         "BEGIN:VCARD\nFN:Gus\nTEL:7\n",
         {"Ann: other 1", "Fay: other 6",
          "skip 5 Ben: line 7: not a vCard property (a name, then \":\" and a value)",
          "skip 10 : line 10: expected BEGIN:VCARD",
          "skip 12 Cid: line 14: a card begins inside the card of line 12",
          "skip 14 Dan: line 17: expected END:VCARD",
          "skip 18 : line 19: vCard version \"5.0\" is not read (2.1, 3.0 or 4.0)",
          "skip 26 Gus: line 26: the card that begins here has no END:VCARD"}}};
    for (const auto& c : cases)
        EXPECT_EQ(Read(c.file), c.cards) << c.what;

    // Cards of 10,000 lines: a name in quoted-printable over all of them, and lines that are no
    // property, which pass over that card alone.
    std::string file = "BEGIN:VCARD\nFN;QUOTED-PRINTABLE:A";
    for (int i = 0; i < 10000; ++i)
        file += "\n=41";
    file += "\nTEL:1\nEND:VCARD\nBEGIN:VCARD\n";
    for (int i = 0; i < 10000; ++i)
        file += "no property\n";
    file += "END:VCARD\nBEGIN:VCARD\nFN:Ann\nTEL:2\nEND:VCARD\n";
    EXPECT_EQ(Read(file), (Lines{std::string(10001, 'A') + ": other 1", "Ann: other 2",
                                 "skip 10005 : line 10006: not a vCard property (a name, then "
                                 "\":\" and a value)"}));
}

// vCard (a file beginning with BEGIN:VCARD) or CSV. The vCard faults' texts are the table above;
// a card without its end is the command line's malformed file. What the writers write, the
// command line's round trips read back.
TEST(ContactFile, MalformedFilesTellTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        // Not one card can be read: the first fault.
        {"BEGIN:VCARD\nFN:Ann\nthis is no property\nEND:VCARD\nBEGIN:VCARD\nEND:VCARDS\n",
         "line 3: not a vCard property (a name, then \":\" and a value)"},
        {"BEGIN:VCARD\nFN:J\xF6rg\nEND:VCARD\n",
         "line 2: the FN value is not UTF-8 text (a CHARSET parameter names the one it is in)"},
        {"", "line 1: no header line (name,home,work,mobile,fax,other)"},
        {"name,pager\n", "line 1: unknown column \"pager\" (name, home, work, mobile, fax, other)"},
        {"home,work\n", "line 1: no \"name\" column"},
        {"name,home,Home\n", "line 1: the column \"home\" is given twice"},
        {"name,home\nAnn,1\nBob\n", "line 3: 1 fields where the header has 2"},
        {"name,home\nAnn,1\n\"Bob,2\n", "line 3: a quoted field that begins here is never closed"},
        {"name,home\nA\"nn,1\n", "line 2: a double quote inside a field that is not quoted"},
        {"name,home\n\"Ann\"x,1\n", "line 2: text after the closing quote of a field"},
        {"name,home\n\"A\nnn\",1\nB\xFF,2\n", "line 4: not UTF-8 text"}};
    for (const auto& [file, error] : cases)
        EXPECT_EQ(Read(file), Lines{error}) << file;
}

// The number, or what is wrong with it; "(0)" when a trunk zero after the country code went.
TEST(PhonebookNumber, LayoutGoesAndAnythingElseIsRefused) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"+44 (0)20 7946-0102", "+442079460102 (0)"},
        {u"(01632) 960.101", "01632960101"},
        {u"0049\u00A030/1234\u2013567", "0049301234567"},
        {u"*31#0123", "*31#0123"},
        {u"1-800-FLOWERS", "\"F\", which a phone book number cannot hold"},
        {u"+44+20", "a \"+\" that does not lead"},
        {u"+ -", "no digits"},
        {u"123456789012345678901", "longer than 20 characters"}};
    for (const auto& [text, shown] : cases) {
        const backup::NumberForm form = backup::PhonebookNumber(text);
        EXPECT_EQ(app::ToUtf8(form.number) + form.problem + (form.trunkZeroDropped ? " (0)" : ""),
                  shown);
    }
}

TEST(SmsArchive, ReadsWhatItNeedsAndRefusesTheRest) {
    const std::string good =
        R"({"box":"outbox","id":1,"storage":"SM","index":"9","pdu":"0791448720003023110005)"
        R"(81214365000000AA0131"})";
    // What the restore takes from a message the outbox round trip of halvex-cli proves; blank
    // lines count.
    EXPECT_EQ(backup::ReadArchive(good + "\n\n" + good + "\n").messages.at(1).line, 3);
    const std::pair<std::string, std::string> cases[] = {
        {"not json", "not a JSON object"},
        {R"({"pdu":"0011"})", "no \"box\" text"},
        {R"({"box":"sent","storage":"ME","pdu":"0011"})", "the box is neither inbox nor outbox"},
        {R"({"box":"outbox","storage":"ME","pdu":"0511AA"})",
         "the pdu is not the hex of a message"}};
    for (const auto& [line, error] : cases) {
        const backup::MessageArchive bad = backup::ReadArchive(good + "\n" + line + "\n");
        EXPECT_EQ(std::to_string(bad.errorLine) + ": " + bad.error, "2: " + error);
        EXPECT_TRUE(bad.messages.empty());
    }
    // Nesting deep enough to exhaust a recursive reader.
    EXPECT_TRUE(backup::ReadArchive(std::string(100000, '[')).Failed());
}

// One line per card: "step name: kind number (was ...), ... | left out kind text: reason".
Lines Describe(const std::vector<PlanItem>& plan) {
    const char* steps[] = {"add", "fill", "replace", "keep", "skip"};
    Lines lines;
    for (const PlanItem& item : plan) {
        std::string line =
            std::string(steps[static_cast<int>(item.step)]) + " " + app::ToUtf8(item.name) + ":";
        line += item.reason.empty() ? "" : " " + item.reason;
        for (const backup::PlannedNumber& n : item.numbers) {
            line += std::string(" ") + backup::KindName(n.kind) + " " +
                    (n.number.empty() ? "removed" : app::ToUtf8(n.number));
            line += n.previous.empty() ? "" : " (was " + app::ToUtf8(n.previous) + ")";
            line += n.note.empty() ? "" : " (" + n.note + ")";
        }
        for (const backup::LeftOut& left : item.leftOut) {
            line += std::string(" | left out ") + backup::KindName(left.kind) + " " +
                    app::ToUtf8(left.text) + ": " + left.reason;
        }
        lines.push_back(line);
    }
    return lines;
}

class ImportPlan : public ::testing::Test {
protected:
    ImportPlan() {
        CContactEntry* ann = book_.Add(u"Ann");
        std::tie(ann->home, ann->homeIndex, ann->mobile, ann->mobileIndex) =
            std::tuple(u"0163", 10, u"+4477", 9);
        CContactEntry* ben = book_.Add(u"Ben");
        std::tie(ben->mobile, ben->mobileIndex) = std::tuple(u"+4488", 8);
        book_.MarkIndexUsed(7);  // an entry no contact shows
    }

    Lines Plan(const std::vector<ContactCard>& cards, bool replace, int free, bool nokia = false) {
        return Describe(backup::MakePlan(cards, book_, {nokia, replace, free}));
    }

    CContactBook book_;
};

TEST_F(ImportPlan, WithoutReplaceNothingOnThePhoneChanges) {
    const std::vector<ContactCard> cards = {
        {1, u"Ann", {{1, u"0163"}, {2, u"020 7946"}, {3, u"+44 99"}}},
        {2, u"Cara", {{3, u"1"}, {1, u"+44 (0)20 2"}}},
        {3, u"Cara", {{3, u"5"}}},
        {4, u"AC/DC", {{3, u"1"}}},
        {5, u"Say \"hi\"", {{3, u"1"}}},
        {6, u"Dan", {}},
        {7, u"", {{3, u"1"}}},
        {8, u"Eve", {{3, u"1"}, {3, u"2"}, {3, u"1"}, {3, u"3"}}},
        {9, u"Ben", {{3, u"+44 88"}}},
        {10, u"Fay", {{3, u"1-800-FLOWERS"}}}};
    EXPECT_EQ(
        Plan(cards, false, 6),
        (Lines{
            "fill Ann: work 0207946 | left out mobile +44 99: the contact has +4477 there "
            "(--replace takes the file's)",
            "add Cara: home +44202 (the (0) after the country code left out) mobile 1",
            "skip Cara: the file gave this name before, on line 2",
            "skip AC/DC: the name holds \"/\", which the phone book uses to mark the kind of "
            "number",
            "skip Say \"hi\": the name holds a double quote or a control character",
            "skip Dan: no number", "skip : no name",
            "add Eve: mobile 1 other 2 (a second mobile number, kept as other) | left out mobile "
            "3: a second mobile number; a contact holds one of each kind",
            "keep Ben:",
            "skip Fay: no number the phone book can hold | left out mobile 1-800-FLOWERS: it "
            "holds \"F\", which a phone book number cannot hold"}));
}

TEST_F(ImportPlan, ReplaceTakesTheFilesNumbersAndKeepsWhatItCannotRead) {
    // Ann's home changes in place, her mobile goes, work is new; Ben's mobile is given but
    // unreadable, so it stays.
    const std::vector<ContactCard> cards = {{1, u"Ann", {{1, u"0164"}, {2, u"0207"}}},
                                            {2, u"Ben", {{3, u"+44 88 ext 1"}, {1, u"0111"}}}};
    EXPECT_EQ(Plan(cards, true, 5),
              (Lines{"replace Ann: home 0164 (was 0163) work 0207 mobile removed (was +4477)",
                     "fill Ben: home 0111 | left out mobile +44 88 ext 1: it holds \"e\", which a "
                     "phone book number cannot hold"}));
}

TEST_F(ImportPlan, EveryNewNumberNeedsAFreePlace) {
    const std::vector<ContactCard> cards = {{1, u"Cara", {{1, u"1"}, {3, u"2"}}},
                                            {2, u"Dan", {{3, u"3"}}},
                                            {3, u"Ann", {{2, u"4"}, {1, u"0163"}}}};
    EXPECT_EQ(Plan(cards, false, 1),
              (Lines{"add Cara: home 1 | left out mobile 2: no free place in the memory",
                     "skip Dan: no free place in the memory | left out mobile 3: no free place "
                     "in the memory",
                     "skip Ann: nothing on the phone it can change | left out work 4: no free "
                     "place in the memory"}));
    // Indices 1 to 10 less the three contacts' and the one only the read saw.
    EXPECT_EQ(backup::FreePlaces(book_, 10), 6);
}

TEST_F(ImportPlan, ANokiaKeepsTheHomeNumberOnly) {
    const std::vector<ContactCard> cards = {{1, u"Cara", {{3, u"2"}, {1, u"1"}}},
                                            {2, u"Dan", {{3, u"3"}, {3, u"4"}}}};
    EXPECT_EQ(Plan(cards, false, 5, true),
              (Lines{"add Cara: home 1 | left out mobile 2: this phone keeps one number per "
                     "contact, the home one",
                     "skip Dan: no number the phone book can hold | left out mobile 3: this "
                     "phone keeps one number per contact, the home one | left out mobile 4: this "
                     "phone keeps one number per contact, the home one"}));
}

}  // namespace
