// Chord arrangement and the stem directions of single notes, written into the staff's records.
#include "render/arrange_notes.h"

#include <algorithm>

#include "render/page_pass.h"
#include "score/score_document.h"

namespace notavera {
namespace {

// word0 bits of ties and beams.
constexpr unsigned TieCarried = 1;
constexpr unsigned TieStart = 2;
constexpr unsigned TieEnd = 3;

bool Word0Bit(const ElementRecord& e, unsigned bit) { return (e.word0 >> bit) & 1u; }
void SetWord0Bit(ElementRecord& e, unsigned bit, bool on) {
    e.word0 = on ? (e.word0 | (1u << bit)) : (e.word0 & ~(1u << bit));
}

// Puts the run's elements in the order of `indices` (each index of the run exactly once).
void Reorder(StaffRecord& staff, ChordRun run, const std::vector<int>& indices) {
    std::vector<ElementRecord> moved;
    moved.reserve(indices.size());
    for (int i : indices) moved.push_back(std::move(staff.elements[static_cast<std::size_t>(i)]));
    for (std::size_t k = 0; k < moved.size(); ++k)
        staff.elements[static_cast<std::size_t>(run.first) + k] = std::move(moved[k]);
}

void GatherTies(std::vector<ElementRecord*>& walk) {
    ElementRecord& root = *walk.front();
    ElementRecord& tip = *walk.back();
    const bool anyStart = std::any_of(walk.begin(), walk.end(), [](auto* e) { return Word0Bit(*e, TieStart); });
    const bool anyEnd = std::any_of(walk.begin(), walk.end(), [](auto* e) { return Word0Bit(*e, TieEnd); });
    if (!anyStart && !anyEnd) return;
    for (ElementRecord* e : walk) {
        for (unsigned bit : {TieCarried, TieStart, TieEnd}) SetWord0Bit(*e, bit, false);
    }
    // A chord both ending and starting a tie carries both on its stem member.
    ElementRecord& starter = anyEnd ? tip : root;
    if (anyStart) {
        SetWord0Bit(starter, TieStart, true);
        SetWord0Bit(starter, TieCarried, true);
    }
    if (anyEnd) {
        SetWord0Bit(tip, TieEnd, true);
        SetWord0Bit(tip, TieCarried, true);
    }
}

void GatherBeams(std::vector<ElementRecord*>& walk, const ElementRecord& lowest, const ElementRecord& highest) {
    if (walk.size() > 1 && lowest.w0().opensBeam() && highest.w0().closesBeam()) {
        for (ElementRecord* e : walk) {
            e->w0().setInBeam(false);
            e->w0().setOpensBeam(false);
            e->w0().setClosesBeam(false);
        }
        return;
    }
    const bool opens = std::any_of(walk.begin(), walk.end(), [](auto* e) { return e->w0().opensBeam(); });
    const bool closes = std::any_of(walk.begin(), walk.end(), [](auto* e) { return e->w0().closesBeam(); });
    for (ElementRecord* e : walk) {
        if (opens) e->w0().setOpensBeam(false);
        if (closes) e->w0().setClosesBeam(false);
    }
    if (opens) {
        walk.front()->w0().setInBeam(true);
        walk.front()->w0().setOpensBeam(true);
    }
    if (closes) {
        walk.back()->w0().setInBeam(true);
        walk.back()->w0().setClosesBeam(true);
    }
}

// A group mark (tuplet start 1, end 2) moves with its fraction to the root or the stem member. The members it left
// keep their own proportion, which their durations are played with.
void GatherGroupMarks(std::vector<ElementRecord*>& walk) {
    for (unsigned mark : {1u, 2u}) {
        ElementRecord* holder = nullptr;
        for (ElementRecord* e : walk) {
            if (e->w0().groupMark() == mark) {
                holder = e;
                e->w0().setGroupMark(0);
            }
        }
        if (holder == nullptr) continue;
        ElementRecord& target = mark == 1 ? *walk.front() : *walk.back();
        target.w0().setGroupMark(mark);
        target.w1().setNumerator(holder->w1().numerator());
        target.w1().setDenominator(holder->w1().denominator());
    }
}

void WriteMemberBits(std::vector<ElementRecord*>& walk, const std::vector<bool>& moved, bool stemUp) {
    const auto root = walk.front()->noteWord();
    const bool articulation = root.staccato(), otherSide = root.staccatoOtherSide();
    const bool gathered = std::any_of(walk.begin(), walk.end(),
                                      [](auto* e) { return e->noteWord().bit(note_bits::GatheredFlag); });
    for (std::size_t k = 0; k < walk.size(); ++k) {
        auto n = walk[k]->noteWord();
        n.setBit(note_bits::StemMember, k + 1 == walk.size());
        n.setBit(note_bits::OtherSide, moved[k]);
        n.setBit(note_bits::ChordStemUp, stemUp);
        n.setStaccato(articulation);
        n.setStaccatoOtherSide(otherSide);
        n.setBit(note_bits::GatheredFlag, gathered && k + 1 == walk.size());
    }
}

}  // namespace

ChordRun ArrangeChord(const DrawingContext& dc, StaffRecord& staff, ChordRun run) {
    const auto layout = LayOutChord(dc, staff, run);
    if (!layout) return run;

    // Members that are not drawn keep their order in front of the chord, so that the stem member stays last.
    std::vector<int> order;
    for (int i = run.first; i <= run.last; ++i) {
        const bool inWalk = std::any_of(layout->walk.begin(), layout->walk.end(),
                                        [i](const ChordMember& m) { return m.index == i; });
        if (!inWalk) order.push_back(i);
    }
    const std::size_t hiddenCount = order.size();
    std::vector<bool> moved;
    for (const ChordMember& m : layout->walk) {
        order.push_back(m.index);
        moved.push_back(m.moved);
    }
    const bool up = layout->stemUp;
    Reorder(staff, run, order);

    std::vector<ElementRecord*> walk;
    for (std::size_t k = hiddenCount; k < order.size(); ++k)
        walk.push_back(&staff.elements[static_cast<std::size_t>(run.first) + k]);
    for (std::size_t k = 0; k < hiddenCount; ++k)
        staff.elements[static_cast<std::size_t>(run.first) + k].noteWord().setBit(note_bits::StemMember, false);

    const ElementRecord& lowest = up ? *walk.front() : *walk.back();
    const ElementRecord& highest = up ? *walk.back() : *walk.front();
    GatherBeams(walk, lowest, highest);
    GatherTies(walk);
    GatherGroupMarks(walk);
    WriteMemberBits(walk, moved, up);
    return run;
}

int ArrangeNotes(const DrawingContext& dc, StaffRecord& staff) {
    int chords = 0;
    for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isNote()) continue;
        if (IsChordMember(e)) {
            i = ArrangeChord(dc, staff, FindChordRun(staff, i)).last;
            ++chords;
            continue;
        }
        if (!e.noteWord().stemAutomatic()) continue;
        if (const auto place = PlaceOfElement(dc, staff, e))
            e.noteWord().setStemFlag(SingleStemUp(dc, *place, e, PitchHeight(dc, *place, e)));
    }
    return chords;
}

int ArrangeNotesOfPage(ScoreDocument& doc, std::optional<int> staff) {
    PageRecord* page = doc.page();
    if (!page) return 0;
    DrawingContext dc;
    dc.canvas = nullptr;  // the pass only places the staves and reads their clefs
    DrawPage(dc, doc);
    int chords = 0;
    for (int s = 0; s < static_cast<int>(page->staves.size()); ++s)
        if (!staff || *staff == s) chords += ArrangeNotes(dc, page->staves[static_cast<std::size_t>(s)]);
    return chords;
}

}  // namespace notavera
