// Re-placing, snapping, the octave of the clef in force and the attributes taken from the element at the cursor.
#include "shell/cursor_rules.h"

#include <algorithm>
#include <cstdlib>

#include "shell/cross_staff.h"
#include "shell/editor_context.h"
#include "shell/palette_commands.h"

namespace notavera {
namespace {

int Count(const StaffRecord& staff) { return static_cast<int>(staff.elements.size()); }
int XOf(const StaffRecord& staff, int i) { return staff.elements[static_cast<std::size_t>(i)].x; }

// Rule A: the last element when x is at or beyond it, otherwise the first element at or after x.
int IndexAtOrAfter(const StaffRecord& staff, int x) {
    const int n = Count(staff);
    if (x >= XOf(staff, n - 1)) return n - 1;
    for (int i = 0; i < n; ++i)
        if (XOf(staff, i) >= x) return i;
    return n - 1;
}

bool IsClef(const ElementRecord& e) { return e.isSignOfType(SignType::Clef); }

void SwitchOn(InsertionState& in, unsigned bit, bool on) {
    if (on) in.switches |= bit;
    else in.switches &= ~bit;
}

void FollowNoteOrRest(EditorContext& ctx, const ElementRecord& e) {
    InsertionState& in = ctx.doc.insertion;
    const auto word = e.noteWord();
    const unsigned code = word.durationCode();
    in.durationCode = code == word.multiBarRestCode ? 2 : code;
    SetNoteFormFlags(ctx, (word.bit(14) ? noteFormA : 0) | (word.bit(13) ? noteFormB : 0));
    SwitchOn(in, SwitchC, word.bit(18));
    SwitchOn(in, SwitchT, word.bit(15));
    if (word.bit(5)) in.noteWordFlags |= 1u << 5;
    else in.noteWordFlags &= ~(1u << 5);
    const unsigned num = e.w1().numerator(), den = e.w1().denominator();
    // A proportion of 1:1 (or a damaged zero) says nothing about the rhythmic group; the fraction stays.
    if (num != den && num != 0 && den != 0) {
        in.switches |= SwitchGroup;
        ctx.shell.input.groupNum = num;
        ctx.shell.input.groupDen = den;
    }
}

}  // namespace

int ReplaceOnStaff(ScoreDocument& doc, Replace rule, int x, int staffStart) {
    const StaffRecord* staff = doc.staff();
    if (staff == nullptr || staff->elements.empty()) {
        doc.currentElement = -1;
        // The first note of an empty staff stands where a new score's first note does, level with the staves
        // above it, and clear of the clef the layout puts before it.
        return std::max(staffStart, doc.defaultFirstX);
    }
    const int n = Count(*staff);
    doc.currentElement = rule == Replace::Last ? n - 1 : rule == Replace::First ? 0 : IndexAtOrAfter(*staff, x);
    return XOf(*staff, doc.currentElement);
}

void SnapToElement(ScoreDocument& doc, int& x, bool replace) {
    const StaffRecord* staff = doc.staff();
    if (staff == nullptr || staff->elements.empty()) {
        doc.currentElement = -1;
        return;
    }
    const int n = Count(*staff);
    int& cur = doc.currentElement;
    if (replace || cur < 0 || cur >= n) cur = IndexAtOrAfter(*staff, x);
    const bool beyondNext = cur + 1 < n && x > XOf(*staff, cur + 1);
    const bool beforePrevious = cur > 0 && x < XOf(*staff, cur - 1);
    if (beyondNext || beforePrevious) cur = IndexAtOrAfter(*staff, x);
    const int here = XOf(*staff, cur);
    if (std::abs(x - here) <= snapTolerance) {
        x = here;
    } else if (x > here && cur + 1 < n) {
        if (std::abs(x - XOf(*staff, cur + 1)) <= snapTolerance) x = XOf(*staff, ++cur);
    } else if (x < here && cur > 0 && std::abs(x - XOf(*staff, cur - 1)) <= snapTolerance) {
        x = XOf(*staff, --cur);
    }
}

int OctaveFromClef(const StaffRecord& staff, int element) {
    const int n = Count(staff);
    int found = -1;
    for (int i = std::min(element, n - 1); i >= 0 && found < 0; --i)
        if (IsClef(staff.elements[static_cast<std::size_t>(i)])) found = i;
    for (int i = std::max(element, 0); i < n && found < 0; ++i)
        if (IsClef(staff.elements[static_cast<std::size_t>(i)])) found = i;
    if (found < 0) return 0;
    switch (staff.elements[static_cast<std::size_t>(found)].signWord().code()) {
    case 3: case 4: case 8: case 9: case 10: case 11: return -1;
    default: return 0;
    }
}

void SetOctaveOffset(ScoreDocument& doc, int offset) { doc.insertion.octave = static_cast<unsigned>(4 + offset); }

int OctaveOffset(const ScoreDocument& doc) { return static_cast<int>(doc.insertion.octave) - 4; }

void FollowElement(EditorContext& ctx) {
    const ElementRecord* e = ctx.doc.element();
    if (e == nullptr) return;
    if (e->isSign()) {
        if (IsClef(*e)) {
            // The G octave clef (9) keeps octave 0 here, as entering under it expects.
            const unsigned clef = e->signWord().code();
            const bool low = clef == 3 || clef == 4 || clef == 8 || clef == 10 || clef == 11;
            SetOctaveOffset(ctx.doc, low ? -1 : 0);
        }
    } else {
        FollowNoteOrRest(ctx, *e);
    }
    SwitchOn(ctx.doc.insertion, SwitchM, (e->word0 >> 11) & 1u);
    SwitchOn(ctx.doc.insertion, SwitchL, (e->word0 >> 16) & 1u);
    // An element entered at a neighbour's place brings the staff there again, and one at its own place back; the
    // unused value 3 counts as its own place.
    const int stored = static_cast<int>(e->w0().crossStaff());
    const int placement = stored > PlaceBelow ? PlaceOwn : stored;
    if (placement != PlacementInForce(ctx.doc)) PlaceStaff(ctx, placement);
}

}  // namespace notavera
