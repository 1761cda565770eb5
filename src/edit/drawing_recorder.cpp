// The recording of a drawing, point by point and shape by shape, within the limits a recording can hold.
#include "edit/drawing_recorder.h"

namespace notavera {

void DrawingRecorder::start(int slot) {
    slot_ = slot;
    recording_ = {};
    open_.reset();
}

void DrawingRecorder::choose(std::optional<ShapeKind> tool, ShapeWidth width, ShapeLine line) {
    endShape();
    tool_ = tool;
    width_ = width;
    line_ = line;
}

PointOutcome DrawingRecorder::addPoint(PagePoint at) {
    if (!recording() || !tool_) return PointOutcome::Refused;
    if (recording_.points.size() >= maxRecordedPoints) return PointOutcome::Refused;
    if (recording_.points.empty()) {
        origin_ = at;
        last_ = at;
    }
    recording_.points.push_back({static_cast<float>(at.x - last_.x), static_cast<float>(at.y - last_.y)});
    last_ = at;
    if (!open_) open_ = recording_.points.size() - 1;
    return recording_.points.size() == maxRecordedPoints ? PointOutcome::Finished : PointOutcome::Added;
}

bool DrawingRecorder::endShape() {
    if (!open_) return recording_.shapes.size() >= maxRecordedShapes;
    const std::size_t first = *open_, last = recording_.points.size() - 1;
    open_.reset();
    if (last > first && tool_ && recording_.shapes.size() < maxRecordedShapes) {
        const ShapeCode code{static_cast<unsigned>(*tool_), width_, line_};
        recording_.shapes.push_back({code.encode(), static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(last)});
    }
    return recording_.shapes.size() >= maxRecordedShapes;
}

std::vector<PagePoint> DrawingRecorder::openPoints() const {
    std::vector<PagePoint> out;
    if (!open_) return out;
    PagePoint at = last_;
    for (std::size_t i = recording_.points.size(); i-- > *open_;) {
        out.insert(out.begin(), at);
        at.x -= recording_.points[i].dx;
        at.y -= recording_.points[i].dy;
    }
    return out;
}

std::optional<DrawingRecorder::Result> DrawingRecorder::finish() {
    endShape();
    slot_ = 0;
    if (recording_.points.empty()) return std::nullopt;
    return Result{recording_, origin_};
}

DrawingRecording WithFirstStep(DrawingRecording recording, PointStep firstStep) {
    if (!recording.points.empty()) recording.points.front() = firstStep;
    return recording;
}

void ScaleRecording(DrawingRecording& recording, double fx, double fy) {
    for (PointStep& p : recording.points) {
        p.dx = static_cast<float>(p.dx * fx);
        p.dy = static_cast<float>(p.dy * fy);
    }
}

}  // namespace notavera
