// Beam groups: which notes of a staff one beam joins, the direction their stems share, and the beams' geometry —
// the fitted slope within the page format's limits, stems lengthened to meet the beam, one beam per level with
// partial beams where the values change — and the drawing of a group once its last note is drawn.
#pragma once

#include <optional>
#include <vector>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// A beam group in a staff's list: from its opening note to its last note, inclusive.
struct BeamGroupRange {
    int first = 0;
    int last = 0;
};

// The beam group holding element `index` (a note or rest carrying the beam-group flag), nullopt for any other
// element. A group runs from its opening note to its closing note; a group left open ends at its last flagged
// note, so that its notes are never left without stems.
std::optional<BeamGroupRange> FindBeamGroup(const StaffRecord& staff, int index);

// The stem direction of a group (true: up). A note of the group with a fixed direction decides for all; otherwise
// the head farthest from the middle line decides, then the average height, and a group balanced on the middle line
// points down.
bool BeamGroupStemUp(const DrawingContext& dc, const StaffRecord& staff, BeamGroupRange range);

// The direction of the group holding element `index`; nullopt outside a beam group.
std::optional<bool> BeamGroupStemUpAt(const DrawingContext& dc, const StaffRecord& staff, int index);

// One stem of a group: a single note, or the stem of a chord from its root to its stem member.
struct BeamedStem {
    int index = 0;   // the element that carries the stem (a chord's stem member)
    int x = 0;       // the stroke's centre
    int from = 0;    // where it leaves the head farthest from the beam
    int to = 0;      // the beam's outer edge above or below x
    int tipY = 0;    // the head nearest the beam
    int levels = 1;  // beams the note's value takes: 1 for an eighth, 2 for a sixteenth …
};

// One beam: a parallelogram from (x1, y1) to (x2, y2), `thickness` towards the heads (negative for up stems).
struct BeamSegment {
    int level = 1;  // 1 the primary beam, the outermost
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int thickness = 0;
};

struct BeamLayout {
    bool up = true;
    double slope = 0;  // page units of height per page unit of width
    int originX = 0;   // the primary beam's outer edge passes through (originX, originY)
    double originY = 0;
    int thickness = 0;
    int gap = 0;
    std::vector<BeamedStem> stems;
    std::vector<BeamSegment> beams;

    // The height of the primary beam's outer edge above x.
    double outerEdgeAt(int x) const;
};

// The geometry of a group with at least one note from the eighth on; the notes shorter than an eighth are its
// stems, in order. Nullopt when no such note of the group is drawn.
//  - Direction: BeamGroupStemUp.
//  - Slope: the least-squares line through the points "Hauteur moyenne" beyond each stem's tip head (the
//    primary beam's inner edge, a level further for each level beyond the second); a slope under the minimum is
//    levelled and one over the maximum clamped; the opening note's stored correction is added.
//  - The line then moves outwards until every stem keeps two spaces of clear stem below its innermost beam and,
//    with automatic stems, until every stem reaches the middle line.
//  - Beams: the primary beam joins all stems; a beam of level k joins each run of neighbours that both take it;
//    a note alone on its level takes a partial beam a head wide (at most half way to its neighbour), towards the
//    next note at the group's start, towards the previous one at its end, and inside the group towards the note it
//    completes the beat with (a sixteenth after a dotted eighth points back to it).
//  - Thickness and gap: the font's engraving defaults for a staff space, scaled by "Barres valeur" and "Blancs
//    barre valeur" from their defaults; cue notes take the cue ratio.
// The context's drawing state is left as it was found.
std::optional<BeamLayout> LayOutBeamGroup(DrawingContext& dc, const StaffRecord& staff, BeamGroupRange range);

// Called after element `index` of a staff was drawn: when it is the last drawn note or rest of its beam group,
// draws the group's stems and beams (a group with one note from the eighth on gives it its own stem and flags).
void DrawBeamGroupEndingAt(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
