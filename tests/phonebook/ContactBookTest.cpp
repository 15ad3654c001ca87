#include <gtest/gtest.h>

#include "phonebook/ContactBook.h"

namespace {

TEST(PhoneBookContacts, UniqueNameTakesFirstFreeCandidateMatchingExactly) {
    CContactBook book;
    book.Add(u"New User1");
    EXPECT_EQ(book.MakeUniqueName(), u"New User");
    book.Add(u"New User");
    EXPECT_EQ(book.MakeUniqueName(), u"New User2");
    book.Add(u"New User3");
    book.Add(u"New User2");
    EXPECT_EQ(book.MakeUniqueName(), u"New User4");
    // Free as the editor's name check sees it: "ann" is another name; so is "Ann ".
    book.Add(u"Ann");
    EXPECT_TRUE(book.IsNameFree(u"Ann "));
}

}  // namespace
