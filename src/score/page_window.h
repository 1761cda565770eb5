// The memory window of pages: how many pages are kept before the current one, which pages the
// window holds after opening and after going to another page.
#pragma once

#include <cstdint>

namespace notavera {

// Bytes of page records kept in memory at most, and pages kept before the current one at most.
inline constexpr std::uint64_t pageCacheBudget = 130400;
inline constexpr int maxKeptBefore = 5;

struct PageRange {
    int first = 0;
    int last = 0;
    friend bool operator==(const PageRange&, const PageRange&) = default;
};

// W for the largest page length: min(5, budget ÷ length − 1), 0 for pages of the budget's size or more.
int KeptBeforeFor(std::uint64_t largestPageLength);

// The window after opening: the current page and the W pages before it (from page 1 at least).
PageRange OpeningWindow(int current, int keptBefore);

// The window around page t: [t − W÷2, t − W÷2 + W], shifted down to end at the last page, or
// [1, min(W + 1, page count)] when it would start before page 1.
PageRange SlidWindow(int target, int keptBefore, int pageCount);

}  // namespace notavera
