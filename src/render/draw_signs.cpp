// The sign dispatcher, and the signs placed on a pitch: free accidentals, free dots and parentheses.
#include "render/draw_signs.h"

#include "render/accidentals_and_dots.h"
#include "render/curve_signs.h"
#include "render/draw_drawings.h"
#include "render/draw_texts.h"
#include "render/primitives.h"
#include "render/staff_frame.h"
#include "score/element_creation.h"

namespace notavera {
namespace {

constexpr int OpeningParenthesisCode = 40, ClosingParenthesisCode = 41;

}  // namespace

void DrawPitchedSign(DrawingContext& dc, const StaffRecord& staff, int index) {
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    const auto frame = FrameOfElement(dc, staff, e);
    // Stored names 0, 8 and 9 stand for B below and C, D above, as when the sign was made.
    const auto pitch = ApplyPitchRule(e.signWord().code(), e.w0().octave());
    if (!frame || !pitch) return;
    const int x = e.x + e.shift;
    const int y = PitchHeight(dc, *frame, x, static_cast<int>(pitch->step), static_cast<int>(pitch->octave));
    const auto sign = e.signWord();
    switch (sign.signType()) {
    case SignType::FreeAccidental:
        DrawAccidentalOrDots(dc, x, y, y - frame->reference, MarkMode::Accidental, static_cast<int>(sign.subValue()));
        break;
    case SignType::FreeDot:
        DrawAccidentalOrDots(dc, x, y, y - frame->reference, MarkMode::Dots, sign.flag16() ? 1 : 0);
        break;
    case SignType::Parenthesis:
        if (sign.pair2() == 1) PutGlyph(dc, x, y, OpeningParenthesisCode);
        if (sign.pair2() == 2) PutGlyph(dc, x, y, ClosingParenthesisCode);
        break;
    default: break;
    }
}

void DrawSign(DrawingContext& dc, const StaffRecord& staff, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!e.isSign()) return;
    const bool visible = !e.w0().hidden() || dc.draw.showHidden;
    switch (e.signWord().signType()) {
    case SignType::Clef: DrawClef(dc, staff, index, visible); return;
    case SignType::TimeSignature: DrawTimeSignature(dc, staff, index, visible); return;
    default: break;
    }
    if (!visible) return;
    switch (e.signWord().signType()) {
    case SignType::Bar: DrawBar(dc, staff, index); break;
    case SignType::FreeAccidental:
    case SignType::FreeDot:
    case SignType::Parenthesis: DrawPitchedSign(dc, staff, index); break;
    case SignType::KeyChange: DrawKeyChange(dc, staff, index); break;
    case SignType::Text: DrawTextSign(dc, staff, index); break;
    case SignType::Curve:
    case SignType::FreeTie:
    case SignType::Hairpin:
    case SignType::Bracket: DrawCurveSign(dc, staff, index); break;
    case SignType::Drawing:
    case SignType::Picture: DrawDrawingSign(dc, staff, index); break;
    default: break;
    }
}

}  // namespace notavera
