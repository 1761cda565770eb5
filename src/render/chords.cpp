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

// The accidentals in the engravers' order: the highest nearest the heads, then the lowest, then the second highest,
// the second lowest, and so on inwards. Each goes as near the heads as it can without its ink meeting a head at its
// height or an accidental already placed, so that accidentals far enough apart share a column.
void PlaceAccidentals(const DrawingContext& dc, const StaffRecord& staff, ChordLayout& chord) {
    struct Ink {
        int left, right, bottom, top;
        bool meetsHeight(const Ink& o) const { return bottom < o.top && o.bottom < top; }
    };
    std::vector<Ink> heads;
    std::vector<ChordMember*> marked;
    for (ChordMember& m : chord.walk) {
        const NoteLayout& n = m.layout;
        const HeadSpan span = HeadExtent(dc, n);
        const int half = dc.metrics.halfSpace[n.place.size];
        heads.push_back({span.left, span.right, n.y - half, n.y + half});
        if (HasDrawnAccidental(ElementAt(staff, m.index))) marked.push_back(&m);
    }
    std::stable_sort(marked.begin(), marked.end(),
                     [](const ChordMember* a, const ChordMember* b) { return a->layout.y > b->layout.y; });
    std::vector<Ink> placed;
    for (std::size_t k = 0, hi = 0, lo = marked.size(); k < marked.size(); ++k) {
        NoteLayout& n = (k % 2 == 0 ? marked[hi++] : marked[--lo])->layout;
        const int size = n.place.size;
        const bool cue = n.element->w0().cueSize();
        const int kind = static_cast<int>(n.element->noteWord().accidental());
        const InkBox box = AccidentalInk(dc, kind, size, cue);
        const int clearance = AccidentalClearance(dc, size, cue), between = clearance / 2;
        Ink ink{0, 0, n.y + box.bottom, n.y + box.top};
        int right = n.x;
        for (const Ink& head : heads) {
            if (head.meetsHeight(ink)) right = std::min(right, head.left - clearance);
        }
        int x = right - box.right;
        for (bool moved = true; moved;) {
            moved = false;
            for (const Ink& other : placed) {
                const bool side = x + box.left < other.right + between && x + box.right + between > other.left;
                if (side && other.meetsHeight(ink)) {
                    x = other.left - between - box.right;
                    moved = true;
                }
            }
        }
        ink.left = x + box.left;
        ink.right = x + box.right;
        placed.push_back(ink);
        n.accidentalX = x;
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
    PlaceAccidentals(dc, staff, chord);
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
