// The backup files on their own: vCard as phones and address books write it, CSV, the numbers
// the phone book takes, the message archive. That every reader survives any input and that what
// is written reads back the same, fuzz/BackupFilesFuzz.cpp proves.

#include <gtest/gtest.h>

#include "app/Utf8Text.h"
#include "app/cli/backup/ContactCard.h"
#include "app/cli/backup/Csv.h"
#include "app/cli/backup/PhoneNumber.h"
#include "app/cli/backup/SmsArchive.h"
#include "app/cli/backup/VCardReader.h"
#include "app/cli/backup/VCardWriter.h"

namespace {

using backup::CardFile;
using backup::ContactCard;

// A card as "Name: kind number, kind number".
std::string Show(const ContactCard& card) {
    std::string text = app::ToUtf8(card.name) + ":";
    for (const backup::CardNumber& number : card.numbers) {
        text += std::string(" ") + backup::KindName(number.kind) + " " + app::ToUtf8(number.text);
    }
    return text;
}

std::vector<std::string> Cards(const std::string& bytes) {
    const CardFile file = backup::ReadContacts(bytes);
    EXPECT_FALSE(file.Failed()) << file.errorLine << ": " << file.error;
    std::vector<std::string> shown;
    for (const ContactCard& card : file.cards) {
        shown.push_back(Show(card));
    }
    return shown;
}

std::string Crlf(std::string text) {
    std::string out;
    for (char c : text) {
        out += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return out;
}

TEST(VCardRead, WhatPhonesAndAddressBooksWrite) {
    const struct {
        const char* what;
        std::string file;
        std::vector<std::string> cards;
    } cases[] = {
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
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cards(c.file), c.cards) << c.what;
    }
}

TEST(VCardRead, MalformedFilesTellTheLine) {
    const struct {
        std::string file;
        int line;
        std::string error;
    } cases[] = {
        {"BEGIN:VCARD\nEND:VCARD\nName: Ann\n", 3, "expected BEGIN:VCARD"},
        {"BEGIN:VCARD\nVERSION:3.0\nFN:Ann\n", 1, "the card that begins here has no END:VCARD"},
        {"BEGIN:VCARD\nFN:Ann\nthis is no property\nEND:VCARD\n", 3,
         "not a vCard property (a name, then \":\" and a value)"},
        {"BEGIN:VCARD\nFN:Ann\nBEGIN:VCARD\n", 3, "a card begins inside the card of line 1"},
        {"BEGIN:VCARD\nVERSION:5.0\nEND:VCARD\n", 2,
         "vCard version \"5.0\" is not read (2.1, 3.0 or 4.0)"},
        {"BEGIN:VCARD\nFN;CHARSET=NO-SUCH-SET:Ann\nEND:VCARD\n", 2,
         "the FN value is not NO-SUCH-SET text (a CHARSET parameter names the one it is in)"},
        {"BEGIN:VCARD\nFN:J\xF6rg\nEND:VCARD\n", 2,
         "the FN value is not UTF-8 text (a CHARSET parameter names the one it is in)"},
        {"BEGIN:VCARD\nEND:VCALENDAR\n", 2, "expected END:VCARD"},
    };
    for (const auto& c : cases) {
        const CardFile file = backup::ReadContacts(c.file);
        EXPECT_EQ(file.errorLine, c.line) << c.file;
        EXPECT_EQ(file.error, c.error) << c.file;
        EXPECT_TRUE(file.cards.empty());
    }
}

TEST(VCardWrite, WritesValidThreeZero) {
    const std::vector<ContactCard> cards = {
        {0,
         u"Smith, John; \\ Co",
         {{1, u"0163"}, {2, u"0207"}, {3, u"+4477"}, {4, u"0208"}, {5, u"999"}}}};
    EXPECT_EQ(backup::WriteVCards(cards),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Smith\\, John\\; \\\\ Co\r\n"
              "N:Smith\\, John\\; \\\\ Co;;;;\r\nTEL;TYPE=home:0163\r\nTEL;TYPE=work:0207\r\n"
              "TEL;TYPE=cell:+4477\r\nTEL;TYPE=fax:0208\r\nTEL;TYPE=voice:999\r\nEND:VCARD\r\n");
}

TEST(VCardWrite, FoldsAtSeventyFiveOctetsWithoutCuttingACharacter) {
    std::u16string name;
    for (int i = 0; i < 60; ++i) {
        name += u"Жa";
    }
    const std::string text = backup::WriteVCards({{0, name, {{3, u"1"}}}});
    std::size_t start = 0;
    int continuations = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(start, end - start);
        EXPECT_LE(line.size(), 75u);
        ASSERT_TRUE(app::FromUtf8(line).has_value()) << "a character was cut: " << line;
        continuations += line[0] == ' ' ? 1 : 0;
        start = end + 2;
    }
    EXPECT_GE(continuations, 4);
    EXPECT_EQ(backup::ReadVCards(text).cards.at(0).name, name);
}

TEST(Csv, QuotesWhatItMustAndCountsLinesInsideQuotes) {
    const std::vector<ContactCard> cards = {{0, u"Smith, John", {{1, u"0163"}, {5, u"99"}}},
                                            {0, u"Say \"hi\"\nthere", {{3, u"+44"}}},
                                            {0, u"Plain", {{4, u"1"}}}};
    const std::string text = backup::WriteCsv(cards);
    EXPECT_EQ(text,
              "name,home,work,mobile,fax,other\r\n\"Smith, John\",0163,,,,99\r\n"
              "\"Say \"\"hi\"\"\nthere\",,,+44,,\r\nPlain,,,,1,\r\n");
    // The record after the one with a line break begins on line 5.
    const CardFile back = backup::ReadCsv(text);
    ASSERT_EQ(back.cards.size(), 3u) << back.error;
    EXPECT_EQ(back.cards[2].line, 5);

    // Columns in any order and case, LF line ends, a byte order mark, blank lines.
    EXPECT_EQ(Cards("\xEF\xBB\xBFMobile,NAME\n+4477,Ann\n\n07,\"Bob\"\n"),
              (std::vector<std::string>{"Ann: mobile +4477", "Bob: mobile 07"}));
}

TEST(Csv, MalformedFilesTellTheLine) {
    const struct {
        std::string file;
        int line;
        std::string error;
    } cases[] = {
        {"", 1, "no header line (name,home,work,mobile,fax,other)"},
        {"name,pager\n", 1, "unknown column \"pager\" (name, home, work, mobile, fax, other)"},
        {"home,work\n", 1, "no \"name\" column"},
        {"name,home,Home\n", 1, "the column \"home\" is given twice"},
        {"name,home\nAnn,1\nBob\n", 3, "1 fields where the header has 2"},
        {"name,home\nAnn,1\n\"Bob,2\n", 3, "a quoted field that begins here is never closed"},
        {"name,home\nA\"nn,1\n", 2, "a double quote inside a field that is not quoted"},
        {"name,home\n\"Ann\"x,1\n", 2, "text after the closing quote of a field"},
        {"name,home\n\"A\nnn\",1\nB\xFF,2\n", 4, "not UTF-8 text"},
    };
    for (const auto& c : cases) {
        const CardFile file = backup::ReadCsv(c.file);
        EXPECT_EQ(file.errorLine, c.line) << c.file;
        EXPECT_EQ(file.error, c.error) << c.file;
    }
}

TEST(PhonebookNumber, LayoutGoesAndAnythingElseIsRefused) {
    const struct {
        std::u16string text;
        std::u16string number;
        std::string problem;
        bool trunkZero;
    } cases[] = {
        {u"+44 (0)20 7946-0102", u"+442079460102", "", true},
        {u"(01632) 960.101", u"01632960101", "", false},
        {u"0049\u00A030/1234\u2013567", u"0049301234567", "", false},
        {u"*31#0123", u"*31#0123", "", false},
        {u"1-800-FLOWERS", u"", "\"F\", which a phone book number cannot hold", false},
        {u"+1 555 0100 ext 12", u"", "\"e\", which a phone book number cannot hold", false},
        {u"0123,456", u"", "\",\", which a phone book number cannot hold", false},
        {u"+44+20", u"", "a \"+\" that does not lead", false},
        {u"+ -", u"", "no digits", false},
        {u"123456789012345678901", u"", "longer than 20 characters", false},
    };
    for (const auto& c : cases) {
        const backup::NumberForm form = backup::PhonebookNumber(c.text);
        EXPECT_EQ(form.number, c.number) << app::ToUtf8(c.text);
        EXPECT_EQ(form.problem, c.problem) << app::ToUtf8(c.text);
        EXPECT_EQ(form.trunkZeroDropped, c.trunkZero) << app::ToUtf8(c.text);
    }
}

TEST(SmsArchive, ReadsWhatItNeedsAndRefusesTheRest) {
    const std::string good =
        R"({"box":"outbox","id":1,"storage":"SM","index":"9","pdu":"0791448720003023110005)"
        R"(81214365000000AA0131"})";
    const backup::MessageArchive archive = backup::ReadArchive(good + "\n\n" + good + "\n");
    ASSERT_FALSE(archive.Failed()) << archive.error;
    ASSERT_EQ(archive.messages.size(), 2u);
    EXPECT_EQ(archive.messages[1].line, 3);
    EXPECT_EQ(archive.messages[0].storage, u"SM");
    EXPECT_TRUE(archive.messages[0].outbox);
    // 21 octets, of which the service-centre field takes 8.
    EXPECT_EQ(archive.messages[0].tpduLength, 13);

    const struct {
        std::string line;
        std::string error;
    } cases[] = {
        {"not json", "not a JSON object"},
        {"[1,2]", "not a JSON object"},
        {R"({"pdu":"0011"})", "no \"box\" text"},
        {R"({"box":"sent","storage":"ME","pdu":"0011"})", "the box is neither inbox nor outbox"},
        {R"({"box":"outbox","storage":"ME","pdu":"00110"})", "the pdu is not the hex of a message"},
        {R"({"box":"outbox","storage":"ME","pdu":"0511AA"})",
         "the pdu is not the hex of a message"},
        {R"({"box":"outbox","storage":"ME","pdu":"00 11"})", "the pdu is not the hex of a message"},
    };
    for (const auto& c : cases) {
        const backup::MessageArchive bad = backup::ReadArchive(good + "\n" + c.line + "\n");
        EXPECT_EQ(bad.errorLine, 2) << c.line;
        EXPECT_EQ(bad.error, c.error) << c.line;
        EXPECT_TRUE(bad.messages.empty());
    }
    // Nesting deep enough to exhaust a recursive reader.
    EXPECT_TRUE(backup::ReadArchive(std::string(100000, '[')).Failed());
}

}  // namespace
