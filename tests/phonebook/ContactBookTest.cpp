#include <gtest/gtest.h>

#include "phonebook/ContactBook.h"
#include "phonebook/NumberKind.h"

namespace {

TEST(PhoneBookContacts, NewContactIsEmptyAndUnmarked) {
    CContactBook book;
    const CContactEntry* c = book.Add();
    EXPECT_EQ(c->marks, 0u);
    EXPECT_TRUE(c->name.empty());
    for (const NumberKind& kind : NumberKind::All()) {
        EXPECT_TRUE((c->*kind.number).empty());
        EXPECT_EQ(c->*kind.index, 0);
    }
}

TEST(PhoneBookContacts, UniqueNameTakesFirstFreeCandidate) {
    CContactBook book;
    EXPECT_EQ(book.MakeUniqueName(), u"New User");
    book.Add(u"New User1");
    EXPECT_EQ(book.MakeUniqueName(), u"New User");
    book.Add(u"New User");
    EXPECT_EQ(book.MakeUniqueName(), u"New User2");
    // Checked against the whole book: a later name does not fool the search.
    book.Add(u"New User3");
    book.Add(u"New User2");
    EXPECT_EQ(book.MakeUniqueName(), u"New User4");
    // Matching is exact, so other spellings leave the name free.
    CContactBook other;
    other.Add(u"new user");
    other.Add(u"New User ");
    EXPECT_EQ(other.MakeUniqueName(), u"New User");
}

TEST(PhoneBookContacts, NamesMatchExactlyAndCaseSensitively) {
    CContactBook book;
    book.Add(u"Ann");
    EXPECT_TRUE(book.IsNameFree(u"ann"));
    EXPECT_TRUE(book.IsNameFree(u"An"));
    EXPECT_TRUE(book.IsNameFree(u"Ann "));
    EXPECT_FALSE(book.IsNameFree(u"Ann"));
    EXPECT_EQ(book.Find(u"Ann"), 0);
    EXPECT_EQ(book.Find(u"Bob"), -1);
}

TEST(PhoneBookContacts, RemovingShiftsLaterContactsDown) {
    CContactBook book;
    for (const char16_t* name : {u"A", u"B", u"C", u"D", u"E"}) {
        book.Add(name);
    }
    ASSERT_TRUE(book.RemoveAt(2));
    ASSERT_EQ(book.GetSize(), 4);
    EXPECT_EQ(book.GetAt(2)->name, u"D");
    EXPECT_EQ(book.GetAt(3)->name, u"E");
    EXPECT_FALSE(book.RemoveAt(4));
    EXPECT_FALSE(book.RemoveAt(-1));
    EXPECT_EQ(book.GetAt(4), nullptr);
    EXPECT_EQ(book.GetAt(-1), nullptr);
}

TEST(PhoneBookContacts, IndexIsTakenByAContactOrByTheLastRead) {
    CContactBook book;
    CContactEntry* ann = book.Add(u"Ann");
    ann->faxIndex = 7;
    book.MarkIndexUsed(9);
    EXPECT_TRUE(book.IsIndexTaken(7));
    EXPECT_TRUE(book.IsIndexTaken(9));
    EXPECT_FALSE(book.IsIndexTaken(8));
    book.MarkIndexFree(9);
    EXPECT_FALSE(book.IsIndexTaken(9));
    // Emptying the book forgets both.
    book.MarkIndexUsed(9);
    book.Clear();
    EXPECT_TRUE(book.IsEmpty());
    EXPECT_FALSE(book.IsIndexTaken(7));
    EXPECT_FALSE(book.IsIndexTaken(9));
}

TEST(PhoneBookNumberKinds, TableTiesLettersSuffixesFieldsAndMarks) {
    const std::u16string letters = u"HWMFO";
    for (const NumberKind& kind : NumberKind::All()) {
        EXPECT_EQ(NumberKind::Of(kind.kind), &kind);
        EXPECT_EQ(kind.letter, letters[static_cast<std::size_t>(kind.kind - 1)]);
        EXPECT_EQ(std::u16string(kind.suffix), std::u16string(u"/") + kind.letter);
        EXPECT_EQ(NumberKind::FromLetter(kind.letter), kind.kind);
    }
    // Each kind reaches its own number and index field.
    CContactEntry c;
    for (const NumberKind& kind : NumberKind::All()) {
        c.*kind.number = kind.suffix;
        c.*kind.index = kind.kind * 10;
    }
    EXPECT_EQ(c.home, u"/H");
    EXPECT_EQ(c.work, u"/W");
    EXPECT_EQ(c.mobile, u"/M");
    EXPECT_EQ(c.fax, u"/F");
    EXPECT_EQ(c.other, u"/O");
    EXPECT_EQ(c.homeIndex, 10);
    EXPECT_EQ(c.workIndex, 20);
    EXPECT_EQ(c.mobileIndex, 30);
    EXPECT_EQ(c.faxIndex, 40);
    EXPECT_EQ(c.otherIndex, 50);
    // Fax and Other share a bit, so marking either processes both.
    EXPECT_NE(NumberKind::Of(4)->mark & NumberKind::Of(5)->mark, 0u);
    EXPECT_EQ(NumberKind::Of(5)->mark, 0x14u);
    EXPECT_EQ(std::u16string(NumberKind::Of(3)->label), u"Moblie Number:");
    EXPECT_EQ(std::u16string(NumberKind::Of(1)->nokiaLabel), u"General Number:");
}

TEST(PhoneBookNumberKinds, UnknownLettersAndKindsGiveNoNumber) {
    EXPECT_EQ(NumberKind::FromLetter(u'h'), 0);
    EXPECT_EQ(NumberKind::FromLetter(u'X'), 0);
    EXPECT_EQ(NumberKind::FromLetter(u'"'), 0);
    EXPECT_EQ(NumberKind::Of(0), nullptr);
    EXPECT_EQ(NumberKind::Of(6), nullptr);
    EXPECT_EQ(NumberKind::Of(-1), nullptr);
}

}  // namespace
