// Reading the lines of a phone book reply. That any reply is survived is the fuzz target's work
// (fuzz/PhonebookReplyFuzz.cpp); these are the results defined for odd lines.

#include <gtest/gtest.h>

#include "phonebook/PhoneBookEngine.h"

namespace {

// Read like atoi (the text library's LeadingInt, tests/text), but only what fits a 32-byte
// buffer counts: 31 characters.
TEST(PhoneBookFields, DecimalsReadOnlyTheirFirst31Characters) {
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(std::u16string(29, u' ') + u"42"), 42);
    EXPECT_EQ(CPhoneBookEngine::ParseDecimal(std::u16string(30, u' ') + u"42"), 4);
}

struct RecordCase {
    const char16_t* line;
    bool complete;
    int index = 0;
    const char16_t* name = u"";
    int kind = 0;
};

const RecordCase kRecords[] = {
    {u"+CPBR: 12,\"5551234\",129,\"Ann/M\"\r\n", true, 12, u"Ann", 3},
    {u"+CPBR: 1,\"1\",129,\"Smith, John/W\"", true, 1, u"Smith, John", 2},
    // An unknown suffix letter, or none after the slash, is kind 0.
    {u"+CPBR: 1,\"1\",129,\"Bob/X\"", true, 1, u"Bob", 0},
    // Without the blank after the marker the index is still whole.
    {u"+CPBR:117,\"1\",129,\"Bob/O\"", true, 117, u"Bob", 5},
    // Without a suffix: kind 1, named by the quoted field after the type, commas and all. Neither
    // a result arriving right after it nor fields some phones add belong to the name.
    {u"+CPBR: 3,\"+4930123\",145,\"Smith, John\"\r\n\r\nOK\r\n", true, 3, u"Smith, John", 1},
    {u"+CPBR: 5,\"1\",129,\"Eve\"\r\n+CMTI: \"SM\",3\r\n", true, 5, u"Eve", 1},
    {u"+CPBR: 5,\"1\",129,\"Eve, Jr\",0,\"Family\"\r\n", true, 5, u"Eve, Jr", 1},
    // Lines missing a part.
    {u"+CPBR: 7,5551234,129,Ann/H", false},
    {u"+CPBR: 7,\"5551234\"", false},
    {u"+CPBR: 0,\"1\",129,\"A/H\"", false},
    {u"+CPBR: 8,\"1\",129,\"Eve", false},
};

TEST(PhoneBookRecords, EachLineGivesIndexNameAndKindOrIsIncomplete) {
    for (const RecordCase& c : kRecords) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.line)));
        CPbrRecord record;
        record.line = c.line;
        EXPECT_EQ(CPhoneBookEngine::ParseRecord(record) != 0, c.complete);
        EXPECT_EQ(record.complete, c.complete);
        // The number keeps its quotes; the merge takes them off.
        if (c.complete) {
            EXPECT_EQ(std::tuple(record.index, record.name, record.kind, record.number.front()),
                      std::tuple(c.index, c.name, c.kind, u'"'));
        }
    }
}

}  // namespace
