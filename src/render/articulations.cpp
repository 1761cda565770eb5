// Articulation placement. The marks are centred on their point (see GlyphAnchor::OverNotehead): a mark at the
// stem's end is written half a space beyond it, a mark at the head a space beyond its centre, each further out when
// its ink would come closer than a quarter space to the stem's tip or the head; a mark within the staff is centred
// in a space, or stands outside the staff when it is too tall for one.
#include "render/articulations.h"

#include <algorithm>
#include <cmath>

#include "render/primitives.h"

namespace notavera {
namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

bool AtStemByKind(int kind) { return kind == 4 || kind == 6 || kind == 7; }

int MarkCode(int kind, bool above) {
    switch (kind) {
    case 1:
    case 4: return 107;
    case 2:
    case 6: return 62;
    case 3:
    case 7: return above ? 60 : 44;
    case 5: return above ? 58 : 59;
    default: return 0;
    }
}

// Inside the staff a mark goes in the middle of its space; one that falls on a line goes to the next space
// outwards.
int OffTheLines(int y, int out, int topLine, int space) {
    const int half = space / 2;
    const int above = ((y - topLine) % space + space) % space;  // distance from the line below
    if (above == 0) return y + out * half;
    return y - above + half;
}

// Moves `y` outwards (direction `out`, +1 up) until it is at least `least` beyond `from`.
int AtLeast(int y, int from, int least, int out) {
    return out > 0 ? std::max(y, from + least) : std::min(y, from - least);
}

}  // namespace

std::optional<ArticulationMark> PlaceArticulation(const DrawingContext& dc, const StaffPlace& place,
                                                  const ElementRecord& e, int value, const NoteHead& head, int headY,
                                                  const Stem& stem) {
    const auto n = e.noteWord();
    const int kind = static_cast<int>(n.accentType());
    if (!n.staccato() || value <= 1 || kind == 0) return std::nullopt;

    const StaffMetrics& m = dc.metrics;
    const int half = m.halfSpace[place.size], space = m.staffSpace[place.size];
    const int quarter = Round(m.quarterSpace[place.size]), eighth = m.eighthSpace[place.size];
    const bool atStem = AtStemByKind(kind) != n.staccatoOtherSide();
    // The direction away from the note, +1 upwards.
    const int out = (atStem == stem.up) ? 1 : -1;

    // The mark's ink: how far it reaches from its centre towards the note and away from it.
    const int code = MarkCode(kind, out > 0);
    const GlyphInkBox ink = GlyphInk(dc, code, place.size == 1, dc.draw.isCueSize, dc.draw.alternateGlyphs);
    const int inner = out > 0 ? -ink.bottom : ink.top;
    const int outer = out > 0 ? ink.top : -ink.bottom;
    // Engravers keep a mark this far from the stem's tip, the head and the staff lines.
    const int clear = quarter;

    // The point the mark is placed from and the least distance its centre keeps from it.
    int from = 0, least = 0, y = 0;
    if (atStem) {
        from = stem.to;
        least = clear + inner;
        y = from + out * (kind == 4 ? half - quarter : half);
    } else {
        from = headY;
        least = half + clear + inner;
        y = from + out * (space + (kind == 1 ? eighth : 0) + (kind == 3 ? quarter : 0));
    }
    y = AtLeast(y, from, least, out);
    // A mark that reaches within the clearance of the staff stands in a space when it fits one with room to spare,
    // otherwise outside the staff.
    const int top = place.topLine, bottom = place.bottomLine(m);
    const int low = y - (out > 0 ? inner : outer), high = y + (out > 0 ? outer : inner);
    if (high > bottom - clear && low < top + clear) {
        if (inner + outer + 2 * clear <= space) {
            y = OffTheLines(y, out, top, space);
            if (out * (y - from) < least) y += out * space;
        } else {
            y = AtLeast(y, out > 0 ? top : bottom, clear + inner, out);
        }
    }

    ArticulationMark mark;
    mark.code = code;
    // Over the head's centre, or centred on the stem at its end.
    mark.x = (atStem ? stem.x : head.centre()) - GlyphAdvance(dc, 204) / 2;
    mark.y = y;
    return mark;
}

}  // namespace notavera
