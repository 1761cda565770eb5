// Manipulable curves put at the cursor with their default control points.
#include "edit/curve_entry.h"

#include "render/curve_signs.h"
#include "score/element_creation.h"
#include "shell/command_registry.h"
#include "shell/cursor_frame.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int widthInSpaces = 8;

// Points count from the sign's x and from the staff's reference height, which lies a staff height above the top
// line: the ends sit one space above the top line, the middle points a space and a half higher.
CurvePoints DefaultArc(int staffSpace, int staffHeight) {
    const int ends = -staffHeight + staffSpace;
    const int peak = ends + 3 * staffSpace / 2;
    const int width = widthInSpaces * staffSpace;
    return {Point{0, ends}, Point{width / 4, peak}, Point{3 * width / 4, peak}, Point{width, ends}};
}

}  // namespace

void InsertManipulableCurve(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const std::optional<CursorFrame> frame = CursorFrameOf(doc);
    if (!frame || !doc.staff()) return;
    const auto blob = EncodeCurvePoints(DefaultArc(2 * frame->halfSpace, frame->staffHeight));
    if (!CreateSign(doc, ctx.shell.cursor.x, 0, 0, SignType::Curve, 0, blob)) return;
    ctx.ui.invalidate();
}

void RegisterCurveCharacter(CommandRegistry& registry) {
    registry.addChar('{', [](EditorContext& ctx, int) { InsertManipulableCurve(ctx); });
}

}  // namespace notavera
