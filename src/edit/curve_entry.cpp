// Manipulable curves put with their default control points.
#include "edit/curve_entry.h"

#include "render/curve_signs.h"
#include "score/element_creation.h"

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

ElementRecord* InsertManipulableCurve(ScoreDocument& doc, int x, int staffSpace, int staffHeight) {
    if (!doc.staff()) return nullptr;
    const auto blob = EncodeCurvePoints(DefaultArc(staffSpace, staffHeight));
    return CreateSign(doc, x, 0, 0, SignType::Curve, 0, blob);
}

}  // namespace notavera
