// Phone book commands: storage selection, reading ranges, writing and deleting, the limits.

#include <gtest/gtest.h>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

class PhonebookCommands : public ::testing::Test {
protected:
    PhonebookCommands() { h.At("AT+CMEE=1"); }
    PhoneHarness h;
};

TEST_F(PhonebookCommands, StorageSelectionAndItsQueries) {
    h.Talk({{"AT+CPBS=?", Info({R"(+CPBS: ("ME","SM"))"})},
            {"AT+CPBS?", Info({R"(+CPBS: "ME",54,250)"})},
            {"AT+CPBR=?", Info({"+CPBR: (1-250),40,40"})},
            {"AT+CPBW=?", Info({"+CPBW: (1-250),40,(129,145),40"})},
            {R"(AT+CPBS="sm")", Ok()},
            {"AT+CPBS?", Info({R"(+CPBS: "SM",15,100)"})},
            {"AT+CPBR=?", Info({"+CPBR: (1-100),20,14"})},
            {R"(AT+CPBS="FD")", Cme(4)},
            {"AT+CPBS?", Info({R"(+CPBS: "SM",15,100)"})}});
}

TEST_F(PhonebookCommands, ReadingARangeOrFindingListsEntriesAndSkipsEmptyPlaces) {
    h.Talk({{"AT+CPBW=2", Ok()},
            {"AT+CPBR=1,3", Info({R"(+CPBR: 1,"01632960101",129,"Ann Taylor/H")",
                                  R"(+CPBR: 3,"+447700900103",145,"Ann Taylor/M")"})},
            {"AT+CPBR=4", Info({R"(+CPBR: 4,"+447700900111",145,"Ben Carter/M")"})},
            {"AT+CPBR=2", Ok()},
            {"AT+CPBR=100,250", Ok()},
            // Found by the start of the name, whatever its case.
            {R"(AT+CPBF="office")", Info({R"(+CPBF: 49,"02079460461",129,"Office/W")",
                                          R"(+CPBF: 50,"02079460462",129,"Office/F")"})},
            {R"(AT+CPBF="Nobody")", Cme(22)}});
}

TEST_F(PhonebookCommands, IndicesOutsideTheMemoryAreInvalid) {
    h.Talk({{"AT+CPBR=0,25", Cme(21)},
            {"AT+CPBR=226,251", Cme(21)},
            {"AT+CPBR=76,50", Cme(21)},
            {"AT+CPBR=-24,0", Cme(21)},
            {R"(AT+CPBW=251,"1",129,"x")", Cme(21)},
            {"AT+CPBR=a,b", Error()}});
}

TEST_F(PhonebookCommands, WritingReplacingAndDeleting) {
    h.Talk({{R"(AT+CPBW=250,"5551234",129 ,"Ann/M")", Ok()},  // blank before the comma
            {"AT+CPBR=250", Info({R"(+CPBR: 250,"5551234",129,"Ann/M")"})},
            {R"(AT+CPBW=1,"+447700900777",145,"Ann Taylor/H")", Ok()},
            {"AT+CPBR=1", Info({R"(+CPBR: 1,"+447700900777",145,"Ann Taylor/H")"})},
            {"AT+CPBW=1", Ok()},
            {"AT+CPBR=1", Ok()},
            {"AT+CPBW=1", Ok()},  // deleting an empty place is no error
            // Without an index: the first free place, the type from the '+'.
            {R"(AT+CPBW=,"+4412",,"New/M")", Ok()},
            {"AT+CPBR=1", Info({R"(+CPBR: 1,"+4412",145,"New/M")"})},
            // A ';' inside a string does not end the command; blanks before one are kept out.
            {R"(at+cpbw=2,"56",129,"a;b" ;E0 ;+CSCS?)", Info({R"(+CSCS: "IRA")"})},
            {"AT+CPBR=2", Info({R"(+CPBR: 2,"56",129,"a;b")"})}});
    h.phone.Load(ShippedProfile("full"));
    h.At("ATE0;+CMEE=1");
    EXPECT_EQ(h.At(R"(AT+CPBW=,"1",129,"x")"), Cme(20));
}

TEST_F(PhonebookCommands, RefusedWritesGiveTheirErrorsAndLeaveTheEntryAlone) {
    const std::string entry = h.At("AT+CPBR=3");
    h.Talk({{"AT+CPBW=3,\"1\",129,\"" + std::string(41, 'x') + "\"", Cme(24)},
            // A control character cannot be stored, not even written as an escape.
            {R"(AT+CPBW=3,"1",129,"a\0DAT")", Cme(25)},
            // The line breaks at the stray quote: refused as a whole.
            {R"(AT+CPBW=3,"1",129,"a"b")", Error()}});
    EXPECT_EQ(h.At("AT+CPBR=3"), entry);

    h.At(R"(AT+CPBS="SM")");
    const std::string longest = "+" + std::string(20, '1');
    h.Talk({{R"(AT+CPBW=1,"1",129,"Fourteen chars")", Ok()},
            {R"(AT+CPBW=1,"1",129,"Fifteen chars!!")", Cme(24)},
            {"AT+CPBW=1,\"" + longest + "\",145,\"a\"", Ok()},
            {"AT+CPBW=1,\"" + std::string(21, '1') + "\",129,\"b\"", Cme(26)},
            {R"(AT+CPBW=1,"12a4",129,"b")", Cme(27)},
            {R"(AT+CPBW=1,"1",99,"b")", Cme(50)},
            {"AT+CPBR=1", Info({"+CPBR: 1,\"" + longest + "\",145,\"a\""})}});
}

}  // namespace
}  // namespace phonesim::test
