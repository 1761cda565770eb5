// Test support: a one-page document laid out by a staff layout model, with a drawing context on a recording canvas
// placed on its staves (definition 20, zoom 1/1, no height correction), to draw elements and read the calls back.
#pragma once

#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/headless/recording_canvas.h"
#include "render/drawing_context.h"
#include "score/score_document.h"
#include "score/staff_layout_model.h"

namespace notavera::test {

class StaffDrawing {
public:
    static constexpr int LeftEdge = 100;
    static constexpr int LineEnd = 2000;

    explicit StaffDrawing(const StaffLayoutModel& model = StaffLayoutModel::makeDefault());

    ScoreDocument doc;
    RecordingCanvas canvas;
    DrawingContext dc;

    StaffRecord& staff(int i);
    // Makes staff i current with no current element, so that the element creation functions place by x.
    void onStaff(int i);
    // Draws every element of staff i in order, as the page pass does, after clearing the calls made so far. The
    // staff's clef state is rebuilt from scratch.
    void drawStaff(int i);
    // The recorded calls of one op, in order.
    std::vector<nlohmann::json> calls(std::string_view op) const;

    // Heights of staff i: its reference, and the lines of its five-line staff (0 top … 4 bottom).
    int reference(int i) const;
    int line(int i, int fromTop) const;
};

// A model of `count` five-line staves, 13 spaces apart, each a system of its own.
StaffLayoutModel ModelOfStaves(int count);

}  // namespace notavera::test
