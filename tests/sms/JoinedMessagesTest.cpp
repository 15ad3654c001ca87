// The parts of long messages joined into the inbox's rows, from real concatenated PDUs: the
// shipped builder's 7-bit and UCS2 parts and hand-made ones, in every order and every way a
// sender or a network gets them wrong; and the number match the rows' contact names use.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "phonebook/SameNumber.h"
#include "sms/JoinedMessages.h"
#include "tests/sms/SmsEngineFixture.h"
#include "text/Utf.h"

namespace halvex::test {
namespace {

using Texts = std::vector<std::u16string>;

constexpr const char* kAnn = "+447700900103";
constexpr const char* kBen = "+447700900111";

// A part from `from`, `day` of March 2024 at `hour`:`minute`.
struct Part {
    const char* from;
    int reference, count, sequence;
    const char16_t* text;
    int day = 10, hour = 9, minute = 30;
    bool wide = false;
};

std::string Pdu(const Part& p) {
    phonesim::DeliverMessage message{
        .from = p.from,
        .time = {24, 3, p.day, p.hour, p.minute, 0, 0},
        .text = p.text,
        .part = phonesim::PartOf{p.reference, p.count, p.sequence, p.wide}};
    return phonesim::BuildDeliver(message).value();
}

// The rows of a list holding the PDUs in this order, each as "ids: text".
Texts Rows(const std::vector<std::string>& pdus) {
    sms::MessageList list;
    for (const std::string& pdu : pdus)
        list.Append(U16(pdu), u"1", sms::Storage::Phone);
    Texts rows;
    std::vector<int> seen;
    for (const sms::MessageRow& row : sms::JoinParts(sms::BuildRows(list, true))) {
        rows.push_back(row.idText + u": " + row.text);
        seen.insert(seen.end(), row.parts.begin(), row.parts.end());
    }
    // Never a part lost nor shown twice.
    std::sort(seen.begin(), seen.end());
    std::vector<int> all(pdus.size());
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(seen, all);
    return rows;
}

TEST(JoinedMessages, PartsJoinOnlyWhereSenderReferenceAndCountAgree) {
    const std::string plain = Deliver(kAnn, u"Plain", {24, 3, 10, 9, 0, 0, 0});
    // Hand-made UCS2 parts with the 16-bit reference 0x1234: "Hi" and "!", part 2 stored first.
    const std::string wide1 = "00440C914477000910160008423001900341000B0608041234020100480069";
    const std::string wide2 = "00440C9144770009101600084230019003420009060804123402020021";
    const struct {
        const char* name;
        std::vector<std::string> pdus;
        Texts rows;
    } cases[] = {
        {"8-bit reference, 7-bit text, part 2 stored first, a plain message between",
         {Pdu({kAnn, 7, 2, 2, u"world!"}), plain, Pdu({kAnn, 7, 2, 1, u"Hello "})},
         {u"3,1: Hello world!", u"2: Plain"}},
        {"16-bit reference, UCS2, hand-made", {wide2, wide1}, {u"2,1: Hi!"}},
        {"16-bit reference, three parts in the order 3, 1, 2",
         {Pdu({kAnn, 300, 3, 3, u"ς", 10, 9, 30, true}),
          Pdu({kAnn, 300, 3, 1, u"Καλ", 10, 9, 30, true}),
          Pdu({kAnn, 300, 3, 2, u"ημέρα", 10, 9, 30, true})},
         {u"2,3,1: Καλημέρας"}},
        {"the same number in an 8-bit and a 16-bit reference: two messages",
         {Pdu({kAnn, 5, 2, 1, u"a"}), Pdu({kAnn, 5, 2, 2, u"b", 10, 9, 30, true})},
         {u"1: a (part 2 of 2 missing)", u"2: (part 1 of 2 missing) b"}},
        {"a missing part in the middle",
         {Pdu({kAnn, 9, 3, 1, u"one "}), Pdu({kAnn, 9, 3, 3, u" three"})},
         {u"1,2: one (part 2 of 3 missing) three"}},
        {"a part whose siblings never came",
         {Pdu({kAnn, 9, 5, 2, u"two"})},
         {u"1: (part 1 of 5 missing) two (parts 3 to 5 of 5 missing)"}},
        {"the same reference from two senders",
         {Pdu({kAnn, 1, 2, 1, u"Ann "}), Pdu({kBen, 1, 2, 1, u"Ben "}), Pdu({kBen, 1, 2, 2, u"B"}),
          Pdu({kAnn, 1, 2, 2, u"A"})},
         {u"1,4: Ann A", u"2,3: Ben B"}},
        {"the same reference and count again after a day, and parts 25 hours apart",
         {Pdu({kAnn, 3, 2, 1, u"Mon ", 11, 8}), Pdu({kAnn, 3, 2, 2, u"day", 11, 8}),
          Pdu({kAnn, 3, 2, 1, u"Wed ", 13, 8}), Pdu({kAnn, 3, 2, 2, u"nesday", 13, 8}),
          Pdu({kAnn, 4, 2, 1, u"late ", 14, 8}), Pdu({kAnn, 4, 2, 2, u"part", 15, 9})},
         {u"1,2: Mon day", u"3,4: Wed nesday", u"5: late (part 2 of 2 missing)",
          u"6: (part 1 of 2 missing) part"}},
        {"a part number that comes twice starts a second message",
         {Pdu({kAnn, 6, 2, 1, u"first ", 10, 9, 0}), Pdu({kAnn, 6, 2, 1, u"again ", 10, 9, 1}),
          Pdu({kAnn, 6, 2, 2, u"end", 10, 9, 2})},
         {u"1,3: first end", u"2: again (part 2 of 2 missing)"}},
        {"headers that make no sense: part 5 of 3, part 0, a message of 1 or 0 parts",
         {Pdu({kAnn, 2, 3, 5, u"five"}), Pdu({kAnn, 2, 3, 0, u"zero"}),
          Pdu({kAnn, 2, 1, 1, u"one"}), Pdu({kAnn, 2, 0, 0, u"none"})},
         {u"1: five", u"2: zero", u"3: one", u"4: none"}},
        {"a PDU that cannot be read keeps its own row",
         {Pdu({kAnn, 8, 2, 1, u"x"}), "0791448720003023"},
         {u"1: x (part 2 of 2 missing)", u"2: "}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Rows(c.pdus), c.rows) << c.name;
}

TEST(JoinedMessages, NumbersMatchInTheirNationalAndInternationalForms) {
    const std::tuple<const char16_t*, const char16_t*, bool> cases[] = {
        {u"+447700900103", u"+447700900103", true},
        {u"07700 900103", u"+447700900103", true},
        {u"+447700900103", u"00447700900103", true},
        {u"+447700900103", u"+447700900104", false},
        {u"0103", u"+447700900103", false},
        {u"447700900103", u"+447700900103", false},
        {u"*100#", u"*100#", false},
        {u"", u"", false},
    };
    for (const auto& [a, b, same] : cases)
        EXPECT_EQ(std::pair(phonebook::SameNumber(a, b), phonebook::SameNumber(b, a)),
                  std::pair(same, same))
            << text::ToUtf8(a) << " " << text::ToUtf8(b);
}

}  // namespace
}  // namespace halvex::test
