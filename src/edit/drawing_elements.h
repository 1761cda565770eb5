// The drawing layer's elements in the score: drawings and pictures put on a staff at a page point, found again in
// staff order, moved and resized.
#pragma once

#include <optional>

#include "edit/drawing_recorder.h"
#include "platform/canvas.h"
#include "score/drawing_recording.h"
#include "score/score_document.h"

namespace notavera {

// A drawing or picture element's blob can hold no more than this much (its length is a 16-bit count).
inline constexpr std::size_t maxPictureBytes = 65535 - 4 - pictureHeadBytes;

// Where a staff of the current page counts its drawings from: its reference height and its eighth space.
struct DrawingStaffFrame {
    double reference = 0;
    int eighthSpace = 2;
    int topLine = 0;
};
std::optional<DrawingStaffFrame> DrawingStaffFrameOf(const ScoreDocument& doc, int staff);

bool IsDrawingElement(const ElementRecord& e);

// A drawing element on `staff` whose first point lies `firstStep` from `at`... in page units: the element is
// placed at at.x and the eighth space nearest at.y, and the first step takes up the difference, so that the
// drawing lands exactly where it was drawn. `slot` (1..3, 0 for a symbol) is kept in the sign's code. Returns the
// element's index, nothing without such a staff.
std::optional<int> InsertDrawing(ScoreDocument& doc, int staff, PagePoint at, const DrawingRecording& recording,
                                 int slot);
// A picture element whose top-left corner is `at`.
std::optional<int> InsertPicture(ScoreDocument& doc, int staff, PagePoint at, const PictureHead& head,
                                 std::span<const std::uint8_t> metafile);

// The box a drawing or picture element covers on the page when it stands for `origin`: every point of a drawing,
// a picture's extents right and down. Nothing for another element or a damaged blob.
std::optional<Box> DrawingElementExtent(const ElementRecord& e, PagePoint origin);

// The drawing or picture element before or after element `from` of the staff (from = -1 with forward: the first
// one; from = the element count going back: the last one).
std::optional<int> NeighbourDrawing(const StaffRecord& staff, int from, bool forward);

// Up and Down: the element's parameter changes by `steps` eighth spaces.
void MoveDrawing(ElementRecord& e, int steps);
// A drawing's steps scaled across and up; a damaged blob is left alone.
void ScaleDrawing(ElementRecord& e, double fx, double fy);
// A picture's extents changed by dx and dy (never below one unit).
void ResizePicture(ElementRecord& e, int dx, int dy);

}  // namespace notavera
