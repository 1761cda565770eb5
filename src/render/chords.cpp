// Chord layout, drawing and arrangement.
#include "render/chords.h"

#include <algorithm>
#include <cstdlib>
#include <set>

#include "render/beams.h"
#include "render/note_marks.h"

namespace notavera {
namespace {

// Staff placements ordered from the staff below to the staff above.
int PlacementRank(const ElementRecord& e) {
    switch (e.w0().crossStaff()) {
    case 2: return 0;
    case 1: return 2;
    default: return 1;
    }
}

struct Collected {
    int index = 0;
    StaffPlace place;
    int y = 0;
    int rank = 1;
};

std::vector<Collected> CollectMembers(const DrawingContext& dc, const StaffRecord& staff, ChordRun run) {
    std::vector<Collected> members;
    for (int i = run.first; i <= run.last; ++i) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!IsDrawn(dc, e)) continue;
        const auto place = PlaceOfElement(dc, staff, e);
        if (!place) continue;
        members.push_back({i, *place, PitchHeight(dc, *place, e), PlacementRank(e)});
    }
    std::stable_sort(members.begin(), members.end(), [](const Collected& a, const Collected& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.y < b.y;
    });
    return members;
}

// The stem direction of a chord by its own rule; a beamed chord with automatic stems takes its group's instead.
bool ChordStemUp(const DrawingContext& dc, const std::vector<Collected>& sorted, const ElementRecord& first,
                 const StaffPlace& firstPlace) {
    const auto n = first.noteWord();
    const unsigned placement = first.w0().crossStaff();
    if (n.stemAutomatic() && placement != 0) return placement == 2;
    if (n.stemAutomatic()) {
        long long sum = 0;
        for (const Collected& c : sorted) sum += c.y;
        return sum < static_cast<long long>(firstPlace.middleLine(dc.metrics)) * static_cast<long long>(sorted.size());
    }
    return n.stemFlag();
}

const ElementRecord& ElementAt(const StaffRecord& staff, int index) {
    return staff.elements[static_cast<std::size_t>(index)];
}

bool HasDrawnAccidental(const ElementRecord& e) {
    const auto n = e.noteWord();
    return n.accidental() != Accidental::None && !n.hiddenAccidental();
}

// The accidental columns, for the members in walk order.
void PlaceAccidentals(const DrawingContext& dc, const StaffRecord& staff, ChordLayout& chord, int chordX, int size,
                      int cue) {
    const int gap = AccidentalClearance(dc, size, cue == 1);
    const int s = dc.widths.accidentalWidth[size][cue] + gap / 2;
    const int h = dc.widths.noteheadHalfWidth[size][cue];
    const int half = dc.metrics.halfSpace[size];
    const bool down = !chord.stemUp;
    const int count = static_cast<int>(chord.walk.size());
    int o = s, c = 0, p = 0;
    for (int k = 0; k < count; ++k) {
        ChordMember& m = chord.walk[static_cast<std::size_t>(k)];
        if (!HasDrawnAccidental(ElementAt(staff, m.index))) continue;
        const int y = m.layout.y;
        if (o == s) {
            c = y;
        } else {
            bool restarted = false;
            if (!(down && m.moved) && std::abs(y - c) >= 5 * half) {
                o = s;
                c = y;
                restarted = true;
            }
            if (!restarted && std::abs(y - p) >= 5 * half) {
                o = s;
                c = y;
            }
        }
        if (down && o == s) {
            // The first column of a down-stemmed chord clears the heads moved to the left.
            const ChordMember* pred = k > 0 ? &chord.walk[static_cast<std::size_t>(k - 1)] : nullptr;
            const ChordMember* next = k + 1 < count ? &chord.walk[static_cast<std::size_t>(k + 1)] : nullptr;
            const bool predMoved = pred != nullptr && k - 1 != 0 && pred->moved;
            const bool nextSecond = next != nullptr && std::abs(next->layout.y - y) == half;
            if (m.moved || predMoved || (k != count - 1 && nextSecond)) o += 2 * h;
        }
        // The first column keeps a single note's clearance from the heads.
        m.layout.accidentalX = chordX - (h + o) - (gap - gap / 2);
        o += s;
        p = y;
    }
}

// The dots of a chord stand in one column right of all its heads; two members a second apart put their dots in
// the two spaces around them.
void PlaceDots(const DrawingContext& dc, const StaffRecord& staff, ChordLayout& chord, int chordX) {
    const ChordMember& tip = chord.stemMember();
    const int value = tip.layout.value;
    const bool far = value <= 2 || (value >= 6 && chord.stemUp && !chord.inBeam);
    int movedRight = 0;  // how far the heads moved right of an up stem reach beyond the column
    for (const ChordMember& m : chord.walk) movedRight = std::max(movedRight, m.layout.headShift);
    // Heads moved right of an up stem already clear its flags.
    const int units = far && !(movedRight > 0 && value > 2) ? 7 : 5;
    const int x = chordX + units * dc.metrics.stepUnit / 2 + movedRight;

    std::vector<ChordMember*> highestFirst;
    for (ChordMember& m : chord.walk) highestFirst.push_back(&m);
    std::stable_sort(highestFirst.begin(), highestFirst.end(), [](const ChordMember* a, const ChordMember* b) {
        const int ra = a->layout.place.reference, rb = b->layout.place.reference;
        return ra != rb ? ra > rb : a->layout.y > b->layout.y;
    });
    std::set<std::pair<int, int>> taken;  // (staff, height)
    for (ChordMember* m : highestFirst) {
        if (ElementAt(staff, m->index).noteWord().dots() == 0) continue;
        const NoteLayout& n = m->layout;
        int y = DotHeight(dc, n.place, n.y);
        if (taken.contains({n.place.index, y}) && n.place.onLine(n.y, dc.metrics))
            y = n.y - dc.metrics.halfSpace[n.place.size];
        taken.insert({n.place.index, y});
        m->layout.dotsX = x;
        m->layout.dotsY = y;
    }
}

}  // namespace

bool IsChordMember(const ElementRecord& e) { return e.isNote() && e.noteWord().bit(note_bits::ChordMember); }

bool IsDrawn(const DrawingContext& dc, const ElementRecord& e) { return !e.w0().hidden() || dc.draw.showHidden; }

bool RunContinuesAfter(const StaffRecord& staff, int index) {
    const auto& els = staff.elements;
    if (index < 0 || index + 1 >= static_cast<int>(els.size())) return false;
    const ElementRecord& e = els[static_cast<std::size_t>(index)];
    const ElementRecord& next = els[static_cast<std::size_t>(index) + 1];
    return IsChordMember(e) && !e.noteWord().bit(note_bits::StemMember) && IsChordMember(next) && next.x == e.x;
}

ChordRun FindChordRun(const StaffRecord& staff, int index) {
    ChordRun run{index, index};
    while (RunContinuesAfter(staff, run.first - 1)) --run.first;
    while (RunContinuesAfter(staff, run.last)) ++run.last;
    return run;
}

std::optional<ChordLayout> LayOutChord(const DrawingContext& dc, const StaffRecord& staff, ChordRun run) {
    const std::vector<Collected> sorted = CollectMembers(dc, staff, run);
    if (sorted.empty()) return std::nullopt;
    // The chord-wide choices come from the first member of the list that is drawn.
    const Collected* first = &sorted.front();
    for (const Collected& c : sorted) {
        if (c.index < first->index) first = &c;
    }
    const ElementRecord& firstElement = ElementAt(staff, first->index);

    ChordLayout chord;
    const ElementRecord& lowest = ElementAt(staff, sorted.front().index);
    const ElementRecord& highest = ElementAt(staff, sorted.back().index);
    const bool aloneInGroup = sorted.size() > 1 && lowest.w0().opensBeam() && highest.w0().closesBeam();
    chord.inBeam = !aloneInGroup && std::any_of(sorted.begin(), sorted.end(), [&](const Collected& c) {
        return ElementAt(staff, c.index).w0().inBeam();
    });
    chord.stemUp = ChordStemUp(dc, sorted, firstElement, first->place);
    const auto group = chord.inBeam ? FindBeamGroup(staff, first->index) : std::nullopt;
    if (group && firstElement.noteWord().stemAutomatic() && firstElement.w0().crossStaff() == 0)
        chord.stemUp = BeamGroupStemUp(dc, staff, *group);

    std::vector<Collected> walk = sorted;
    if (!chord.stemUp) std::reverse(walk.begin(), walk.end());
    const ElementRecord& rootElement = ElementAt(staff, walk.front().index);
    const int chordX = rootElement.x + rootElement.shift;
    const int size = walk.front().place.size;
    const int cue = rootElement.w0().cueSize() ? 1 : 0;

    for (std::size_t k = 0; k < walk.size(); ++k) {
        const Collected& c = walk[k];
        const ElementRecord& e = ElementAt(staff, c.index);
        ChordMember m;
        m.index = c.index;
        if (k > 0) {
            const Collected& prev = walk[k - 1];
            m.moved = !chord.walk.back().moved && prev.rank == c.rank &&
                      std::abs(c.y - prev.y) == dc.metrics.halfSpace[c.place.size];
        }
        NoteLayout& n = m.layout;
        n.element = &e;
        n.place = c.place;
        n.value = DrawnNoteValue(e);
        n.x = chordX;
        n.y = c.y;
        n.stemUp = chord.stemUp;
        n.inBeam = chord.inBeam;
        if (m.moved) n.headShift = (chord.stemUp ? 1 : -1) * SecondShift(dc, c.place, e, n.value);
        chord.walk.push_back(m);
    }
    PlaceAccidentals(dc, staff, chord, chordX, size, cue);
    PlaceDots(dc, staff, chord, chordX);
    return chord;
}

void DrawChord(DrawingContext& dc, const StaffRecord& staff, const ChordLayout& chord) {
    for (const ChordMember& m : chord.walk) {
        const ElementSizeScope scope(dc, m.layout.place, m.layout.element->w0().cueSize());
        DrawNoteHeadAndMarks(dc, m.layout);
    }
    const NoteLayout& tip = chord.stemMember().layout;
    const NoteLayout& root = chord.root().layout;
    const ElementSizeScope scope(dc, tip.place, tip.element->w0().cueSize());
    const Stem stem = NoteStem(dc, tip, root);
    if (DrawsOwnStem(tip)) DrawStemAndFlags(dc, tip, stem);
    DrawNoteArticulation(dc, ElementAt(staff, chord.root().index), root, stem);
}

}  // namespace notavera
