// Articulation placement. The marks are centred on their point (see GlyphAnchor::OverNotehead): a mark at the
// stem's end is written half a space beyond it, and a mark inside the staff is centred in a space.
#include "render/articulations.h"

#include <cmath>

namespace notavera {
namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

bool AtStemByKind(int kind) { return kind == 4 || kind == 6 || kind == 7; }

// Kinds whose mark is kept off the staff lines.
bool KeptOffLines(int kind) { return kind == 1 || kind == 2 || kind == 3 || kind == 5; }

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

    int y = 0;
    if (atStem) {
        y = stem.to + out * half;
        if (kind == 4) y -= out * quarter;
    } else {
        y = headY + out * space;
        if (kind == 1) y += out * eighth;
        if (kind == 3) y += out * quarter;
    }
    // Within half a space of the staff a mark would touch a line.
    const bool nearStaff = y > place.bottomLine(m) - half && y < place.topLine + half;
    if (KeptOffLines(kind) && nearStaff) y = OffTheLines(y, out, place.topLine, space);

    ArticulationMark mark;
    mark.code = MarkCode(kind, out > 0);
    // Over the head's centre, or centred on the stem at its end.
    mark.x = (atStem ? stem.x : head.centre()) - GlyphAdvance(dc, 204) / 2;
    mark.y = y;
    return mark;
}

}  // namespace notavera
