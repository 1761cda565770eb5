// Where the lines of an imported piece may end, and the notes and rests that a line end cuts in two.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "guido/gmn_rational.h"

namespace notavera {

struct ElementRecord;
struct StaffRecord;

// A note or rest as the import wrote it: its time in whole notes from the start of its sequence, the x it was written
// at, and what tells it from the other notes of its chord.
struct GmnPieceSpan {
    GmnRational start;
    GmnRational end;
    int x = 0;
    bool rest = false;
    unsigned step = 0;
    unsigned octave = 0;
    unsigned code = 0;
    unsigned dots = 0;

    static GmnPieceSpan Of(const ElementRecord& e, const GmnRational& start, const GmnRational& end);
    bool Is(const ElementRecord& e) const;
};

// What the reading knows of one sequence: the staff number (from 1) it belongs to, the times of its bar lines, its
// notes and rests (grace notes take no time and are left out), and where it ends.
struct GmnSequenceTimes {
    int staff = 0;
    std::vector<GmnRational> bars;
    std::vector<GmnPieceSpan> pieces;
    std::vector<std::pair<GmnRational, bool>> breaks;  // where it asks for a new system, or a new page (true)
    GmnRational end;  // where its last note or rest ends
    std::string instrument;  // the name \\instr gives it, in the documents' code page
    std::optional<std::pair<int, int>> brace;  // the first and last staff numbers a brace of its \\accol joins
};

// The times the lines may end at: the bar ends that every sequence still playing has. A sequence without bar lines
// lets a line end anywhere its notes and rests can be cut exactly (`GmnCutPiecesAt`).
std::vector<GmnRational> GmnCutTimes(const std::vector<GmnSequenceTimes>& sequences);

// The times strictly between `from` and `to` at which some sequence begins a note or rest and every sequence can be
// cut exactly, inside its rests only unless `cuttingNotes`: where the lines may end within a bar longer than a line.
std::vector<GmnRational> GmnTimesWithin(const std::vector<GmnSequenceTimes>& sequences, const GmnRational& from,
                                        const GmnRational& to, bool cuttingNotes);

// Those of the times `ends` (in increasing order) at which a line ending cuts a note or rest of the sequence. Each
// note or rest is looked up once among the ends, so that a long piece of many lines is not read line by line.
std::vector<GmnRational> GmnEndsCuttingPieces(const GmnSequenceTimes& times, const std::vector<GmnRational>& ends);

// A line that ends at `t` inside notes or rests of the staff writes each as its part up to `t` and its part from `t`,
// in the values their lengths take; the parts of a note are tied. The elements keep their order by x.
void GmnCutPiecesAt(StaffRecord& staff, GmnSequenceTimes& times, const GmnRational& t, int stepUnit);

// The index of the first element of `staff` that belongs after time `t`: everything written before the first note or
// rest at `t` or later and the grace notes before it (the bar line that ends the bar stays before the cut, and so
// does a change of clef, which the layout sets before its bar line).
std::size_t GmnCutIndex(const StaffRecord& staff, const GmnSequenceTimes& times, const GmnRational& t);

// `GmnCutIndex` at each of `times` at once, for a long piece: the pieces are ordered by time once, and the
// elements walked once while the times ascend.
std::vector<std::size_t> GmnCutIndices(const StaffRecord& staff, const GmnSequenceTimes& times,
                                       const std::vector<GmnRational>& at);

}  // namespace notavera
