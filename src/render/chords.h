// Chords: runs of note elements at one x carrying the chord-member flag. Each time a chord is drawn its members are
// ordered, the shared stem's direction decided, seconds moved to the other side of the stem, the member that carries
// the stem chosen and the accidentals put in columns (ArrangeNotes writes that layout back into the staff).
#pragma once

#include <optional>
#include <vector>

#include "render/note_drawer.h"

namespace notavera {

// A run of chord members in a staff's list, first..last inclusive.
struct ChordRun {
    int first = 0;
    int last = 0;
};

bool IsChordMember(const ElementRecord& e);

// The run holding member `index`: the members next to it at its x. A member marked as a chord's stem member ends
// its run, so that two chords at one x stay apart. Any number of members make one chord.
ChordRun FindChordRun(const StaffRecord& staff, int index);
// Whether the element after member `index` belongs to its run.
bool RunContinuesAfter(const StaffRecord& staff, int index);

// Whether the pass draws element e (a hidden element only while hidden elements are shown).
bool IsDrawn(const DrawingContext& dc, const ElementRecord& e);

struct ChordMember {
    int index = 0;  // in the staff's list
    NoteLayout layout;
    bool moved = false;  // the head sits on the other side of the stem
};

struct ChordLayout {
    std::vector<ChordMember> walk;  // from the root (where the stem starts) to the stem member (which ends it)
    bool stemUp = true;
    bool inBeam = false;  // stems and flags are left to the beam drawer

    const ChordMember& root() const { return walk.front(); }
    const ChordMember& stemMember() const { return walk.back(); }
};

// The layout of the run's drawn members; nullopt when none of them is drawn.
//  - Order: members placed on the staff below first, then those on their own staff, then those on the staff above;
//    lowest first within each.
//  - Stem: a chord placed on a neighbour staff with automatic stems points towards its own staff; otherwise with
//    automatic stems it points up when the members' average height lies below the middle line, down when on it or
//    above; otherwise the stem-up flag decides. The walk runs from the lowest member for an up stem, from the
//    highest for a down stem.
//  - Seconds: a member half a space from the previous one of the walk moves to the other side, unless that one
//    moved: a cluster alternates sides.
//  - Accidentals go in columns leftwards from the heads; a column restarts five half spaces away from the column's
//    first accidental or from the previous one.
std::optional<ChordLayout> LayOutChord(const DrawingContext& dc, const StaffRecord& staff, ChordRun run);

// Draws a laid-out chord: every member's ledger lines, head, accidental and dots, then the stem and flags from the
// root to the stem member, and the root's articulation once.
void DrawChord(DrawingContext& dc, const StaffRecord& staff, const ChordLayout& chord);

}  // namespace notavera
