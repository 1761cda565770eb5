// Recording a drawing: the points clicked become steps from the previous point, each shape takes its points as
// they come, and choosing another tool (or closing a polygon or curve) ends the shape in progress.
#pragma once

#include <optional>

#include "score/drawing_recording.h"

namespace notavera {

// A point of the page in page units, kept in floats as recordings keep them.
struct PagePoint {
    double x = 0;
    double y = 0;
};

enum class PointOutcome {
    Added,     // the point is the next one of the shape in progress
    Refused,   // the recording is full: the point is not taken (the window beeps)
    Finished,  // the point was added and filled the recording, which ends now
};

class DrawingRecorder {
public:
    bool recording() const { return slot_ != 0; }
    int slot() const { return slot_; }  // 1..3 while recording, 0 otherwise
    // Starts recording into `slot`: nothing recorded yet.
    void start(int slot);
    // The tool and pen of the shapes to come. The shape in progress is ended first.
    void choose(std::optional<ShapeKind> tool, ShapeWidth width, ShapeLine line);
    std::optional<ShapeKind> tool() const { return tool_; }

    // A click with a tool chosen: the shape in progress receives the point.
    PointOutcome addPoint(PagePoint at);
    // Ends the shape in progress; a shape of fewer than two points keeps its points but draws nothing. True when
    // the shape list is then full and the recording must end.
    bool endShape();
    bool shapeOpen() const { return open_.has_value(); }
    // The points of the shape in progress, for the window's feedback.
    std::vector<PagePoint> openPoints() const;

    // Ends the open shape and the recording: what was recorded, and where its first point lies (its origin).
    // Nothing when no point was recorded.
    struct Result {
        DrawingRecording recording;
        PagePoint origin;
    };
    std::optional<Result> finish();
    // The recording so far, for drawing it while it grows.
    const DrawingRecording& sofar() const { return recording_; }
    PagePoint origin() const { return origin_; }

private:
    int slot_ = 0;
    std::optional<ShapeKind> tool_;
    ShapeWidth width_ = ShapeWidth::Normal;
    ShapeLine line_ = ShapeLine::Continuous;
    DrawingRecording recording_;
    PagePoint origin_;
    PagePoint last_;
    std::optional<std::size_t> open_;  // first point of the shape in progress
};

// The recording moved so that its first point lies `firstStep` from the origin it is stored at (replays at
// another place keep the drawing's shape; only the first step changes).
DrawingRecording WithFirstStep(DrawingRecording recording, PointStep firstStep);

// Every step scaled by fx across and fy up (the drawing grows or shrinks from its origin).
void ScaleRecording(DrawingRecording& recording, double fx, double fy);

}  // namespace notavera
