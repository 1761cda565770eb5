// Changing one property of every element of a region: the walk over the staves between two ends (or within a
// marked rectangle) and the change each region command or attribute makes to the element words.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "score/records.h"

namespace notavera {

// One end of a region: an element of a staff of the page (an element below 0 stands before the staff's first).
struct RegionEnd {
    int staff = 0;
    int element = 0;
    friend auto operator<=>(const RegionEnd&, const RegionEnd&) = default;
};

// The horizontal limits of a marked rectangle, both inclusive.
struct RegionXRange {
    int left = 0;
    int right = 0;
};

// The two ends in either order, and the rectangle's sides when the region was marked as one.
struct RegionBounds {
    RegionEnd a;
    RegionEnd b;
    std::optional<RegionXRange> xRange;
};

// The elements first..last (inclusive) of one staff of the page.
struct RegionSpan {
    int staff = 0;
    int first = 0;
    int last = -1;
};

// The region staff by staff, top down: from the earlier end's element to the end of its staff, the staves
// between whole, the later end's staff up to its element (the page's last staff ends it). Within a rectangle each
// staff keeps only the elements whose x lies between its sides; a staff left without any is not listed.
std::vector<RegionSpan> RegionSpans(const PageRecord& page, const RegionBounds& bounds);

// Calls `operation` for each staff span of the region; returns how many spans it was called for.
int ApplyToRegion(PageRecord& page, const RegionBounds& bounds,
                  const std::function<void(StaffRecord&, const RegionSpan&)>& operation);

// The region attribute ids: the attribute characters and palette buttons that change a region, and the menu
// commands of the same number.
namespace region_id {
inline constexpr int CueSize = 25;
inline constexpr int ChordAttribute = 27;
inline constexpr int Staccato = 29;
inline constexpr int StemAutomatic = 38;
inline constexpr int StemUp = 39;
inline constexpr int StemDown = 40;
inline constexpr int Duration = 41;
inline constexpr int Placement = 46;
inline constexpr int HideAccidentals = 494;
inline constexpr int FlipStaccatos = 495;
inline constexpr int FlipGroupMarks = 496;
inline constexpr int HideRests = 676;
inline constexpr int HideDots = 677;
inline constexpr int RevealAccidentals = 678;
inline constexpr int RevealRests = 679;
inline constexpr int RevealDots = 680;
}  // namespace region_id

// What some ids take from the insertion attributes rather than from their value.
struct AttributeSource {
    std::uint32_t noteWordFlags = 0;  // the stem flags (bits 13, 14) and the flag kept with the C attribute (16)
    unsigned accentType = 0;         // the staccato kind
};

// One region attribute over span.first..span.last of the staff: `value` is 1 for the switching-on form and 0 for
// the switching-off one, the duration code for Duration and the staff placement for Placement. Another id changes
// nothing.
void RegionAttribute(StaffRecord& staff, const RegionSpan& span, int id, unsigned value,
                     const AttributeSource& source = {});

// Every note of the span (not rests, not signs) takes the head shape.
void SetHeadShapes(StaffRecord& staff, const RegionSpan& span, unsigned shape);

// Element i leaves its beam group; the group closes on the member before it and opens again on the one after it.
void LeaveBeamGroup(std::vector<ElementRecord>& els, std::size_t i);

}  // namespace notavera
