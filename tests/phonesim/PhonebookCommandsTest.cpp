// Phone book commands: storage selection, reading ranges, writing and deleting, the limits.

#include <gtest/gtest.h>

#include "tests/phonesim/PhoneHarness.h"

namespace phonesim::test {
namespace {

class PhonebookCommands : public ::testing::Test {
protected:
    PhonebookCommands() { h.At("AT+CMEE=1"); }
    PhonebookMemory& Me() { return h.phone.Phonebook("ME"); }
    PhoneHarness h;
};

TEST_F(PhonebookCommands, StorageSelectionAndItsQueries) {
    EXPECT_EQ(h.At("AT+CPBS=?"), "\r\n+CPBS: (\"ME\",\"SM\")\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBS?"), "\r\n+CPBS: \"ME\",54,250\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBS=\"sm\""), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBS?"), "\r\n+CPBS: \"SM\",15,100\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBR=?"), "\r\n+CPBR: (1-100),20,14\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBS=\"FD\""), "\r\n+CME ERROR: 4\r\n");
    EXPECT_EQ(h.phone.State().phonebook, "SM");
}

TEST_F(PhonebookCommands, RangeQueryGivesIndicesAndLengths) {
    EXPECT_EQ(h.At("AT+CPBR=?"), "\r\n+CPBR: (1-250),40,40\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=?"), "\r\n+CPBW: (1-250),40,(129,145),40\r\n\r\nOK\r\n");
}

TEST_F(PhonebookCommands, ReadingARangeListsEntriesAndSkipsEmptyPlaces) {
    Me().entries.erase(2);
    EXPECT_EQ(h.At("AT+CPBR=1,3"),
              "\r\n+CPBR: 1,\"01632960101\",129,\"Ann Taylor/H\"\r\n"
              "+CPBR: 3,\"+447700900103\",145,\"Ann Taylor/M\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBR=4"),
              "\r\n+CPBR: 4,\"+447700900111\",145,\"Ben Carter/M\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBR=2"), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBR=100,250"), "\r\nOK\r\n");
}

TEST_F(PhonebookCommands, IndicesOutsideTheMemoryAreInvalid) {
    EXPECT_EQ(h.At("AT+CPBR=0,25"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.At("AT+CPBR=226,251"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.At("AT+CPBR=76,50"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.At("AT+CPBR=-24,0"), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.At("AT+CPBW=251,\"1\",129,\"x\""), "\r\n+CME ERROR: 21\r\n");
    EXPECT_EQ(h.At("AT+CPBR=a,b"), "\r\nERROR\r\n");
}

TEST_F(PhonebookCommands, WriteAcceptsTheBlankBeforeTheComma) {
    EXPECT_EQ(h.At("AT+CPBW=250,\"5551234\",129 ,\"Ann/M\""), "\r\nOK\r\n");
    const PhonebookEntry& e = Me().entries.at(250);
    EXPECT_EQ(e.number, "5551234");
    EXPECT_EQ(e.type, 129);
    EXPECT_EQ(e.name, u"Ann/M");
    EXPECT_EQ(h.At("AT+CPBR=250"), "\r\n+CPBR: 250,\"5551234\",129,\"Ann/M\"\r\n\r\nOK\r\n");
}

TEST_F(PhonebookCommands, WriteReplacesAndIndexAloneDeletes) {
    EXPECT_EQ(h.At("AT+CPBW=1,\"+447700900777\",145,\"Ann Taylor/H\""), "\r\nOK\r\n");
    EXPECT_EQ(Me().entries.at(1).number, "+447700900777");
    EXPECT_EQ(h.At("AT+CPBW=1"), "\r\nOK\r\n");
    EXPECT_EQ(Me().entries.count(1), 0u);
    EXPECT_EQ(h.At("AT+CPBW=1"), "\r\nOK\r\n");  // deleting an empty place is no error
}

TEST_F(PhonebookCommands, WriteWithoutIndexTakesTheFirstFreePlace) {
    EXPECT_EQ(h.At("AT+CPBW=,\"+4412\",,\"New/M\""), "\r\nOK\r\n");
    EXPECT_EQ(Me().entries.at(55).name, u"New/M");
    EXPECT_EQ(Me().entries.at(55).type, 145);  // from the '+'
    h.phone.Load(ShippedProfile("full"));
    h.At("ATE0;+CMEE=1");
    EXPECT_EQ(h.At("AT+CPBW=,\"1\",129,\"x\""), "\r\n+CME ERROR: 20\r\n");
}

TEST_F(PhonebookCommands, LengthLimitsGiveTheirErrors) {
    h.At("AT+CPBS=\"SM\"");
    EXPECT_EQ(h.At("AT+CPBW=1,\"1\",129,\"Fourteen chars\""), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=1,\"1\",129,\"Fifteen chars!!\""), "\r\n+CME ERROR: 24\r\n");
    EXPECT_EQ(h.At("AT+CPBW=1,\"+" + std::string(20, '1') + "\",145,\"a\""), "\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBW=1,\"" + std::string(21, '1') + "\",129,\"a\""),
              "\r\n+CME ERROR: 26\r\n");
    EXPECT_EQ(h.At("AT+CPBW=1,\"12a4\",129,\"a\""), "\r\n+CME ERROR: 27\r\n");
    EXPECT_EQ(h.At("AT+CPBW=1,\"1\",99,\"a\""), "\r\n+CME ERROR: 50\r\n");
    EXPECT_EQ(h.phone.Phonebook("SM").entries.at(1).name, u"a");
}

TEST_F(PhonebookCommands, RefusedWritesLeaveTheEntryAlone) {
    const PhonebookEntry before = Me().entries.at(3);
    EXPECT_EQ(h.At("AT+CPBW=3,\"1\",129,\"" + std::string(41, 'x') + "\""),
              "\r\n+CME ERROR: 24\r\n");
    // A control character cannot be stored, not even written as an escape.
    EXPECT_EQ(h.At("AT+CPBW=3,\"1\",129,\"a\\0DAT\""), "\r\n+CME ERROR: 25\r\n");
    EXPECT_EQ(Me().entries.at(3).name, before.name);
    EXPECT_EQ(Me().entries.at(3).number, before.number);
}

TEST_F(PhonebookCommands, QuotesInsideAWriteCannotEndTheCommand) {
    // The line breaks at the stray quote: refused as a whole, nothing written.
    EXPECT_EQ(h.At("AT+CPBW=7,\"1\",129,\"a\"b\""), "\r\nERROR\r\n");
    EXPECT_EQ(Me().entries.at(7).name, u"Dan Hughes/M");
}

TEST_F(PhonebookCommands, FindByNamePrefix) {
    EXPECT_EQ(h.At("AT+CPBF=\"office\""),
              "\r\n+CPBF: 49,\"02079460461\",129,\"Office/W\"\r\n"
              "+CPBF: 50,\"02079460462\",129,\"Office/F\"\r\n\r\nOK\r\n");
    EXPECT_EQ(h.At("AT+CPBF=\"Nobody\""), "\r\n+CME ERROR: 22\r\n");
}

}  // namespace
}  // namespace phonesim::test
