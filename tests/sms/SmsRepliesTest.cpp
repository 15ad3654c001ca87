#include "sms/SmsReplies.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace sms;
using namespace std::string_literals;

namespace {

StorageState Parsed(std::u16string_view reply, StorageState state = {}) {
    EXPECT_TRUE(ParseStorageReply(reply, state));
    return state;
}

}  // namespace

TEST(SmsStorageCodes, NamesInAnyCaseAndNothingElse) {
    EXPECT_EQ(StorageCodeOf(u"ME"), 1);
    EXPECT_EQ(StorageCodeOf(u"SM"), 2);
    EXPECT_EQ(StorageCodeOf(u"TL"), 3);
    EXPECT_EQ(StorageCodeOf(u"me"), 1);
    EXPECT_EQ(StorageCodeOf(u"sM"), 2);
    EXPECT_EQ(StorageCodeOf(u"tl"), 3);
    EXPECT_EQ(StorageCodeOf(u"MT"), -1);
    EXPECT_EQ(StorageCodeOf(u"SR"), -1);
    EXPECT_EQ(StorageCodeOf(u"SMS"), -1);
    EXPECT_EQ(StorageCodeOf(u""), -1);
}

TEST(SmsDecimalValue, DigitTexts) {
    EXPECT_EQ(DecimalValue(u""), 0);
    EXPECT_EQ(DecimalValue(u"0"), 0);
    EXPECT_EQ(DecimalValue(u"7"), 7);
    EXPECT_EQ(DecimalValue(u"150"), 150);
    EXPECT_EQ(DecimalValue(u"007"), 7);
    EXPECT_EQ(DecimalValue(u"2147483647"), 2147483647);
}

TEST(SmsDecimalValue, NoCheckForDigitsAndNoOverflowTrap) {
    // ':' counts as ten, as the sum over character codes gives.
    EXPECT_EQ(DecimalValue(u"1:"), 20);
    EXPECT_EQ(DecimalValue(u"-1"), -29);
    // Long or strange texts wrap around rather than overflow.
    DecimalValue(u"99999999999999999999999999");
    DecimalValue(std::u16string(40, u'\xFFFF'));
}

TEST(SmsStorageReply, ThreeStoragesWithTheSecondsCounts) {
    const StorageState s =
        Parsed(u"\r\n+CPMS: \"SM\",5,20,\"ME\",12,150,\"SM\",5,20\r\n\r\nOK\r\n");
    EXPECT_EQ(s.codes[0], 2);
    EXPECT_EQ(s.codes[1], 1);
    EXPECT_EQ(s.codes[2], 2);
    EXPECT_EQ(s.used, u"12");
    EXPECT_EQ(s.total, u"150");
}

TEST(SmsStorageReply, LowerCaseNamesAndUnknownNames) {
    StorageState before;
    before.codes = {1, 1, 1};
    const StorageState s = Parsed(u"+CPMS: \"sm\",1,10,\"me\",2,20,\"sr\",0,5\r\nOK", before);
    EXPECT_EQ(s.codes[0], 2);
    EXPECT_EQ(s.codes[1], 1);
    EXPECT_EQ(s.codes[2], 1);  // "SR" is none of ours: kept
    EXPECT_EQ(s.used, u"2");
    EXPECT_EQ(s.total, u"20");
}

TEST(SmsStorageReply, NoMarkerChangesNothing) {
    StorageState s;
    s.used = u"3";
    EXPECT_FALSE(ParseStorageReply(u"\"ME\",4,5,\"ME\",6,7\r\nOK", s));
    EXPECT_EQ(s.codes[1], 2);
    EXPECT_EQ(s.used, u"3");
}

TEST(SmsStorageReply, MoreThanThreeStoragesStopAfterTheThird) {
    const StorageState s =
        Parsed(u"+CPMS: \"ME\",1,2,\"TL\",3,4,\"SM\",5,6,\"ME\",7,8,\"ME\",9,10,\"TL\",1,1\r\nOK");
    EXPECT_EQ(s.codes[0], 1);
    EXPECT_EQ(s.codes[1], 3);
    EXPECT_EQ(s.codes[2], 2);
    EXPECT_EQ(s.used, u"3");
    EXPECT_EQ(s.total, u"4");
}

TEST(SmsStorageReply, TotalWithoutFollowingCommaEndsAtItsLine) {
    // A phone naming only two storages.
    const StorageState two = Parsed(u"+CPMS: \"SM\",5,20,\"ME\",12,150\r\n\r\nOK\r\n");
    EXPECT_EQ(two.codes[0], 2);
    EXPECT_EQ(two.codes[1], 1);
    EXPECT_EQ(two.codes[2], 1);
    EXPECT_EQ(two.used, u"12");
    EXPECT_EQ(two.total, u"150");
    // The reply ends right after the total.
    const StorageState cut = Parsed(u"+CPMS: \"SM\",5,20,\"TL\",1,99");
    EXPECT_EQ(cut.codes[1], 3);
    EXPECT_EQ(cut.total, u"99");
}

TEST(SmsStorageReply, SecondStorageWithoutCountsKeepsTheOldCounts) {
    StorageState before;
    before.used = u"1";
    before.total = u"2";
    const StorageState s = Parsed(u"+CPMS: \"SM\",\"ME\"\r\nOK", before);
    EXPECT_EQ(s.codes[0], 2);
    EXPECT_EQ(s.codes[1], 1);
    EXPECT_EQ(s.used, u"1");
    EXPECT_EQ(s.total, u"2");
    const StorageState half = Parsed(u"+CPMS: \"SM\",1,2,\"ME\",7\r\nOK", before);
    EXPECT_EQ(half.used, u"1");
}

TEST(SmsStorageReply, UnclosedQuoteStops) {
    const StorageState s = Parsed(u"+CPMS: \"ME\",1,2,\"SM");
    EXPECT_EQ(s.codes[0], 1);
    EXPECT_EQ(s.codes[1], 2);
}

TEST(SmsServiceCentreReply, NumberAndType) {
    auto r = ParseServiceCentreReply(u"\r\n+CSCA: \"+123456\",145\r\n\r\nOK\r\n");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->number, u"+123456");
    EXPECT_TRUE(r->typeFollows);
    r = ParseServiceCentreReply(u"+CSCA: \"123456\"\r\nOK\r\n");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->number, u"123456");
    EXPECT_FALSE(r->typeFollows);
}

TEST(SmsServiceCentreReply, MissingMarkerOrQuotes) {
    EXPECT_FALSE(ParseServiceCentreReply(u"+CSCB: \"1\",145\r\nOK"));
    EXPECT_FALSE(ParseServiceCentreReply(u"+CSCA: 123456,145\r\nOK"));
    // An opening quote without its closing one: nothing is taken from past the reply.
    EXPECT_FALSE(ParseServiceCentreReply(u"+CSCA: \"+4479"));
}

TEST(SmsServiceCentreNumber, MakerFlagAndPlus) {
    const ServiceCentreReply plusTyped{u"+123456", true};
    const ServiceCentreReply bareUntyped{u"123456", false};
    const ServiceCentreReply bareTyped{u"123456", true};
    EXPECT_EQ(ServiceCentreNumber(plusTyped, 0u, u""), u"+123456");
    EXPECT_EQ(ServiceCentreNumber(plusTyped, 1u, u""), u"123456");
    EXPECT_EQ(ServiceCentreNumber(bareUntyped, 0u, u""), u"+123456");
    // A Nokia's number without "+" keeps all its digits.
    EXPECT_EQ(ServiceCentreNumber(bareUntyped, 1u, u""), u"+123456");
    EXPECT_EQ(ServiceCentreNumber(bareTyped, 1u, u""), u"123456");
    EXPECT_EQ(ServiceCentreNumber(bareTyped, 0xFFFFFFFFu, u""), u"123456");
}

TEST(SmsServiceCentreNumber, PlusIsNeverDoubledAndUnreadFlagKeepsTheOldNumber) {
    EXPECT_EQ(ServiceCentreNumber({u"+4479", false}, 0u, u""), u"+4479");
    EXPECT_EQ(ServiceCentreNumber({u"+4479", false}, std::nullopt, u"+111"), u"+111");
    EXPECT_EQ(ServiceCentreNumber({u"4479", true}, std::nullopt, u""), u"");
}

TEST(SmsMessageList, EntriesWithIndexAndPdu) {
    const auto list = ParseMessageList(
        u"AT+CMGL=1\r\r\n+CMGL: 3,1,,24\r\n0791AB\r\n+CMGL: 12,1,,30\r\n0791CD\r\n\r\nOK\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].index, u"3");
    EXPECT_EQ(list[0].pdu, u"0791AB");
    EXPECT_EQ(list[1].index, u"12");
    EXPECT_EQ(list[1].pdu, u"0791CD");
}

TEST(SmsMessageList, IndexIsTheWholeNumberAfterTheColon) {
    // Without the blank after the colon the index is still 12, not 2.
    auto list = ParseMessageList(u"+CMGL:12,1,,24\r\n0791AB\r\nOK\r\n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].index, u"12");
    list = ParseMessageList(u"+CMGL:   7 ,1,,24\r\n0791AB\r\nOK\r\n");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].index, u"7");
}

TEST(SmsMessageList, OnlyOkOrBrokenOffReplies) {
    EXPECT_TRUE(ParseMessageList(u"\r\nOK\r\n").empty());
    EXPECT_TRUE(ParseMessageList(u"+CMGL:").empty());
    EXPECT_TRUE(ParseMessageList(u"+CMGL: 4").empty());
    EXPECT_TRUE(ParseMessageList(u"+CMGL: 4\r\n,1,,2\r\n00\r\n").empty());
    EXPECT_TRUE(ParseMessageList(u"+CMGL: 4,1,,24").empty());
    EXPECT_TRUE(ParseMessageList(u"+CMGL: 4,1,,24\r\n").empty());
    EXPECT_TRUE(ParseMessageList(u"+CMGL: 4,1,,24\r\n0791AB").empty());
    // The break-off after one whole entry keeps that entry.
    const auto list = ParseMessageList(u"+CMGL: 1,1,,2\r\nAA\r\n+CMGL: 2,1,,2\r\nBB");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].pdu, u"AA");
}

TEST(SmsMessageList, EntryWithoutPduStopsAtTheResultCode) {
    EXPECT_TRUE(ParseMessageList(u"+CMGL: 1,1,,0\r\n\r\nOK\r\n").empty());
}

TEST(SmsMessageList, UnsolicitedLineBetweenEntriesIsNotAnEntry) {
    const auto list = ParseMessageList(
        u"+CMGL: 1,1,,2\r\nAA\r\n\r\n+CMTI: \"SM\",3\r\n+CMGL: 2,1,,2\r\nBB\r\n\r\nOK\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].index, u"2");
    EXPECT_EQ(list[1].pdu, u"BB");
}

TEST(SmsReadReply, PduLineOfOneMessage) {
    auto lines = ParseReadReply(u"\r\n+CMGR: 1,,24\r\n0791AB\r\n\r\nOK\r\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], u"0791AB");
    EXPECT_TRUE(ParseReadReply(u"+CMGR: 1,,24").empty());
    EXPECT_TRUE(ParseReadReply(u"+CMGR: 1,,24\r\n0791").empty());
    EXPECT_TRUE(ParseReadReply(u"OK").empty());
}

TEST(SmsStoredIndex, DigitsAfterTheMarker) {
    EXPECT_EQ(ParseStoredIndex(u"\r\n+CMGW: 17\r\n\r\nOK\r\n"), u"17");
    EXPECT_EQ(ParseStoredIndex(u"+CMGW:5\r\nOK"), u"5");
    EXPECT_EQ(ParseStoredIndex(u"\r\nOK\r\n"), u"");
    EXPECT_EQ(ParseStoredIndex(u"+CMGW: "), u"");
    EXPECT_EQ(ParseStoredIndex(u"+CMGW"), u"");
}

TEST(SmsPduText, OnlyHexOfSomeLength) {
    EXPECT_TRUE(IsPduText(u"0791AB"));
    EXPECT_TRUE(IsPduText(u"07f"));
    EXPECT_FALSE(IsPduText(u"07"));
    EXPECT_FALSE(IsPduText(u""));
    EXPECT_FALSE(IsPduText(u"0791\r\nAT+CMGD=1"));
    EXPECT_FALSE(IsPduText(u"0791\x1a"));
}

// Every reader must stay inside the reply and end, whatever the phone sends: all prefixes of
// real replies, and random text made of the characters the readers look for.
TEST(SmsReplyReaders, SurviveAnyInput) {
    const std::u16string samples[] = {
        u"\r\n+CPMS: \"SM\",5,20,\"ME\",12,150,\"SM\",5,20\r\n\r\nOK\r\n",
        u"\r\n+CSCA: \"+123456\",145\r\n\r\nOK\r\n",
        u"\r\n+CMGL: 3,1,,24\r\n0791AB\r\n+CMGL:12,1,,30\r\n0791CD\r\n\r\nOK\r\n",
        u"\r\n+CMGR: 1,,24\r\n0791AB\r\n\r\nOK\r\n",
        u"\r\n+CMGW: 17\r\n\r\nOK\r\n",
    };
    auto runAll = [](std::u16string_view text) {
        StorageState state;
        ParseStorageReply(text, state);
        ParseServiceCentreReply(text);
        ParseMessageList(text);
        ParseReadReply(text);
        ParseStoredIndex(text);
        UpToNull(text);
    };
    for (const auto& sample : samples) {
        for (std::size_t n = 0; n <= sample.size(); ++n) {
            runAll(std::u16string_view(sample).substr(0, n));
        }
    }
    const std::u16string alphabet = u"+CPMSGLRWA:\",\r\n 0179OKE>\x1a\xFFFF\0"s;
    std::mt19937 random(6);
    for (int round = 0; round < 3000; ++round) {
        std::u16string text(random() % 60, u' ');
        for (auto& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        runAll(text);
    }
}
