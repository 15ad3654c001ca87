#include "phonebook/ReadRanges.h"

#include <algorithm>
#include <cstdint>

namespace phonebook {

namespace {

struct Span {
    std::int64_t first;
    std::int64_t last;
};

// Appends the parts of [a, b] that no span in `covered` holds, in ascending order.
void AddUncovered(std::int64_t a, std::int64_t b, int step, std::vector<Span>& covered,
                  std::vector<ReadRange>& out) {
    std::sort(covered.begin(), covered.end(),
              [](const Span& x, const Span& y) { return x.first < y.first; });
    std::vector<Span> pieces;
    std::int64_t from = a;
    for (const Span& s : covered) {
        if (from > b) {
            break;
        }
        if (s.last < from || s.first > b) {
            continue;
        }
        if (s.first > from) {
            pieces.push_back({from, s.first - 1});
        }
        from = std::max(from, s.last + 1);
    }
    if (from <= b) {
        pieces.push_back({from, b});
    }
    for (const Span& p : pieces) {
        out.push_back({static_cast<int>(p.first), static_cast<int>(p.last), step});
        covered.push_back(p);
    }
}

}  // namespace

std::vector<ReadRange> PlanReadRanges(int first, int last) {
    std::vector<ReadRange> out;
    if (first > last) {
        return out;
    }
    // 64-bit so that ranges near INT_MAX cannot overflow.
    const std::int64_t lo = first;
    const std::int64_t hi = last;
    std::vector<Span> covered;
    auto add = [&](std::int64_t a, std::int64_t b, int step) {
        a = std::max(a, lo);
        b = std::min(b, hi);
        if (a <= b) {
            AddUncovered(a, b, step, covered, out);
        }
    };
    for (std::int64_t start = lo; start < lo + 75; start += 25) {
        add(start, start + 24, 1);
    }
    for (std::int64_t start = hi - 74; start < hi; start += 25) {
        add(start, start + 24, 2);
    }
    add(lo + 75, hi - 75, 3);
    return out;
}

}  // namespace phonebook
