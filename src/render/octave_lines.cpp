// Finding the runs of octave-line codes on a staff and drawing each with its label, dashed line and end hook.
#include "render/octave_lines.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "render/element_placement.h"
#include "render/note_geometry.h"
#include "render/primitives.h"

namespace notavera {
namespace {

constexpr unsigned LastCode = 4;

struct OctaveRun {
    unsigned code = 0;
    int first = 0;      // the label or the first note
    int last = -1;      // the last note; none yet
    int highest = 0;    // how far the notes reach on the line's side
    bool reached = false;
};

int Round(double v) { return static_cast<int>(std::lround(v)); }

bool Above(unsigned code) { return code <= 2; }

unsigned CodeOf(const ElementRecord& e) {
    const unsigned code = e.w1().octaveShift();
    return code <= LastCode ? code : 0;
}

bool IsLabel(const ElementRecord& e) { return e.isSignOfType(SignType::Text) && CodeOf(e) != 0; }

StructuralGlyph LabelGlyph(unsigned code) {
    switch (code) {
    case 1: return StructuralGlyph::OttavaAlta;
    case 2: return StructuralGlyph::QuindicesimaAlta;
    case 3: return StructuralGlyph::OttavaBassa;
    default: return StructuralGlyph::QuindicesimaBassa;
    }
}

// How far a note reaches on the line's side: half a space beyond its head, or its stem's end on that side, and
// beyond a curve it carries.
std::optional<int> Reach(const DrawingContext& dc, const StaffRecord& staff, const ElementRecord& e, bool above) {
    const auto place = PlaceOfElement(dc, staff, e);
    if (!place) return std::nullopt;
    const int y = PitchHeight(dc, *place, e);
    const int half = dc.metrics.halfSpace[place->size];
    int reach = above ? y + half : y - half;
    const int value = DrawnNoteValue(e);
    const bool stem = HasStem(e, value);
    const bool stemUp = stem && SingleStemUp(dc, *place, e, y);
    if (stem && stemUp == above) {
        const int length = StemLength(dc, *place, e, value);
        reach = above ? std::max(reach, y + length) : std::min(reach, y - length);
    }
    // A tie or slur on the line's side (with automatic stems, the side away from the stem) rises beyond the note by
    // its clearance and height: the line stays outside it. One on the other side is no concern of the line's.
    const bool curveAbove = stem && e.noteWord().stemAutomatic() ? !stemUp : e.w0().curveAbove();
    if (e.w0().tiedToNext() && curveAbove == above) reach += (above ? 2 : -2) * dc.metrics.staffSpace[place->size];
    return reach;
}

void DrawRun(DrawingContext& dc, const StaffRecord& staff, const OctaveRun& run) {
    const StaffDrawState& frame = dc.staves[static_cast<std::size_t>(staff.key().index())];
    const int size = frame.small ? 1 : 0;
    const int space = dc.metrics.staffSpace[size], half = dc.metrics.halfSpace[size];
    const bool above = Above(run.code);
    const ElementRecord& first = staff.elements[static_cast<std::size_t>(run.first)];
    const ElementRecord& last = staff.elements[static_cast<std::size_t>(run.last)];
    const int x0 = first.x + first.shift;
    const int x1 = last.x + last.shift + 2 * half;

    const MusicGlyph* label = dc.musicFont ? dc.musicFont->structural(LabelGlyph(run.code)) : nullptr;
    const double labelHeight = label ? label->box.height() * space : 2.0 * space;
    const int labelWidth = label ? Round(label->box.width() * space) : 0;
    const int topLine = frame.topLine, bottomLine = frame.topLine - dc.metrics.staffHeight[size];
    // The label stands clear of the staff and of every note under the line; the line runs level with its middle.
    const int base = above ? std::max(topLine + 3 * half, run.highest + space)
                           : std::min(bottomLine - 3 * half, run.highest - space) - Round(labelHeight);
    const int lineY = base + Round(labelHeight / 2);
    if (label) PutGlyphAt(dc, *label, x0, base, label->box.sw.x, label->box.sw.y, space);

    const int from = x0 + labelWidth + half;
    if (x1 <= from) return;
    double thickness = 0.16;
    if (dc.musicFont) thickness = dc.musicFont->metadata().engravingDefault("octaveLineThickness").value_or(thickness);
    const int width = std::max(1, Round(thickness * space));
    const Colour colour = dc.draw.drawColour;
    const Point a{dc.toDevice(from), dc.toDevice(lineY)}, b{dc.toDevice(x1), dc.toDevice(lineY)};
    dc.canvas->drawLine(a, b, Pen{colour, width, PenStyle::Dash, PenEnds::Flat});
    const int hookEnd = above ? lineY - space : lineY + space;
    dc.canvas->drawLine(b, {b.x, dc.toDevice(hookEnd)}, Pen{colour, width, PenStyle::Solid, PenEnds::Flat});
}

bool InExport(const DrawingContext& dc, const StaffRecord& staff, const OctaveRun& run) {
    if (!dc.inMetafilePass()) return true;
    const int x0 = staff.elements[static_cast<std::size_t>(run.first)].x;
    const int x1 = staff.elements[static_cast<std::size_t>(run.last)].x;
    return x1 >= dc.exportRegion.x0 && x0 <= dc.exportRegion.x1;
}

}  // namespace

void DrawOctaveLines(DrawingContext& dc, const StaffRecord& staff) {
    const auto index = static_cast<std::size_t>(staff.key().index());
    if (dc.canvas == nullptr || index >= dc.staves.size()) return;
    std::optional<OctaveRun> run;
    const auto close = [&] {
        if (run && run->last >= 0 && InExport(dc, staff, *run)) DrawRun(dc, staff, *run);
        run.reset();
    };
    const int n = static_cast<int>(staff.elements.size());
    for (int i = 0; i < n; ++i) {
        const ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (!e.isNote() && !IsLabel(e)) continue;
        if (e.isNote() && e.w0().hidden() && !dc.draw.showHidden) continue;
        const unsigned code = CodeOf(e);
        if (code == 0 || IsLabel(e) || (run && run->code != code)) close();
        if (code == 0) continue;
        if (!run) run = OctaveRun{code, i};
        if (!e.isNote()) continue;
        const auto reach = Reach(dc, staff, e, Above(code));
        if (!reach) continue;
        run->last = i;
        const int further = Above(code) ? std::max(run->highest, *reach) : std::min(run->highest, *reach);
        run->highest = run->reached ? further : *reach;
        run->reached = true;
    }
    close();
}

}  // namespace notavera
