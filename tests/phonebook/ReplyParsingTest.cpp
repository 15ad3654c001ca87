#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "phonebook/PhoneBookEngine.h"
#include "phonebook/PhoneSession.h"

namespace {

CPbrRecord Parse(const std::u16string& line) {
    CPbrRecord record;
    record.line = line;
    CPhoneBookEngine::ParseRecord(record);
    return record;
}

TEST(PhoneBookFields, FieldOneSkipsTheFirstCharacterAndEveryFieldNeedsAClosingComma) {
    std::u16string out = u"untouched";
    EXPECT_TRUE(CPhoneBookEngine::GetField(u"+CPBR: (1-250),40,14", 1, out));
    EXPECT_EQ(out, u"CPBR: (1-250)");
    EXPECT_TRUE(CPhoneBookEngine::GetField(u"+CPBR: (1-250),40,14", 2, out));
    EXPECT_EQ(out, u"40");
    out = u"untouched";
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"+CPBR: (1-250),40,14", 3, out));
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"", 1, out));
    EXPECT_FALSE(CPhoneBookEngine::GetField(u"a,b", 0, out));
    EXPECT_EQ(out, u"untouched");
    EXPECT_TRUE(CPhoneBookEngine::GetField(u",a,b", 1, out));
    EXPECT_EQ(out, u"a");
}

TEST(PhoneBookFields, DecimalsReadLikeAtoiWithoutOverflow) {
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"\t\r\n-7x"), -7);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"+250)"), 250);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"- 5"), 0);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"99999999999999999999"), INT_MAX);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(u"-99999999999999999999"), INT_MIN);
    // Only what fits the 32-byte buffer counts: 31 characters.
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(std::u16string(30, u' ') + u"42"), 4);
}

TEST(PhoneBookRecords, SuffixGivesNameKindNumberAndIndex) {
    const CPbrRecord r = Parse(u"+CPBR: 12,\"5551234\",129,\"Ann/M\"\r\n");
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.name, u"Ann");
    EXPECT_EQ(r.kind, 3);
    EXPECT_EQ(r.number, u"\"5551234\"");
    EXPECT_EQ(r.index, 12);
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Smith, John/W\"").name, u"Smith, John");
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Bob/X\"").kind, 0);
    EXPECT_EQ(Parse(u"+CPBR: 1,\"1\",129,\"Bob/").kind, 0);
    // Without the blank after the marker the index is still whole.
    EXPECT_EQ(Parse(u"+CPBR:117,\"1\",129,\"Bob/O\"").index, 117);
}

TEST(PhoneBookRecords, LineWithoutSuffixIsKindOneNamedByTheQuotedFieldAfterTheType) {
    const CPbrRecord r = Parse(u"+CPBR: 3,\"+4930123\",145,\"Smith, John\"\r\n\r\nOK\r\n");
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.name, u"Smith, John");
    EXPECT_EQ(r.kind, 1);
    // Neither a result arriving right after it nor fields some phones add belong to the name.
    EXPECT_EQ(Parse(u"+CPBR: 5,\"1\",129,\"Eve\"\r\n+CMTI: \"SM\",3\r\n").name, u"Eve");
    EXPECT_EQ(Parse(u"+CPBR: 5,\"1\",129,\"Eve, Jr\",0,\"Family\"\r\n").name, u"Eve, Jr");
}

TEST(PhoneBookRecords, LinesMissingPartsAreNotComplete) {
    for (const char16_t* line :
         {u"+CPBR: 7,5551234,129,Ann/H", u"+CPBR: 7,\"5551234\"", u"+CPBR:", u"+CPBR: 7",
          u"+CPBR: 0,\"1\",129,\"A/H\"", u"+CPBR: -3,\"1\",129,\"A/H\"", u"+CPBR: 8,\"1\",129,Eve",
          u"+CPBR: 8,\"1\",129,\"Eve"}) {
        EXPECT_FALSE(Parse(line).complete) << testing::PrintToString(std::u16string(line));
    }
}

// Whatever a phone sends, splitting, parsing and merging neither crash nor read outside the
// reply (the sanitizer build checks the latter).
TEST(PhoneBookRecords, ArbitraryRepliesAreSurvived) {
    CPhoneSession session;
    CPhoneBookEngine& engine = *session.GetEngine();
    std::mt19937 random(4711);
    const std::u16string pieces[] = {u"+CPBR:", u",", u"\"", u"/", u"H", u"\r\n",
                                     u"OK",     u"1", u"-",  u" ", u")", std::u16string(1, u'\0')};
    for (int round = 0; round < 2000; ++round) {
        std::u16string reply;
        for (int i = static_cast<int>(random() % 40); i > 0; --i) {
            if (random() % 4 == 0) {
                reply.push_back(static_cast<char16_t>(random() % 0x10000));
            } else {
                reply += pieces[random() % std::size(pieces)];
            }
        }
        CContactBook book;
        engine.SplitRecords(reply);
        for (const auto& record : engine.GetRecords()) {
            CPhoneBookEngine::ParseRecord(*record);
        }
        engine.MergeRecords(book);
        engine.ClearRecords();
        std::u16string out;
        CPhoneBookEngine::GetField(reply, static_cast<int>(random() % 5), out);
        CPhoneBookEngine::ParseDecimal(reply);
    }
}

}  // namespace
