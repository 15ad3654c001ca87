#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "phonebook/ReadRanges.h"

namespace {

using phonebook::PlanReadRanges;
using phonebook::ReadRange;

std::vector<std::pair<int, int>> Pairs(const std::vector<ReadRange>& ranges) {
    std::vector<std::pair<int, int>> out;
    for (const ReadRange& r : ranges) {
        out.emplace_back(r.first, r.last);
    }
    return out;
}

TEST(PhoneBookRanges, FullMemoryOf250IsReadInTheSevenUsualCommands) {
    const auto ranges = PlanReadRanges(1, 250);
    const std::vector<std::pair<int, int>> expected = {{1, 25},    {26, 50},   {51, 75}, {176, 200},
                                                       {201, 225}, {226, 250}, {76, 175}};
    EXPECT_EQ(Pairs(ranges), expected);
    ASSERT_EQ(ranges.size(), 7u);
    EXPECT_EQ(ranges[0].step, 1);
    EXPECT_EQ(ranges[3].step, 2);
    EXPECT_EQ(ranges[6].step, 3);
}

TEST(PhoneBookRanges, SmallMemoriesAreClippedWithoutOverlap) {
    const std::vector<std::pair<int, int>> thirty = {{1, 25}, {26, 30}};
    EXPECT_EQ(Pairs(PlanReadRanges(1, 30)), thirty);
    const std::vector<std::pair<int, int>> one = {{1, 1}};
    EXPECT_EQ(Pairs(PlanReadRanges(1, 1)), one);
    // 100: the high blocks start inside the low ones and are cut to what is left.
    const std::vector<std::pair<int, int>> hundred = {{1, 25}, {26, 50}, {51, 75}, {76, 100}};
    EXPECT_EQ(Pairs(PlanReadRanges(1, 100)), hundred);
    EXPECT_TRUE(PlanReadRanges(1, 0).empty());
}

// Every index of every memory size is asked for exactly once, and nothing outside the memory.
TEST(PhoneBookRanges, EveryIndexIsReadExactlyOnce) {
    for (int last = 1; last <= 400; ++last) {
        std::vector<int> seen(static_cast<std::size_t>(last) + 1, 0);
        for (const ReadRange& r : PlanReadRanges(1, last)) {
            ASSERT_GE(r.first, 1) << last;
            ASSERT_LE(r.last, last) << last;
            ASSERT_LE(r.first, r.last) << last;
            for (int i = r.first; i <= r.last; ++i) {
                ++seen[static_cast<std::size_t>(i)];
            }
        }
        for (int i = 1; i <= last; ++i) {
            ASSERT_EQ(seen[static_cast<std::size_t>(i)], 1) << "index " << i << " of " << last;
        }
    }
}

TEST(PhoneBookRanges, HugeRangesDoNotOverflow) {
    const auto ranges = PlanReadRanges(1, INT_MAX);
    ASSERT_EQ(ranges.size(), 7u);
    EXPECT_EQ(ranges[5].last, INT_MAX);
    EXPECT_EQ(ranges[6].first, 76);
    EXPECT_EQ(ranges[6].last, INT_MAX - 75);
}

}  // namespace
