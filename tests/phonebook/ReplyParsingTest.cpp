#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "link/PhoneSession.h"
#include "phonebook/PhoneBookEngine.h"

namespace {

// Parses one line the way a read does and returns the record.
CPbrRecord Parse(const std::u16string& line) {
    CPbrRecord record;
    record.line = line;
    CPhoneBookEngine::ParseRecord(record);
    return record;
}

class PhoneBookParsing : public ::testing::Test {
protected:
    // Splits, parses and merges one reply into `book`, as one range of a read does.
    void Merge(const std::u16string& reply, CContactBook& book) {
        CPhoneBookEngine& engine = *session_.GetEngine();
        engine.SplitRecords(reply);
        for (const auto& record : engine.GetRecords()) {
            CPhoneBookEngine::ParseRecord(*record);
        }
        engine.MergeRecords(book);
        engine.ClearRecords();
    }

    CPhoneSession session_;
    CContactBook book_;
};

TEST(PhoneBookFields, FieldOneSkipsTheFirstCharacterAndEveryFieldNeedsAClosingComma) {
    std::u16string out = u"untouched";
    EXPECT_TRUE(CPhoneBookEngine::GetField(u"+CPBR: (1-250),40,14", 1, out));
    EXPECT_EQ(out, u"CPBR: (1-250)");
    EXPECT_TRUE(CPhoneBookEngine::GetField(u"+CPBR: (1-250),40,14", 2, out));
    EXPECT_EQ(out, u"40");
    out = u"untouched";
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"+CPBR: (1-250),40,14", 3, out));
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"", 1, out));
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"x", 1, out));
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"a,b", 0, out));
    EXPECT_EQ(out, u"untouched");
    // A leading comma is not the end of field 1, which starts after it.
    EXPECT_TRUE(CPhoneBookEngine::GetField(u",a,b", 1, out));
    EXPECT_EQ(out, u"a");
    EXPECT_TRUE(CPhoneBookEngine::GetField(u",a,b", 2, out));
    EXPECT_EQ(out, u"a");
    EXPECT_TRUE(CPhoneBookEngine::GetField(u"x,,y,", 2, out));
    EXPECT_EQ(out, u"");
}

TEST(PhoneBookFields, DecimalsReadLikeAtoiWithoutOverflow) {
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u" 12"), 12);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"\t\r\n-7x"), -7);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"+250)"), 250);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"abc"), 0);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u""), 0);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"- 5"), 0);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"-99999999999999999999"), INT_MIN);
    // Only what fits the 32-byte buffer counts: 31 characters.
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(std::u16string(30, u' ') + u"42"), 4);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(std::u16string(31, u' ') + u"42"), 0);
    // Digits of other scripts are not decimal digits here.
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"\u0663"), 0);
}

TEST(PhoneBookRecords, SplitCutsAtEveryMarkerAndKeepsLineEnds) {
    CPhoneSession session;
    CPhoneBookEngine& engine = *session.GetEngine();
    const std::u16string reply =
        u"AT+CPBR=1,25\r\r\n+CPBR: 1,\"1\",129,\"A/H\"\r\n+CPBR: 2,\"2\",129,\"B/H\"\r\n\r\nOK\r\n";
    engine.SplitRecords(reply);
    const auto& records = engine.GetRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]->position, 15);
    EXPECT_EQ(records[0]->line, u"+CPBR: 1,\"1\",129,\"A/H\"\r\n");
    EXPECT_EQ(records[1]->line, u"+CPBR: 2,\"2\",129,\"B/H\"\r\n\r\nOK\r\n");
    engine.ClearRecords();
    EXPECT_TRUE(engine.GetRecords().empty());
    engine.SplitRecords(u"\r\nOK\r\n");
    EXPECT_TRUE(engine.GetRecords().empty());
}

TEST(PhoneBookRecords, SuffixGivesNameKindNumberAndIndex) {
    const CPbrRecord r = Parse(u"+CPBR: 12,\"5551234\",129,\"Ann/M\"\r\n");
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.name, u"Ann");
    EXPECT_EQ(r.kind, 3);
    EXPECT_EQ(r.number, u"\"5551234\"");
    EXPECT_EQ(r.index, 12);

    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Smith, John/W\"\r\n").name, u"Smith, John");
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Bob/X\"").kind, 0);
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Bob/h\"").kind, 0);
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Bob/\"").kind, 0);
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Bob/").kind, 0);
    // A phone that leaves out the blank after the marker still gives the whole index.
    EXPECT_EQ(Parse(u"+CPBR:117,\"1\",129,\"Bob/O\"").index, 117);
}

TEST(PhoneBookRecords, LineWithoutSuffixIsKindOneNamedByItsLastQuotedField) {
    const CPbrRecord r = Parse(u"+CPBR: 3,\"+4930123\",145,\"Smith, John\"\r\n\r\nOK\r\n");
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.name, u"Smith, John");
    EXPECT_EQ(r.kind, 1);
    EXPECT_EQ(r.index, 3);
    EXPECT_EQ(r.number, u"\"+4930123\"");
    EXPECT_EQ(Parse(u"+CPBR: 4,\"1\",129,\"Eve\"\r\n").name, u"Eve");
    EXPECT_EQ(Parse(u"+CPBR: 4,\"1\",129,\"Zoë Åström\"").name, u"Zoë Åström");
    // A result that arrived right after the entry is not taken for its name.
    EXPECT_EQ(Parse(u"+CPBR: 5,\"1\",129,\"Eve\"\r\n+CMTI: \"SM\",3\r\n").name, u"Eve");
    // Fields some phones add after the name are not part of it.
    EXPECT_EQ(Parse(u"+CPBR: 5,\"1\",129,\"Eve, Jr\",0,\"Family\"\r\n").name, u"Eve, Jr");
    const CPbrRecord empty = Parse(u"+CPBR: 6,\"1\",129,\"\"\r\n");
    EXPECT_TRUE(empty.complete);
    EXPECT_EQ(empty.name, u"");
}

TEST(PhoneBookRecords, LinesMissingPartsAreNotComplete) {
    EXPECT_FALSE(Parse(u"+CPBR: 7,5551234,129,Ann/H").complete);  // no quote before "/"
    EXPECT_FALSE(Parse(u"+CPBR: 7,\"5551234\"").complete);        // no number field
    EXPECT_FALSE(Parse(u"+CPBR: 7").complete);
    EXPECT_FALSE(Parse(u"+CPBR:").complete);
    EXPECT_FALSE(Parse(u"+CPBR: 0,\"1\",129,\"A/H\"").complete);  // no such index
    EXPECT_FALSE(Parse(u"+CPBR: -3,\"1\",129,\"A/H\"").complete);
    EXPECT_FALSE(Parse(u"+CPBR: 8,\"1\",129,Eve").complete);    // name without quotes
    EXPECT_FALSE(Parse(u"+CPBR: 8,\"1\",129,\"Eve").complete);  // name never closed
    // The index is still known, so the entry's place counts as used.
    EXPECT_EQ(Parse(u"+CPBR: 7,5551234,129,Ann/H").index, 7);
}

TEST_F(PhoneBookParsing, EntriesOfOneNameFromDifferentRepliesMakeOneContact) {
    Merge(u"+CPBR: 25,\"111\",129,\"Ann/H\"\r\n\r\nOK\r\n", book_);
    Merge(u"+CPBR: 26,\"222\",129,\"Ann/W\"\r\n+CPBR: 27,\"333\",129,\"Bea/M\"\r\n\r\nOK\r\n",
          book_);
    ASSERT_EQ(book_.GetSize(), 2);
    const CContactEntry* ann = book_.GetAt(0);
    EXPECT_EQ(ann->name, u"Ann");
    EXPECT_EQ(ann->home, u"111");
    EXPECT_EQ(ann->homeIndex, 25);
    EXPECT_EQ(ann->work, u"222");
    EXPECT_EQ(ann->workIndex, 26);
    EXPECT_EQ(book_.GetAt(1)->mobileIndex, 27);
    EXPECT_EQ(ann->marks, 0u);
}

TEST_F(PhoneBookParsing, UnknownKindMakesAContactWithoutNumbersAndKeepsItsIndexTaken) {
    Merge(u"+CPBR: 9,\"999\",129,\"Bob/X\"\r\n\r\nOK\r\n", book_);
    ASSERT_EQ(book_.GetSize(), 1);
    const CContactEntry* bob = book_.GetAt(0);
    EXPECT_EQ(bob->name, u"Bob");
    EXPECT_TRUE(bob->home.empty());
    EXPECT_FALSE(bob->HoldsIndex(9));
    EXPECT_TRUE(book_.IsIndexTaken(9));
}

TEST_F(PhoneBookParsing, LaterLineOfSameNameAndKindWinsAndEarlierIndexStaysTaken) {
    Merge(u"+CPBR: 1,\"111\",129,\"Eve\"\r\n+CPBR: 2,\"222\",129,\"Eve\"\r\n\r\nOK\r\n", book_);
    ASSERT_EQ(book_.GetSize(), 1);
    EXPECT_EQ(book_.GetAt(0)->home, u"222");
    EXPECT_EQ(book_.GetAt(0)->homeIndex, 2);
    EXPECT_TRUE(book_.IsIndexTaken(1));
}

TEST_F(PhoneBookParsing, UnusableLinesAreSkippedButTheirIndicesStayTaken) {
    Merge(u"+CPBR: 4,555,129,Ann/H\r\n+CPBR: 5,\"1\",129,\"Cy/H\"\r\n\r\nOK\r\n", book_);
    ASSERT_EQ(book_.GetSize(), 1);
    EXPECT_EQ(book_.GetAt(0)->name, u"Cy");
    EXPECT_TRUE(book_.IsIndexTaken(4));
}

// Whatever a phone sends, splitting, parsing and merging neither crash nor read outside the
// reply (the sanitizer build checks the latter).
TEST_F(PhoneBookParsing, ArbitraryRepliesAreSurvived) {
    std::mt19937 random(4711);
    const std::u16string pieces[] = {u"+CPBR:", u",", u"\"", u"/", u"H",      u"\r\n", u"OK",
                                     u"ERROR",  u"1", u"-",  u" ", u"\u00e9", u"\0",   u")"};
    for (int round = 0; round < 2000; ++round) {
        std::u16string reply;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            if (random() % 4 == 0) {
                reply.push_back(static_cast<char16_t>(random() % 0x10000));
            } else {
                reply += pieces[random() % std::size(pieces)];
            }
        }
        CContactBook book;
        Merge(reply, book);
        std::u16string out;
        CPhoneBookEngine::GetField(reply, static_cast<int>(random() % 5), out);
        CPhoneBookEngine::ParseDecimal(reply);
        for (int i = 0; i < book.GetSize(); ++i) {
            EXPECT_NE(book.GetAt(i), nullptr);
        }
    }
}

}  // namespace
