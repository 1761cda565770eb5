// The groupings drawn at the left edge of a page: the line joining the staves of each system, and the brace or
// the bracket of each block of staves.
#pragma once

#include <span>
#include <vector>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// Staves first..last (indices on the page) joined by one grouping.
struct StaffGroup {
    int first = 0;
    int last = 0;
    friend bool operator==(const StaffGroup&, const StaffGroup&) = default;
};

// The groups a column of grouping marks describes: 1 opens a group, 2 closes it, 3 is a group of one staff, 0 is
// inside a group. A group still open when another opens, or when the page ends, closes on the staff before. A
// staff outside every group is a group of its own when `loneStaffIsGroup`, otherwise in none.
std::vector<StaffGroup> FindStaffGroups(std::span<const unsigned> marks, bool loneStaffIsGroup);

// The systems and the blocks of the first `count` staves of a page.
std::vector<StaffGroup> SystemsOfPage(const PageRecord& page, int count);
std::vector<StaffGroup> BlocksOfPage(const PageRecord& page, int count);

// The outline of a brace whose tips touch x = right, from `top` down to `bottom`, for a staff space `space`: a
// closed polygon in page units.
std::vector<Point> BraceOutline(int right, int top, int bottom, int space);

// Draws the groupings of staves [0, count) of the page, placed by dc.staves: the joining line of every system
// of more than one staff at its left edge, and to its left the brace or bracket of every block. Invisible
// staves do not stretch a grouping.
void DrawStaffGroupings(DrawingContext& dc, const PageRecord& page, int count);

}  // namespace notavera
