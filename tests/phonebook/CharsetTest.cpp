// Names on phones that do not take UTF-8: the set chosen from what the phone offers, names read
// and written in it, and names or numbers the phone cannot take refused before anything is sent.

#include <gtest/gtest.h>

#include <tuple>

#include "phonebook/PhoneBookEditor.h"
#include "phonesim/Fault.h"
#include "tests/support/SessionFixture.h"

namespace {

using halvex::test::SessionTest;
using Lines = std::vector<std::string>;
using Row = std::tuple<std::u16string, std::u16string, std::u16string, std::u16string,
                       std::u16string, std::u16string>;

class PhoneBookCharset : public SessionTest {
protected:
    PhoneBookCharset() : SessionTest("modem") {}

    // Every contact of a book: name and its five numbers.
    static std::vector<Row> Rows(const CContactBook& book) {
        std::vector<Row> rows;
        for (int i = 0; i < book.GetSize(); ++i) {
            const CContactEntry& c = *book.GetAt(i);
            rows.emplace_back(c.name, c.home, c.work, c.mobile, c.fax, c.other);
        }
        return rows;
    }
    // Both memories of the profile, read in a new session.
    std::pair<std::vector<Row>, std::vector<Row>> ReadBoth() {
        Renew();
        Connect();
        books().LoadBook(phone::Memory::Phone);
        books().LoadBook(phone::Memory::Sim);
        return {Rows(books().GetPhoneBook()), Rows(books().GetSimBook())};
    }
    std::vector<std::string> CharsetCommands() const {
        std::vector<std::string> out;
        for (const std::string& line : commands())
            if (line.rfind("AT+CSCS", 0) == 0)
                out.push_back(line);
        return out;
    }
};

TEST_F(PhoneBookCharset, APhoneRefusingUtf8ReadsEveryNameAsOneThatTakesIt) {
    UseProfile("default");
    const auto inUtf8 = ReadBoth();
    ASSERT_EQ(inUtf8.first.size(), 41u);
    UseProfile("modem");
    const auto inUcs2 = ReadBoth();
    // With the first range query of each memory, as UTF-8 is.
    EXPECT_EQ(CharsetCommands(), (Lines{R"(AT+CSCS="UTF-8")", "AT+CSCS=?", R"(AT+CSCS="UCS2")",
                                        R"(AT+CSCS="UTF-8")", "AT+CSCS=?", R"(AT+CSCS="UCS2")"}));
    EXPECT_EQ(inUcs2, inUtf8);
}

TEST_F(PhoneBookCharset, Ucs2WritesAndReadsBackAccentsGreekAndCyrillic) {
    const std::u16string name = u"Zoë Ψάρη-Жуков";
    ConnectAndRead();
    CContactEntry* zoe = books().GetCurrentBook()->Add(name);
    zoe->mobile = u"+306900000001";
    zoe->marks = CContactEntry::MarkMobile;
    ASSERT_TRUE(books().SaveContact(books().GetCurrentBook()->GetSize() - 1));
    ASSERT_EQ(commands().size(), 1u);
    EXPECT_EQ(commands()[0].find("Z"), std::string::npos) << commands()[0];  // hex, not text
    EXPECT_EQ(phone().Phonebook("ME").entries.at(zoe->mobileIndex).name, name + u"/M");

    const auto [mine, sim] = ReadBoth();
    EXPECT_NE(std::find(mine.begin(), mine.end(), Row{name, u"", u"", u"+306900000001", u"", u""}),
              mine.end());
}

// A phone that lists sets it then refuses: the next one offered is tried; when it takes none,
// the set it keeps is asked for.
TEST_F(PhoneBookCharset, ASetThePhoneListsButRefusesIsPassedOver) {
    phone().AddFault(phonesim::Fault::ErrorReply(R"(AT+CSCS="UCS2")"));
    ConnectAndRead();
    EXPECT_EQ(books().GetEngine().GetCharset(), phonebook::NameCharset::Gsm);

    auto refuseAll = phonesim::Fault::ErrorReply(R"(AT+CSCS=")");
    refuseAll.times = 0;
    phone().AddFault(refuseAll);
    session().Disconnect();
    ASSERT_TRUE(books().Connect());
    phone().ClearTranscript();
    books().LoadBook(phone::Memory::Phone);
    EXPECT_EQ(CharsetCommands(), (Lines{R"(AT+CSCS="UTF-8")", "AT+CSCS=?", R"(AT+CSCS="UCS2")",
                                        R"(AT+CSCS="GSM")", R"(AT+CSCS="IRA")", "AT+CSCS?"}));
    // The phone stays in GSM, its set at power-on.
    EXPECT_EQ(books().GetEngine().GetCharset(), phonebook::NameCharset::Gsm);
}

// A line whose name is no UCS2 text is not taken as a contact; its index stays taken.
TEST_F(PhoneBookCharset, AUcs2NameThatIsNoTextGivesNoContact) {
    UseProfile("empty");
    phone().State().charsets = {"IRA", "UCS2"};
    phone().AddFault(phonesim::Fault::RawReply(
        "AT+CPBR=226,",
        "\r\n+CPBR: 248,\"1\",129,\"0041002F0048\"\r\n+CPBR: 249,\"2\",129,\"0042002F004\"\r\n"
        "+CPBR: 250,\"3\",129,\"D800002F0048\"\r\n\r\nOK\r\n"));
    ExpectNotice(
        u"2 phone book entries have names that cannot be read in the phone's character set. They "
        u"are left out, and their places are kept.");
    ConnectAndRead();
    EXPECT_EQ(Rows(books().GetPhoneBook()), (std::vector<Row>{{u"A", u"1", u"", u"", u"", u""}}));
    EXPECT_TRUE(books().GetPhoneBook().IsIndexTaken(249));
    EXPECT_TRUE(books().GetPhoneBook().IsIndexTaken(250));
}

TEST_F(PhoneBookCharset, NamesReadInTheGsmAlphabet) {
    UseProfile("gsm-only");
    ConnectAndRead();
    EXPECT_EQ(books().GetEngine().GetCharset(), phonebook::NameCharset::Gsm);
    EXPECT_EQ(Rows(books().GetPhoneBook()),
              (std::vector<Row>{{u"Søren Kjær", u"", u"", u"+4520000301", u"", u""},
                                {u"Ana Muñoz", u"+34910000302", u"", u"", u"", u""},
                                {u"Café [Work]", u"", u"02079460303", u"", u"", u""},
                                {u"Ω Team Λ", u"", u"", u"+306900000304", u"", u""}}));
}

// Refused by the save before any command, with what the phone cannot take; the box is the
// editor's, so the page and the command line show the same.
TEST_F(PhoneBookCharset, WhatThePhoneCannotTakeIsRefusedBeforeWriting) {
    UseProfile("gsm-only");
    phone().Phonebook("ME").textLength = 8;
    phone().Phonebook("ME").numberLength = 5;
    ConnectAndRead();
    const struct {
        std::u16string name, number;
        std::u16string says;  // empty: written
    } cases[] = {
        {u"王芳", u"1", u"The phone cannot store \"王\" in a name"},
        {u"Łukasz", u"1", u"The phone cannot store \"Ł\" in a name"},
        // Six septets and "/H"; the extension table counts two.
        {u"{€}abcd", u"1", u"The name is too long for the phone, Please use at most 6 characters."},
        {u"Kjær€", u"1", u""},
        {u"Ann", u"123456", u"The number is too long for the phone, Please use at most 5 digits."},
        {u"Ben", u"+12345", u""},
    };
    CPhoneBookEditor editor(books(), false);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        books().GetCurrentBook()->Add(c.name);
        ASSERT_TRUE(editor.Select(books().GetCurrentBook()->GetSize() - 1));
        editor.SetNumber(1, c.number);
        phone().ClearTranscript();
        if (!c.says.empty())
            ExpectNotice(c.says);
        const bool saved = editor.Save();
        EXPECT_EQ(std::tuple(saved, commands().size()),
                  std::tuple(c.says.empty(), saved ? 1u : 0u));
        if (!saved) {
            EXPECT_EQ(books().GetEngine().GetLastWrite()[0].reason, c.says);
            continue;
        }
        const int index = books().GetCurrentBook()->GetAt(editor.GetCurrent())->homeIndex;
        EXPECT_EQ(phone().Phonebook("ME").entries.at(index).name, c.name + u"/H");
    }
}

}  // namespace
