// The plan of a restore against a phone book as read: what is added, filled in, replaced, kept,
// left out and skipped, and why.

#include <gtest/gtest.h>

#include "app/Utf8Text.h"
#include "app/cli/backup/ImportPlan.h"

namespace {

using backup::ContactCard;
using backup::PlanItem;
using Lines = std::vector<std::string>;

// One line per card: "step name: kind number (was ...), ... | left out kind text: reason".
Lines Describe(const std::vector<PlanItem>& plan) {
    const char* steps[] = {"add", "fill", "replace", "keep", "skip"};
    Lines lines;
    for (const PlanItem& item : plan) {
        std::string line =
            std::string(steps[static_cast<int>(item.step)]) + " " + app::ToUtf8(item.name) + ":";
        if (!item.reason.empty()) {
            line += " " + item.reason;
        }
        for (const backup::PlannedNumber& n : item.numbers) {
            line += std::string(" ") + backup::KindName(n.kind) + " " +
                    (n.number.empty() ? "removed" : app::ToUtf8(n.number));
            line += n.previous.empty() ? "" : " (was " + app::ToUtf8(n.previous) + ")";
            line += n.note.empty() ? "" : " (" + n.note + ")";
        }
        for (const backup::LeftOut& left : item.leftOut) {
            line += std::string(" | left out ") + backup::KindName(left.kind) + " " +
                    app::ToUtf8(left.text) + ": " + left.reason;
        }
        lines.push_back(line);
    }
    return lines;
}

class ImportPlan : public ::testing::Test {
protected:
    ImportPlan() {
        CContactEntry* ann = book_.Add(u"Ann");
        ann->home = u"0163";
        ann->homeIndex = 10;
        ann->mobile = u"+4477";
        ann->mobileIndex = 9;
        CContactEntry* ben = book_.Add(u"Ben");
        ben->mobile = u"+4488";
        ben->mobileIndex = 8;
        book_.MarkIndexUsed(7);  // an entry no contact shows
    }

    Lines Plan(const std::vector<ContactCard>& cards, bool replace, int free, bool nokia = false) {
        return Describe(backup::MakePlan(cards, book_, {nokia, replace, free}));
    }

    CContactBook book_;
};

TEST_F(ImportPlan, WithoutReplaceNothingOnThePhoneChanges) {
    const std::vector<ContactCard> cards = {
        {1, u"Ann", {{1, u"0163"}, {2, u"020 7946"}, {3, u"+44 99"}}},
        {2, u"Cara", {{3, u"1"}, {1, u"+44 (0)20 2"}}},
        {3, u"Cara", {{3, u"5"}}},
        {4, u"AC/DC", {{3, u"1"}}},
        {5, u"Say \"hi\"", {{3, u"1"}}},
        {6, u"Dan", {}},
        {7, u"", {{3, u"1"}}},
        {8, u"Eve", {{3, u"1"}, {3, u"2"}, {3, u"1"}, {3, u"3"}}},
        {9, u"Ben", {{3, u"+44 88"}}},
        {10, u"Fay", {{3, u"1-800-FLOWERS"}}},
    };
    EXPECT_EQ(
        Plan(cards, false, 6),
        (Lines{
            "fill Ann: work 0207946 | left out mobile +44 99: the contact has +4477 there "
            "(--replace takes the file's)",
            "add Cara: home +44202 (the (0) after the country code left out) mobile 1",
            "skip Cara: the file gave this name before, on line 2",
            "skip AC/DC: the name holds \"/\", which the phone book uses to mark the kind of "
            "number",
            "skip Say \"hi\": the name holds a double quote or a control character",
            "skip Dan: no number",
            "skip : no name",
            "add Eve: mobile 1 other 2 (a second mobile number, kept as other) | left out mobile "
            "3: a second mobile number; a contact holds one of each kind",
            "keep Ben:",
            "skip Fay: no number the phone book can hold | left out mobile 1-800-FLOWERS: it "
            "holds \"F\", which a phone book number cannot hold",
        }));
}

TEST_F(ImportPlan, ReplaceTakesTheFilesNumbersAndKeepsWhatItCannotRead) {
    const std::vector<ContactCard> cards = {
        // Home changes in place, mobile goes, work is new.
        {1, u"Ann", {{1, u"0164"}, {2, u"0207"}}},
        // Mobile is given but unreadable: it stays.
        {2, u"Ben", {{3, u"+44 88 ext 1"}, {1, u"0111"}}},
    };
    EXPECT_EQ(Plan(cards, true, 5),
              (Lines{"replace Ann: home 0164 (was 0163) work 0207 mobile removed (was +4477)",
                     "fill Ben: home 0111 | left out mobile +44 88 ext 1: it holds \"e\", which a "
                     "phone book number cannot hold"}));
}

TEST_F(ImportPlan, EveryNewNumberNeedsAFreePlace) {
    const std::vector<ContactCard> cards = {{1, u"Cara", {{1, u"1"}, {3, u"2"}}},
                                            {2, u"Dan", {{3, u"3"}}},
                                            {3, u"Ann", {{2, u"4"}, {1, u"0163"}}}};
    EXPECT_EQ(Plan(cards, false, 1),
              (Lines{"add Cara: home 1 | left out mobile 2: no free place in the memory",
                     "skip Dan: no free place in the memory | left out mobile 3: no free place "
                     "in the memory",
                     "skip Ann: nothing on the phone it can change | left out work 4: no free "
                     "place in the memory"}));
    // Indices 1 to 10 less the three contacts' and the one only the read saw.
    EXPECT_EQ(backup::FreePlaces(book_, 10), 6);
}

TEST_F(ImportPlan, ANokiaKeepsTheHomeNumberOnly) {
    const std::vector<ContactCard> cards = {{1, u"Cara", {{3, u"2"}, {1, u"1"}}},
                                            {2, u"Dan", {{3, u"3"}, {3, u"4"}}}};
    EXPECT_EQ(Plan(cards, false, 5, true),
              (Lines{"add Cara: home 1 | left out mobile 2: this phone keeps one number per "
                     "contact, the home one",
                     "skip Dan: no number the phone book can hold | left out mobile 3: this "
                     "phone keeps one number per contact, the home one | left out mobile 4: this "
                     "phone keeps one number per contact, the home one"}));
}

}  // namespace
