#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "phonebook/ReadRanges.h"

namespace {

using phonebook::PlanReadRanges;
using phonebook::ReadRange;

// Every index of every memory size is asked for exactly once, and nothing outside the memory.
TEST(PhoneBookRanges, EveryIndexIsReadExactlyOnce) {
    for (int last = 1; last <= 400; ++last) {
        std::vector<int> seen(static_cast<std::size_t>(last) + 1, 0);
        for (const ReadRange& r : PlanReadRanges(1, last)) {
            ASSERT_TRUE(r.first >= 1 && r.first <= r.last && r.last <= last) << last;
            for (int i = r.first; i <= r.last; ++i)
                ++seen[static_cast<std::size_t>(i)];
        }
        for (int i = 1; i <= last; ++i)
            ASSERT_EQ(seen[static_cast<std::size_t>(i)], 1) << "index " << i << " of " << last;
    }
    EXPECT_TRUE(PlanReadRanges(1, 0).empty());
}

TEST(PhoneBookRanges, HugeRangesDoNotOverflow) {
    const auto ranges = PlanReadRanges(1, INT_MAX);
    ASSERT_EQ(ranges.size(), 7u);
    EXPECT_EQ(ranges[5].last, INT_MAX);
    EXPECT_EQ(ranges[6].last, INT_MAX - 75);
}

}  // namespace
