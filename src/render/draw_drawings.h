// Drawing the drawing layer's elements: recorded drawings replayed shape by shape, and metafile pictures played
// into their extents.
#pragma once

#include <optional>

#include "render/drawing_context.h"
#include "score/drawing_recording.h"
#include "score/records.h"

namespace notavera {

// The page point of a drawing or picture element: its x, and its parameter in eighth spaces above the
// reference of its staff.
std::optional<Point> DrawingElementOrigin(const DrawingContext& dc, const StaffRecord& staff, const ElementRecord& e);

// The recording's shapes with its first point `origin` steps away from (x, y), in page units, in `colour`.
// Shapes whose points the recording does not hold are skipped.
void ReplayRecording(DrawingContext& dc, const DrawingRecording& recording, double x, double y, Colour colour);

// The box a picture takes on the page: from its origin (the top-left corner) right and down by its extents.
Box PictureBox(Point origin, const PictureHead& head);
// A metafile played into a box of page units.
void PlayPicture(DrawingContext& dc, Box box, std::span<const std::uint8_t> metafile);

// A drawing (type 7) or picture (type 12) sign, from its blob; a damaged blob draws nothing.
void DrawDrawingSign(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
