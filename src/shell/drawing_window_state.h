// The drawing window's state, kept by the shell while the window exists.
#pragma once

#include <array>
#include <optional>

#include "edit/drawing_recorder.h"
#include "platform/canvas.h"

namespace notavera {

struct DrawingWindowState {
    DrawingRecorder recorder;
    PagePoint cursor;
    std::optional<ShapeKind> tool;
    ShapeWidth width = ShapeWidth::Normal;
    ShapeLine line = ShapeLine::Continuous;
    int widthCommand = 0;      // the width item carrying the check mark
    int lineCommand = 0;       // the style item carrying the check mark
    int attributeCommand = 0;  // the attribute chosen last, named in the title
    std::optional<int> selected;                      // a drawing or picture element of the current staff
    std::array<std::optional<PagePoint>, 4> controls;  // the control points of the curve in progress
    int heldKey = 0;  // the cursor key held down, and the step it has reached
    int step = 0;
    bool markingRegion = false;
    std::optional<PagePoint> regionCorner;  // the first corner clicked while marking
    std::optional<Box> region;              // the marked region, page units
};

}  // namespace notavera
