// The pitch of a clicked point and the double click's tool rules.
#include "shell/tool_application.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "edit/enter_key.h"
#include "render/curve_signs.h"
#include "score/clef_values.h"
#include "score/element_creation.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/insertion_characters.h"

namespace notavera {

namespace {

constexpr int stepsBeyondStaff = 8;
constexpr int topLineHalves = -8;      // a five-line staff's top line, in half-spaces from the reference height
constexpr int bottomLineHalves = -16;  // its bottom line
constexpr int pitchBase = 44;          // PitchToOffset's −17 and octave 4, folded so that C of octave 0 is 0
constexpr int maxOctave = 7;
constexpr unsigned chordBit = 18;
constexpr unsigned maxHeadShape = 6;

bool DotTool(int tool) { return tool == '.' || tool == ':'; }

// The note at the cursor x that the click's height names; the first note there when none has that pitch.
int ClickedNote(EditorContext& ctx, unsigned name) {
    const StaffRecord* staff = ctx.doc.staff();
    if (staff == nullptr) return -1;
    int found = -1;
    for (std::size_t i = 0; i < staff->elements.size(); ++i) {
        const ElementRecord& e = staff->elements[i];
        if (e.x != ctx.shell.cursor.x || !e.isNote()) continue;
        if (e.noteWord().step() == name && e.w0().octave() == ctx.doc.insertion.octave) return static_cast<int>(i);
        if (found < 0) found = static_cast<int>(i);
    }
    return found;
}

// Accidental and dot tools: the clicked note takes the sign, and the cursor goes onto it (two steps past it when
// it ends the staff, so that the next note does not join it).
void MarkClickedNote(EditorContext& ctx, int tool, unsigned name) {
    const int index = ClickedNote(ctx, name);
    if (index < 0) return;
    ElementRecord& e = ctx.doc.staff()->elements[static_cast<std::size_t>(index)];
    if (const std::optional<Accidental> a = AccidentalOfCharacter(static_cast<char32_t>(tool))) {
        e.noteWord().setAccidental(*a);
        e.noteWord().setHiddenAccidental(false);
    } else {
        e.noteWord().setDots(tool == '.' ? 1 : 2);
    }
    ctx.doc.markModified();
    ctx.doc.currentElement = index;
    const bool last = static_cast<std::size_t>(index) + 1 == ctx.doc.staff()->elements.size();
    ctx.shell.cursor.x = e.x + (last ? 2 * std::max(ctx.doc.spacingStep, 1) : 0);
    ctx.ui.invalidate();
}

// The free slur joins the points of two double clicks: a free tie from the first to the second, curving upwards.
void FreeSlurClick(EditorContext& ctx, Point at) {
    MouseState& mouse = ctx.shell.mouse;
    if (!mouse.freeSlurStarted) {
        mouse.freeSlurStarted = true;
        mouse.freeSlurStart = at;
        mouse.freeSlurDrawn = false;
        return;
    }
    mouse.freeSlurStarted = false;
    mouse.freeSlurDrawn = true;
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    if (!f || ctx.doc.staff() == nullptr) return;
    const Point a = mouse.freeSlurStart.x <= at.x ? mouse.freeSlurStart : at;
    const Point b = mouse.freeSlurStart.x <= at.x ? at : mouse.freeSlurStart;
    const int ref = static_cast<int>(f->staffY[static_cast<std::size_t>(ctx.doc.currentStaff)]);
    const int lift = f->halfSpace * 2;
    const Point p0{0, a.y - ref}, p3{b.x - a.x, b.y - ref};
    const Point p1{p3.x / 3, (p0.y + p3.y) / 2 + lift}, p2{2 * p3.x / 3, (p0.y + p3.y) / 2 + lift};
    const auto blob = EncodeCurvePoints({p0, p1, p2, p3});
    if (CreateSign(ctx.doc, a.x, 0, 0, SignType::FreeTie, 0, blob)) ctx.ui.invalidate();
}

// The N, S and value-symbol tools enter with the duration last chosen in "Val"; the N and S tools keep a chord
// request, every other tool forgets it.
void PrepareAttributes(EditorContext& ctx, int tool) {
    InsertionState& in = ctx.doc.insertion;
    if (tool == 'N' || tool == 'S' || tool == '=') in.durationCode = ctx.shell.dialogs.menuDuration;
    if (tool == 'N' || tool == 'S') return;
    in.switches &= ~SwitchC;
    in.noteWordFlags &= ~(1u << chordBit);
}

// The note key of a name: F2 for C … F8 for B.
Key NoteKeyOf(unsigned name) { return static_cast<Key>(static_cast<int>(Key::F1) + static_cast<int>(name)); }

// The slur and beam tools open on one double click and close on the next.
int PairedToolAfter(int tool) {
    switch (tool) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    default: return tool;
    }
}

}  // namespace

void EnterOnElementAtCursor(EditorContext& ctx) {
    const InputState& input = ctx.shell.input;
    if (EnterOnElement(ctx.doc, ctx.shell.cursor.x, input.currentTool, input.hideKind)) ctx.ui.invalidate();
}

unsigned PitchFromPoint(EditorContext& ctx, int y, int x) {
    const std::optional<CursorFrame> f = CursorFrameOf(ctx.doc);
    const StaffRecord* staff = ctx.doc.staff();
    if (!f || staff == nullptr || f->halfSpace <= 0) return 0;
    const auto i = static_cast<std::size_t>(ctx.doc.currentStaff);
    const int lines = f->staffLines[i];
    const int extraLines = lines > 5 ? 2 * lines - 10 : 0;
    const double halves = (y - f->staffY[i]) / f->halfSpace;
    const int k = std::clamp(static_cast<int>(std::lround(halves)), bottomLineHalves - extraLines - stepsBeyondStaff,
                             topLineHalves + stepsBeyondStaff);
    // The inverse of the drawn height: (clef + 7 × (octave − 4) − 17 + name) half-spaces, lowered on wide staves.
    const int n = std::max(k + extraLines - ClefValueOnStaff(*staff, x) + pitchBase, 0);
    ctx.doc.insertion.octave = static_cast<unsigned>(std::min(n / 7, maxOctave));
    return static_cast<unsigned>(n % 7 + 1);
}

int ApplyToolAt(EditorContext& ctx, int tool, unsigned name, int x, int y) {
    const unsigned shape = ctx.doc.insertion.headShape;
    if ((tool >= firstElementTool && tool <= lastElementTool) || (shape >= 1 && shape <= maxHeadShape)) {
        EnterOnElementAtCursor(ctx);
        return tool;
    }
    PrepareAttributes(ctx, tool);
    if (tool == 0 || tool == static_cast<int>(Key::Escape)) return 0;
    if (AccidentalOfCharacter(static_cast<char32_t>(tool)) || DotTool(tool)) {
        MarkClickedNote(ctx, tool, name);
    } else if (tool == 'N') {
        if (name >= 1 && name <= 7) DispatchKey(ctx, NoteKeyOf(name), {});
    } else if (tool == freeSlurTool) {
        FreeSlurClick(ctx, {x, y});
    } else {
        DispatchChar(ctx, static_cast<char32_t>(tool));
    }
    return PairedToolAfter(tool);
}

}  // namespace notavera
